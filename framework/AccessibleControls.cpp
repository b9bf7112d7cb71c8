#include "framework/AccessibleControls.h"

#include "framework/TAccessibleControl.h"
#include "framework/TForm.h"
#include "framework/TGraphicControl.h"
#include "framework/TPanel.h"
#include "framework/TSpeedButton.h"
#include "framework/TStaticText.h"
#include "framework/TextLayout.h"

namespace {

QAccessibleInterface* MakeInterface(const QString&, QObject* object) {
    if (auto* control = qobject_cast<TGraphicControl*>(object)) {
        const QAccessible::Role role = control->AccessibleRole();
        std::function<void()> press;
        if (role == QAccessible::PushButton || role == QAccessible::Link)
            press = [control] { control->AccessiblePress(); };
        return new TAccessibleControl(
            control, role, [control] { return control->AccessibleName(); }, std::move(press));
    }
    if (auto* form = qobject_cast<TForm*>(object))
        return new TAccessibleControl(form,
                                      form->windowModality() == Qt::NonModal ? QAccessible::Window
                                                                             : QAccessible::Dialog,
                                      [form] { return form->windowTitle(); });
    if (auto* button = qobject_cast<TSpeedButton*>(object))
        return new TAccessibleControl(
            button, QAccessible::PushButton,
            [button] { return StripPrefixes(button->Caption()).Text; },
            [button] { button->Click(); });
    if (auto* text = qobject_cast<TStaticText*>(object))
        return new TAccessibleControl(text, QAccessible::StaticText, [text] {
            return text->ShowAccelChar() ? StripPrefixes(text->Caption()).Text : text->Caption();
        });
    if (auto* panel = qobject_cast<TPanel*>(object))
        return new TAccessibleControl(panel, QAccessible::Grouping,
                                      [panel] { return panel->Caption(); });
    return nullptr;
}

} // namespace

void InstallAccessibleControls() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(MakeInterface);
        installed = true;
    }
}
