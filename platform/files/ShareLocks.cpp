#include "platform/files/ShareLocks.h"

#include <cstdint>
#include <fcntl.h>
#include <limits>

namespace win32 {

namespace {

// Lock bytes just below the largest offset, where no file's data ever reaches.
constexpr off_t lockBase = std::numeric_limits<off_t>::max() - 16;

off_t UsesByte(int bit) {
    return lockBase + bit;
} // bit 0 read, 1 write, 2 delete
off_t DeniesByte(int bit) {
    return lockBase + 3 + bit;
}

bool Lock(int fd, off_t offset, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when another open file description holds a lock on the byte.
bool HeldElsewhere(int fd, off_t offset) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

} // namespace

bool ShareLocks::Acquire(int fd, DWORD access, DWORD share) {
    for (int bit = 0; bit < 3; ++bit) {
        const DWORD mask = DWORD(1) << bit;
        if ((access & mask) != 0 && !Lock(fd, UsesByte(bit), F_RDLCK)) {
            return true; // no locks on this file system, or the descriptor cannot read
        }
        if ((share & mask) == 0 && !Lock(fd, DeniesByte(bit), F_RDLCK)) {
            return true;
        }
    }
    for (int bit = 0; bit < 3; ++bit) {
        const DWORD mask = DWORD(1) << bit;
        if ((access & mask) != 0 && HeldElsewhere(fd, DeniesByte(bit))) {
            return false;
        }
        if ((share & mask) == 0 && HeldElsewhere(fd, UsesByte(bit))) {
            return false;
        }
    }
    return true;
}

bool ShareLocks::DeniesDelete(int fd) {
    return HeldElsewhere(fd, DeniesByte(2));
}

} // namespace win32
