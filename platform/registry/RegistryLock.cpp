#include "platform/registry/RegistryLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace win32 {

RegistryLock::RegistryLock(const QString& lockPath) {
    fd_ = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(fd_, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    locked_ = result == 0;
}

RegistryLock::~RegistryLock() {
    // Closing the descriptor releases the lock.
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

} // namespace win32
