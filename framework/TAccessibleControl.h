#pragma once
// What assistive technology sees of one of the framework's own controls, which Qt's accessibility
// does not know: a role, a name that is read when asked (so that it follows the control's text),
// and for a control that can be pressed a press action that acts as a click would, only while
// the control and every control around it are enabled, with its keyboard shortcuts as the
// action's key bindings.

#include <QAccessibleWidget>
#include <QString>
#include <functional>

class TAccessibleControl : public QAccessibleWidget {
public:
    TAccessibleControl(QWidget* widget, QAccessible::Role role, std::function<QString()> name,
                       std::function<void()> press = {});

    // The accessible name set on the widget comes first.
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    std::function<QString()> name_;
    std::function<void()> press_;
};
