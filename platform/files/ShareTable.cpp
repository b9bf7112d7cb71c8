#include "platform/files/ShareTable.h"

#include <algorithm>

namespace win32 {

ShareTable& ShareTable::Instance() {
    static ShareTable table;
    return table;
}

DWORD ShareTable::AccessBits(DWORD access) {
    return ((access & GENERIC_READ) != 0 ? FILE_SHARE_READ : 0) |
           ((access & GENERIC_WRITE) != 0 ? FILE_SHARE_WRITE : 0) |
           ((access & DELETE) != 0 ? FILE_SHARE_DELETE : 0);
}

bool ShareTable::Compatible(DWORD access, DWORD share, DWORD heldAccess, DWORD heldShare) {
    // Each side must share every kind of access the other one uses.
    return (access & ~heldShare) == 0 && (heldAccess & ~share) == 0;
}

bool ShareTable::Acquire(dev_t device, ino_t inode, DWORD access, DWORD share, quint64& ticket) {
    const std::lock_guard lock(mutex);
    std::vector<Entry>& entries = files[{device, inode}];
    for (const Entry& held : entries) {
        if (!Compatible(access, share, held.Access, held.Share)) {
            return false;
        }
    }
    ticket = nextTicket++;
    entries.push_back({ticket, access, share});
    return true;
}

void ShareTable::Release(dev_t device, ino_t inode, quint64 ticket) {
    const std::lock_guard lock(mutex);
    const auto it = files.find({device, inode});
    if (it == files.end()) {
        return;
    }
    std::erase_if(it->second, [ticket](const Entry& e) { return e.Ticket == ticket; });
    if (it->second.empty()) {
        files.erase(it);
    }
}

bool ShareTable::AllowsDelete(dev_t device, ino_t inode) {
    const std::lock_guard lock(mutex);
    const auto it = files.find({device, inode});
    if (it == files.end()) {
        return true;
    }
    return std::all_of(it->second.begin(), it->second.end(),
                       [](const Entry& e) { return (e.Share & FILE_SHARE_DELETE) != 0; });
}

} // namespace win32
