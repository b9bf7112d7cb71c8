#include "platform/files/CurrentDirectories.h"

#include "platform/files/paths.h"

#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

QByteArray RealWorkingDirectory() {
    QByteArray buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}

} // namespace

CurrentDirectories& CurrentDirectories::Instance() {
    static CurrentDirectories instance;
    return instance;
}

std::optional<QString> CurrentDirectories::Current() {
    const std::lock_guard lock(mutex);
    if (!known || RealDirectoryMoved()) {
        FollowRealDirectory();
    }
    return current;
}

QString CurrentDirectories::OfDrive(QChar letter) {
    const std::lock_guard lock(mutex);
    if (!known || RealDirectoryMoved()) {
        FollowRealDirectory();
    }
    const auto it = byDrive.find(letter.toUpper());
    return it != byDrive.end() ? *it : QString(letter) + ":\\";
}

void CurrentDirectories::Entered(const ResolvedPath& path) {
    const std::lock_guard lock(mutex);
    current = path.WindowsPath;
    if (!path.WindowsPath.startsWith("\\\\")) {
        byDrive.insert(QChar(path.Drive), path.WindowsPath);
    }
    struct stat info {};
    known = ::stat(".", &info) == 0;
    device = info.st_dev;
    inode = info.st_ino;
}

void CurrentDirectories::Reset() {
    const std::lock_guard lock(mutex);
    byDrive.clear();
    current.reset();
    known = false;
}

void CurrentDirectories::Forget(QChar letter) {
    const std::lock_guard lock(mutex);
    byDrive.remove(letter.toUpper());
}

bool CurrentDirectories::RealDirectoryMoved() const {
    struct stat info {};
    return ::stat(".", &info) != 0 || info.st_dev != device || info.st_ino != inode;
}

void CurrentDirectories::FollowRealDirectory() {
    struct stat info {};
    known = ::stat(".", &info) == 0;
    device = info.st_dev;
    inode = info.st_ino;
    current = ToWindowsPath(RealWorkingDirectory());
    if (current) {
        byDrive.insert(current->at(0).toUpper(), *current);
    }
}

} // namespace win32
