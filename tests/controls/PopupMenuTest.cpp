#include "framework/Exceptions.h"
#include "framework/TPopupMenu.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs `act` on the popup menu once it is open.
void WhenMenuOpens(std::function<void(QMenu*)> act) {
    QTimer::singleShot(10, [act] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu)
            act(menu);
        else
            WhenMenuOpens(act);
    });
}

TMenuItem* AddItem(TMenuItem* parent, const QString& caption, QStringList* clicks) {
    auto* item = new TMenuItem;
    item->SetCaption(caption);
    item->OnClick = [clicks, caption](QObject*) { clicks->append(caption); };
    parent->Add(item);
    return item;
}

} // namespace

TEST(TPopupMenu, ItemsFormATree) {
    TPopupMenu menu;
    QStringList clicks;
    TMenuItem* first = AddItem(menu.Items(), "&First", &clicks);
    AddItem(menu.Items(), "-", &clicks);
    TMenuItem* sub = AddItem(menu.Items(), "Sub", &clicks);
    AddItem(sub, "Inner", &clicks);
    EXPECT_EQ(menu.Items()->Count(), 3);
    EXPECT_EQ(menu.Items()->Items(0), first);
    EXPECT_TRUE(menu.Items()->Items(1)->IsSeparator());
    EXPECT_EQ(sub->Count(), 1);
    EXPECT_THROW(menu.Items()->Items(3), EListError);
    EXPECT_THROW(menu.Items()->Items(-1), EListError);
    delete first;
    EXPECT_EQ(menu.Items()->Count(), 2);
    menu.Items()->Clear();
    EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST(TPopupMenu, PopupWaitsUntilDismissedThenTheChosenItemClicks) {
    TPopupMenu menu;
    QStringList clicks;
    AddItem(menu.Items(), "One", &clicks);
    TMenuItem* disabled = AddItem(menu.Items(), "Off", &clicks);
    disabled->SetEnabled(false);
    AddItem(menu.Items(), "Two", &clicks);
    int popups = 0;
    menu.OnPopup = [&](QObject* sender) {
        EXPECT_EQ(sender, &menu);
        ++popups;
    };
    QStringList shown;
    QPoint openedAt;
    WhenMenuOpens([&](QMenu* open) {
        openedAt = open->pos();
        for (QAction* action : open->actions())
            shown << action->text() + (action->isEnabled() ? "" : " (off)");
        // Choose "Two" with the mouse.
        QAction* two = open->actions().at(2);
        QTest::mouseMove(open, open->actionGeometry(two).center());
        QTest::mouseClick(open, Qt::LeftButton, {}, open->actionGeometry(two).center());
    });
    menu.Popup(30, 40);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(openedAt, QPoint(30, 40));
    EXPECT_EQ(shown, (QStringList{"One", "Off (off)", "Two"}));
    // The command follows from the event loop, after whatever the caller does next.
    EXPECT_TRUE(clicks.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, QStringList{"Two"});
}

TEST(TPopupMenu, DismissedWithoutAChoiceClicksNothing) {
    TPopupMenu menu;
    QStringList clicks;
    AddItem(menu.Items(), "One", &clicks);
    WhenMenuOpens([](QMenu* open) { QTest::keyClick(open, Qt::Key_Escape); });
    menu.Popup(0, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(clicks.isEmpty());
}
