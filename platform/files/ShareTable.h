#pragma once
// The share modes of the files this process holds open, by device and inode, so that an open
// that conflicts with another handle of the process is refused, whatever name reached the
// file. Thread-safe.

#include "platform/core/windef.h"

#include <QtGlobal>
#include <map>
#include <mutex>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace win32 {

class ShareTable {
public:
    static ShareTable& Instance();

    // Access or share bits in one form: read 1, write 2, delete 4 (FILE_SHARE_* order).
    static DWORD AccessBits(DWORD access);
    // True when an open with `access`/`share` may coexist with one holding `heldAccess` and
    // `heldShare` (all in the bits of AccessBits / FILE_SHARE_*).
    static bool Compatible(DWORD access, DWORD share, DWORD heldAccess, DWORD heldShare);

    // Registers an open; false (no entry made) when it conflicts with a held one. The ticket
    // identifies the entry for Release.
    bool Acquire(dev_t device, ino_t inode, DWORD access, DWORD share, quint64& ticket);
    void Release(dev_t device, ino_t inode, quint64 ticket);
    // True unless some handle holds the file without FILE_SHARE_DELETE.
    bool AllowsDelete(dev_t device, ino_t inode);

private:
    struct Entry {
        quint64 Ticket;
        DWORD Access;
        DWORD Share;
    };
    std::mutex mutex;
    std::map<std::pair<dev_t, ino_t>, std::vector<Entry>> files;
    quint64 nextTicket = 1;
};

} // namespace win32
