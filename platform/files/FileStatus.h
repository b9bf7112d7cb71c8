#pragma once
// The attribute word of a file from its POSIX status and name, shared by GetFileAttributes and
// the enumeration so that both report a file alike.

#include "platform/core/windef.h"

#include <QByteArrayView>
#include <sys/stat.h>

namespace win32 {

class FileStatus {
public:
    // `name` is the file's own name (its last path component); "." and ".." are never hidden.
    static DWORD Attributes(const struct stat& info, QByteArrayView name) {
        return Attributes(info.st_mode, name);
    }
    // From the file type and permission bits of a mode alone: a caller that knows only the
    // type passes the owner's write bit set, so that no read-only bit is claimed.
    static DWORD Attributes(mode_t mode, QByteArrayView name);
    // stat, or for a dangling symbolic link the link itself, so that it can still be listed
    // and deleted; false with errno set when neither works.
    static bool Read(int directoryFd, const char* path, struct stat& info);
};

} // namespace win32
