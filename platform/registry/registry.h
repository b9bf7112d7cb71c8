#pragma once
// The registry calls the program uses, over the current user's hive kept in the text file
// $XDG_CONFIG_HOME/zvonkar/user.reg (~/.config when the variable is unset). Key and value names
// are case-insensitive; every value keeps its type and exact bytes.
//
// Each call reads the file afresh and each change rewrites it at once, under a lock shared by
// every running copy of the program, so copies never lose each other's keys. Writes are atomic:
// a failed write leaves the previous file as it was. A file that cannot be read as a hive is
// never overwritten: it is moved aside (user.reg.broken, .broken.1, ...), the call that found
// it fails with ERROR_BADDB, and TakeRegistryProblem() tells the user where it went.
//
// The calls return Win32 error numbers: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND for a missing key or
// value, ERROR_ACCESS_DENIED for a handle opened without the right or a refused write,
// ERROR_INVALID_HANDLE, ERROR_BAD_PATHNAME for an empty part of a key path, ERROR_KEY_DELETED,
// ERROR_BADDB, ERROR_DISK_FULL, ERROR_WRITE_PROTECT, ERROR_REGISTRY_IO_FAILED. Any thread may
// call them.

#include "platform/core/windef.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace win32 {

using LONG = std::int32_t;
using REGSAM = DWORD;

struct HKEY__;
using HKEY = HKEY__*;

inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Key creation options and dispositions. Every key is kept in the file, so a volatile key
// is stored like any other.
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Access rights.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Error numbers of the registry.
inline constexpr DWORD ERROR_BAD_PATHNAME = 161;
inline constexpr DWORD ERROR_BADDB = 1009;
inline constexpr DWORD ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr DWORD ERROR_KEY_DELETED = 1018;

// Opens the key `subKey` below `key`, creating it and its missing parents. A trailing backslash
// is ignored; an empty `subKey` opens a new handle on `key` itself. `disposition` (may be null)
// tells whether the key was created or existed.
LONG RegCreateKeyEx(HKEY key, const QString& subKey, DWORD options, REGSAM access, HKEY* result,
                    DWORD* disposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyEx(HKEY key, const QString& subKey, DWORD options, REGSAM access, HKEY* result);
// Reads a value ("" is the key's default value). Each out-parameter may be null: with `data`
// null the call only reports the type and the size in bytes, so a caller can ask first and read
// after. `data` receives the whole value; there is no buffer to overflow.
LONG RegQueryValueEx(HKEY key, const QString& name, DWORD* type, QByteArray* data,
                     DWORD* size = nullptr);
// Stores a value with exactly these bytes, replacing one of the same name.
LONG RegSetValueEx(HKEY key, const QString& name, DWORD type, const QByteArray& data);
LONG RegDeleteValue(HKEY key, const QString& name);
LONG RegCloseKey(HKEY key);

// The last problem with the hive file that the user should hear of (a broken file moved aside,
// a file that could not be read or written), once; then nothing until the next one.
std::optional<QString> TakeRegistryProblem();
// The hive file's path under the current environment.
QString RegistryFilePath();

} // namespace win32
