#include "platform/files/fileio.h"

#include "platform/core/FileDescriptor.h"
#include "platform/core/HandleTable.h"
#include "platform/core/errhandling.h"
#include "platform/files/PendingFile.h"
#include "platform/files/ShareLocks.h"
#include "platform/files/ShareTable.h"
#include "platform/files/VolumeNames.h"
#include "platform/files/paths.h"

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

// An open file: its descriptor (or the unnamed file holding one), its identity and the
// share-table entry it holds.
class FileObject : public HandleObject {
public:
    FileObject(FileDescriptor fd, const struct stat& info, DWORD access, quint64 ticket,
               std::unique_ptr<PendingFile> pending = nullptr)
        : fd(std::move(fd)), pending(std::move(pending)), device(info.st_dev), inode(info.st_ino),
          access(access), ticket(ticket) {}
    ~FileObject() override { ShareTable::Instance().Release(device, inode, ticket); }

    int Fd() const { return pending ? pending->Fd() : fd.Get(); }
    PendingFile* Pending() const { return pending.get(); }
    bool CanRead() const { return (access & GENERIC_READ) != 0; }
    bool CanWrite() const { return (access & GENERIC_WRITE) != 0; }

private:
    FileDescriptor fd;
    std::unique_ptr<PendingFile> pending;
    dev_t device;
    ino_t inode;
    DWORD access;
    quint64 ticket;
};

bool Truncates(DWORD disposition) {
    return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

bool Creates(DWORD disposition) {
    return disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
}

// Opens without ever truncating; `created` tells whether the file is new. Never blocks on a
// FIFO or device (O_NONBLOCK); the caller refuses those.
FileDescriptor OpenPosix(const QByteArray& path, bool writable, DWORD disposition, DWORD attributes,
                         bool& created) {
    const int base = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    for (;;) {
        if (disposition != CREATE_NEW) {
            const int fd = ::open(path.constData(), base);
            if (fd >= 0 || errno != ENOENT || !Creates(disposition)) {
                created = false;
                return FileDescriptor(fd);
            }
        }
        const int fd = ::open(path.constData(), base | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST || disposition == CREATE_NEW) {
            created = fd >= 0;
            return FileDescriptor(fd);
        }
        // A symbolic link whose file is missing: O_EXCL refuses any link, and opening it
        // without creating finds nothing, so the two would take turns for ever. The file is
        // made where the link points, as a write through the link would make it.
        struct stat entry {};
        if (::lstat(path.constData(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
            const int made = ::open(path.constData(), base | O_CREAT, mode);
            created = made >= 0;
            return FileDescriptor(made);
        }
        // Someone made the file between the two opens: open it as an existing one.
    }
}

HANDLE Failed(DWORD error) {
    Fail(error);
    return INVALID_HANDLE_VALUE;
}

} // namespace

HANDLE CreateFile(const QString& path, DWORD access, DWORD shareMode, DWORD disposition,
                  DWORD attributes) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && (access & GENERIC_WRITE) == 0)) {
        return Failed(ERROR_INVALID_PARAMETER);
    }
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return INVALID_HANDLE_VALUE;
    }
    if (Creates(disposition) && !VolumeTakesName(resolved->PosixPath)) {
        return INVALID_HANDLE_VALUE;
    }
    const bool writes = (access & GENERIC_WRITE) != 0 || Truncates(disposition);
    bool created = false;
    FileDescriptor fd = OpenPosix(resolved->PosixPath, writes, disposition, attributes, created);
    if (!fd.IsValid()) {
        FailWithErrno(errno, resolved->PosixPath);
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        FailWithErrno(errno);
        return INVALID_HANDLE_VALUE;
    }
    // Folders, FIFOs and devices are not files a Windows program could open; a read-only file
    // refuses writing even to the superuser, as the read-only attribute does on Windows.
    if (!S_ISREG(info.st_mode) || (writes && !created && (info.st_mode & S_IWUSR) == 0)) {
        return Failed(ERROR_ACCESS_DENIED);
    }
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);

    // Truncating counts as writing for the share check, which comes before any change.
    const DWORD accessBits = ShareTable::AccessBits(access) | (Truncates(disposition) ? 2 : 0);
    const DWORD shareBits = shareMode & (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    quint64 ticket = 0;
    if (accessBits != 0) {
        if (!ShareTable::Instance().Acquire(info.st_dev, info.st_ino, accessBits, shareBits,
                                            ticket)) {
            return Failed(ERROR_SHARING_VIOLATION);
        }
        if (!ShareLocks::Acquire(fd.Get(), accessBits, shareBits)) {
            ShareTable::Instance().Release(info.st_dev, info.st_ino, ticket);
            return Failed(ERROR_SHARING_VIOLATION);
        }
    }
    auto file = std::make_unique<FileObject>(std::move(fd), info, access, ticket);
    if (Truncates(disposition) && !created && ::ftruncate(file->Fd(), 0) != 0) {
        FailWithErrno(errno);
        return INVALID_HANDLE_VALUE;
    }
    const bool reportsExisting = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(reportsExisting && !created ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return HandleTable::Instance().Add(std::move(file));
}

HANDLE CreateUnnamedFile(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return INVALID_HANDLE_VALUE;
    }
    if (resolved->IsRoot()) {
        return Failed(ERROR_ACCESS_DENIED);
    }
    std::unique_ptr<PendingFile> pending = PendingFile::Create(resolved->PosixPath, 0666);
    struct stat info {};
    if (!pending || ::fstat(pending->Fd(), &info) != 0) {
        FailWithErrno(errno, resolved->PosixPath);
        return INVALID_HANDLE_VALUE;
    }
    // A new file conflicts with no one; its entries keep other openers of the hidden name out.
    const DWORD access = GENERIC_READ | GENERIC_WRITE;
    quint64 ticket = 0;
    ShareTable::Instance().Acquire(info.st_dev, info.st_ino, ShareTable::AccessBits(access), 0,
                                   ticket);
    ShareLocks::Acquire(pending->Fd(), ShareTable::AccessBits(access), 0);
    SetLastError(ERROR_SUCCESS);
    return HandleTable::Instance().Add(
        std::make_unique<FileObject>(FileDescriptor(), info, access, ticket, std::move(pending)));
}

