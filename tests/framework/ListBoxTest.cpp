#include "framework/Exceptions.h"
#include "framework/ListCollation.h"
#include "framework/TCustomListBox.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

QStringList Texts(const TListItems& items) {
    QStringList texts;
    for (int i = 0; i < items.Count(); ++i)
        texts << items.Text(i);
    return texts;
}

// A list box that records how its entries are drawn.
class RecordingListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    struct Drawn {
        int Index;
        TRect Rect;
        TOwnerDrawState State;
        TColor Brush;
        TColor Text;
    };
    std::vector<Drawn> drawn;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override {
        drawn.push_back({index, rect, state, Canvas().Brush.Color, Canvas().Font.Color()});
        TCustomListBox::DrawItem(index, rect, state);
    }
};

struct ListFixture : ::testing::Test {
    ListFixture() {
        list.resize(120, 100);
        list.OnClick = [this](QObject*) { ++clicks; };
        list.OnDblClick = [this](QObject*) { ++doubleClicks; };
        for (const char* text : {"alpha", "beta", "gamma", "delta"})
            list.Items().Add(QString::fromLatin1(text));
        list.show();
    }
    QPoint EntryCentre(int index) const {
        return QPoint(30, index * list.ItemHeight() + list.ItemHeight() / 2);
    }
    RecordingListBox list;
    int clicks = 0;
    int doubleClicks = 0;
};

} // namespace

TEST(ListCollation, IgnoresCaseAndKeepsCodePointOrderInTheCLocale) {
    EXPECT_EQ(CompareListText("Zvuky", "zvuky"), 0);
    EXPECT_LT(CompareListText("a.wav", "B.wav"), 0);
    EXPECT_LT(CompareListText("B.wav", "c.wav"), 0);
    EXPECT_LT(CompareListText("[dir]", "a.wav"), 0);
    EXPECT_GT(CompareListText("ž.wav", "z.wav"), 0);
}

TEST(ListItems, SortedAddsReportTheirPositionAndGoAfterEqualEntries) {
    struct Case {
        const char* text;
        int position;
    };
    const Case cases[] = {{"m", 0}, {"B", 0}, {"z", 2}, {"a", 0}, {"b", 2}, {"M", 4}, {"0", 0}};
    TListItems items;
    items.SetSorted(true);
    for (const Case& c : cases)
        EXPECT_EQ(items.Add(QString::fromLatin1(c.text)), c.position) << c.text;
    EXPECT_EQ(Texts(items), QStringList({"0", "a", "B", "b", "m", "M", "z"}));
}

TEST(ListItems, UnsortedAddsAppendAndSortingLaterOrdersThem) {
    TListItems items;
    EXPECT_EQ(items.Add("b"), 0);
    EXPECT_EQ(items.Add("C"), 1);
    EXPECT_EQ(items.Add("a"), 2);
    items.SetSorted(true);
    EXPECT_EQ(Texts(items), QStringList({"a", "b", "C"}));
    EXPECT_EQ(items.Add("B"), 2);
}

TEST(ListItems, IndexOutsideTheListIsAListError) {
    TListItems items;
    items.Add("x");
    for (int index : {-1, 1, 7}) {
        try {
            items.Text(index);
            FAIL() << index;
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    }
    EXPECT_THROW(items.Glyph(1), EListError);
}

TEST(ListItems, IndexOfMatchesWholeTextIgnoringCase) {
    TListItems items;
    items.Add("ding.wav");
    items.Add("DONG.WAV");
    EXPECT_EQ(items.IndexOf("dong.wav"), 1);
    EXPECT_EQ(items.IndexOf("DING.wav"), 0);
    EXPECT_EQ(items.IndexOf("ding"), -1);
}

TEST(ListItems, AssignReplacesTheEntriesInTheOrderOfSingleAdds) {
    QRandomGenerator random(7);
    TListItems single;
    single.SetSorted(true);
    std::vector<TListEntry> entries;
    std::vector<TListSortKey> keys;
    for (int i = 0; i < 2000; ++i) {
        const QString text = QString::number(random.bounded(500)) +
                             (random.bounded(2) ? QStringLiteral("A") : QStringLiteral("a"));
        single.Add(text);
        entries.push_back({text, nullptr});
        keys.push_back(ListSortKey(text));
    }
    for (bool withKeys : {false, true}) {
        TListItems batch;
        batch.SetSorted(true);
        batch.Add("replaced");
        batch.Assign(entries, withKeys ? keys : std::vector<TListSortKey>());
        EXPECT_EQ(Texts(batch), Texts(single)) << withKeys;
    }
}

TEST_F(ListFixture, ClickSelectsAndRaisesOnClickAlsoOnTheSelectedEntry) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, EntryCentre(2));
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, EntryCentre(2));
    EXPECT_EQ(clicks, 2);
    // Far right of the entry still hits it: entries span the whole width.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(list.viewport()->width() - 2, EntryCentre(1).y()));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks, 3);
}

