// The main window on a real FAT volume, as a sampler's or recorder's memory card is: the names,
// letter case and file sizes such a volume allows, where the user meets them.
#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/sound/sound.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/FatVolume.h"
#include "tests/support/FileDialogTyping.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kCzech = QStringLiteral("Žluťoučký kůň úpěl ďábelské ódy.wav");
// Longer than a cluster, so that a rename that loses the file's clusters shows.
const QByteArray kKick = QByteArray("KICK").repeated(20000);

// Mounted before the window's drives are made, so that drive D: is the card.
struct Card {
    // FAT32 with more than 4 GiB free, so that only the largest file can refuse a copy.
    FatVolume card{{.Size = 4400LL << 20,
                    .Fat32 = true,
                    .Files = {{"KICK.WAV", kKick}, {"SNARE.WAV", "SNARE"}, {kCzech, "CZ"}}}};
};

class MemoryCard : public Card, public MainWindowFixture {
protected:
    MemoryCard()
        : MainWindowFixture({{'C', "c"},
                             {'D', card.MountPoint()},
                             {'P', QCoreApplication::applicationDirPath()}}) {}

    void SetUp() override {
        if (!card.SkipReason().isEmpty())
            GTEST_SKIP() << card.SkipReason().toStdString();
        StoreLastDir("D:\\");
        Start();
        form->soubor->setFocus();
    }

    // Selects a file as the arrow keys do, which plays and measures it.
    void Select(const QString& name) {
        const int index = form->soubor->Items().IndexOf(name);
        form->soubor->SetItemIndex(-1);
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(form->soubor, Qt::Key_Down);
        ASSERT_EQ(LastComponent(form->soubor->FileName()), name);
    }

    void Rename(const QString& typed, const QList<DialogAnswerer::Action>& then = {}) {
        DialogAnswerer answering(QList<DialogAnswerer::Action>{[&](QWidget* modal) {
                                     modal->findChild<QLineEdit*>()->setText(typed);
                                     QTest::keyClick(modal->findChild<QLineEdit*>(),
                                                     Qt::Key_Return);
                                 }} +
                                 then);
        form->TransparentButton5Click(form->TransparentButton5);
        EXPECT_TRUE(answering.Answered());
    }

    // Copies the selected file, answering the save dialog's prompts, then the windows `after`.
    void Copy(const QString& destination, const QList<DialogAnswerer::Action>& then,
              const QList<DialogAnswerer::Action>& after = {}) {
        DialogAnswerer answering(QList<DialogAnswerer::Action>{[&](QWidget* modal) {
                                     TypeFileNameAndSave(modal, destination, then);
                                     if (modal->isVisible()) // a refused overwrite
                                         static_cast<QDialog*>(modal)->reject();
                                 }} +
                                 after);
        Application()->CallHandler(
            [&] { form->TransparentButton4Click(form->TransparentButton4); });
        EXPECT_TRUE(answering.Answered());
    }

    // The card's root as the volume lists it; fusefat adds the label as an entry.
    QStringList OnCard() const {
        QStringList names = QDir(card.MountPoint()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("SAMPLER");
        return names;
    }
};

} // namespace

TEST_F(MemoryCard, TheSelectorShowsTheLabelAndCzechNamesPlayAsWritten) {
    EXPECT_TRUE(form->disk->Items().IndexOf("d: [sampler]") >= 0);
    EXPECT_EQ(form->soubor->Items().IndexOf("SAMPLER"), -1);
    Select(kCzech);
    EXPECT_EQ(form->soubor->FileName(), "D:\\" + kCzech);
    EXPECT_TRUE(win32::WaitForSound(
        [&](const win32::SoundStatus& s) { return s.path == card.MountPoint() + '/' + kCzech; },
        2s));
}

TEST_F(MemoryCard, RenameChangesLetterCaseButNeverTakesAnotherFilesName) {
    Select("KICK.WAV");
    Rename("Kick.wav");
    EXPECT_EQ(OnCard(), (QStringList{"Kick.wav", "SNARE.WAV", kCzech}));
    Select("SNARE.WAV");
    Rename("KICK.wav");
    EXPECT_EQ(OnCard(), (QStringList{"Kick.wav", "SNARE.WAV", kCzech}));
    QFile kick(card.MountPoint() + "/kick.wav");
    ASSERT_TRUE(kick.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kick.readAll() == kKick);
}

// A name from a Linux folder that holds a character FAT refuses: the rename says so, the copy
// fails naming the file, and neither leaves anything on the card or loses the file.
TEST_F(MemoryCard, ANameTheCardRefusesIsReportedAndNothingIsWritten) {
    drives.MakeFile('C', "zvuky/a:b.wav", "AB");
    form->disk->SetDrive(u'c');
    form->adresar->SetDirectory("C:\\zvuky");
    Select(form->soubor->Items().Text(0));
    const QString name = LastComponent(form->soubor->FileName());
    Rename("D:\\" + name, {Noting(DialogAnswerer::PressButton("OK"))});
    EXPECT_EQ(message, "Neplatné jméno souboru D:\\a\uA789b.wav");
    Select(name);
    Copy("D:\\" + name, {DialogAnswerer::PressButton("&Yes")});
    EXPECT_EQ(ErrorBoxes(), QStringList{"Cannot create file D:\\" + name + "."});
    EXPECT_EQ(drives.ReadFile('C', "zvuky/a:b.wav"), "AB");
    EXPECT_EQ(OnCard(), (QStringList{"KICK.WAV", "SNARE.WAV", kCzech}));
}

TEST_F(MemoryCard, AFileLargerThanFatHoldsIsRefusedBeforeAnythingIsWritten) {
    MakeSound('C', "velky.wav", 0x100000000LL);
    form->disk->SetDrive(u'c');
    form->adresar->SetDirectory("C:\\");
    Select("velky.wav");
    Copy("D:\\velky.wav", {DialogAnswerer::PressButton("&Yes")},
         {Noting(DialogAnswerer::PressButton("OK"))});
    EXPECT_EQ(message, "Nedostatek místa na disku D:");
    EXPECT_EQ(OnCard(), (QStringList{"KICK.WAV", "SNARE.WAV", kCzech}));
}

TEST_F(MemoryCard, ACopyOntoAFileReplacesItOnlyWhenTheUserSaysSo) {
    drives.MakeFile('C', "novy.wav", "NEW KICK");
    form->disk->SetDrive(u'c');
    form->adresar->SetDirectory("C:\\");
    for (const char* answer : {"&No", "&Yes"}) {
        Select("novy.wav");
        Copy("D:\\kick.wav", {DialogAnswerer::PressButton(answer)});
    }
    // The replaced file takes the name as typed.
    EXPECT_TRUE(ErrorBoxes().isEmpty()) << ErrorBoxes().join('\n').toStdString();
    EXPECT_EQ(OnCard(), (QStringList{"kick.wav", "SNARE.WAV", kCzech}));
    QFile kick(card.MountPoint() + "/kick.wav");
    ASSERT_TRUE(kick.open(QIODevice::ReadOnly));
    EXPECT_EQ(kick.readAll(), "NEW KICK");
}
