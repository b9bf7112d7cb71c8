#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

enum Kind { Open, Current, Closed };
using EntryList = std::vector<std::pair<QString, Kind>>;

// A directory list whose volume reports the flags a test chooses.
class FlaggedDirectoryList : public TDirectoryListBox {
public:
    explicit FlaggedDirectoryList(std::optional<win32::DWORD> flags) : flags_(flags) {}

protected:
    std::optional<win32::DWORD> FileSystemFlags(const QString&) const override { return flags_; }

private:
    std::optional<win32::DWORD> flags_;
};

struct DirectoryListTest : ::testing::Test {
    DirectoryListTest()
        : drives({{'C', "c"},
                  {'D', "d"},
                  {'E', "e", "cdrom", "", true},
                  {'N', "n", "remote", "\\\\srv\\sh"}}) {
        for (const char* dir :
             {"WINDOWS/MEDIA/SUB/x", "WINDOWS/MEDIA/a", "WINDOWS/MEDIA/B", "WINDOWS/MEDIA/.skryty",
              "WINDOWS/MEDIA/Zvuky", "WINDOWS/MEDIA/zvuky"})
            drives.MakeDirectory('C', dir);
        drives.MakeFile('C', "WINDOWS/MEDIA/ding.wav");
        drives.MakeDirectory('D', "zvuky");
        drives.MakeDirectory('N', "dir/sub");
    }
    void Watch(TDirectoryListBox& list) {
        list.OnChange = [this](QObject*) { ++changes; };
    }
    std::vector<std::pair<QString, Kind>> Entries(const TDirectoryListBox& list) const {
        std::vector<std::pair<QString, Kind>> entries;
        for (int i = 0; i < list.Items().Count(); ++i) {
            const TBitmap* glyph = list.Items().Glyph(i);
            const Kind kind = glyph == &list.OpenFolderGlyph()      ? Open
                              : glyph == &list.CurrentFolderGlyph() ? Current
                                                                    : Closed;
            entries.emplace_back(list.Items().Text(i), kind);
        }
        return entries;
    }
    TempDrives drives;
    int changes = 0;
};

} // namespace

TEST_F(DirectoryListTest, NestedDirectoryShowsAncestorsItselfAndVisibleSubdirectories) {
    TDirectoryListBox list;
    list.HandleNeeded();
    Watch(list);
    list.SetDirectory("C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS\\MEDIA");
    // Zvuky and zvuky are two folders on this case-sensitive volume; both are listed.
    EXPECT_EQ(Entries(list), (EntryList{{"C:\\", Open},
                                        {"WINDOWS", Open},
                                        {"MEDIA", Current},
                                        {"a", Closed},
                                        {"B", Closed},
                                        {"SUB", Closed},
                                        {"Zvuky", Closed},
                                        {"zvuky", Closed}}));
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.Drive(), QChar('C'));
}

TEST_F(DirectoryListTest, RootIsOneCurrentEntry) {
    TDirectoryListBox list;
    list.HandleNeeded();
    EXPECT_EQ(list.Directory(), "C:\\");
    EXPECT_EQ(Entries(list), (EntryList{{"C:\\", Current}, {"WINDOWS", Closed}}));
    EXPECT_EQ(list.ItemIndex(), 0);
}

TEST_F(DirectoryListTest, NetworkDirectoryStartsAtItsShare) {
    TDirectoryListBox list;
    list.HandleNeeded();
    list.SetDirectory("\\\\srv\\sh\\dir");
    EXPECT_EQ(list.Directory(), "\\\\srv\\sh\\dir");
    EXPECT_EQ(list.Drive(), QChar('\\'));
    EXPECT_EQ(Entries(list),
              (EntryList{{"\\\\srv\\sh\\", Open}, {"dir", Current}, {"sub", Closed}}));
    EXPECT_EQ(list.PathOfEntry(0), "\\\\srv\\sh\\");
    EXPECT_EQ(list.PathOfEntry(2), "\\\\srv\\sh\\dir\\sub");
}

