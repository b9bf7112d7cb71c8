#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/DriveMap.h"
#include "platform/files/curdir.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/FakeFileChooser.h"
#include "tests/support/FileDialogTyping.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

class FileOperations : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeSound('C', "zvuky/a.wav", 1023);
        MakeSound('C', "zvuky/b.wav", 4096);
        StoreLastDir("C:\\zvuky");
        Start();
        form->soubor->setFocus();
    }

    // Selects the n-th file (from 1) as the arrow keys do, which measures it.
    void SelectFile(int n) {
        form->soubor->SetItemIndex(-1);
        for (int i = 0; i < n; ++i)
            QTest::keyClick(form->soubor, Qt::Key_Down);
        ASSERT_TRUE(form->Panel2->Enabled());
    }

    QStringList Listed() const {
        QStringList names;
        for (int i = 0; i < form->soubor->Items().Count(); ++i)
            names << form->soubor->Items().Text(i);
        return names;
    }

    void Delete(DialogAnswerer::Action answer) {
        DialogAnswerer answering(Noting(answer));
        form->TransparentButton3Click(form->TransparentButton3);
        EXPECT_TRUE(answering.Answered());
    }

    // Gives drive `letter` the facts `change` makes, as if the drive map had found them.
    static void ChangeDrive(char letter, const std::function<void(win32::Drive&)>& change) {
        QList<win32::Drive> list = win32::CurrentDriveMap()->Drives();
        for (win32::Drive& drive : list)
            if (drive.Letter == letter)
                change(drive);
        win32::SetCurrentDriveMap(win32::DriveMap(list));
    }

    QString Rename(const QString& typed) {
        DialogAnswerer answering([&](QWidget* modal) {
            auto* edit = modal->findChild<QLineEdit*>();
            edit->setText(typed);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        form->TransparentButton5Click(form->TransparentButton5);
        EXPECT_TRUE(answering.Answered());
        return Listed().join(',');
    }
};

} // namespace

TEST_F(FileOperations, DeleteAsksWithTheFullPathAndDeletesOnYes) {
    SelectFile(2);
    Delete(DialogAnswerer::PressButton("&Yes"));
    EXPECT_EQ(message, "Opravdu chcete smazat C:\\zvuky\\b.wav ?");
    EXPECT_FALSE(drives.Exists('C', "zvuky/b.wav"));
    EXPECT_EQ(Listed(), QStringList{"a.wav"});
    EXPECT_FALSE(form->Panel2->Enabled());
    EXPECT_EQ(form->Velikost->Caption(), "4 Kb");
}

