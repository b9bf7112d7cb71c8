#include "tests/support/TempDrives.h"

#include "platform/files/curdir.h"
#include "platform/files/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The tree is walked by its bytes: a name that is not UTF-8 has no QString that reaches it.
int MakeFolderWritable(const char* path, const struct stat*, int type, struct FTW*) {
    if (type == FTW_D)
        ::chmod(path, 0755);
    return 0;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    ::remove(path);
    return 0;
}

std::optional<QByteArray> SavedVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<QByteArray>(value) : std::nullopt;
}

void RestoreVariable(const char* name, const std::optional<QByteArray>& value) {
    if (value) {
        qputenv(name, *value);
    } else {
        qunsetenv(name);
    }
}

} // namespace

TempDrives::TempDrives(std::initializer_list<TempDrive> list)
    : drives(list), savedDrives(SavedVariable("ZVONKAR_DRIVES")),
      savedConfigHome(SavedVariable("XDG_CONFIG_HOME")) {
    char* cwd = ::getcwd(nullptr, 0);
    savedDirectory = cwd != nullptr ? QByteArray(cwd) : QByteArray("/");
    std::free(cwd);

    QStringList items;
    for (const TempDrive& drive : drives) {
        if (!drive.NoMedium) {
            QDir().mkpath(FolderOf(drive.Letter));
        }
        QString item = QString(QChar(drive.Letter)) + '=' + FolderOf(drive.Letter);
        if (!drive.Kind.isEmpty() || !drive.Label.isEmpty()) {
            item += ',' + (drive.Kind.isEmpty() ? QString("fixed") : drive.Kind);
        }
        if (!drive.Label.isEmpty()) {
            item += ',' + drive.Label;
        }
        items.append(item);
    }
    QDir().mkpath(root.path() + "/config");
    qputenv("ZVONKAR_DRIVES", items.join(';').toUtf8());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.path() + "/config"));
    win32::ReloadDriveMap();
    if (!drives.empty() && !drives.front().NoMedium) {
        win32::SetCurrentDirectory(QString(QChar(drives.front().Letter)) + ":\\");
    }
}

TempDrives::~TempDrives() {
    if (::chdir(savedDirectory.constData()) != 0 && ::chdir("/") != 0) {
        std::perror("TempDrives: chdir");
    }
    // Every folder gets its owner's write permission back first, so that all can be removed.
    const QByteArray tree = QFile::encodeName(root.path());
    ::nftw(tree.constData(), MakeFolderWritable, 16, FTW_PHYS);
    ::nftw(tree.constData(), RemoveEntry, 16, FTW_PHYS | FTW_DEPTH);
    RestoreVariable("ZVONKAR_DRIVES", savedDrives);
    RestoreVariable("XDG_CONFIG_HOME", savedConfigHome);
    win32::ReloadDriveMap();
}

QString TempDrives::Root() const {
    return root.path();
}

QString TempDrives::FolderOf(char letter) const {
    for (const TempDrive& drive : drives) {
        if (drive.Letter == letter) {
            return QDir::isAbsolutePath(drive.Folder) ? drive.Folder
                                                      : root.path() + '/' + drive.Folder;
        }
    }
    return root.path() + "/no-such-drive";
}

QString TempDrives::PosixPath(char letter, const QString& relative) const {
    return relative.isEmpty() ? FolderOf(letter) : FolderOf(letter) + '/' + relative;
}

QString TempDrives::MakeDirectory(char letter, const QString& relative) {
    const QString path = PosixPath(letter, relative);
    QDir().mkpath(path);
    return path;
}

QString TempDrives::MakeFile(char letter, const QString& relative, const QByteArray& bytes) {
    const QString path = PosixPath(letter, relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
    return path;
}

QString TempDrives::MakeFileOfSize(char letter, const QString& relative, qint64 size) {
    const QString path = MakeFile(letter, relative);
    QFile(path).resize(size);
    return path;
}

void TempDrives::MakeReadOnly(char letter, const QString& relative) {
    const QByteArray path = QFile::encodeName(PosixPath(letter, relative));
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        ::chmod(path.constData(), info.st_mode & 07777 & ~S_IWUSR);
    }
}

std::optional<QByteArray> TempDrives::ReadFile(char letter, const QString& relative) const {
    QFile file(PosixPath(letter, relative));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

bool TempDrives::Exists(char letter, const QString& relative) const {
    return QFileInfo::exists(PosixPath(letter, relative));
}
