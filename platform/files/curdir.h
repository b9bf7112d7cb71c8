#pragma once
// The process's current directory, as Windows text, with one remembered directory per drive
// ("D:" goes to drive D's). The process's real working directory follows every change.

#include <QString>

namespace win32 {

// "C:\" for a root, no trailing backslash otherwise. When the process's real directory lies
// outside every drive: an empty text and error 3.
QString GetCurrentDirectory();
// Errors: 15 missing drive, 21 drive without medium, 2 or 3 missing folder, 5 no permission.
bool SetCurrentDirectory(const QString& path);

} // namespace win32