TEST_F(FileOperations, TheDeleteQuestionNamesAnOddFileAsTheListShowsIt) {
    MakeSound('C', "zvuky/c:d.wav", 10);
    form->soubor->Reload();
    SelectFile(3);
    Delete(DialogAnswerer::PressButton("&Yes"));
    EXPECT_EQ(message, QString::fromUtf8("Opravdu chcete smazat C:\\zvuky\\c\uA789d.wav ?"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/c:d.wav"));
}

TEST_F(FileOperations, AnythingButYesDeletesNothing) {
    for (const DialogAnswerer::Action& answer :
         {DialogAnswerer::PressButton("&No"), DialogAnswerer::PressKey(Qt::Key_Escape),
          DialogAnswerer::CloseWindow()}) {
        SelectFile(1);
        Delete(answer);
        EXPECT_TRUE(drives.Exists('C', "zvuky/a.wav"));
        EXPECT_TRUE(form->Panel2->Enabled());
    }
}

TEST_F(FileOperations, AFileThatVanishedAfterItWasSelectedLeavesTheWindowAsItWas) {
    SelectFile(2);
    QFile::remove(drives.PosixPath('C', "zvuky/b.wav"));
    Delete(DialogAnswerer::PressButton("&Yes"));
    EXPECT_EQ(Listed(), (QStringList{"a.wav", "b.wav"}));
    EXPECT_TRUE(form->Panel2->Enabled());
}

TEST_F(FileOperations, AReadOnlyFileIsDeletedToo) {
    drives.MakeReadOnly('C', "zvuky/a.wav");
    SelectFile(1);
    Delete(DialogAnswerer::PressButton("&Yes"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/a.wav"));
}

TEST_F(FileOperations, CopyGoesWhereTheSaveDialogSaysAndResetsTheWindow) {
    drives.MakeDirectory('D', "kopie");
    SelectFile(2);
    QString offered;
    DialogAnswerer answering([&](QWidget* modal) {
        offered = modal->findChild<QLineEdit*>("fileNameEdit")->text();
        TypeFileNameAndSave(modal, "D:\\kopie\\b.wav", {DialogAnswerer::PressButton("&Yes")});
    });
    form->TransparentButton4Click(form->TransparentButton4);
    EXPECT_TRUE(answering.Answered());
    EXPECT_EQ(offered, "b.wav");
    EXPECT_EQ(drives.ReadFile('D', "kopie/b.wav"), drives.ReadFile('C', "zvuky/b.wav"));
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}

// The desktop's dialog takes a drive path typed as the name for a name in the folder it shows.
TEST_F(FileOperations, CopyThroughThePortalGoesToTheDriveTypedAsTheName) {
    drives.MakeDirectory('D', "kopie");
    FakeFileChooser portal;
    const QString shown = drives.PosixPath('C', "zvuky");
    portal.Answers = {{shown + "/D:\\kopie\\b", 0}, {shown + "/..\\c", 0}};
    for (const char* copy : {"kopie/b.wav", "c.wav"}) {
        SelectFile(2);
        DialogAnswerer answering({DialogAnswerer::PressButton("&Yes")});
        form->TransparentButton4Click(form->TransparentButton4);
        EXPECT_TRUE(answering.Answered()) << copy;
    }
    EXPECT_EQ(drives.ReadFile('D', "kopie/b.wav"), drives.ReadFile('C', "zvuky/b.wav"));
    EXPECT_EQ(drives.ReadFile('C', "c.wav"), drives.ReadFile('C', "zvuky/b.wav"));
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}

TEST_F(FileOperations, CopyOntoItselfFailsAndKeepsTheSource) {
    SelectFile(2);
    const auto before = drives.ReadFile('C', "zvuky/b.wav");
    DialogAnswerer answering([&](QWidget* modal) {
        TypeFileNameAndSave(modal, "b.wav", {DialogAnswerer::PressButton("&Yes")});
    });
    // As a click does, through the application's exception net.
    Application()->CallHandler([&] { form->TransparentButton4Click(form->TransparentButton4); });
    EXPECT_EQ(ErrorBoxes(), QStringList{"Cannot create file C:\\zvuky\\b.wav."});
    EXPECT_EQ(drives.ReadFile('C', "zvuky/b.wav"), before);
    EXPECT_TRUE(form->Panel2->Enabled());
}

// A size between the space available to the user and the volume's total size does not fit.
TEST_F(FileOperations, ACopyTooBigForTheSpaceAvailableIsRefusedNamingTheDrive) {
    drives.MakeDirectory('D', "kopie");
    struct statvfs volume {};
    ASSERT_EQ(statvfs(QFile::encodeName(drives.PosixPath('D')).constData(), &volume), 0);
    const qint64 availableKiB = qint64(volume.f_bavail) * qint64(volume.f_frsize) / 1024;
    const qint64 totalKiB = qint64(volume.f_blocks) * qint64(volume.f_frsize) / 1024;
    ASSERT_LT(availableKiB + 2, totalKiB);
    SelectFile(2);
    form->Velikost->SetCaption(QString::number((availableKiB + totalKiB) / 2) + " Kb");
    DialogAnswerer answering({[](QWidget* modal) {
                                  TypeFileNameAndSave(modal, "D:\\kopie\\b.wav",
                                                      {DialogAnswerer::PressButton("&Yes")});
                              },
                              Noting(DialogAnswerer::PressButton("OK"))});
    form->TransparentButton4Click(form->TransparentButton4);
    EXPECT_TRUE(answering.Answered());
    EXPECT_EQ(message, "Nedostatek místa na disku D:");
    EXPECT_FALSE(drives.Exists('D', "kopie/b.wav"));
    EXPECT_TRUE(form->Panel2->Enabled());
}

TEST_F(FileOperations, FreeSpaceIsComparedInWholeKilobytes) {
    struct Case {
        const char* size;
        qint64 freeBytes;
        bool fits;
    };
    const qint64 threeTiB = 3LL << 40;
    for (const Case& c : {Case{"0 Kb", -1, true}, Case{"1 Kb", -1, false}, Case{"4 Kb", 4096, true},
                          Case{"4 Kb", 4095, false}, Case{"2097152 Kb", threeTiB, true},
                          Case{"0 Kb", threeTiB, true}})
        EXPECT_EQ(FitsInFreeSpace(c.size, c.freeBytes), c.fits) << c.size << " " << c.freeBytes;
    EXPECT_THROW(FitsInFreeSpace("x Kb", 10), EConvertError);
}

TEST_F(FileOperations, RenameAppendsTheExtensionWhenMissing) {
    struct Case {
        const char* typed;
        const char* listed;
    };
    const Case cases[] = {
        {"nova", "a.wav,nova.wav"},
        {"nova.WAV", "a.wav,nova.WAV"},
        {"nova.mp3", "a.wav,nova.mp3.wav"},
        {"", ".wav,a.wav"},
        // A look-alike typed stays itself: never the character it looks like.
        {"x\u2216y", "a.wav,x\u2216y.wav"},
    };
    for (const Case& c : cases) {
        MakeSound('C', "zvuky/b.wav", 4096);
        for (const QString& stray :
             QDir(drives.PosixPath('C', "zvuky")).entryList(QDir::Files | QDir::Hidden))
            if (stray != "a.wav" && stray != "b.wav")
                QFile::remove(drives.PosixPath('C', "zvuky/" + stray));
        form->soubor->Reload();
        SelectFile(2);
        Rename(c.typed);
        QStringList names =
            QDir(drives.PosixPath('C', "zvuky"))
                .entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        EXPECT_EQ(names.join(','), QString::fromUtf8(c.listed)) << c.typed;
        EXPECT_FALSE(form->Panel2->Enabled());
    }
}

TEST_F(FileOperations, CancelledOrUnchangedRenameChangesNothing) {
    SelectFile(2);
    DialogAnswerer cancel(DialogAnswerer::PressButton("Cancel"));
    form->TransparentButton5Click(form->TransparentButton5);
    EXPECT_TRUE(drives.Exists('C', "zvuky/b.wav"));
    EXPECT_TRUE(form->Panel2->Enabled());
    Rename("b.wav");
    EXPECT_TRUE(form->Panel2->Enabled());
    EXPECT_EQ(Listed(), (QStringList{"a.wav", "b.wav"}));
}

TEST_F(FileOperations, RenameChangesLetterCaseAndNeverReplacesAFile) {
    // The second time on a volume that ignores letter case (FAT), as the drive map tells.
    for (const char* name : {"B.WAV", "b.wav"}) {
        SelectFile(2);
        Rename(name);
        EXPECT_EQ(QDir(drives.PosixPath('C', "zvuky")).entryList(QDir::Files),
                  (QStringList{"a.wav", name}));
        ChangeDrive('C', [](win32::Drive& drive) { drive.FileSystem = "vfat"; });
    }
    SelectFile(2);
    Rename("a.wav");
    EXPECT_EQ(drives.ReadFile('C', "zvuky/a.wav")->size(), 1023);
    EXPECT_EQ(drives.ReadFile('C', "zvuky/b.wav")->size(), 4096);
}

// Names count from the file list's folder, wherever the process is: a copy that failed leaves
// it in the destination's folder, here one with files of the same names.
TEST_F(FileOperations, APathInTheNewNameMovesTheFile) {
    drives.MakeDirectory('C', "zvuky/sub");
    drives.MakeDirectory('D', "jinam");
    MakeSound('D', "a.wav", 1);
    MakeSound('D', "b.wav", 2);
    ASSERT_TRUE(win32::SetCurrentDirectory("D:\\"));
    SelectFile(2);
    Rename("sub\\b2.wav");
    EXPECT_TRUE(drives.Exists('C', "zvuky/sub/b2.wav"));
    SelectFile(1);
    Rename("D:\\jinam\\a.wav");
    EXPECT_TRUE(drives.Exists('D', "jinam/a.wav"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/a.wav"));
    EXPECT_EQ(QDir(drives.PosixPath('D')).entryList(QDir::Files), (QStringList{"a.wav", "b.wav"}));
}

TEST_F(FileOperations, AMoveToAnotherVolumeThatCannotRemoveTheSourceLeavesOneFile) {
    QTemporaryDir ram(QStringLiteral("/dev/shm/zvonkar-XXXXXX"));
    struct stat here {
    }, there{};
    if (!ram.isValid() || ::stat(QFile::encodeName(drives.Root()), &here) != 0 ||
        ::stat(QFile::encodeName(ram.path()), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no second volume in /dev/shm";
    ChangeDrive('E', [&](win32::Drive& drive) {
        drive.Folder = drive.RealFolder = QFile::encodeName(ram.path());
    });
    SelectFile(2);
    {
        const ReadOnlyFolder readOnly(drives.PosixPath('C', "zvuky"), {drives.Root(), ram.path()});
        Rename("E:\\b.wav");
    }
    EXPECT_TRUE(drives.Exists('C', "zvuky/b.wav"));
    EXPECT_EQ(QDir(ram.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
