// Volumes mounted and unmounted while the main window is open, in a mount namespace of this
// test's own with a fresh /mnt, so that nobody else sees them and they go when the test ends.
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/drives.h"
#include "platform/files/paths.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class DrivesComeAndGo : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting in a private mount namespace needs root";
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("zvonkar", "/mnt", "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
        mounted = true;
        drives.MakeFileOfSize('C', "zvuky/a.wav", 2048);
        drives.MakeFileOfSize('C', "karta/zvuky/k.wav", 1024);
        drives.MakeDirectory('C', "zaloha");
        // Without ZVONKAR_DRIVES the drives are the mounted volumes.
        qunsetenv("ZVONKAR_DRIVES");
        win32::ReloadDriveMap();
    }

    void TearDown() override {
        form.reset();
        // The fresh /mnt goes with everything mounted on it.
        if (mounted)
            ::umount2("/mnt", MNT_DETACH);
    }

    // Mounts folder `relative` of the test's drive at /mnt/`name`.
    void Mount(const QString& relative, const QByteArray& name) {
        const QByteArray point = "/mnt/" + name;
        ASSERT_TRUE(QDir().mkpath(point));
        ASSERT_EQ(::mount(QFile::encodeName(drives.PosixPath('C', relative)), point, nullptr,
                          MS_BIND, nullptr),
                  0);
    }
    // Detaches a volume as a pulled card is, even while the program's directory lies on it.
    static void Unmount(const QByteArray& name) {
        ASSERT_EQ(::umount2("/mnt/" + name, MNT_DETACH), 0);
    }

    void Start(const QString& lastDir) {
        WriteRegString(SettingsKey, QStringLiteral("LastDir"), lastDir);
        form = std::make_unique<TForm1>();
        form->Show();
        QCoreApplication::processEvents();
    }
    QString WindowsPath(const QString& relative) const {
        return win32::ToWindowsPath(QFile::encodeName(drives.PosixPath('C', relative))).value();
    }
    QStringList Entries() const {
        QStringList texts;
        for (int i = 0; i < form->disk->Items().Count(); ++i)
            texts << form->disk->Items().Text(i).left(2);
        return texts;
    }
    // Mounts the card at /mnt/karta (the drive map `listed`, else the mounted volumes), starts
    // in C:'s folder and selects the card's file; returns the card's letter.
    QChar ShowCard(const char* listed) {
        Mount("karta", "karta");
        if (*listed)
            qputenv("ZVONKAR_DRIVES", listed);
        win32::ReloadDriveMap();
        Start(WindowsPath("zvuky"));
        const QChar card = win32::ToWindowsPath("/mnt/karta/zvuky").value().front();
        form->disk->SetDrive(card);
        form->adresar->SetDirectory(win32::ToWindowsPath("/mnt/karta/zvuky").value());
        QTest::keyClick(form->soubor, Qt::Key_Down);
        return card;
    }
    bool EntriesBecome(const QStringList& expected) {
        return QTest::qWaitFor([&] { return Entries() == expected; }, 5000);
    }

    TempDrives drives;
    std::unique_ptr<TForm1> form;
    bool mounted = false;
};

// Entries come and go with their volumes, each keeping its letter, while the shown drive stays
// selected and no drive change is raised: the selected file and the panel are as they were.
TEST_F(DrivesComeAndGo, EntriesFollowMountsAndTheShownDriveStays) {
    Start(WindowsPath("zvuky"));
    QTest::keyClick(form->soubor, Qt::Key_Down);
    ASSERT_TRUE(form->Panel2->Enabled());
    // A fresh map letters its drives one after another from C:.
    const QStringList before = Entries();
    const QString first = QString(QChar(char16_t(u'c' + before.size()))) + u':';
    const QString second = QString(QChar(char16_t(u'c' + before.size() + 1))) + u':';

    Mount("karta", "karta");
    EXPECT_TRUE(EntriesBecome(before + QStringList{first}));
    // It sorts before the first one, which keeps its letter all the same.
    Mount("zaloha", "a-zaloha");
    EXPECT_TRUE(EntriesBecome(before + QStringList{first, second}));
    Unmount("karta");
    EXPECT_TRUE(EntriesBecome(before + QStringList{second}));

    EXPECT_EQ(form->disk->Drive(), u'c');
    EXPECT_EQ(form->disk->Text().left(2), "c:");
    EXPECT_EQ(form->soubor->FileName(), WindowsPath("zvuky/a.wav"));
    EXPECT_EQ(form->Velikost->Caption(), "2 Kb");
    EXPECT_TRUE(form->Panel2->Enabled());
}

// When the shown drive goes (its volume unmounted; with ZVONKAR_DRIVES, its folder gone with
// the volume, the letter staying), the program goes to the drive of its own folder as though
// the user had chosen it: back to that drive's folder, no size, the file panel disabled.
TEST_F(DrivesComeAndGo, TheShownDriveGoingAwayTakesTheListsToTheProgramsDrive) {
    for (const char* listed : {"", "C=/;K=/mnt/karta/zvuky,removable"}) {
        SCOPED_TRACE(listed);
        const QChar card = ShowCard(listed);
        QStringList after = Entries();
        if (!*listed)
            after.removeOne(QString(card.toLower()) + u':');
        ASSERT_EQ(form->Velikost->Caption(), "1 Kb");

        Unmount("karta");
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->disk->Drive() == u'c'; }, 5000));
        EXPECT_EQ(Entries(), after);
        EXPECT_EQ(form->disk->Text().left(2), "c:");
        EXPECT_EQ(form->adresar->Directory(), WindowsPath("zvuky"));
        EXPECT_EQ(form->soubor->Directory(), WindowsPath("zvuky"));
        EXPECT_EQ(form->soubor->Items().Count(), 1);
        EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
        EXPECT_FALSE(form->Panel2->Enabled());
        form.reset();
    }
}

// A card pulled while the rename asks for the new name: the lists wait for the answer, which
// then renames nothing on the drive they move to, though a file of that name lies there.
TEST_F(DrivesComeAndGo, AQuestionOpenWhenTheShownDriveGoesActsOnNoOtherFile) {
    drives.MakeFileOfSize('C', "zvuky/k.wav", 10);
    ShowCard("");
    DialogAnswerer answer([&](QWidget* modal) {
        Unmount("karta");
        QTest::qWait(500);
        modal->findChild<QLineEdit*>()->setText("novy");
        QTest::keyClick(modal->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    const ErrorBoxRecorder folderGone;
    CallEventHandler([&] { form->TransparentButton5Click(form->TransparentButton5); });
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->disk->Drive() == u'c'; }, 5000));
    EXPECT_TRUE(drives.Exists('C', "zvuky/k.wav"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/novy.wav"));
}

} // namespace