TEST_F(DirectoryListTest, NoEntriesBeforeTheWindowExists) {
    TDirectoryListBox list;
    Watch(list);
    list.SetDirectory("C:\\WINDOWS");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.HandleNeeded();
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(DirectoryListTest, PathOfEachEntry) {
    TDirectoryListBox list;
    list.HandleNeeded();
    list.SetDirectory("C:\\WINDOWS\\MEDIA\\SUB");
    const std::pair<int, const char*> cases[] = {{0, "C:\\"},
                                                 {1, "C:\\WINDOWS"},
                                                 {2, "C:\\WINDOWS\\MEDIA"},
                                                 {3, "C:\\WINDOWS\\MEDIA\\SUB"},
                                                 {4, "C:\\WINDOWS\\MEDIA\\SUB\\x"},
                                                 {5, ""},
                                                 {99, ""}};
    for (const auto& [index, path] : cases)
        EXPECT_EQ(list.PathOfEntry(index), QString::fromUtf8(path)) << index;
    try {
        list.PathOfEntry(-1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
    }
}

TEST_F(DirectoryListTest, OneChangePerNavigationAndNoneForTheSameDirectory) {
    TDirectoryListBox list;
    list.HandleNeeded();
    Watch(list);
    list.SetDirectory("C:\\WINDOWS");
    list.SetDirectory("C:\\WINDOWS");
    list.SetDirectory("");
    list.SetDirectory("MEDIA"); // relative to the shown directory
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(changes, 2);
    list.Reload();
    EXPECT_EQ(changes, 3) << "Reload raises even when nothing changed";
}

TEST_F(DirectoryListTest, OtherLetterCaseIsTheSameDirectoryOnlyWhereTheVolumeIgnoresCase) {
    FlaggedDirectoryList ignoring(win32::FS_CASE_IS_PRESERVED);
    ignoring.HandleNeeded();
    ignoring.SetDirectory("C:\\WINDOWS");
    Watch(ignoring);
    ignoring.SetDirectory("c:\\windows");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(ignoring.Directory(), "C:\\WINDOWS");

    TDirectoryListBox sensitive;
    sensitive.HandleNeeded();
    sensitive.SetDirectory("C:\\WINDOWS\\MEDIA\\Zvuky");
    Watch(sensitive);
    sensitive.SetDirectory("C:\\WINDOWS\\MEDIA\\zvuky");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sensitive.Directory(), "C:\\WINDOWS\\MEDIA\\zvuky");
}

TEST_F(DirectoryListTest, VolumeThatDoesNotKeepCaseShowsLowerCase) {
    FlaggedDirectoryList list(0);
    list.HandleNeeded();
    list.SetDirectory("C:\\WINDOWS\\MEDIA");
    EXPECT_FALSE(list.VolumeKeepsCase());
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(list.ShownName("WINDOWS"), "windows");
    EXPECT_EQ(list.ComparePaths("C:\\Windows", "c:\\WINDOWS"), 0);
    EXPECT_NE(list.ComparePaths("C:\\Windows", "c:\\WINDOW"), 0);
    EXPECT_EQ(Entries(list).size(), 7u) << "Zvuky and zvuky are one name here";

    FlaggedDirectoryList preserving(win32::FS_CASE_IS_PRESERVED);
    EXPECT_EQ(preserving.ShownName("WINDOWS"), "WINDOWS");
}

TEST_F(DirectoryListTest, DriveSwitchesToTheDrivesCurrentDirectory) {
    win32::SetCurrentDirectory("D:\\zvuky");
    win32::SetCurrentDirectory("C:\\WINDOWS");
    TDirectoryListBox list;
    list.HandleNeeded();
    Watch(list);
    list.SetDrive('c');
    EXPECT_EQ(changes, 0);
    list.SetDrive('d');
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list.Directory(), "D:\\zvuky");
    EXPECT_EQ(CurrentDirectory(), "D:\\zvuky");
    EXPECT_EQ(list.Drive(), QChar('D'));
}

TEST_F(DirectoryListTest, DriveWithoutMediumRaisesAndChangesNothing) {
    TDirectoryListBox list;
    list.HandleNeeded();
    list.SetDirectory("C:\\WINDOWS");
    Watch(list);
    const int entries = list.Items().Count();
    try {
        list.SetDrive('E');
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 21);
        EXPECT_EQ(e.Message(), "I/O error 21");
    }
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS");
    EXPECT_EQ(list.Items().Count(), entries);
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(changes, 0);
    EXPECT_THROW(list.SetDirectory("C:\\nowhere"), EInOutError);
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS");
}

TEST_F(DirectoryListTest, DoubleClickAndEnterOpenTheEntry) {
    TDirectoryListBox list;
    list.resize(145, 200);
    list.show();
    list.HandleNeeded();
    list.SetDirectory("C:\\WINDOWS\\MEDIA");
    Watch(list);
    const auto centre = [&](int index) {
        return QPoint(40, index * list.ItemHeight() + list.ItemHeight() / 2);
    };
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre(2));
    EXPECT_EQ(changes, 0) << "the current entry is where the list is";
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS");
    list.SetItemIndex(2);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS\\MEDIA");
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre(0));
    EXPECT_EQ(list.Directory(), "C:\\");
    EXPECT_EQ(changes, 3);
}

