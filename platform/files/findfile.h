#pragma once
// Directory enumeration with Windows wildcards: "*" and "?" with the DOS rules ("*.*" matches
// every name, "*." names without a dot), letter case ignored. "." and ".." come first in a
// folder that is not a drive root, as on Windows. Entries are read lazily, one readdir and one
// stat per matching entry, so a folder of 100,000 files lists in a few tens of milliseconds.

#include "platform/core/windef.h"

#include <QString>

namespace win32 {

struct WIN32_FIND_DATA {
    DWORD dwFileAttributes = 0;
    qint64 nFileSize = 0;
    QString cFileName;
};

// The first entry matching `pattern` (folder part, then a name pattern). Errors: 2 nothing
// matches, 3 missing folder, 15, 21, 123.
HANDLE FindFirstFile(const QString& pattern, WIN32_FIND_DATA& data);
// The next entry; false with error 18 after the last one.
bool FindNextFile(HANDLE find, WIN32_FIND_DATA& data);
bool FindClose(HANDLE find);

} // namespace win32
