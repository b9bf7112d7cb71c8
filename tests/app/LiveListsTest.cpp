#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/FileDialogTyping.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <functional>

namespace {

// The main window over C:\zvuky while other programs change files in it.
class LiveLists : public MainWindowFixture {
protected:
    void SetUp() override {
        for (const char* name : {"a.wav", "c.wav", "e.wav"})
            MakeSound('C', QString("zvuky/") + name, 2048);
        StoreLastDir("C:\\zvuky");
        Start();
        form->soubor->setFocus();
    }

    // Runs a shell command in C:\zvuky as another program would.
    void Elsewhere(const QString& command) {
        QProcess shell;
        shell.setWorkingDirectory(drives.PosixPath('C', "zvuky"));
        shell.start("sh", {"-c", command});
        ASSERT_TRUE(shell.waitForFinished(5000));
        ASSERT_EQ(shell.exitCode(), 0) << command.toStdString();
    }

    // Lets the event loop run until the condition holds (or 3 s pass); whether it held.
    static bool Eventually(const std::function<bool()>& condition) {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < 3000)
            QTest::qWait(10);
        return condition();
    }

    static QString Entries(const TCustomListBox* list) {
        QStringList names;
        for (int i = 0; i < list->Items().Count(); ++i)
            names << list->Items().Text(i);
        return names.join(',');
    }
    QString Files() const { return Entries(form->soubor); }

    void SelectFile(int n) {
        form->soubor->SetItemIndex(-1);
        for (int i = 0; i < n; ++i)
            QTest::keyClick(form->soubor, Qt::Key_Down);
        ASSERT_TRUE(form->Panel2->Enabled());
    }
};

} // namespace

TEST_F(LiveLists, FilesOfOtherProgramsComeAndGoInTheirPlaceWhileTheSelectionStays) {
    SelectFile(2);
    ASSERT_EQ(form->soubor->FileName(), "C:\\zvuky\\c.wav");
    struct Step {
        const char* command;
        const char* files;
    };
    const Step steps[] = {
        {"head -c 5000 /dev/zero > b.wav", "a.wav,b.wav,c.wav,e.wav"},
        {"mv b.wav d.wav", "a.wav,c.wav,d.wav,e.wav"},
        {"rm a.wav; mkdir slozka.wav; touch .skryty.wav poznamka.txt", "c.wav,d.wav,e.wav"},
        // An editor that saves by writing a new file over the old name.
        {"cp d.wav n && mv n c.wav", "c.wav,d.wav,e.wav"},
    };
    for (const Step& step : steps) {
        Elsewhere(step.command);
        EXPECT_TRUE(Eventually([&] { return Files() == step.files; }))
            << step.command << ": " << Files().toStdString();
        EXPECT_EQ(form->soubor->FileName(), "C:\\zvuky\\c.wav") << step.command;
        EXPECT_EQ(form->Velikost->Caption(), "2 Kb");
        EXPECT_TRUE(form->Panel2->Enabled());
    }
    EXPECT_TRUE(Eventually([&] { return Entries(form->adresar).endsWith(",slozka.wav"); }))
        << Entries(form->adresar).toStdString();

    // The selected file renamed away: nothing measured, the file buttons wait.
    Elsewhere("mv c.wav f.wav");
    EXPECT_TRUE(Eventually([&] { return Files() == "d.wav,e.wav,f.wav"; }))
        << Files().toStdString();
    EXPECT_EQ(form->soubor->FileName(), "");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
    SelectFile(3);
    Elsewhere("rm f.wav");
    EXPECT_TRUE(Eventually([&] { return Files() == "d.wav,e.wav"; })) << Files().toStdString();
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}

TEST_F(LiveLists, TheTopEntryAndTheSelectionStayWhenFilesArriveAboveThem) {
    Elsewhere("for i in $(seq 10 49); do touch f$i.wav; done");
    ASSERT_TRUE(Eventually([&] { return form->soubor->Items().Count() == 43; }));
    SelectFile(30);
    const QString selected = form->soubor->FileName();
    form->soubor->SetTopIndex(20);
    const QString top = form->soubor->Items().Text(form->soubor->TopIndex());
    // A few changes, and then a burst that the list takes in one pass.
    struct Step {
        const char* command;
        int count;
    };
    const Step steps[] = {{"touch 0.wav 1.wav b.wav; rm a.wav", 45},
                          {"for i in $(seq 10 39); do touch d$i.wav; done; rm 0.wav", 74}};
    for (const Step& step : steps) {
        Elsewhere(step.command);
        ASSERT_TRUE(Eventually([&] { return form->soubor->Items().Count() == step.count; }));
        EXPECT_EQ(form->soubor->Items().Text(form->soubor->TopIndex()), top) << step.command;
        EXPECT_EQ(form->soubor->FileName(), selected) << step.command;
        EXPECT_TRUE(form->Panel2->Enabled());
    }
}

TEST_F(LiveLists, AShownFolderRemovedMovesTheListsToItsNearestAncestor) {
    drives.MakeDirectory('C', "zvuky/hluboko/dole");
    form->adresar->SetDirectory("C:\\zvuky\\hluboko\\dole");
    ASSERT_EQ(form->soubor->Directory(), "C:\\zvuky\\hluboko\\dole");
    Elsewhere("rm -r hluboko");
    EXPECT_TRUE(Eventually([&] { return form->adresar->Directory() == "C:\\zvuky"; }))
        << form->adresar->Directory().toStdString();
    EXPECT_EQ(form->soubor->Directory(), "C:\\zvuky");
    EXPECT_EQ(Files(), "a.wav,c.wav,e.wav");
    EXPECT_EQ(Entries(form->adresar), "C:\\,zvuky");

    // A folder renamed under the program is gone from where it was too.
    drives.MakeDirectory('C', "zvuky/stare");
    form->adresar->SetDirectory("C:\\zvuky\\stare");
    Elsewhere("mv stare nove");
    EXPECT_TRUE(Eventually([&] { return form->adresar->Directory() == "C:\\zvuky"; }));
    EXPECT_EQ(Entries(form->adresar), "C:\\,zvuky,nove");
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}

TEST_F(LiveLists, TheProgramsOwnCopyIntoTheShownFolderIsListedOnce) {
    SelectFile(1);
    DialogAnswerer answering([&](QWidget* modal) {
        TypeFileNameAndSave(modal, "C:\\zvuky\\b.wav", {DialogAnswerer::PressButton("&Yes")});
    });
    form->TransparentButton4Click(form->TransparentButton4);
    ASSERT_TRUE(answering.Answered());
    EXPECT_EQ(Files(), "a.wav,b.wav,c.wav,e.wav");
    QTest::qWait(300);
    EXPECT_EQ(Files(), "a.wav,b.wav,c.wav,e.wav");
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
}
