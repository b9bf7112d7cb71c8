#include "app/Zvonkar.h"
#include "controls/TTransparentButton.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/fileapi.h"
#include "platform/sound/sound.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogAnswerer.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QScopeGuard>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

class Browsing : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeSound('C', "zvuky/a.wav", 1023);
        MakeSound('C', "zvuky/b.wav", 1024);
        MakeSound('C', "zvuky/c.wav", 1048576);
        MakeSound('C', "zvuky/notes.txt", 10);
        drives.MakeDirectory('D', "jinde");
        StoreLastDir("C:\\zvuky");
        Start();
        form->soubor->setFocus();
    }

    // A file or folder in C:\zvuky by the bytes of its name.
    void MakeNamed(const QByteArray& name, bool folder = false) {
        const QByteArray path = QFile::encodeName(drives.PosixPath('C', "zvuky")) + '/' + name;
        ASSERT_EQ(folder ? ::mkdir(path, 0755) : ::close(::creat(path, 0644)), 0) << path.data();
    }

    // The sound service's request for the next play, once it has started.
    bool PlayedPosix(const QString& posixPath) {
        return win32::WaitForSound(
            [&](const win32::SoundStatus& s) { return s.path == posixPath && s.request > 0; }, 2s);
    }
};

} // namespace

