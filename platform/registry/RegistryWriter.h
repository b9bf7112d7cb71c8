#pragma once
// Writes a registry hive as the text of the hive file: "REGEDIT4", then one [section] per key and
// one line per value, in a form that keeps every value's type and exact bytes.
//
// Values are written as readably as their bytes allow:
//   "Name"="text\0"        REG_SZ: UTF-8 text, then one terminating NUL that is not shown;
//                          \\ \" stand for \ ", \0 for an inner NUL, \xHH for other control bytes
//   "Name"=str(2):"text"   REG_EXPAND_SZ in the same string form
//   "Name"=dword:0000002a  REG_DWORD of exactly four bytes
//   "Name"=hex:01,ff       REG_BINARY; hex(n): for every other type or bytes that are not text
//   @=...                  the key's default value (empty name)
// Long hex lists are continued on the next line after a trailing backslash.

#include "platform/registry/RegistryHive.h"

#include <QByteArray>

namespace win32 {

class RegistryWriter {
public:
    static QByteArray Write(const RegistryHive& hive);
    // The root's name as it appears in section headers.
    static constexpr const char* kRootName = "HKEY_CURRENT_USER";

private:
    static QByteArray Quote(const QByteArray& utf8);
    static QByteArray Data(const RegistryValue& value, int column);
    static QByteArray Hex(const QByteArray& data, int column);
};

} // namespace win32
