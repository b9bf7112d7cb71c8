#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "framework/Exceptions.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct DriveComboTest : ::testing::Test {
    DriveComboTest()
        : drives({{'C', "c", "fixed", "System"},
                  {'A', "a", "removable"},
                  {'D', "d", "cdrom", "", true},
                  {'F', "f", "remote", "\\\\Server\\Share"},
                  {'R', "r", "ram", "Ramka"}}) {
        drives.MakeDirectory('R', "temp");
        combo.OnChange = [this](QObject*) { ++changes; };
    }
    const TBitmap* GlyphOf(const QString& text) const {
        return combo.Items().Glyph(combo.Items().IndexOf(text));
    }
    TempDrives drives;
    TDriveComboBox combo;
    int changes = 0;
};

} // namespace

TEST_F(DriveComboTest, EntriesShowKindLabelAndNetworkName) {
    combo.HandleNeeded();
    QStringList texts;
    for (int i = 0; i < combo.Items().Count(); ++i)
        texts << combo.Items().Text(i);
    EXPECT_EQ(texts,
              QStringList({"a:", "c: [system]", "d: []", "f: \\\\server\\share", "r: [ramka]"}));
    EXPECT_EQ(GlyphOf("a:"), &combo.FloppyGlyph());
    EXPECT_EQ(GlyphOf("c: [system]"), &combo.HardGlyph());
    EXPECT_EQ(GlyphOf("d: []"), &combo.CdromGlyph());
    EXPECT_EQ(GlyphOf("f: \\\\server\\share"), &combo.NetworkGlyph());
    EXPECT_EQ(GlyphOf("r: [ramka]"), &combo.RamGlyph());
}

TEST_F(DriveComboTest, WindowCreationSelectsTheCurrentDriveAndRaisesOnce) {
    EXPECT_EQ(combo.Drive(), QChar('C')) << "as the platform reported it";
    EXPECT_EQ(combo.Items().Count(), 0);
    combo.HandleNeeded();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo.Drive(), QChar('c'));
    EXPECT_EQ(combo.Text(), "c: [system]");
}

TEST_F(DriveComboTest, DriveSetterSelectsRaisesOnceAndIgnoresTheSameDrive) {
    combo.HandleNeeded();
    changes = 0;
    struct Step {
        char letter;
        QChar drive;
        const char* text;
        int changes;
    };
    const Step steps[] = {
        {'C', 'c', "c: [system]", 0}, // the selected drive in another case
        {'R', 'r', "r: [ramka]", 1},
        {'q', 'q', "r: [ramka]", 2}, // no such drive: the selection stays
        {'a', 'a', "a:", 3},
    };
    for (const Step& step : steps) {
        combo.SetDrive(QChar(step.letter));
        EXPECT_EQ(combo.Drive(), step.drive) << step.letter;
        EXPECT_EQ(combo.Text(), QString::fromUtf8(step.text)) << step.letter;
        EXPECT_EQ(changes, step.changes) << step.letter;
    }
}

TEST_F(DriveComboTest, UsersPickOfAnotherDriveRaisesTwiceOfTheSameOnce) {
    combo.show();
    combo.HandleNeeded();
    changes = 0;
    int clicks = 0;
    combo.OnClick = [&](QObject*) { ++clicks; };
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.Drive(), QChar('d'));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(clicks, 1);
    combo.showPopup();
    QTest::keyClick(combo.view(), Qt::Key_Return);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(clicks, 2);
}

TEST_F(DriveComboTest, UpperCaseRebuildsTheListAndRaises) {
    combo.HandleNeeded();
    changes = 0;
    combo.SetTextCase(TDriveComboBox::tcUpperCase);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo.Drive(), QChar('C'));
    EXPECT_EQ(combo.Text(), "C: [SYSTEM]");
    EXPECT_EQ(combo.Items().Text(3), "F: \\\\SERVER\\SHARE");
    combo.SetTextCase(TDriveComboBox::tcUpperCase);
    EXPECT_EQ(changes, 1);
}

TEST_F(DriveComboTest, LinkedDirectoryListFollowsAndItsFailurePropagates) {
    TDirectoryListBox directories;
    combo.SetDirList(&directories);
    combo.HandleNeeded();
    changes = 0;
    combo.SetDrive('r');
    EXPECT_EQ(directories.Directory(), "R:\\");
    EXPECT_EQ(changes, 1);
    try {
        combo.SetDrive('d');
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 21);
    }
    EXPECT_EQ(changes, 1) << "no change event after the failure";
    EXPECT_EQ(combo.Drive(), QChar('d'));
    EXPECT_EQ(directories.Directory(), "R:\\");
    // The directory list sets the selector on its own drive changes.
    directories.SetDirectory("C:\\");
    EXPECT_EQ(combo.Drive(), QChar('c'));
    EXPECT_EQ(directories.Directory(), "C:\\");
}

TEST_F(DriveComboTest, NetworkCurrentDirectoryGivesNoDrive) {
    win32::SetCurrentDirectory("\\\\Server\\Share");
    TDriveComboBox network;
    int raised = 0;
    network.OnChange = [&](QObject*) { ++raised; };
    EXPECT_EQ(network.Drive(), QChar());
    network.HandleNeeded();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(network.ItemIndex(), -1);
}

TEST_F(DriveComboTest, ItemHeightFitsTheFontButNotBelowTheFloppyGlyph) {
    QFont font = combo.font();
    font.setPixelSize(6);
    combo.setFont(font);
    EXPECT_EQ(combo.ItemHeight(), 11);
    font.setPixelSize(20);
    combo.setFont(font);
    EXPECT_EQ(combo.ItemHeight(), FontTextHeight(font));
    EXPECT_EQ(combo.height(), combo.ItemHeight() + 6);
}

TEST_F(DriveComboTest, FontChangeAfterCreationRebuildsAndRaises) {
    combo.HandleNeeded();
    changes = 0;
    QFont font = combo.font();
    font.setPixelSize(18);
    combo.setFont(font);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo.Text(), "c: [system]");
}

TEST_F(DriveComboTest, GlyphIsCentredAndTextFollowsIt) {
    combo.resize(141, combo.height());
    combo.show();
    combo.HandleNeeded();
    combo.showPopup();
    QAbstractItemView* view = combo.view();
    const QRect item = view->visualRect(view->model()->index(1, 0));
    const QImage image = view->viewport()->grab().toImage();
    const TBitmap& glyph = combo.HardGlyph();
    const int top = item.top() + (item.height() - glyph.Height()) / 2;
    int matching = 0;
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x)
            if (glyph.Image().pixel(x, y) != glyph.Image().pixel(0, glyph.Height() - 1))
                matching += image.pixel(item.left() + 2 + x, top + y) == glyph.Image().pixel(x, y);
    int ink = 0;
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x)
            ink += glyph.Image().pixel(x, y) != glyph.Image().pixel(0, glyph.Height() - 1);
    EXPECT_EQ(matching, ink) << "every pixel of the glyph's drawing is in place";
    combo.hidePopup();
}
