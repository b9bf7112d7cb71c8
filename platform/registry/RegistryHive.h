#pragma once
// The current user's registry hive in memory: keys found by case-insensitive paths, each with its
// typed values, as read from and written to the hive file.

#include "platform/core/windef.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <vector>

namespace win32 {

struct RegistryValue {
    QString name; // empty for the key's default value
    DWORD type = 0;
    QByteArray data;
};

struct RegistryKey {
    QString path; // as first written, relative to the root, components joined by backslashes
    std::vector<RegistryValue> values;
};

class RegistryHive {
public:
    // Paths are relative to HKEY_CURRENT_USER: "Software\Krumlak\Zvonkar"; "" is the root,
    // which always exists. Callers pass paths without empty components.
    bool HasKey(const QString& path) const;
    // Creates the key and every missing parent; true when the key did not exist before.
    bool CreateKey(const QString& path);
    // The value named `name` (case ignored) of an existing key, or null.
    const RegistryValue* Value(const QString& path, const QString& name) const;
    // Stores the value in the key, creating the key when needed and replacing a value of the
    // same name (which keeps its place and its first spelling).
    void SetValue(const QString& path, const RegistryValue& value);
    // Removes a value; false when the key or the value does not exist.
    bool DeleteValue(const QString& path, const QString& name);
    // Every key in the order they are written to the file: parents before their children.
    std::vector<const RegistryKey*> Keys() const;

private:
    static QString Fold(const QString& path);
    RegistryKey* Find(const QString& path);

    std::map<QString, RegistryKey> keys_{{QString(), RegistryKey{}}};
};

} // namespace win32
