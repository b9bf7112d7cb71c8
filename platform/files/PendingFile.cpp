#include "platform/files/PendingFile.h"

#include "platform/files/ShareLocks.h"

#include <QRandomGenerator>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <stdio.h>
#include <sys/stat.h>

namespace win32 {

namespace {

// Every hidden temporary is named ".zvonkar-copy-XXXXXXXX.tmp", as the copies of earlier
// versions named theirs, so that what those left behind is cleared too.
constexpr char kPrefix[] = ".zvonkar-copy-";
constexpr char kSuffix[] = ".tmp";

// The byte whose lock marks a live writer, below the share-mode bytes of ShareLocks. The
// writer holds a write lock on it from the moment its file exists until it closes it; a
// cleaner removes a temporary only while it holds a read lock there itself, so the two never
// both succeed.
constexpr off_t kWriterByte = std::numeric_limits<off_t>::max() - 32;

bool LockWriterByte(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kWriterByte;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// From the system's generator: forked processes share the state of any generator of their own.
QByteArray TemporaryName() {
    return kPrefix +
           QByteArray::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0') +
           kSuffix;
}

// Called for every entry of a folder: the prefix is compared before the length is taken.
bool IsTemporaryName(const char* name) {
    if (std::strncmp(name, kPrefix, sizeof kPrefix - 1) != 0) {
        return false;
    }
    const size_t length = std::strlen(name);
    return length > sizeof kPrefix + sizeof kSuffix - 2 &&
           std::memcmp(name + length - (sizeof kSuffix - 1), kSuffix, sizeof kSuffix - 1) == 0;
}

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// True when `name` in `dir` is still the file open as `fd`.
bool StillNamed(int dir, const char* name, int fd) {
    struct stat byName {};
    struct stat byFd {};
    return ::fstatat(dir, name, &byName, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &byFd) == 0 &&
           byName.st_dev == byFd.st_dev && byName.st_ino == byFd.st_ino;
}

// A hidden temporary file in `dir`, locked as its writer's. A cleaner can take the name away
// between its creation and the lock; another name is tried then.
FileDescriptor CreateNamed(int dir, mode_t mode, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName();
        FileDescriptor fd(
            ::openat(dir, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (!fd.IsValid() && errno == EEXIST) {
            continue;
        }
        if (!fd.IsValid()) {
            return fd;
        }
        // A cleaner holding the byte is about to remove the file. Where the file system has no
        // locks at all, no cleaner can take the byte either.
        if (!LockWriterByte(fd.Get(), F_WRLCK) && (errno == EAGAIN || errno == EACCES)) {
            continue;
        }
        if (StillNamed(dir, name.constData(), fd.Get())) {
            return fd;
        }
    }
    errno = EEXIST;
    return FileDescriptor();
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

PendingFile::PendingFile(FileDescriptor dir, FileDescriptor file, QByteArray temporary)
    : dir(std::move(dir)), file(std::move(file)), temporary(std::move(temporary)) {}

PendingFile::~PendingFile() {
    // Removed while the lock is still held, so that no cleaner ever races its writer.
    if (!temporary.isEmpty()) {
        ::unlinkat(dir.Get(), temporary.constData(), 0);
    }
}

std::unique_ptr<PendingFile> PendingFile::Create(const QByteArray& destination, mode_t mode) {
    FileDescriptor dir(
        ::open(ParentOf(destination).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsValid()) {
        return nullptr;
    }
    RemoveAbandoned(dir.Get());
    FileDescriptor file(::openat(dir.Get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
    QByteArray temporary;
    if (file.IsValid()) {
        // Held from the start: an overwrite links the file under a hidden name for a moment.
        LockWriterByte(file.Get(), F_WRLCK);
    } else {
        file = CreateNamed(dir.Get(), mode, temporary);
        if (!file.IsValid()) {
            return nullptr;
        }
    }
    return std::unique_ptr<PendingFile>(
        new PendingFile(std::move(dir), std::move(file), std::move(temporary)));
}

bool PendingFile::Place(const QByteArray& destination, bool replace) {
    struct stat folder {};
    struct stat own {};
    if (::stat(ParentOf(destination).constData(), &folder) != 0 || ::fstat(dir.Get(), &own) != 0) {
        return false;
    }
    if (folder.st_dev != own.st_dev || folder.st_ino != own.st_ino) {
        errno = EXDEV;
        return false;
    }
    const QByteArray name = destination.mid(destination.lastIndexOf('/') + 1);
    if (::fsync(file.Get()) != 0) {
        return false;
    }
    const bool placed =
        temporary.isEmpty() ? LinkUnnamed(name, replace) : PlaceNamed(name, replace);
    if (placed) {
        ::fsync(dir.Get());
    }
    return placed;
}

bool PendingFile::LinkUnnamed(const QByteArray& name, bool replace) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.Get());
    const auto link = [&](const QByteArray& as) {
        return ::linkat(AT_FDCWD, self.constData(), dir.Get(), as.constData(), AT_SYMLINK_FOLLOW) ==
               0;
    };
    if (!replace) {
        return link(name);
    }
    // linkat never replaces a name: the file gets a hidden one first, which then replaces
    // the old file in one rename.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray hidden = TemporaryName();
        if (link(hidden)) {
            temporary = hidden;
            return PlaceNamed(name, true);
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

bool PendingFile::PlaceNamed(const QByteArray& name, bool replace) {
    const char* from = temporary.constData();
    const char* to = name.constData();
    bool placed = false;
    if (replace) {
        placed = ::renameat(dir.Get(), from, dir.Get(), to) == 0;
    } else if (::renameat2(dir.Get(), from, dir.Get(), to, RENAME_NOREPLACE) == 0) {
        placed = true;
    } else if (errno == EINVAL || errno == ENOSYS) {
        // No RENAME_NOREPLACE here: a hard link refuses to replace; without hard links (FAT)
        // the check and the rename are as close as they get.
        if (::linkat(dir.Get(), from, dir.Get(), to, 0) == 0) {
            ::unlinkat(dir.Get(), from, 0);
            placed = true;
        } else if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK) {
            struct stat existing {};
            if (::fstatat(dir.Get(), to, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
                errno = EEXIST;
            } else {
                placed = ::renameat(dir.Get(), from, dir.Get(), to) == 0;
            }
        }
    }
    if (placed) {
        temporary.clear();
    }
    return placed;
}

bool PendingFile::RemoveIfAbandoned(int dir, const char* name) {
    if (!IsTemporaryName(name)) {
        return false;
    }
    const FileDescriptor fd(
        ::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!fd.IsValid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // A live writer holds the byte; a handle without delete sharing (the copies of earlier
    // versions held theirs so) keeps the file as well.
    if (!LockWriterByte(fd.Get(), F_RDLCK) || ShareLocks::DeniesDelete(fd.Get())) {
        return false;
    }
    return StillNamed(dir, name, fd.Get()) && ::unlinkat(dir, name, 0) == 0;
}

void PendingFile::RemoveAbandoned(int dir) {
    const int listing = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::unique_ptr<DIR, DirCloser> entries(listing >= 0 ? ::fdopendir(listing) : nullptr);
    if (!entries) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    while (const dirent* entry = ::readdir(entries.get())) {
        RemoveIfAbandoned(dir, entry->d_name);
    }
}

} // namespace win32