TEST_F(Browsing, ArrowKeysPlayAndMeasureEachFileInTurn) {
    struct Step {
        const char* name;
        const char* size;
    };
    const Step steps[] = {{"a.wav", "0 Kb"}, {"b.wav", "1 Kb"}, {"c.wav", "1024 Kb"}};
    EXPECT_EQ(form->soubor->Items().Count(), 3);
    for (const Step& step : steps) {
        QTest::keyClick(form->soubor, Qt::Key_Down);
        EXPECT_EQ(form->soubor->FileName(), QString("C:\\zvuky\\") + step.name);
        EXPECT_EQ(form->Velikost->Caption(), QString(step.size));
        EXPECT_TRUE(form->Panel2->Enabled());
        EXPECT_TRUE(PlayedPosix(drives.PosixPath('C', QString("zvuky/") + step.name)));
    }
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

TEST_F(Browsing, TheStopButtonPlaysTheSilentFileBesideTheProgram) {
    drives.MakeFile('C', "program/ticho.wav", QByteArray());
    ProgramDir = "C:\\program\\";
    QTest::keyClick(form->soubor, Qt::Key_Down);
    const std::uint64_t before = win32::GetSoundStatus().request;
    form->TransparentButton2Click(form->TransparentButton2);
    EXPECT_TRUE(win32::WaitForSound(
        [&](const win32::SoundStatus& s) {
            return s.request > before && s.path == drives.PosixPath('C', "program/ticho.wav");
        },
        2s));
}

// The file is played before it is measured, so a file that cannot be measured still plays (a
// missing one the default sound); one that another program holds open for reading and writing
// is measured all the same.
TEST_F(Browsing, ASelectionPlaysFirstThenMeasuresWhatCanBeRead) {
    using namespace win32;
    const DWORD shared = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const struct {
        const char* name;
        int held; // the share mode of another opener; -1: the file is deleted first
        const char* size;
        const char* error;
    } cases[] = {
        {"b.wav", int(shared), "1 Kb", nullptr},
        {"c.wav", 0, "1 Kb", "I/O error 32."},
        {"c.wav", -1, "1 Kb", "File not found."},
    };
    for (const auto& c : cases) {
        const QString posix = drives.PosixPath('C', QString("zvuky/") + c.name);
        const HANDLE other =
            c.held < 0 ? INVALID_HANDLE_VALUE
                       : CreateFile(QString("C:\\zvuky\\") + c.name, GENERIC_READ | GENERIC_WRITE,
                                    DWORD(c.held), OPEN_EXISTING, 0);
        if (c.held < 0)
            QFile::remove(posix);
        form->soubor->SetItemIndex(c.name[0] - 'a' - 1);
        const std::uint64_t before = GetSoundStatus().request;
        ErrorBoxRecorder boxes;
        QTest::keyClick(form->soubor, Qt::Key_Down);
        CloseHandle(other);
        EXPECT_TRUE(WaitForSound(
            [&](const SoundStatus& s) {
                return s.request > before && s.path == posix && (c.held >= 0 || s.defaultSound);
            },
            2s))
            << c.name << c.held;
        EXPECT_EQ(boxes.Texts(), c.error ? QStringList(c.error) : QStringList()) << c.name;
        EXPECT_EQ(form->Velikost->Caption(), c.size) << c.name;
    }
}

// An error raised where the drive selector calls the main window is shown there, and the
// window stays usable.
TEST_F(Browsing, ADriveWhoseRememberedFolderWasDeletedIsReported) {
    form->disk->SetDrive(u'd');
    form->adresar->SetDirectory("D:\\jinde");
    form->disk->SetDrive(u'c');
    ASSERT_TRUE(QDir(drives.PosixPath('D', "jinde")).removeRecursively());
    const int stray = Application()->StrayErrors();
    form->disk->setFocus();
    QTest::keyClick(form->disk, Qt::Key_Down);
    EXPECT_EQ(ErrorBoxes().size(), 1);
    EXPECT_EQ(Application()->StrayErrors(), stray);
    EXPECT_EQ(form->adresar->Directory(), "C:\\zvuky");
    QTest::keyClick(form->soubor, Qt::Key_Down);
    EXPECT_EQ(form->soubor->FileName(), "C:\\zvuky\\a.wav");
}

TEST_F(Browsing, ADirectoryChangeResetsTheSizeAndThePanel) {
    drives.MakeDirectory('C', "zvuky/sub");
    QTest::keyClick(form->soubor, Qt::Key_Down);
    ASSERT_TRUE(form->Panel2->Enabled());
    form->adresar->SetDirectory("C:\\zvuky\\sub");
    EXPECT_EQ(form->soubor->Directory(), "C:\\zvuky\\sub");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
}

TEST_F(Browsing, ADriveWithoutMediumIsRefusedWithOneMessage) {
    QTest::keyClick(form->soubor, Qt::Key_Down);
    ASSERT_EQ(form->Velikost->Caption(), "0 Kb");
    DialogAnswerer answer(DialogAnswerer::PressButton("OK"));
    form->disk->SetDrive(u'e');
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(answer.AnsweredCount(), 1);
    EXPECT_EQ(form->disk->Drive(), u'c');
    EXPECT_EQ(form->adresar->Directory(), "C:\\zvuky");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

TEST_F(Browsing, AnotherDriveMovesTheListsThere) {
    QTest::keyClick(form->soubor, Qt::Key_Down);
    form->disk->SetDrive(u'd');
    EXPECT_EQ(form->adresar->Directory(), "D:\\");
    EXPECT_EQ(form->soubor->Directory(), "D:\\");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    EXPECT_FALSE(form->Panel2->Enabled());
}

// Linux keeps names as their bytes, so a folder may hold "café" spelt precomposed and spelt
// with a combining accent, side by side: both are listed, and Enter on each opens that one,
// also in a locale whose collation takes the two spellings for one text.
TEST_F(Browsing, FoldersThatDifferOnlyInUnicodeNormalisationAreBothReachable) {
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(locale); });
    const QString composed = QString::fromUtf8("caf\u00e9");
    const QString decomposed = QString::fromUtf8("cafe\u0301");
    MakeSound('C', "zvuky/" + composed + "/slozene.wav", 1);
    MakeSound('C', "zvuky/" + decomposed + "/rozlozene.wav", 1);
    form->adresar->Reload();
    const std::pair<QString, QString> cases[] = {{composed, "slozene.wav"},
                                                 {decomposed, "rozlozene.wav"}};
    for (const auto& [folder, sound] : cases) {
        int entry = form->adresar->Items().Count() - 1;
        while (entry >= 0 && form->adresar->Items().Text(entry) != folder)
            --entry;
        ASSERT_GE(entry, 0) << "listed";
        form->adresar->SetItemIndex(entry);
        QTest::keyClick(form->adresar, Qt::Key_Return);
        EXPECT_EQ(form->adresar->Directory(), "C:\\zvuky\\" + folder);
        EXPECT_EQ(form->soubor->Items().Count(), 1);
        EXPECT_EQ(form->soubor->Items().Text(0), sound);
        form->adresar->SetDirectory("C:\\zvuky");
    }
    EXPECT_TRUE(ErrorBoxes().isEmpty());
}

