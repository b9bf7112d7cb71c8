#include "filectrl/PathHelpers.h"
#include "filectrl/SortedPositionWatch.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "framework/TEdit.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using FileType = TFileListBox::TFileType;

QStringList Texts(const TFileListBox& list) {
    QStringList texts;
    for (int i = 0; i < list.Items().Count(); ++i)
        texts << list.Items().Text(i);
    return texts;
}

struct FileListTest : ::testing::Test {
    FileListTest() {
        drives.MakeFile('C', "zvuky/ding.wav", "RIFF");
        drives.MakeFile('C', "zvuky/Bum.WAV", "RIFF");
        drives.MakeFile('C', "zvuky/ro.wav", "RIFF");
        drives.MakeReadOnly('C', "zvuky/ro.wav");
        drives.MakeFile('C', "zvuky/.skryty.wav", "RIFF");
        drives.MakeFile('C', "zvuky/readme.txt", "text");
        drives.MakeFile('C', "zvuky/hra.exe", "MZ");
        drives.MakeDirectory('C', "zvuky/sub.wav");
        drives.MakeFile('C', "koren.wav", "RIFF");
        drives.MakeFile('C', "Zvuky/jiny.wav", "RIFF");
        list.OnChange = [this](QObject*) { ++changes; };
        list.OnClick = [this](QObject*) { ++clicks; };
    }
    void Show() {
        list.resize(140, 244);
        list.show();
        list.HandleNeeded();
    }
    TempDrives drives;
    TFileListBox list;
    int changes = 0;
    int clicks = 0;
};

} // namespace

TEST_F(FileListTest, AttributeFilterDecidesWhichEntriesAreListed) {
    struct Case {
        FileType type;
        const char* mask;
        QStringList entries;
    };
    const FileType window =
        TFileListBox::ftReadOnly | TFileListBox::ftArchive | TFileListBox::ftNormal;
    const Case cases[] = {
        {window, "*.wav", {"Bum.WAV", "ding.wav", "ro.wav"}},
        {TFileListBox::ftReadOnly, "*.wav", {"ro.wav"}},
        {TFileListBox::ftNormal, "*.wav", {"Bum.WAV", "ding.wav", "ro.wav"}},
        {TFileListBox::ftNormal | TFileListBox::ftHidden,
         "*.wav",
         {".skryty.wav", "Bum.WAV", "ding.wav", "ro.wav"}},
        {TFileListBox::ftDirectory, "*.*", {"[..]", "[.]", "[sub.wav]"}},
        {window | TFileListBox::ftDirectory,
         "*.wav",
         {"[sub.wav]", "Bum.WAV", "ding.wav", "ro.wav"}},
        {window, "*.wav;*.WAV", {"Bum.WAV", "Bum.WAV", "ding.wav", "ding.wav", "ro.wav", "ro.wav"}},
        {window, "*.txt;*.exe", {"hra.exe", "readme.txt"}},
    };
    list.SetDirectory("C:\\zvuky");
    Show();
    for (const Case& c : cases) {
        list.SetMask(c.mask);
        list.SetFileType(c.type);
        list.Reload();
        EXPECT_EQ(Texts(list), c.entries) << c.mask << " " << c.type.toInt();
    }
}

