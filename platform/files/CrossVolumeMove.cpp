#include "platform/files/CrossVolumeMove.h"

#include "platform/core/FileDescriptor.h"
#include "platform/core/errhandling.h"

#include <QRandomGenerator>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <vector>

namespace win32 {

namespace {

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

bool CopyContent(int from, int to) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return FailWithErrno(errno);
        }
        if (n == 0) {
            return true;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer.data() + done, size_t(n - done));
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w <= 0) {
                return FailWithErrno(w < 0 ? errno : ENOSPC);
            }
            done += w;
        }
    }
}

// A named temporary file in `dir`, for file systems without unnamed ones.
FileDescriptor CreateNamedTemporary(int dir, const QByteArray& base, mode_t mode,
                                    QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = '.' + base + ".zvonkar-" +
               QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd =
            ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return FileDescriptor(fd);
        }
    }
    errno = EEXIST;
    return FileDescriptor();
}

// Gives the named temporary file its final name without replacing anything.
bool PlaceNamed(int dir, const QByteArray& temporary, const QByteArray& name) {
    if (::linkat(dir, temporary.constData(), dir, name.constData(), 0) == 0) {
        ::unlinkat(dir, temporary.constData(), 0);
        return true;
    }
    if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK) {
        // No hard links here (FAT): a rename that refuses to replace does the same.
        if (::renameat2(dir, temporary.constData(), dir, name.constData(), RENAME_NOREPLACE) == 0) {
            return true;
        }
    }
    const int error = errno;
    ::unlinkat(dir, temporary.constData(), 0);
    return error == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno(error);
}

} // namespace

bool CrossVolumeMove::Move(const QByteArray& from, const QByteArray& to) {
    struct stat source {};
    if (::lstat(from.constData(), &source) != 0) {
        return FailWithErrno(errno, from);
    }
    if (S_ISLNK(source.st_mode)) {
        return MoveSymbolicLink(from, to);
    }
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0) {
        return Fail(ERROR_ALREADY_EXISTS);
    }
    const FileDescriptor input(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    const FileDescriptor dir(::open(ParentOf(to).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!input.IsValid()) {
        return FailWithErrno(errno, from);
    }
    if (!dir.IsValid()) {
        return FailWithErrno(errno, to);
    }
    const mode_t mode = source.st_mode & 07777;
    const QByteArray name = NameOf(to);
    QByteArray temporary;
    FileDescriptor output(::openat(dir.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    const bool unnamed = output.IsValid();
    if (!unnamed) {
        output = CreateNamedTemporary(dir.Get(), name, mode, temporary);
        if (!output.IsValid()) {
            return FailWithErrno(errno, to);
        }
    }
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    const bool written = CopyContent(input.Get(), output.Get()) &&
                         (::fchmod(output.Get(), mode) == 0 || FailWithErrno(errno)) &&
                         (::futimens(output.Get(), times) == 0 || FailWithErrno(errno)) &&
                         (::fsync(output.Get()) == 0 || FailWithErrno(errno));
    if (!written) {
        if (!unnamed) {
            ::unlinkat(dir.Get(), temporary.constData(), 0);
        }
        return false;
    }
    if (unnamed) {
        const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(output.Get());
        if (::linkat(AT_FDCWD, procPath.constData(), dir.Get(), name.constData(),
                     AT_SYMLINK_FOLLOW) != 0) {
            return errno == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno(errno, to);
        }
    } else if (!PlaceNamed(dir.Get(), temporary, name)) {
        return false;
    }
    ::fsync(dir.Get());
    if (::unlink(from.constData()) != 0) {
        // The source must stay the one file: take the copy back.
        const int error = errno;
        ::unlinkat(dir.Get(), name.constData(), 0);
        return FailWithErrno(error, from);
    }
    return true;
}

bool CrossVolumeMove::MoveSymbolicLink(const QByteArray& from, const QByteArray& to) {
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(from.constData(), target.data(), target.size());
    if (length < 0) {
        return FailWithErrno(errno, from);
    }
    target.truncate(length);
    if (::symlink(target.constData(), to.constData()) != 0) {
        return errno == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno(errno, to);
    }
    if (::unlink(from.constData()) != 0) {
        const int error = errno;
        ::unlink(to.constData());
        return FailWithErrno(error, from);
    }
    return true;
}

} // namespace win32
