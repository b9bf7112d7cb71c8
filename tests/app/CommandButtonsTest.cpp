#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"
#include "framework/TPanel.h"
#include "platform/desktop/HelpViewer.h"
#include "platform/sound/sound.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

class CommandButtons : public MainWindowFixture {
protected:
    void SetUp() override {
        savedHelpFile = Application()->HelpFile();
        savedDataDirs = qgetenv("XDG_DATA_DIRS");
        Start();
    }
    void TearDown() override {
        Application()->SetHelpFile(savedHelpFile);
        qputenv("XDG_DATA_DIRS", savedDataDirs);
        if (win32::HelpViewer* viewer = win32::HelpViewer::Instance(false))
            viewer->close();
    }

    QString savedHelpFile;
    QByteArray savedDataDirs;
};

} // namespace

TEST_F(CommandButtons, HelpOpensTheHelpFileAtItsMainTopic) {
    const QString shared = drives.MakeDirectory('C', "share/zvonkar");
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(ZVONKAR_RUNTIME_DIR "/zvonkar.hlp"), shared + "/zvonkar.hlp"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(drives.PosixPath('C', "share")));
    Application()->SetHelpFile("zvonkar.hlp");
    form->TransparentButton6Click(form->TransparentButton6);
    win32::HelpViewer* viewer = win32::HelpViewer::Instance(false);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->HasTopic("IDH_1"));
    EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Zvonkar"));
}

TEST_F(CommandButtons, AMissingHelpFileIsReportedOnceAndNoTopicIsAskedFor) {
    qputenv("XDG_DATA_DIRS", QFile::encodeName(drives.PosixPath('C')));
    Application()->SetHelpFile("nowhere.hlp");
    DialogAnswerer answer(DialogAnswerer::PressKey(Qt::Key_Return));
    form->TransparentButton6Click(form->TransparentButton6);
    EXPECT_EQ(answer.AnsweredCount(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CommandButtons, QuitAsksAsTheCloseBoxDoes) {
    DialogAnswerer answer(DialogAnswerer::PressButton("&No"));
    form->TransparentButton1Click(form->TransparentButton1);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(answer.Captions(), QStringList{"Confirm"});
    EXPECT_TRUE(form->isVisible());
}

// Each command's keys, pressed on the active main window, run its handler as a click on its
// button does, and only while a click would reach the button: the file commands wait for a
// selected file. A dialog open over the window keeps Escape for itself.
TEST_F(CommandButtons, EachCommandsKeysActWhereAClickWould) {
    MakeSound('C', "zvuky/a.wav", 10);
    drives.MakeFile('C', "program/ticho.wav", QByteArray());
    ProgramDir = "C:\\program\\";
    form->adresar->SetDirectory("C:\\zvuky");
    const auto press = [&](const char* keys, const DialogAnswerer::Action& answer) {
        // As the desktop does when a dialog has closed.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QString shown;
        DialogAnswerer answering([&](QWidget* modal) {
            const QWidget* message = modal->findChild<QWidget*>("Message");
            shown = message ? message->property("Caption").toString() : modal->windowTitle();
            answer(modal);
        });
        QTest::keySequence(form.get(), QKeySequence(keys));
        return shown;
    };
    struct Row {
        const char* keys;
        const char* shows;
        bool needsFile;
    };
    const Row rows[] = {
        {"Del", "Opravdu chcete smazat C:\\zvuky\\a.wav ?", true},
        {"F5", "Save As", true},
        {"Ctrl+C", "Save As", true},
        {"F2", "Změna jména souboru", true},
        {"Alt+F4", "Opravdu to chcete zabalit ?", false},
        {"Ctrl+Q", "Opravdu to chcete zabalit ?", false},
    };
    const DialogAnswerer::Action no = DialogAnswerer::PressButton("&No");
    const std::uint64_t stops = win32::GetSoundStatus().request;
    for (const Row& row : rows) {
        form->soubor->SetItemIndex(-1);
        QTest::keyClick(form->soubor, Qt::Key_Down);
        EXPECT_EQ(press(row.keys, row.needsFile ? DialogAnswerer::PressKey(Qt::Key_Escape) : no),
                  QString::fromUtf8(row.shows))
            << row.keys;
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_TRUE(drives.Exists('C', "zvuky/a.wav"));
    EXPECT_NE(win32::GetSoundStatus().path, drives.PosixPath('C', "program/ticho.wav"));
    press("Esc", no);
    EXPECT_TRUE(win32::WaitForSound(
        [&](const win32::SoundStatus& s) {
            return s.request > stops && s.path == drives.PosixPath('C', "program/ticho.wav");
        },
        std::chrono::seconds(2)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZVONKAR_RUNTIME_DIR "/zvonkar.hlp"),
                            drives.MakeDirectory('C', "share/zvonkar") + "/zvonkar.hlp"));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(drives.PosixPath('C', "share")));
    Application()->SetHelpFile("zvonkar.hlp");
    press("F1", no);
    ASSERT_NE(win32::HelpViewer::Instance(false), nullptr);
    EXPECT_TRUE(win32::HelpViewer::Instance(false)->isVisible());

    form->adresar->SetDirectory("C:\\");
    ASSERT_FALSE(form->Panel2->Enabled());
    for (const Row& row : rows) {
        if (row.needsFile) {
            EXPECT_EQ(press(row.keys, no), "") << row.keys;
        }
    }
}
