#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"
#include "framework/TPanel.h"
#include "platform/desktop/HelpViewer.h"
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

// The file commands' keys, pressed on the active main window, run their handlers as a click on
// their buttons does, and only while a click would reach the buttons: with a file selected.
TEST_F(CommandButtons, TheFileCommandsKeysActOnlyWhereAClickWould) {
    MakeSound('C', "zvuky/a.wav", 10);
    form->adresar->SetDirectory("C:\\zvuky");
    const auto press = [&](const char* keys) {
        form->activateWindow(); // as the desktop does when a dialog has closed
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QString shown;
        DialogAnswerer answering([&](QWidget* modal) {
            const QWidget* message = modal->findChild<QWidget*>("Message");
            shown = message ? message->property("Caption").toString() : modal->windowTitle();
            modal->close();
        });
        QTest::keySequence(form.get(), QKeySequence(keys));
        return shown;
    };
    const std::pair<const char*, const char*> rows[] = {
        {"Del", "Opravdu chcete smazat C:\\zvuky\\a.wav ?"},
        {"F5", "Save As"},
        {"Ctrl+C", "Save As"},
        {"F2", "Změna jména souboru"},
    };
    for (const auto& [keys, shows] : rows) {
        form->soubor->SetItemIndex(-1);
        QTest::keyClick(form->soubor, Qt::Key_Down);
        EXPECT_EQ(press(keys), QString::fromUtf8(shows)) << keys;
    }
    EXPECT_TRUE(drives.Exists('C', "zvuky/a.wav"));
    form->adresar->SetDirectory("C:\\");
    for (const auto& [keys, shows] : rows)
        EXPECT_EQ(press(keys), "") << keys;
}
