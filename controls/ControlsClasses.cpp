#include "controls/ControlsClasses.h"

#include "controls/TTransparentButton.h"
#include "controls/TURLLabel.h"
#include "framework/TClassRegistry.h"
#include "framework/TLabel.h"

namespace {

template <class T> void RegisterMouseEvents(TClassRegistry& registry) {
    registry.RegisterEvent<T>(QStringLiteral("OnClick"), &TGraphicControl::OnClick);
    registry.RegisterEvent<T>(QStringLiteral("OnDblClick"), &TGraphicControl::OnDblClick);
    registry.RegisterEvent<T>(QStringLiteral("OnMouseDown"), &TGraphicControl::OnMouseDown);
    registry.RegisterEvent<T>(QStringLiteral("OnMouseMove"), &TGraphicControl::OnMouseMove);
    registry.RegisterEvent<T>(QStringLiteral("OnMouseUp"), &TGraphicControl::OnMouseUp);
}

} // namespace

void RegisterControlsClasses() {
    // Layouts are loaded once per window; the classes need registering only once.
    static const bool registered = [] {
        TClassRegistry& registry = TClassRegistry::Global();
        registry.RegisterClass<TLabel>();
        registry.RegisterClass<TURLLabel>();
        registry.RegisterClass<TTransparentButton>();
        RegisterMouseEvents<TLabel>(registry);
        RegisterMouseEvents<TTransparentButton>(registry);
        registry.RegisterEvent<TTransparentButton>(QStringLiteral("OnMouseEnter"),
                                                   &TTransparentButton::OnMouseEnter);
        registry.RegisterEvent<TTransparentButton>(QStringLiteral("OnMouseExit"),
                                                   &TTransparentButton::OnMouseExit);
        return true;
    }();
    Q_UNUSED(registered);
}