TEST_F(ListFixture, ClickBelowTheEntriesOrWithTheRightButtonChangesNothing) {
    list.SetItemIndex(1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, EntryCentre(5));
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, EntryCentre(3));
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ListFixture, DoubleClickRaisesOnDblClickAfterOneClick) {
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, EntryCentre(3));
    EXPECT_EQ(list.ItemIndex(), 3);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ListFixture, KeyboardSelectionRaisesOnClickOnlyWhenTheSelectionMoves) {
    list.SetItemIndex(0);
    EXPECT_EQ(clicks, 0) << "a selection from code raises nothing";
    struct Step {
        Qt::Key key;
        int index;
        int clicks;
    };
    const Step steps[] = {{Qt::Key_Down, 1, 1},
                          {Qt::Key_End, 3, 2},
                          {Qt::Key_Down, 3, 2},
                          {Qt::Key_Home, 0, 3},
                          {Qt::Key_G, 2, 4}};
    for (const Step& step : steps) {
        QTest::keyClick(&list, step.key);
        EXPECT_EQ(list.ItemIndex(), step.index) << step.key;
        EXPECT_EQ(clicks, step.clicks) << step.key;
    }
}

TEST_F(ListFixture, KeyPressComesFirstAndCanSwallowTheKey) {
    std::vector<int> keys;
    list.OnKeyPress = [&](QObject*, QChar& key) {
        keys.push_back(key.unicode());
        if (key == u'b')
            key = QChar();
    };
    QTest::keyClick(&list, Qt::Key_Return);
    QTest::keyClick(&list, Qt::Key_B);
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(keys, (std::vector<int>{13, 'b'}));
    EXPECT_EQ(list.ItemIndex(), 0) << "the swallowed b did not select beta";
}

TEST(ListBox, SetItemIndexOutsideTheListClearsTheSelection) {
    TCustomListBox list;
    list.Items().Add("one");
    list.SetItemIndex(0);
    for (int index : {-1, 1, 99}) {
        list.SetItemIndex(0);
        list.SetItemIndex(index);
        EXPECT_EQ(list.ItemIndex(), -1) << index;
    }
}

TEST(ListBox, IntegralHeightShrinksToWholeEntriesPlusFrame) {
    struct Case {
        int requested;
        int itemHeight;
        bool integral;
        int height;
    };
    const Case cases[] = {{244, 16, true, 244}, {244, 13, true, 238}, {100, 16, true, 100},
                          {99, 16, true, 84},   {99, 16, false, 99},  {3, 16, true, 4}};
    for (const Case& c : cases) {
        TCustomListBox list;
        list.SetIntegralHeight(c.integral);
        list.SetItemHeight(c.itemHeight);
        list.resize(100, c.requested);
        list.HandleNeeded();
        EXPECT_EQ(list.height(), c.height) << c.requested << " " << c.itemHeight;
    }
}

TEST(ListBox, ANewItemHeightStartsFromTheRequestedHeight) {
    TCustomListBox list;
    list.SetIntegralHeight(true);
    list.resize(100, 244);
    list.show();
    list.SetItemHeight(13);
    EXPECT_EQ(list.height(), 238);
    list.SetItemHeight(16);
    EXPECT_EQ(list.height(), 244);
}

TEST_F(ListFixture, EntriesAreDrawnInTheirStateColoursAtTheirRows) {
    list.SetItemIndex(1);
    list.drawn.clear();
    const QImage image = list.grab().toImage();
    ASSERT_GE(list.drawn.size(), 4u);
    for (const auto& d : list.drawn) {
        const bool selected = d.Index == 1;
        EXPECT_EQ(d.Rect, (TRect{0, d.Index * 16, list.viewport()->width(), d.Index * 16 + 16}));
        EXPECT_EQ(d.Brush, selected ? clHighlight : clWindow);
        EXPECT_EQ(d.Text, selected ? clHighlightText : clWindowText);
        EXPECT_EQ(bool(d.State & odSelected), selected);
    }
    // The frame, then the selected row's navy and the white window below the entries.
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(128, 128, 128));
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(list.width() - 1, list.height() - 1)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(list.width() - 2, list.height() - 2)), QColor(192, 192, 192));
    EXPECT_EQ(QColor(image.pixel(list.width() - 10, 2 + 16 + 8)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(list.width() - 10, 2 + 16 * 4 + 8)), QColor(255, 255, 255));
}

TEST_F(ListFixture, FocusedEntryGetsADottedFocusRectangle) {
    list.activateWindow();
    list.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.SetItemIndex(0);
    const QImage image = list.grab().toImage();
    // Navy inverted is light yellow on every other pixel of the outline.
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(255, 255, 127));
    EXPECT_EQ(QColor(image.pixel(3, 2)), QColor(0, 0, 128));
    EXPECT_EQ(QColor(image.pixel(4, 2)), QColor(255, 255, 127));
}
