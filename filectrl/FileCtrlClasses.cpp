#include "filectrl/FileCtrlClasses.h"

#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TClassRegistry.h"

namespace {

template <class T> void RegisterListBox(TClassRegistry& registry) {
    registry.RegisterClass<T>();
    registry.RegisterEvent<T>(QStringLiteral("OnChange"), &T::OnChange);
    registry.RegisterEvent<T>(QStringLiteral("OnClick"), &TCustomListBox::OnClick);
    registry.RegisterEvent<T>(QStringLiteral("OnDblClick"), &TCustomListBox::OnDblClick);
    registry.RegisterEvent<T>(QStringLiteral("OnKeyPress"), &TCustomListBox::OnKeyPress);
}

} // namespace

void RegisterFileCtrlClasses() {
    // Layouts are loaded once per window; the classes need registering only once.
    static const bool registered = [] {
        TClassRegistry& registry = TClassRegistry::Global();
        RegisterListBox<TDirectoryListBox>(registry);
        RegisterListBox<TFileListBox>(registry);
        registry.RegisterEvent<TFileListBox>(QStringLiteral("OnSelectedGone"),
                                             &TFileListBox::OnSelectedGone);
        registry.RegisterClass<TDriveComboBox>();
        registry.RegisterEvent<TDriveComboBox>(QStringLiteral("OnChange"),
                                               &TCustomComboBox::OnChange);
        registry.RegisterEvent<TDriveComboBox>(QStringLiteral("OnClick"),
                                               &TCustomComboBox::OnClick);
        registry.RegisterEvent<TDriveComboBox>(QStringLiteral("OnDblClick"),
                                               &TCustomComboBox::OnDblClick);
        registry.RegisterEvent<TDriveComboBox>(QStringLiteral("OnDropDown"),
                                               &TCustomComboBox::OnDropDown);
        return true;
    }();
    Q_UNUSED(registered);
}
