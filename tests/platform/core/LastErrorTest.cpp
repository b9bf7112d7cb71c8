// The mapping of POSIX errors into Win32 error numbers and the per-thread last error.
#include "platform/core/errhandling.h"

#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

using namespace win32;

namespace {

TEST(LastError, ErrnoMapping) {
    struct Case {
        int error;
        DWORD expected;
    };
    for (const Case c :
         {Case{EACCES, ERROR_ACCESS_DENIED}, Case{EPERM, ERROR_ACCESS_DENIED},
          Case{EMFILE, ERROR_TOO_MANY_OPEN_FILES}, Case{ENOSPC, ERROR_DISK_FULL},
          Case{EDQUOT, ERROR_DISK_FULL}, Case{EFBIG, ERROR_DISK_FULL},
          Case{EEXIST, ERROR_FILE_EXISTS}, Case{ENOTDIR, ERROR_PATH_NOT_FOUND},
          Case{EROFS, ERROR_WRITE_PROTECT}, Case{ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
          Case{ENOTEMPTY, ERROR_DIR_NOT_EMPTY}, Case{EXDEV, ERROR_NOT_SAME_DEVICE},
          Case{ENOMEDIUM, ERROR_NOT_READY}, Case{EBADF, ERROR_INVALID_HANDLE}}) {
        EXPECT_EQ(ErrorFromErrno(c.error), c.expected) << c.error;
    }
    EXPECT_EQ(ErrorFromErrno(EEXIST, {}, true), ERROR_ALREADY_EXISTS);
}

TEST(LastError, MissingFileOrMissingFolder) {
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    EXPECT_EQ(ErrorFromErrno(ENOENT, base + "/chybi.wav"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorFromErrno(ENOENT, base + "/chybi/x.wav"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ErrorFromErrno(ENOENT, base + "/chybi/"), ERROR_FILE_NOT_FOUND);
}

TEST(LastError, BelongsToEachThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seen = 1;
    std::thread other([&seen] {
        seen = GetLastError();
        SetLastError(ERROR_DISK_FULL);
    });
    other.join();
    EXPECT_EQ(seen, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Fail(ERROR_NOT_READY));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

} // namespace
