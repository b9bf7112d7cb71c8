#include "framework/TPopupMenu.h"

#include "framework/TApplication.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace {

using ActionItems = QHash<QAction*, QPointer<TMenuItem>>;

void AddEntries(QMenu& menu, const TMenuItem& parent, ActionItems& items) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible())
            continue;
        if (item->IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* submenu = menu.addMenu(item->Caption());
            submenu->setEnabled(item->Enabled());
            AddEntries(*submenu, *item, items);
            continue;
        }
        QAction* action = menu.addAction(item->Caption());
        action->setEnabled(item->Enabled());
        action->setCheckable(item->Checked());
        action->setChecked(item->Checked());
        items.insert(action, item);
    }
}

} // namespace

TPopupMenu::TPopupMenu(QObject* owner) : QObject(owner), items_(new TMenuItem(this)) {}

void TPopupMenu::Popup(int x, int y) {
    QPointer<TPopupMenu> self(this);
    if (OnPopup)
        OnPopup(this);
    if (!self)
        return;
    QMenu menu;
    ActionItems items;
    AddEntries(menu, *items_, items);
    QAction* chosen = menu.exec(QPoint(x, y));
    if (!chosen)
        return;
    // The command arrives after the menu has gone, so whatever the press that opened the menu
    // does on its release is done before the command runs.
    if (TMenuItem* item = items.value(chosen))
        QTimer::singleShot(0, item, [item] { CallEventHandler([item] { item->Click(); }); });
}
