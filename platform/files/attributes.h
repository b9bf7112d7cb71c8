#pragma once
// File attributes over POSIX: directory 0x10; read-only 0x01 when the owner lacks write
// permission; hidden 0x02 for names beginning with "."; archive 0x20 for regular files; system
// never. "X:" answers for drive X's current directory.

#include "platform/core/windef.h"

#include <QString>

namespace win32 {

// INVALID_FILE_ATTRIBUTES on failure (2, 3, 15, 21, ...).
DWORD GetFileAttributes(const QString& path);
// Read-only sets or clears the owner's write permission; the other bits are accepted and
// ignored.
bool SetFileAttributes(const QString& path, DWORD attributes);

} // namespace win32