TEST_F(FileListTest, NothingIsReadBeforeTheWindowExists) {
    list.SetMask("*.wav");
    list.SetDirectory("C:\\zvuky");
    EXPECT_EQ(list.Items().Count(), 0);
    EXPECT_EQ(changes, 0);
    Show();
    EXPECT_EQ(list.Items().Count(), 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(CurrentDirectory(), "C:\\zvuky");
}

TEST_F(FileListTest, FileNameIsTheSelectedEntrysFullPath) {
    list.SetMask("*.wav");
    Show();
    EXPECT_EQ(list.FileName(), "") << "nothing selected";
    list.SetItemIndex(0);
    EXPECT_EQ(list.FileName(), "C:\\koren.wav");
    list.SetDirectory("C:\\zvuky");
    EXPECT_EQ(list.FileName(), "");
    list.SetItemIndex(1);
    EXPECT_EQ(list.FileName(), "C:\\zvuky\\ding.wav");
}

TEST_F(FileListTest, FileNameSetterAppliesTypedPaths) {
    Show();
    list.SetFileName("C:\\zvuky\\*.wav");
    EXPECT_EQ(list.Directory(), "C:\\zvuky");
    EXPECT_EQ(list.Mask(), "*.wav");
    list.SetFileName("C:\\zvuky\\ding.wav");
    EXPECT_EQ(list.SelectedEntry(), "ding.wav");
    EXPECT_EQ(list.FileName(), "C:\\zvuky\\ding.wav");
    list.SetFileName("C:\\zvuky\\readme.txt"); // hidden by the mask: the mask widens to it
    EXPECT_EQ(list.Mask(), "readme.txt");
    EXPECT_EQ(list.FileName(), "C:\\zvuky\\readme.txt");
    list.SetFileName("C:\\");
    EXPECT_EQ(list.Directory(), "C:\\");
    EXPECT_EQ(list.Mask(), "readme.txt") << "a directory leaves the mask";
    EXPECT_THROW(list.SetFileName("C:\\zvuky\\chybi.wav"), EInOutError);
}

TEST_F(FileListTest, SameDirectoryIsNotReadAgainButOnlyByTheVolumesCaseRule) {
    list.SetMask("*.wav");
    list.SetDirectory("C:\\zvuky");
    Show();
    list.SetItemIndex(0);
    changes = 0;
    list.SetDirectory("c:\\zvuky");
    list.SetFileName("c:\\zvuky");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.ItemIndex(), 0) << "the selection stays";
    // On this case-sensitive volume Zvuky is another folder with other files.
    list.SetDirectory("C:\\Zvuky");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Directory(), "C:\\Zvuky");
    EXPECT_EQ(Texts(list), QStringList({"jiny.wav"}));
    list.SetFileName("C:\\zvuky");
    EXPECT_EQ(list.Directory(), "C:\\zvuky");
    EXPECT_EQ(Texts(list), QStringList({"Bum.WAV", "ding.wav", "ro.wav"}));
}

TEST_F(FileListTest, ReloadLeavesNoSelectionAndRaisesOnce) {
    list.SetDirectory("C:\\zvuky");
    Show();
    list.SetItemIndex(1);
    changes = 0;
    list.Reload();
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.FileName(), "");
    EXPECT_EQ(changes, 1);
}

TEST_F(FileListTest, ClickOnTheSelectedEntryRaisesOnClickButNoChange) {
    list.SetMask("*.wav");
    list.SetDirectory("C:\\zvuky");
    Show();
    changes = 0;
    const QPoint second(30, list.ItemHeight() + 2);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.FileName(), "C:\\zvuky\\ding.wav");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(changes, 1);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(list.FileName(), "C:\\zvuky\\ro.wav");
}

TEST_F(FileListTest, LinkedEditShowsTheSelectionOrTheMask) {
    TEdit edit;
    list.SetMask("*.wav");
    list.SetDirectory("C:\\zvuky");
    list.SetFileEdit(&edit);
    EXPECT_EQ(edit.Text(), "*.wav");
    Show();
    list.SelectEntry("DING.WAV");
    EXPECT_EQ(edit.Text(), "ding.wav");
    EXPECT_EQ(edit.SelText(), "ding.wav");
    list.Reload();
    EXPECT_EQ(edit.Text(), "*.wav");
}

TEST_F(FileListTest, LinkedDirectoryListMovesWithATypedPath) {
    TDirectoryListBox directories;
    directories.SetFileList(&list);
    list.SetMask("*.wav");
    Show();
    list.SetFileName("C:\\zvuky\\ding.wav");
    EXPECT_EQ(directories.Directory(), "C:\\zvuky");
    EXPECT_EQ(list.Directory(), "C:\\zvuky");
    EXPECT_EQ(list.SelectedEntry(), "ding.wav");
}

