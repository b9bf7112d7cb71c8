#include "platform/core/errhandling.h"

#include <atomic>
#include <cerrno>
#include <sys/stat.h>

namespace win32 {

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
std::atomic<UINT> errorMode{0};

bool ParentExists(const QByteArray& posixPath) {
    QByteArray path = posixPath;
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return true; // relative to the working directory, which exists
    }
    const QByteArray parent = slash == 0 ? QByteArray("/") : path.left(slash);
    struct stat info {};
    return ::stat(parent.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

DWORD GetLastError() {
    return lastError;
}

void SetLastError(DWORD error) {
    lastError = error;
}

DWORD ErrorFromErrno(int error, const QByteArray& posixPath, bool isDirectory) {
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return posixPath.isEmpty() || ParentExists(posixPath) ? ERROR_FILE_NOT_FOUND
                                                              : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case EEXIST:
        return isDirectory ? ERROR_ALREADY_EXISTS : ERROR_FILE_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EAGAIN:
        return ERROR_LOCK_VIOLATION;
    case ENOMEDIUM:
    case ENODEV:
    case ENXIO:
        return ERROR_NOT_READY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EIO:
        return ERROR_IO_DEVICE;
    case ESTALE:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNREFUSED:
    case ETIMEDOUT:
        return ERROR_BAD_NETPATH;
    default:
        return ERROR_GEN_FAILURE;
    }
}

bool FailWithErrno(int error, const QByteArray& posixPath, bool isDirectory) {
    return Fail(ErrorFromErrno(error, posixPath, isDirectory));
}

bool Fail(DWORD error) {
    lastError = error;
    return false;
}

UINT SetErrorMode(UINT mode) {
    return errorMode.exchange(mode);
}

} // namespace win32
