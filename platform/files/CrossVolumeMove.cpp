#include "platform/files/CrossVolumeMove.h"

#include "platform/core/FileDescriptor.h"
#include "platform/core/errhandling.h"
#include "platform/files/PendingFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <vector>

namespace win32 {

namespace {

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
    if (!input.IsValid()) {
        return FailWithErrno(errno, from);
    }
    const mode_t mode = source.st_mode & 07777;
    const std::unique_ptr<PendingFile> output = PendingFile::Create(to, mode);
    if (!output) {
        return FailWithErrno(errno, to);
    }
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    const bool written = CopyContent(input.Get(), output->Fd()) &&
                         (::fchmod(output->Fd(), mode) == 0 || FailWithErrno(errno)) &&
                         (::futimens(output->Fd(), times) == 0 || FailWithErrno(errno));
    if (!written) {
        return false;
    }
    if (!output->Place(to, false)) {
        return errno == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno(errno, to);
    }
    if (::unlink(from.constData()) != 0) {
        // The source must stay the one file: take the copy back.
        const int error = errno;
        ::unlink(to.constData());
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
