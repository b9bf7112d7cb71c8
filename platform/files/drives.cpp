#include "platform/files/drives.h"

#include "platform/core/errhandling.h"
#include "platform/files/CurrentDirectories.h"
#include "platform/files/DriveMap.h"
#include "platform/files/paths.h"

#include <QHash>
#include <cstring>
#include <sys/statfs.h>
#include <sys/statvfs.h>

namespace win32 {

namespace {

// The drive a root text names: "X:", "X:\", "\\server\share\", or "" for the current drive's.
const Drive* DriveOfRoot(const DriveMap& map, const QString& root) {
    QString text = root;
    text.replace('/', '\\');
    if (text.isEmpty()) {
        const std::optional<ResolvedPath> current = ResolvePath(".");
        return current ? map.Find(current->Drive) : nullptr;
    }
    if (text.size() >= 2 && text[1] == ':' && (text.size() == 2 || text == text.left(2) + '\\')) {
        const Drive* drive = map.Find(char(text[0].unicode()));
        if (drive == nullptr) {
            Fail(ERROR_INVALID_DRIVE);
        }
        return drive;
    }
    if (text.startsWith("\\\\")) {
        int matched = 0;
        const Drive* drive = map.FindRemote(text.mid(2).split('\\', Qt::SkipEmptyParts), &matched);
        if (drive == nullptr) {
            Fail(ERROR_BAD_NETPATH);
        }
        return drive;
    }
    Fail(ERROR_INVALID_NAME);
    return nullptr;
}

// The file-system type of a statfs magic number, for drives whose type the map does not tell.
QString FileSystemOf(const struct statfs& info) {
    static const QHash<long, QString> names = {
        {0xEF53, "ext4"},      {0x58465342, "xfs"}, {0x9123683E, "btrfs"},   {0x01021994, "tmpfs"},
        {0x858458F6, "ramfs"}, {0x4D44, "vfat"},    {0x2011BAB0, "exfat"},   {0x5346544E, "ntfs"},
        {0x7366746E, "ntfs3"}, {0x6969, "nfs"},     {0xFF534D42, "cifs"},    {0xFE534D42, "smb3"},
        {0x9660, "iso9660"},   {0x15013346, "udf"}, {0x794C7630, "overlay"}, {0xF2F52010, "f2fs"},
        {0x65735546, "fuse"},
    };
    return names.value(long(info.f_type), "unknown");
}

} // namespace

DWORD GetLogicalDrives() {
    DWORD mask = 0;
    for (const Drive& drive : CurrentDriveMap()->Drives()) {
        mask |= DWORD(1) << (drive.Letter - 'A');
    }
    return mask;
}

UINT GetDriveType(const QString& root) {
    const std::shared_ptr<const DriveMap> map = CurrentDriveMap();
    const Drive* drive = DriveOfRoot(*map, root);
    return drive != nullptr ? drive->Type : DRIVE_NO_ROOT_DIR;
}

std::optional<VolumeInformation> GetVolumeInformation(const QString& root) {
    const std::shared_ptr<const DriveMap> map = CurrentDriveMap();
    const Drive* drive = DriveOfRoot(*map, root);
    if (drive == nullptr || !DriveHasMedium(*drive)) {
        return std::nullopt;
    }
    struct statfs info {};
    if (::statfs(drive->Folder.constData(), &info) != 0) {
        FailWithErrno(errno, drive->Folder);
        return std::nullopt;
    }
    VolumeInformation volume;
    volume.VolumeName = drive->Label;
    volume.FileSystemName = drive->FileSystem.isEmpty() ? FileSystemOf(info) : drive->FileSystem;
    volume.FileSystemFlags = DriveMap::VolumeFlags(volume.FileSystemName);
    volume.MaximumComponentLength = DWORD(info.f_namelen);
    int fsid[2] = {};
    static_assert(sizeof(fsid) == sizeof(info.f_fsid));
    std::memcpy(fsid, &info.f_fsid, sizeof(fsid));
    volume.SerialNumber = DWORD(fsid[0]) ^ DWORD(fsid[1]);
    return volume;
}

std::optional<QString> WNetGetConnection(const QString& localName) {
    if (localName.size() != 2 || localName[1] != ':') {
        Fail(ERROR_BAD_DEVICE);
        return std::nullopt;
    }
    const std::shared_ptr<const DriveMap> map = CurrentDriveMap();
    const Drive* drive = map->Find(char(localName[0].unicode()));
    if (drive == nullptr || drive->Type != DRIVE_REMOTE || drive->RemoteName.isEmpty()) {
        Fail(ERROR_NOT_CONNECTED);
        return std::nullopt;
    }
    return drive->RemoteName;
}

std::optional<DiskFreeSpace> GetDiskFreeSpaceEx(const QString& directory) {
    const std::optional<QByteArray> path = ToPosixPath(directory.isEmpty() ? "." : directory);
    if (!path) {
        return std::nullopt;
    }
    struct statvfs info {};
    if (::statvfs(path->constData(), &info) != 0) {
        FailWithErrno(errno, *path);
        return std::nullopt;
    }
    const qint64 unit = qint64(info.f_frsize);
    return DiskFreeSpace{qint64(info.f_bavail) * unit, qint64(info.f_blocks) * unit,
                         qint64(info.f_bfree) * unit};
}

void ReloadDriveMap() {
    SetCurrentDriveMap(DriveMap::FromEnvironment());
    CurrentDirectories::Instance().Reset();
}

bool RefreshDriveMap() {
    const std::shared_ptr<const DriveMap> previous = CurrentDriveMap();
    DriveMap fresh = DriveMap::FromEnvironment(previous.get());
    if (fresh == *previous) {
        return false;
    }
    for (const Drive& before : previous->Drives()) {
        const Drive* now = fresh.Find(before.Letter);
        if (now == nullptr || now->Folder != before.Folder) {
            CurrentDirectories::Instance().Forget(QChar(before.Letter));
        }
    }
    SetCurrentDriveMap(std::move(fresh));
    return true;
}

} // namespace win32