TEST_F(DirectoryListTest, LinkedFileListFollowsAndPointsBack) {
    TDirectoryListBox list;
    auto* files = new TFileListBox;
    list.SetFileList(files);
    EXPECT_EQ(files->DirList(), &list);
    list.SetDirectory("C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(files->Directory(), "C:\\WINDOWS\\MEDIA");
    delete files;
    EXPECT_EQ(list.FileList(), nullptr);
    list.SetDirectory("C:\\WINDOWS");
    EXPECT_EQ(list.Directory(), "C:\\WINDOWS");
}

TEST_F(DirectoryListTest, LinkedLabelShowsTheDirectoryShortenedToItsWidth) {
    TDirectoryListBox list;
    auto* label = new TLabel;
    label->SetAutoSize(false);
    label->SetWidth(10);
    list.SetDirLabel(label);
    list.SetDirectory("C:\\WINDOWS\\MEDIA");
    EXPECT_EQ(label->Caption(), "MEDIA");
    label->SetWidth(1000);
    list.SetDirectory("C:\\WINDOWS");
    EXPECT_EQ(label->Caption(), "C:\\WINDOWS");
    delete label;
    list.SetDirectory("C:\\");
    EXPECT_EQ(list.DirLabel(), nullptr);
}

TEST_F(DirectoryListTest, ItemHeightFitsTheFontButNotBelowTheGlyph) {
    TDirectoryListBox list;
    EXPECT_EQ(list.ItemHeight(), 16);
    QFont big = list.font();
    big.setPixelSize(30);
    list.setFont(big);
    EXPECT_EQ(list.ItemHeight(), FontTextHeight(big));
    list.SetItemHeight(40);
    list.Loaded();
    EXPECT_EQ(list.ItemHeight(), FontTextHeight(big));
}

namespace {

// The first column of a glyph row that is not the glyph's key colour.
int FirstInkColumn(const TBitmap& glyph, int row) {
    const QRgb key = glyph.Image().pixel(0, glyph.Height() - 1);
    for (int x = 0; x < glyph.Width(); ++x)
        if (glyph.Image().pixel(x, row) != key)
            return x;
    return -1;
}

} // namespace

TEST_F(DirectoryListTest, EntriesAreIndentedByTheirLevelAndSubdirectoriesShareOneIndent) {
    for (const char* directory : {"C:\\WINDOWS\\MEDIA", "C:\\", "\\\\srv\\sh\\dir"}) {
        TDirectoryListBox list;
        list.resize(145, 200);
        list.show();
        list.HandleNeeded();
        list.SetDirectory(directory);
        const QImage image = list.viewport()->grab().toImage();
        const int depth = PathDepth(list.Directory());
        for (int i = 0; i < list.Items().Count(); ++i) {
            const TBitmap* glyph = list.Items().Glyph(i);
            const int indent = glyph == &list.ClosedFolderGlyph() ? 4 * (depth + 1) + 2 : 4 * i + 2;
            const int row = 5; // the glyphs are 15 high in 16: their top is the entry's top
            const int ink = FirstInkColumn(*glyph, row);
            ASSERT_GE(ink, 0);
            const int y = i * 16 + row;
            EXPECT_EQ(image.pixel(indent + ink, y), glyph->Image().pixel(ink, row))
                << directory << " entry " << i;
            for (int x = 0; x < indent + ink; ++x)
                ASSERT_NE(image.pixel(x, y), glyph->Image().pixel(ink, row))
                    << directory << " entry " << i << " x " << x;
        }
    }
    // The numbers themselves: the network share's subdirectory at 4 * 5 + 2.
    EXPECT_EQ(4 * (PathDepth("\\\\srv\\sh\\dir") + 1) + 2, 22);
}

TEST_F(DirectoryListTest, SelectedEntryGlyphTakesTheHighlightAndTextFollowsTheGlyph) {
    TDirectoryListBox list;
    list.resize(145, 200);
    list.show();
    list.HandleNeeded();
    list.SetDirectory("C:\\WINDOWS");
    ASSERT_EQ(list.ItemIndex(), 1);
    const QImage image = list.viewport()->grab().toImage();
    const QColor navy(0, 0, 128);
    // Key pixels of the glyph (its first column) are navy on the selected entry and white on
    // the others; nothing is drawn between the glyph and the text's start.
    EXPECT_EQ(QColor(image.pixel(6, 16 + 14)), navy);
    EXPECT_EQ(QColor(image.pixel(2, 14)), QColor(Qt::white));
    const int textLeft = 16 + 6 + 4;
    for (int x = 6 + 16; x < textLeft; ++x)
        for (int y = 16; y < 32; ++y)
            ASSERT_EQ(QColor(image.pixel(x, y)), navy) << x << "," << y;
    bool ink = false;
    for (int x = textLeft; x < textLeft + 8; ++x)
        for (int y = 16; y < 32; ++y)
            ink = ink || QColor(image.pixel(x, y)) != navy;
    EXPECT_TRUE(ink) << "the text starts right after the gap";
}
