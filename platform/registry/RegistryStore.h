#pragma once
// The hive file on disk: finds it, and runs one access at a time on a freshly read hive under
// the lock shared by all running copies, writing the hive back atomically when it changed.

#include "platform/registry/RegistryHive.h"

#include <QString>
#include <functional>
#include <optional>

namespace win32 {

class RegistryStore {
public:
    // Works on the hive read just now; sets `changed` when the hive must be written back. Its
    // result (a Win32 error number) becomes the access's result; the hive is written back only
    // on success.
    using Operation = std::function<DWORD(RegistryHive& hive, bool& changed)>;

    // ERROR_BADDB when the file is broken (it is then moved aside), an I/O error number when it
    // cannot be read or written (the previous file then stays as it was), else the operation's.
    static DWORD Access(const Operation& operation);
    static QString FilePath();
    static std::optional<QString> TakeProblem();

private:
    static DWORD Load(const QString& path, RegistryHive* hive);
    static DWORD Save(const QString& path, const RegistryHive& hive);
    static QString MoveAside(const QString& path);
    static void Report(const QString& problem);
};

} // namespace win32
