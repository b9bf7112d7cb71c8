#include "framework/TCustomComboBox.h"

#include <QAbstractItemView>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

class RecordingCombo : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    std::vector<QString> log;
    struct Drawn {
        int Index;
        TRect Rect;
        TOwnerDrawState State;
        TColor Brush;
    };
    std::vector<Drawn> drawn;

protected:
    void Click() override {
        log.push_back("click:" + Text());
        TCustomComboBox::Click();
    }
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override {
        drawn.push_back({index, rect, state, Canvas().Brush.Color});
        TCustomComboBox::DrawItem(index, rect, state);
    }
};

struct ComboFixture : ::testing::Test {
    ComboFixture() {
        combo.OnChange = [this](QObject*) { combo.log.push_back("change:" + combo.Text()); };
        for (const char* text : {"a:", "c: [system]", "d: []"})
            combo.Items().Add(QString::fromLatin1(text));
        combo.show();
    }
    RecordingCombo combo;
};

} // namespace

TEST_F(ComboFixture, StartsWithoutASelectionAfterEntriesAreAdded) {
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), QString());
    combo.Items().Assign({{"f: \\\\srv\\share", nullptr}});
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(ComboFixture, SettingItemIndexFromCodeRaisesNothing) {
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), "c: [system]");
    combo.SetItemIndex(7);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_TRUE(combo.log.empty());
}

TEST_F(ComboFixture, KeyboardPickSetsTextThenClicksThenChanges) {
    combo.SetItemIndex(0);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.log, (std::vector<QString>{"click:c: [system]", "change:c: [system]"}));
    combo.log.clear();
    QTest::keyClick(&combo, Qt::Key_End);
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.log, (std::vector<QString>{"click:d: []", "change:d: []"}));
}

TEST_F(ComboFixture, PickInTheDroppedListRunsTheSequenceAlsoForTheSameEntry) {
    combo.SetItemIndex(1);
    int dropDowns = 0;
    combo.OnDropDown = [&](QObject*) { ++dropDowns; };
    for (int pick : {2, 2}) {
        combo.showPopup();
        QAbstractItemView* view = combo.view();
        view->setCurrentIndex(view->model()->index(pick, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
    EXPECT_EQ(dropDowns, 2);
    EXPECT_EQ(combo.log,
              (std::vector<QString>{"click:d: []", "change:d: []", "click:d: []", "change:d: []"}));
}

TEST_F(ComboFixture, WheelPicksNothing) {
    combo.SetItemIndex(0);
    QWheelEvent wheel(QPointF(5, 5), combo.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&combo, &wheel);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_TRUE(combo.log.empty());
}

TEST(ComboBox, HeightFollowsTheItemHeight) {
    TCustomComboBox combo;
    for (int itemHeight : {13, 11, 16}) {
        combo.SetItemHeight(itemHeight);
        combo.setGeometry(4, 8, 141, 40);
        EXPECT_EQ(combo.height(), itemHeight + 6);
        EXPECT_EQ(combo.width(), 141);
    }
}

TEST_F(ComboFixture, SelectionFieldDrawsTheSelectedEntryAsComboBoxEdit) {
    combo.SetItemIndex(2);
    combo.drawn.clear();
    combo.grab();
    ASSERT_EQ(combo.drawn.size(), 1u);
    EXPECT_EQ(combo.drawn[0].Index, 2);
    EXPECT_TRUE(combo.drawn[0].State & odComboBoxEdit);
    EXPECT_FALSE(combo.drawn[0].State & odSelected) << "without focus";
    EXPECT_EQ(combo.drawn[0].Brush, clWindow);
    EXPECT_GT(combo.drawn[0].Rect.Left, 0);
    EXPECT_LT(combo.drawn[0].Rect.Right, combo.width() - 16);
}

TEST(ComboBox, ClearRemovesEntriesAndText) {
    TCustomComboBox combo;
    combo.Items().Add("c:");
    combo.SetItemIndex(0);
    combo.Clear();
    EXPECT_EQ(combo.Items().Count(), 0);
    EXPECT_EQ(combo.Text(), QString());
    EXPECT_EQ(combo.ItemIndex(), -1);
}