bool LinkUnnamedFile(HANDLE file, const QString& path, DWORD flags) {
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return false;
    }
    if (object->Pending() == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    if (resolved->IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (object->Pending()->Place(resolved->PosixPath, (flags & MOVEFILE_REPLACE_EXISTING) != 0)) {
        return true;
    }
    switch (errno) {
    case EEXIST:
        return Fail(ERROR_ALREADY_EXISTS);
    case EXDEV:
        return Fail(ERROR_NOT_SAME_DEVICE);
    case EISDIR:
        return Fail(ERROR_ACCESS_DENIED);
    default:
        return FailWithErrno(errno, resolved->PosixPath);
    }
}

bool ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
    if (read != nullptr) {
        *read = 0;
    }
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return false;
    }
    if (!object->CanRead()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (buffer == nullptr && toRead > 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    DWORD total = 0;
    while (total < toRead) {
        const ssize_t n = ::read(object->Fd(), static_cast<char*>(buffer) + total, toRead - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return FailWithErrno(errno);
        }
        if (n == 0) {
            break;
        }
        total += DWORD(n);
        if (read != nullptr) {
            *read = total;
        }
    }
    return true;
}

bool WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) {
    if (written != nullptr) {
        *written = 0;
    }
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return false;
    }
    if (!object->CanWrite()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (buffer == nullptr && toWrite > 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    DWORD total = 0;
    while (total < toWrite) {
        const ssize_t n =
            ::write(object->Fd(), static_cast<const char*>(buffer) + total, toWrite - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return FailWithErrno(n < 0 ? errno : ENOSPC);
        }
        total += DWORD(n);
        if (written != nullptr) {
            *written = total;
        }
    }
    return true;
}

qint64 GetFileSize(HANDLE file) {
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return -1;
    }
    struct stat info {};
    if (::fstat(object->Fd(), &info) != 0) {
        FailWithErrno(errno);
        return -1;
    }
    return qint64(info.st_size);
}

bool FlushFileBuffers(HANDLE file) {
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return false;
    }
    if (!object->CanWrite()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    return ::fsync(object->Fd()) == 0 || FailWithErrno(errno);
}

std::optional<QString> GetFinalPathNameByHandle(HANDLE file) {
    FileObject* object = HandleTable::Instance().Find<FileObject>(file);
    if (object == nullptr) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(object->Fd(), &info) != 0) {
        FailWithErrno(errno);
        return std::nullopt;
    }
    if (info.st_nlink == 0) {
        Fail(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    // The kernel keeps the path the descriptor reached, with every symbolic link resolved.
    const QByteArray descriptor = "/proc/self/fd/" + QByteArray::number(object->Fd());
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(descriptor.constData(), target.data(), size_t(target.size()));
    if (length < 0 || length >= target.size()) {
        FailWithErrno(length < 0 ? errno : ENAMETOOLONG);
        return std::nullopt;
    }
    target.truncate(length);
    return ToWindowsPath(target);
}

bool CloseHandle(HANDLE file) {
    return HandleTable::Instance().Close<FileObject>(file);
}

} // namespace win32