// A name holding characters that Windows names cannot carry, or bytes that are not UTF-8, reads
// in both lists as the name spelt with their look-alikes, or in the code page of the user's
// language: drawn alike, and read alike by type-ahead and assistive technology.
TEST_F(Browsing, OddNamesReadAsLookAlikesAndInTheLegacyCodePage) {
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(locale); });
    struct Case {
        TCustomListBox* list;
        QByteArray odd;
        QByteArray spelt; // UTF-8
    };
    const Case cases[] = {
        {form->soubor, "x\\y|z?.wav", "x\u2216y\u2223z\u0294.wav"},
        {form->soubor, "\xE8\x65rn\xFD.wav", "\u010Dern\u00FD.wav"}, // Windows-1250
        {form->adresar, "a:b*", "a\uA789b\u2217"},
        {form->adresar, "\x9Aum\x01", "\u0161um\uFFFD"},
    };
    for (const Case& c : cases) {
        MakeNamed(c.odd, c.list == form->adresar);
        MakeNamed(c.spelt, c.list == form->adresar);
    }
    form->adresar->Reload();
    form->soubor->Reload();
    form->disk->setFocus();
    for (const Case& c : cases) {
        const QString shown = QString::fromUtf8(c.spelt);
        const QModelIndexList rows = c.list->model()->match(
            c.list->model()->index(0, 0), Qt::DisplayRole, shown, -1, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 2) << shown.toStdString();
        const auto drawn = [&](int i) {
            return c.list->viewport()->grab(c.list->visualRect(rows[i]));
        };
        EXPECT_EQ(drawn(0).toImage(), drawn(1).toImage()) << shown.toStdString();
    }
}

// Dragging a file out of the list hands other programs its location, with the bytes of its
// name, for copying; the press still selects and plays it. A press released within the drag
// distance is the click it always was.
TEST_F(Browsing, AFileDraggedOutOffersItsLocationAndAClickStaysAClick) {
    MakeNamed("\xE8.wav");
    form->soubor->Reload();
    QWidget* viewport = form->soubor->viewport();
    const QPoint b = form->soubor->visualRect(form->soubor->model()->index(1, 0)).center();
    const QPoint odd = form->soubor->visualRect(form->soubor->model()->index(3, 0)).center();
    const int distance = QApplication::startDragDistance();
    QTest::mousePress(viewport, Qt::LeftButton, {}, b);
    QTest::mouseMove(viewport, b + QPoint(0, distance - 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, b + QPoint(0, distance - 1));
    EXPECT_EQ(form->soubor->FileName(), "C:\\zvuky\\b.wav");
    EXPECT_EQ(form->soubor->findChild<QDrag*>(), nullptr);

    QTest::mousePress(viewport, Qt::LeftButton, {}, odd);
    QTest::mouseMove(viewport, odd + QPoint(distance, 0));
    EXPECT_EQ(form->soubor->FileName(), QString("C:\\zvuky\\") + QChar(0xF7E8) + ".wav");
    EXPECT_EQ(form->Velikost->Caption(), "0 Kb");
    // Here the drag ends at once; on a desktop it runs until the drop.
    const QDrag* drag = form->soubor->findChild<QDrag*>();
    ASSERT_NE(drag, nullptr);
    const QByteArray path = QFile::encodeName(drives.PosixPath('C', "zvuky/")).append("\xE8.wav");
    EXPECT_EQ(drag->mimeData()->data("text/uri-list"),
              "file://" + path.toPercentEncoding("/") + "\r\n");
    EXPECT_EQ(drag->supportedActions(), Qt::CopyAction);
}
