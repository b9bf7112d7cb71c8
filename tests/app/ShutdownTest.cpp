#include "about/TAboutBox.h"
#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "platform/files/curdir.h"
#include "platform/registry/registry.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

class Shutdown : public MainWindowFixture {
protected:
    void SetUp() override {
        drives.MakeDirectory('C', "zvuky");
        StoreLastDir("C:\\zvuky");
        Start();
        about = std::make_unique<TAboutBox>();
        DeleteValue("LastDir");
    }

    static void DeleteValue(const QString& name) {
        win32::HKEY key = nullptr;
        win32::RegOpenKeyEx(win32::HKEY_CURRENT_USER, SettingsKey, 0, win32::KEY_ALL_ACCESS, &key);
        win32::RegDeleteValue(key, name);
        win32::RegCloseKey(key);
    }

    QString Stored(const QString& name) {
        return ReadRegString(SettingsKey, name, QStringLiteral("<none>"));
    }

    // Closes the about box as a user does, noting what was stored while it was open.
    DialogAnswerer::Action CloseAboutBox() {
        return [this](QWidget* modal) {
            aboutShown = modal == about.get();
            storedWhileAboutOpen = Stored("LastDir");
            about->SpeedButton1Click(about.get());
        };
    }

    std::unique_ptr<TAboutBox> about;
    bool aboutShown = false;
    QString storedWhileAboutOpen;
};

} // namespace

TEST_F(Shutdown, NoOrEscapeKeepsTheProgramAndStoresNothing) {
    for (const DialogAnswerer::Action& answer :
         {DialogAnswerer::PressButton("&No"), DialogAnswerer::PressKey(Qt::Key_Escape)}) {
        DialogAnswerer answering(answer);
        EXPECT_FALSE(form->close());
        EXPECT_TRUE(answering.Answered());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(Stored("LastDir"), "<none>");
        EXPECT_EQ(Stored("Ver"), "<none>");
    }
}

TEST_F(Shutdown, YesShowsTheAboutBoxThenStoresTheFolder) {
    form->adresar->SetDirectory("C:\\zvuky");
    DialogAnswerer answering({DialogAnswerer::PressButton("&Yes"), CloseAboutBox()});
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(answering.Answered());
    EXPECT_TRUE(aboutShown);
    EXPECT_EQ(storedWhileAboutOpen, "<none>");
    EXPECT_EQ(Stored("LastDir"), "C:\\zvuky");
    EXPECT_EQ(Stored("Ver"), "1.0b");
}

TEST_F(Shutdown, TheQuestionsCloseBoxProceeds) {
    DialogAnswerer answering({DialogAnswerer::CloseWindow(), CloseAboutBox()});
    form->TransparentButton1Click(form->TransparentButton1);
    EXPECT_TRUE(answering.Answered());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Stored("Ver"), "1.0b");
}

TEST_F(Shutdown, TheNextStartOpensTheFolderOfTheLastExit) {
    drives.MakeDirectory('D', "hudba");
    form->adresar->SetDirectory("D:\\hudba");
    {
        DialogAnswerer answering({DialogAnswerer::PressButton("&Yes"), CloseAboutBox()});
        EXPECT_TRUE(form->close());
    }
    form.reset();
    ASSERT_TRUE(win32::SetCurrentDirectory("C:\\"));
    Start();
    EXPECT_EQ(form->adresar->Directory(), "D:\\hudba");
}

// A store that cannot be written (no folder can be made for it; a full disk) neither troubles
// the start, which reads what it can, nor keeps the program open: the close says so once and
// closes. Once the store works again, nothing of the old failure comes back.
TEST_F(Shutdown, ASettingsStoreThatCannotBeWrittenNeverKeepsTheProgramOpen) {
    const QString folder = QFileInfo(win32::RegistryFilePath()).path();
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const struct {
        const char* opens;
        std::function<void()> spoil;
        std::function<void()> mend;
    } cases[] = {
        {"C:\\",
         [&] {
             QDir().rename(folder, folder + ".away");
             QFile(folder).open(QIODevice::WriteOnly);
         },
         [&] {
             QFile::remove(folder);
             QDir().rename(folder + ".away", folder);
         }},
        {"C:\\zvuky",
         [&] {
             const rlimit full{1, unlimited.rlim_max};
             setrlimit(RLIMIT_FSIZE, &full);
         },
         [&] { setrlimit(RLIMIT_FSIZE, &unlimited); }},
    };
    for (const auto& c : cases) {
        form.reset();
        StoreLastDir("C:\\zvuky");
        c.spoil();
        Start();
        EXPECT_EQ(form->adresar->Directory(), c.opens);
        DialogAnswerer answering({DialogAnswerer::PressButton("&Yes"), CloseAboutBox(),
                                  Noting(DialogAnswerer::PressButton("OK"))});
        EXPECT_TRUE(form->close());
        c.mend();
        EXPECT_TRUE(answering.Answered());
        EXPECT_TRUE(message.startsWith(QString("Složku %1 se nepodařilo uložit").arg(c.opens)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(win32::RegistryFilePath())) << message.toStdString();
        form.reset();
        Start();
        DialogAnswerer again({DialogAnswerer::PressButton("&Yes"), CloseAboutBox(),
                              DialogAnswerer::PressButton("OK")});
        EXPECT_TRUE(form->close());
        EXPECT_EQ(again.AnsweredCount(), 2);
        EXPECT_EQ(Stored("LastDir"), "C:\\zvuky");
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}
