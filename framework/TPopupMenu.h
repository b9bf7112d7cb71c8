#pragma once
// A popup menu component: a tree of menu items shown at a screen position on demand. Showing it
// is modal: Popup returns when the menu has been dismissed, and the chosen item's click follows
// from the event loop, as the desktop delivers menu commands.

#include "framework/Events.h"
#include "framework/TMenuItem.h"

#include <QObject>

class QMenu;

class TPopupMenu : public QObject {
    Q_OBJECT

public:
    explicit TPopupMenu(QObject* owner = nullptr);

    // The root item; its entries are the menu's entries.
    TMenuItem* Items() const { return items_; }

    // Shows the menu with its top-left corner at the screen point (x, y) and returns when it has
    // been dismissed. Raises OnPopup first.
    void Popup(int x, int y);

    TNotifyEvent OnPopup;

private:
    TMenuItem* items_;
};
