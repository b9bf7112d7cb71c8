#pragma once
// Directory enumeration with Windows wildcards: "*" and "?" with the DOS rules ("*.*" matches
// every name, "*." names without a dot), letter case ignored. "." and ".." come first in a
// folder that is not a drive root, as on Windows. Entries are read lazily from the open folder.
// FindFirstFile reads each matching entry's status, as Windows reports size and attributes;
// FindFirstFileEx with FindExInfoNames gives what the directory entry itself tells and leaves
// the status call to FindFileStatus, for the entries whose caller needs it, so that a folder
// of 100,000 files lists as fast as `ls -1` lists it.

#include "platform/core/windef.h"

#include <QString>

namespace win32 {

struct WIN32_FIND_DATA {
    DWORD dwFileAttributes = 0;
    qint64 nFileSize = 0;
    QString cFileName;
};

// What an enumeration reads of each entry.
enum FINDEX_INFO_LEVELS {
    // Attributes and size, from one status call per entry.
    FindExInfoStandard,
    // The name, the directory bit (from the entry's type), the archive bit of a regular file
    // and the hidden bit of a dot name; no read-only bit and no size until FindFileStatus. An
    // entry whose type the file system does not report, or a symbolic link (its target decides
    // whether it is a folder), is read in full at once.
    FindExInfoNames,
};

enum FINDEX_SEARCH_OPS {
    FindExSearchNameMatch,
    // Folders only: other entries are passed over by their type, without a status call.
    FindExSearchLimitToDirectories,
};

// An additional flag of FindFirstFileEx, this layer's own: the hidden temporaries that copies
// cut off (a crash, a kill) left in the folder are removed as the enumeration passes them,
// never one that a running copy still writes. The other entries cost a comparison of names.
inline constexpr DWORD FIND_FIRST_EX_REMOVE_ABANDONED = 0x10000;

// The first entry matching `pattern` (folder part, then a name pattern). Errors: 2 nothing
// matches, 3 missing folder, 15, 21, 123.
HANDLE FindFirstFile(const QString& pattern, WIN32_FIND_DATA& data);
HANDLE FindFirstFileEx(const QString& pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATA& data,
                       FINDEX_SEARCH_OPS search, DWORD additionalFlags = 0);
// The next entry; false with error 18 after the last one.
bool FindNextFile(HANDLE find, WIN32_FIND_DATA& data);
// Completes `data`, the entry the enumeration returned last, with its read-only bit and size,
// read relative to the open folder (nothing is read again when the entry was read in full).
// False with error 2 when the entry vanished since it was listed, 18 after the last entry;
// `data` then stays.
bool FindFileStatus(HANDLE find, WIN32_FIND_DATA& data);
bool FindClose(HANDLE find);
// Whether a name matches one of `patterns` (separated by ";") by the rules of the
// enumeration, as shlwapi's PathMatchSpec tells; for a caller that learns of one name.
bool PathMatchSpec(const QString& name, const QString& patterns);

} // namespace win32
