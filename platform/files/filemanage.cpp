#include "platform/files/filemanage.h"

#include "platform/core/FileDescriptor.h"
#include "platform/core/errhandling.h"
#include "platform/files/CrossVolumeMove.h"
#include "platform/files/NameMapping.h"
#include "platform/files/ShareLocks.h"
#include "platform/files/ShareTable.h"
#include "platform/files/VolumeNames.h"
#include "platform/files/paths.h"

#include <QRandomGenerator>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

namespace win32 {

namespace {

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// False (error 32) when a handle, of this process or another, holds the file without
// FILE_SHARE_DELETE: Windows neither deletes nor renames such a file.
bool MayRemove(const QByteArray& path, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) {
        return true;
    }
    if (!ShareTable::Instance().AllowsDelete(info.st_dev, info.st_ino)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    const FileDescriptor probe(
        ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (probe.IsValid() && ShareLocks::DeniesDelete(probe.Get())) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    return true;
}

// Moving without RENAME_NOREPLACE (file systems that lack it): a hard link refuses to
// replace; where there are no hard links, the check and the rename are as close as they get.
bool RenameWithoutReplacing(const QByteArray& from, const QByteArray& to, bool isDirectory) {
    if (!isDirectory) {
        if (::link(from.constData(), to.constData()) == 0) {
            return ::unlink(from.constData()) == 0 || FailWithErrno(errno, from);
        }
        if (errno == EEXIST) {
            return Fail(ERROR_ALREADY_EXISTS);
        }
    }
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0) {
        return Fail(ERROR_ALREADY_EXISTS);
    }
    return ::rename(from.constData(), to.constData()) == 0 || FailWithErrno(errno, to);
}

// rename(2) that never replaces: with RENAME_NOREPLACE, or where the file system lacks it
// (FUSE volumes) after a look at the name; -1 with errno set when it fails.
int RenameNotReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.constData(), to.constData());
}

// A change of letter case only, in two renames through an unused hidden name: fusefat frees the
// file's clusters when one rename changes only the case, and so loses its content; a rename to
// another name, and on to the new one, keeps it on every driver. Should the second step fail,
// the file goes back to its old name.
bool RenameLetterCase(const QByteArray& from, const QByteArray& to) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray stopover = ParentOf(from) + "/.zvonkar-rename-" +
                                    QByteArray::number(QRandomGenerator::system()->generate(), 16) +
                                    ".tmp";
        if (RenameNotReplacing(from, stopover) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return FailWithErrno(errno, to);
        }
        if (RenameNotReplacing(stopover, to) == 0) {
            return true;
        }
        const int error = errno;
        RenameNotReplacing(stopover, from);
        return FailWithErrno(error, to);
    }
    return Fail(ERROR_ALREADY_EXISTS);
}

} // namespace

bool DeleteFile(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    const QByteArray& posix = resolved->PosixPath;
    struct stat info {};
    if (::lstat(posix.constData(), &info) != 0) {
        return FailWithErrno(errno, posix);
    }
    // Windows deletes neither folders nor read-only files here.
    if (S_ISDIR(info.st_mode) || (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!MayRemove(posix, info)) {
        return false;
    }
    return ::unlink(posix.constData()) == 0 || FailWithErrno(errno, posix);
}

bool MoveFile(const QString& from, const QString& to) {
    const std::optional<ResolvedPath> source = ResolvePath(from);
    if (!source) {
        return false;
    }
    const std::optional<ResolvedPath> target = ResolvePath(to);
    if (!target) {
        return false;
    }
    struct stat info {};
    if (::lstat(source->PosixPath.constData(), &info) != 0) {
        return FailWithErrno(errno, source->PosixPath);
    }
    if (source->IsRoot() || target->IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!MayRemove(source->PosixPath, info) || !VolumeTakesName(target->PosixPath)) {
        return false;
    }
    // A change of letter case, where no other entry has the new name in any case.
    if (IsOtherSpellingOf(source->PosixPath, target->PosixPath)) {
        return RenameLetterCase(source->PosixPath, target->PosixPath);
    }
    const char* fromPath = source->PosixPath.constData();
    const char* toPath = target->PosixPath.constData();
    if (::renameat2(AT_FDCWD, fromPath, AT_FDCWD, toPath, RENAME_NOREPLACE) == 0) {
        return true;
    }
    switch (errno) {
    case EEXIST:
        return Fail(ERROR_ALREADY_EXISTS);
    case EINVAL:
    case ENOSYS:
        if (ParentOf(target->PosixPath).startsWith(source->PosixPath + '/')) {
            return Fail(ERROR_INVALID_PARAMETER); // a folder into itself
        }
        return RenameWithoutReplacing(source->PosixPath, target->PosixPath, S_ISDIR(info.st_mode));
    case EXDEV:
        if (S_ISDIR(info.st_mode)) {
            return Fail(ERROR_NOT_SAME_DEVICE);
        }
        return CrossVolumeMove::Move(source->PosixPath, target->PosixPath);
    default:
        return FailWithErrno(errno, target->PosixPath);
    }
}

bool CreateDirectory(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    return ::mkdir(resolved->PosixPath.constData(), 0777) == 0 ||
           FailWithErrno(errno, resolved->PosixPath, true);
}

bool RemoveDirectory(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    if (resolved->IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (::rmdir(resolved->PosixPath.constData()) == 0) {
        return true;
    }
    return errno == ENOTDIR ? Fail(ERROR_DIRECTORY)
                            : FailWithErrno(errno, resolved->PosixPath, true);
}

} // namespace win32
