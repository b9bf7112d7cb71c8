#include "framework/TAccessibleControl.h"

#include "framework/TApplication.h"

#include <QShortcut>
#include <QWidget>

TAccessibleControl::TAccessibleControl(QWidget* widget, QAccessible::Role role,
                                       std::function<QString()> name, std::function<void()> press)
    : QAccessibleWidget(widget, role), name_(std::move(name)), press_(std::move(press)) {}

QString TAccessibleControl::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return name_();
    return QAccessibleWidget::text(t);
}

QStringList TAccessibleControl::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (press_ && widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void TAccessibleControl::doAction(const QString& actionName) {
    if (actionName != pressAction() || !press_) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // A disabled panel passes no click to its buttons; the press action follows the same rule.
    if (!widget()->isEnabled())
        return;
    // Called from the accessibility bridge, outside any event handler's exception net.
    CallEventHandler(press_);
}

QStringList TAccessibleControl::keyBindingsForAction(const QString& actionName) const {
    if (actionName != pressAction() || !press_)
        return QAccessibleWidget::keyBindingsForAction(actionName);
    QStringList keys;
    for (const QShortcut* shortcut : widget()->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
        keys << shortcut->key().toString(QKeySequence::NativeText);
    return keys;
}
