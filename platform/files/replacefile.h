#pragma once
// Moving a file over an existing one, for writers that prepare a complete new file beside the
// one it replaces and then put it in place in one step.

#include "platform/core/windef.h"

#include <QString>

namespace win32 {

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;

// As MoveFile, and with MOVEFILE_REPLACE_EXISTING a file of the destination's name is replaced
// atomically (both names on one volume; 17 otherwise). A folder is never replaced (5).
bool MoveFileEx(const QString& from, const QString& to, DWORD flags);

} // namespace win32