TEST_F(FileListTest, HourglassShowsOnlyOnceAnEntryLandsAtPosition100) {
    for (int i = 0; i < 100; ++i)
        drives.MakeFile('C', QStringLiteral("many/a%1.wav").arg(i, 3, 10, QChar('0')));
    drives.MakeFile('C', "many/b.wav");
    drives.MakeFile('C', "many/0.wav");
    Show();
    list.SetDirectory("C:\\many");
    bool waitCursor = false;
    // The entries reach the view at the end of the read, while the cursor is still up.
    QObject::connect(&list.Items(), &QAbstractItemModel::rowsInserted, [&] {
        waitCursor = QGuiApplication::overrideCursor() &&
                     QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    list.SetMask("a*.wav;0.wav");
    EXPECT_EQ(list.Items().Count(), 101);
    EXPECT_FALSE(waitCursor) << "the last add landed at position 0";
    list.SetMask("a*.wav;b.wav");
    EXPECT_EQ(list.Items().Count(), 101);
    EXPECT_TRUE(waitCursor) << "b.wav landed at position 100";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor is put back";
}

TEST(SortedPositionWatch, LandsExactlyWhereASortedAddLands) {
    QRandomGenerator random(3);
    for (int position : {0, 1, 100}) {
        TListItems items;
        items.SetSorted(true);
        SortedPositionWatch watch(position);
        for (int i = 0; i < 1500; ++i) {
            // Runs of falling names, as some file systems list them, between random ones.
            const int n = i % 400 < 200 ? 1000 - i : random.bounded(300);
            const QString text = QString::number(n) + (random.bounded(2) ? "A" : "a");
            ASSERT_EQ(watch.Lands(ListSortKey(text)), items.Add(text) == position) << i;
        }
    }
}

TEST_F(FileListTest, FailedReadKeepsEntriesAndRaisesNothing) {
    list.SetDirectory("C:\\zvuky");
    Show();
    changes = 0;
    EXPECT_THROW(list.SetDirectory("C:\\chybi"), EInOutError);
    EXPECT_EQ(list.Directory(), "C:\\zvuky");
    EXPECT_EQ(list.Items().Count(), 5);
    EXPECT_EQ(changes, 0);
}

TEST_F(FileListTest, GlyphsAreAttachedByKindAndDrawnOnlyWithShowGlyphs) {
    list.SetMask("*.*");
    list.SetFileType(TFileListBox::ftNormal | TFileListBox::ftDirectory);
    list.SetDirectory("C:\\zvuky");
    Show();
    const int exe = list.Items().IndexOf("hra.exe");
    const int txt = list.Items().IndexOf("readme.txt");
    const int dir = list.Items().IndexOf("[sub.wav]");
    EXPECT_EQ(list.Items().Glyph(exe), &list.ExecutableGlyph());
    EXPECT_EQ(list.Items().Glyph(txt), &list.UnknownFileGlyph());
    EXPECT_EQ(list.Items().Glyph(dir), nullptr);
    list.SetShowGlyphs(true);
    list.Reload();
    EXPECT_EQ(list.Items().Glyph(list.Items().IndexOf("[sub.wav]")), &list.ClosedFolderGlyph());
}

TEST_F(FileListTest, ItemHeightIsTheFontsUnlessGlyphsNeedMore) {
    QFont small = list.font();
    small.setPixelSize(8);
    list.setFont(small);
    EXPECT_EQ(list.ItemHeight(), FontTextHeight(small));
    list.SetShowGlyphs(true);
    EXPECT_EQ(list.ItemHeight(), 16);
    list.SetItemHeight(20);
    list.Loaded();
    EXPECT_EQ(list.ItemHeight(), 16);
}

TEST_F(FileListTest, TextStartsTwoPixelsInOrAfterTheGlyph) {
    list.SetMask("hra.exe");
    list.SetDirectory("C:\\zvuky");
    Show();
    // Inside the entry's outline, where a focus rectangle may be dotted.
    const auto firstInk = [&](int fromX) {
        const QImage image = list.viewport()->grab().toImage();
        for (int x = qMax(fromX, 1); x < 60; ++x)
            for (int y = 1; y < list.ItemHeight() - 1; ++y)
                if (QColor(image.pixel(x, y)) != QColor(Qt::white))
                    return x;
        return -1;
    };
    QCoreApplication::processEvents();
    const int plain = firstInk(0);
    EXPECT_GE(plain, 2);
    EXPECT_LE(plain, 4);
    list.SetShowGlyphs(true);
    const int afterGlyph = firstInk(2 + 16);
    EXPECT_EQ(afterGlyph - plain, 16 + 6 - 2) << "text moved by the glyph width plus 4";
}
