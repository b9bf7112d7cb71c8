#include "framework/TMenuItem.h"

#include "framework/Exceptions.h"

TMenuItem::TMenuItem(QObject* owner) : QObject(owner) {}

void TMenuItem::Add(TMenuItem* item) {
    if (!item || item == this || items_.contains(item))
        return;
    item->setParent(this);
    items_.append(item);
}

void TMenuItem::Clear() {
    const QList<QPointer<TMenuItem>> items = items_;
    items_.clear();
    for (const QPointer<TMenuItem>& item : items)
        delete item.data();
}

int TMenuItem::Count() const {
    Prune();
    return static_cast<int>(items_.size());
}

TMenuItem* TMenuItem::Items(int index) const {
    Prune();
    if (index < 0 || index >= items_.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return items_.at(index);
}

void TMenuItem::Click() {
    if (OnClick)
        OnClick(this);
}

void TMenuItem::Prune() const {
    items_.removeAll(QPointer<TMenuItem>());
}
