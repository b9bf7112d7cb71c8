#include "framework/StandardClasses.h"

#include "framework/TButton.h"
#include "framework/TClassRegistry.h"
#include "framework/TEdit.h"
#include "framework/TForm.h"
#include "framework/TImage.h"
#include "framework/TMemo.h"
#include "framework/TPanel.h"
#include "framework/TSpeedButton.h"
#include "framework/TStaticText.h"

void RegisterStandardClasses() {
    // Layouts are loaded once per window; the classes need registering only once.
    static const bool registered = [] {
        TClassRegistry& registry = TClassRegistry::Global();
        registry.RegisterClass<TPanel>();
        registry.RegisterClass<TStaticText>();
        registry.RegisterClass<TEdit>();
        registry.RegisterClass<TMemo>();
        registry.RegisterClass<TButton>();
        registry.RegisterClass<TSpeedButton>();
        registry.RegisterClass<TImage>();

        registry.RegisterEvent<TForm>(QStringLiteral("OnCreate"), &TForm::OnCreate);
        registry.RegisterEvent<TForm>(QStringLiteral("OnShow"), &TForm::OnShow);
        registry.RegisterEvent<TForm>(QStringLiteral("OnCloseQuery"), &TForm::OnCloseQuery);
        registry.RegisterEvent<TForm>(QStringLiteral("OnClose"), &TForm::OnClose);
        registry.RegisterEvent<TButton>(QStringLiteral("OnClick"), &TButton::OnClick);
        registry.RegisterEvent<TSpeedButton>(QStringLiteral("OnClick"), &TSpeedButton::OnClick);
        registry.RegisterEvent<TEdit>(QStringLiteral("OnChange"), &TEdit::OnChange);
        return true;
    }();
    Q_UNUSED(registered);
}
