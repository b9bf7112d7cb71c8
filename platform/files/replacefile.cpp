#include "platform/files/replacefile.h"

#include "platform/core/errhandling.h"
#include "platform/files/filemanage.h"
#include "platform/files/paths.h"

#include <stdio.h>
#include <sys/stat.h>

namespace win32 {

bool MoveFileEx(const QString& from, const QString& to, DWORD flags) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING))
        return MoveFile(from, to);
    const std::optional<ResolvedPath> source = ResolvePath(from);
    const std::optional<ResolvedPath> target = source ? ResolvePath(to) : std::nullopt;
    if (!target)
        return false;
    struct stat sourceInfo {};
    struct stat targetInfo {};
    if (::lstat(source->PosixPath.constData(), &sourceInfo) != 0)
        return FailWithErrno(errno, source->PosixPath);
    if (::lstat(target->PosixPath.constData(), &targetInfo) == 0) {
        if (S_ISDIR(targetInfo.st_mode))
            return Fail(ERROR_ACCESS_DENIED);
        if (targetInfo.st_dev != sourceInfo.st_dev)
            return Fail(ERROR_NOT_SAME_DEVICE);
    }
    if (::rename(source->PosixPath.constData(), target->PosixPath.constData()) != 0)
        return errno == EXDEV ? Fail(ERROR_NOT_SAME_DEVICE)
                              : FailWithErrno(errno, target->PosixPath);
    return true;
}

} // namespace win32
