#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/FileDialogTyping.h"

#include <QDir>
#include <QFile>
#include <QTest>

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
        DialogAnswerer answering([&, answer](QWidget* modal) {
            question = modal->findChild<QWidget*>("Message")
                           ? modal->findChild<QWidget*>("Message")->property("Caption").toString()
                           : QString();
            answer(modal);
        });
        form->TransparentButton3Click(form->TransparentButton3);
        EXPECT_TRUE(answering.Answered());
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

    QString question;
};

} // namespace

TEST_F(FileOperations, DeleteAsksWithTheFullPathAndDeletesOnYes) {
    SelectFile(2);
    Delete(DialogAnswerer::PressButton("&Yes"));
    EXPECT_EQ(question, "Opravdu chcete smazat C:\\zvuky\\b.wav ?");
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
    EXPECT_EQ(question, QString::fromUtf8("Opravdu chcete smazat C:\\zvuky\\c\uA789d.wav ?"));
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
    SelectFile(2);
    Rename("B.WAV");
    EXPECT_TRUE(drives.Exists('C', "zvuky/B.WAV"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/b.wav"));
    SelectFile(2);
    Rename("a.wav");
    EXPECT_EQ(drives.ReadFile('C', "zvuky/a.wav")->size(), 1023);
    EXPECT_EQ(drives.ReadFile('C', "zvuky/B.WAV")->size(), 4096);
}

TEST_F(FileOperations, APathInTheNewNameMovesTheFile) {
    drives.MakeDirectory('C', "zvuky/sub");
    drives.MakeDirectory('D', "jinam");
    SelectFile(2);
    Rename("sub\\b2.wav");
    EXPECT_TRUE(drives.Exists('C', "zvuky/sub/b2.wav"));
    SelectFile(1);
    Rename("D:\\jinam\\a.wav");
    EXPECT_TRUE(drives.Exists('D', "jinam/a.wav"));
    EXPECT_FALSE(drives.Exists('C', "zvuky/a.wav"));
}
