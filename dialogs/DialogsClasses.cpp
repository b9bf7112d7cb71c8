#include "dialogs/DialogsClasses.h"

#include "dialogs/TSaveDialog.h"
#include "framework/TClassRegistry.h"

void RegisterDialogsClasses() {
    // Layouts are loaded once per window; the classes need registering only once.
    static const bool registered = [] {
        TClassRegistry& registry = TClassRegistry::Global();
        registry.RegisterClass<TSaveDialog>();
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnShow"), &TCommonDialog::OnShow);
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnClose"), &TCommonDialog::OnClose);
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnCanClose"), &TOpenDialog::OnCanClose);
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnFolderChange"),
                                            &TOpenDialog::OnFolderChange);
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnSelectionChange"),
                                            &TOpenDialog::OnSelectionChange);
        registry.RegisterEvent<TSaveDialog>(QStringLiteral("OnTypeChange"),
                                            &TOpenDialog::OnTypeChange);
        return true;
    }();
    Q_UNUSED(registered);
}
