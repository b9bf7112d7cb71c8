// The settings store: text values of one key in the current user's registry hive. Each call
// opens the key, does its one access and closes the key again.
#include "app/Zvonkar.h"
#include "framework/Exceptions.h"
#include "platform/registry/registry.h"

namespace {

using namespace win32;

// One registry handle, closed on every way out of a routine.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (handle)
            RegCloseKey(handle);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY handle = nullptr;
};

// Opens or creates the key, as the settings routines' access object does; a failure leaves the
// key unset, so that the values are then addressed directly under the user's root. Only a
// settings file found broken is reported here, as it has been set aside and the user must hear
// of it. A store that cannot be written (a read-only home, a full disk) is read as far as it
// can be, and a write reports its own failure.
void OpenSettingsKey(const QString& key, RegKey& current) {
    const LONG result = RegCreateKeyEx(HKEY_CURRENT_USER, key, REG_OPTION_NON_VOLATILE,
                                       KEY_ALL_ACCESS, &current.handle, nullptr);
    // Taken on every call, also after a success: a failure that an earlier call met (and
    // reported, or had no reason to) never comes back once the store has recovered.
    const std::optional<QString> problem = TakeRegistryProblem();
    if (result == ERROR_SUCCESS)
        return;
    current.handle = nullptr;
    if (result == static_cast<LONG>(ERROR_BADDB) && problem)
        throw ERegistryException(*problem);
}

// The error of a refused write: what the store found wrong (which file, and why) when it
// said, otherwise the general text.
ERegistryException WriteError(const QString& general) {
    return ERegistryException(TakeRegistryProblem().value_or(general));
}

HKEY Base(const RegKey& current) {
    return current.handle ? current.handle : HKEY_CURRENT_USER;
}

} // namespace

QString ReadRegString(const QString& key, const QString& name, const QString& defaultText) {
    RegKey current;
    OpenSettingsKey(key, current);
    RegKey value;
    if (RegOpenKeyEx(Base(current), QString(), 0, KEY_ALL_ACCESS, &value.handle) != ERROR_SUCCESS) {
        value.handle = nullptr;
        return defaultText;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueEx(value.handle, name, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultText;
    if (size == 0)
        return QString();
    QByteArray data;
    if (RegQueryValueEx(value.handle, name, &type, &data) != ERROR_SUCCESS)
        throw ERegistryException(QStringLiteral("Failed to get data for '%1'").arg(name));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
    const qsizetype nul = data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? data : data.left(nul));
}

void WriteRegString(const QString& key, const QString& name, const QString& text) {
    RegKey current;
    OpenSettingsKey(key, current);
    // The stored text carries one NUL of its own before the terminating one.
    const QByteArray stored = text.toUtf8() + QByteArray(1, '\0');
    {
        RegKey created;
        if (RegCreateKeyEx(Base(current), QString(), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           &created.handle, nullptr) != ERROR_SUCCESS) {
            created.handle = nullptr;
            throw WriteError(QStringLiteral("Failed to create key %1").arg(QString()));
        }
    }
    RegKey value;
    if (RegOpenKeyEx(Base(current), QString(), 0, KEY_ALL_ACCESS, &value.handle) != ERROR_SUCCESS) {
        value.handle = nullptr;
        return;
    }
    if (RegSetValueEx(value.handle, name, REG_SZ, stored + QByteArray(1, '\0')) != ERROR_SUCCESS)
        throw WriteError(QStringLiteral("Failed to set data for '%1'").arg(name));
}
