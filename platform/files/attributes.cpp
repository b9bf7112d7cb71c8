#include "platform/files/attributes.h"

#include "platform/core/errhandling.h"
#include "platform/files/FileStatus.h"
#include "platform/files/paths.h"

#include <fcntl.h>

namespace win32 {

DWORD GetFileAttributes(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat info {};
    if (!FileStatus::Read(AT_FDCWD, resolved->PosixPath.constData(), info)) {
        FailWithErrno(errno, resolved->PosixPath);
        return INVALID_FILE_ATTRIBUTES;
    }
    // A drive root is never hidden, whatever its folder is called.
    const QByteArray name = resolved->IsRoot()
                                ? QByteArray()
                                : resolved->PosixPath.mid(resolved->PosixPath.lastIndexOf('/') + 1);
    return FileStatus::Attributes(info, name);
}

bool SetFileAttributes(const QString& path, DWORD attributes) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    struct stat info {};
    if (::stat(resolved->PosixPath.constData(), &info) != 0) {
        return FailWithErrno(errno, resolved->PosixPath);
    }
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? info.st_mode & ~S_IWUSR
                                                                    : info.st_mode | S_IWUSR;
    if (mode != info.st_mode && ::chmod(resolved->PosixPath.constData(), mode & 07777) != 0) {
        return FailWithErrno(errno, resolved->PosixPath);
    }
    return true;
}

} // namespace win32
