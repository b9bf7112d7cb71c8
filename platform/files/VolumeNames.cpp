#include "platform/files/VolumeNames.h"

#include "platform/core/errhandling.h"
#include "platform/files/MountTable.h"
#include "platform/files/NameMapping.h"

#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>

namespace win32 {

namespace {

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

bool IsFat(const QByteArray& folder) {
    char* resolved = ::realpath(folder.constData(), nullptr);
    if (resolved == nullptr) {
        return false;
    }
    const std::optional<Mount> mount = MountTable::Holding(resolved);
    std::free(resolved);
    return mount && (mount->FileSystem == "vfat" || mount->FileSystem == "msdos");
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

bool VolumeTakesName(const QByteArray& posixPath) {
    const QByteArray name = NameOf(posixPath);
    const bool refusedByFat = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || std::strchr("\\:*?\"<>|", c) != nullptr;
    });
    if (refusedByFat && IsFat(FolderOf(posixPath))) {
        return Fail(ERROR_INVALID_NAME);
    }
    return true;
}

bool IsOtherSpellingOf(const QByteArray& from, const QByteArray& to) {
    const QByteArray folder = FolderOf(from);
    if (FolderOf(to) != folder) {
        return false;
    }
    const QByteArray sourceName = NameOf(from);
    const QString target = WindowsNameOf(NameOf(to));
    if (WindowsNameOf(sourceName).compare(target, Qt::CaseInsensitive) != 0) {
        return false; // no change of letter case; the folder need not be read
    }
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.constData()));
    if (!dir) {
        return false;
    }
    bool sourceListed = false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name == sourceName) {
            sourceListed = true;
        } else if (WindowsNameOf(name).compare(target, Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    return sourceListed;
}

} // namespace win32
