#pragma once
// Share modes between processes, kept as open-file-description locks on bytes far past any
// real data: a shared lock on "uses read/write/delete" bytes for the access an open has and on
// "denies read/write/delete" bytes for the sharing it refuses. An open first takes its own
// locks and then looks for another holder of a conflicting byte, so of two racing opens at
// worst both fail, never both succeed. File systems without such locks skip the check.

#include "platform/core/windef.h"

namespace win32 {

class ShareLocks {
public:
    // Takes the locks of an open on `fd` (access and share in ShareTable's bits); false when
    // another open file description conflicts. The locks go when `fd` is closed.
    static bool Acquire(int fd, DWORD access, DWORD share);
    // True when another open file description holds the file without FILE_SHARE_DELETE.
    static bool DeniesDelete(int fd);
};

} // namespace win32
