#include "platform/files/FileStatus.h"

#include <cerrno>
#include <fcntl.h>

namespace win32 {

DWORD FileStatus::Attributes(mode_t mode, QByteArrayView name) {
    DWORD attributes = 0;
    if (S_ISDIR(mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (S_ISREG(mode)) {
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    }
    if ((mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (name.startsWith('.') && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool FileStatus::Read(int directoryFd, const char* path, struct stat& info) {
    if (::fstatat(directoryFd, path, &info, 0) == 0) {
        return true;
    }
    const int error = errno;
    if (error == ENOENT && ::fstatat(directoryFd, path, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return true;
    }
    errno = error;
    return false;
}

} // namespace win32
