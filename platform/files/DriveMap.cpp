#include "platform/files/DriveMap.h"

#include "platform/core/errhandling.h"
#include "platform/files/MountTable.h"
#include "platform/files/VolumeLabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>

namespace win32 {

namespace {

QByteArray TrimFolder(QByteArray folder) {
    while (folder.size() > 1 && folder.endsWith('/')) {
        folder.chop(1);
    }
    return folder;
}

QByteArray RealPathOf(const QByteArray& path) {
    char* resolved = ::realpath(path.constData(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

std::optional<UINT> KindOf(const QString& name) {
    static const QHash<QString, UINT> kinds = {{"fixed", DRIVE_FIXED},
                                               {"removable", DRIVE_REMOVABLE},
                                               {"cdrom", DRIVE_CDROM},
                                               {"remote", DRIVE_REMOTE},
                                               {"ram", DRIVE_RAMDISK}};
    const auto it = kinds.find(name.trimmed().toLower());
    return it == kinds.end() ? std::nullopt : std::optional<UINT>(*it);
}

void Warn(const QString& item, const char* why) {
    std::fprintf(stderr, "zvonkar: ZVONKAR_DRIVES item \"%s\" skipped: %s\n",
                 item.toUtf8().constData(), why);
}

bool IsUnder(const QByteArray& path, const QByteArray& folder) {
    return path == folder || path.startsWith(folder + '/');
}

bool IsVolumeMountPoint(const QByteArray& mountPoint) {
    return IsUnder(mountPoint, "/media") || IsUnder(mountPoint, "/run/media") ||
           IsUnder(mountPoint, "/mnt");
}

bool IsPseudoFileSystem(const QByteArray& type) {
    static const QList<QByteArray> pseudo = {
        "autofs",      "proc",     "sysfs",   "devpts",     "cgroup",   "cgroup2",
        "binfmt_misc", "debugfs",  "tracefs", "securityfs", "pstore",   "bpf",
        "mqueue",      "configfs", "fusectl", "hugetlbfs",  "devtmpfs", "nsfs"};
    return pseudo.contains(type);
}

bool IsRemoteFileSystem(const QByteArray& type) {
    static const QList<QByteArray> remote = {"nfs",   "nfs4",  "cifs",       "smb3",
                                             "smbfs", "sshfs", "fuse.sshfs", "9p"};
    return remote.contains(type);
}

// "//server/share/dir", "server:/export/dir" and "user@host:dir" all read "\\server\share\dir".
QString RemoteNameOf(const QByteArray& source) {
    QString text = QString::fromUtf8(source);
    if (!text.startsWith("//")) {
        const qsizetype at = text.indexOf('@');
        if (at >= 0 && at < text.indexOf(':')) {
            text = text.mid(at + 1);
        }
        text.replace(':', '/');
    }
    const QStringList parts = text.split('/', Qt::SkipEmptyParts);
    return "\\\\" + parts.join('\\');
}

UINT KindOfMount(const Mount& mount, const MachineFacts& facts) {
    const QByteArray& type = mount.FileSystem;
    if (facts.OpticalDevices.contains(mount.Source) || type == "iso9660" || type == "udf") {
        return DRIVE_CDROM;
    }
    if (IsRemoteFileSystem(type)) {
        return DRIVE_REMOTE;
    }
    if (type == "tmpfs" || type == "ramfs") {
        return DRIVE_RAMDISK;
    }
    if ((type == "vfat" || type == "exfat" || type == "msdos") && facts.IsRemovable &&
        facts.IsRemovable(mount.Source)) {
        return DRIVE_REMOVABLE;
    }
    return DRIVE_FIXED;
}

// udev's name for the device first; a source it does not know (an image behind FUSE, a machine
// without udev) is asked itself.
QString LabelOf(const QByteArray& source, const MachineFacts& facts) {
    const auto known = facts.LabelsByDevice.find(source);
    if (known != facts.LabelsByDevice.end()) {
        return *known;
    }
    return facts.ReadLabel ? facts.ReadLabel(source) : QString();
}

Drive DriveOfMount(char letter, const Mount& mount, const MachineFacts& facts) {
    Drive drive;
    drive.Letter = letter;
    drive.Folder = mount.MountPoint;
    drive.RealFolder = mount.MountPoint;
    drive.Type = KindOfMount(mount, facts);
    drive.FileSystem = QString::fromUtf8(mount.FileSystem);
    drive.Label = LabelOf(mount.Source, facts);
    drive.Device = mount.Source;
    if (drive.Type == DRIVE_REMOTE) {
        drive.RemoteName = RemoteNameOf(mount.Source);
    }
    return drive;
}

// udev writes a label's unsafe characters as \xNN.
QString UnescapeLabel(const QString& name) {
    QByteArray out;
    const QByteArray bytes = name.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(bytes[i]);
    }
    return QString::fromUtf8(out);
}

bool ReadsOne(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == "1";
}

std::mutex mapMutex;
std::shared_ptr<const DriveMap> currentMap;

} // namespace

MachineFacts MachineFacts::Read() {
    MachineFacts facts;
    const QDir labels("/dev/disk/by-label");
    for (const QFileInfo& link : labels.entryInfoList(QDir::System | QDir::Files)) {
        facts.LabelsByDevice.insert(RealPathOf(QFile::encodeName(link.absoluteFilePath())),
                                    UnescapeLabel(link.fileName()));
    }
    for (const QString& name : QDir("/sys/class/block").entryList({"sr*"}, QDir::System)) {
        facts.OpticalDevices.append("/dev/" + QFile::encodeName(name));
    }
    std::sort(facts.OpticalDevices.begin(), facts.OpticalDevices.end());
    facts.IsRemovable = [](const QByteArray& device) {
        if (!device.startsWith("/dev/")) {
            return false;
        }
        const QString block = "/sys/class/block/" + QFile::decodeName(device.mid(5));
        return ReadsOne(block + "/removable") ||
               ReadsOne(QFileInfo(block).canonicalFilePath() + "/../removable");
    };
    facts.ReadLabel = ReadVolumeLabel;
    return facts;
}

DriveMap DriveMap::FromDriveList(const QString& text) {
    DriveMap map;
    for (const QString& item : text.split(';', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf('=');
        const QString letterText = item.left(equals).trimmed().toUpper();
        if (equals < 0 || letterText.size() != 1 || letterText[0] < 'A' || letterText[0] > 'Z') {
            Warn(item, "no drive letter");
            continue;
        }
        const QStringList fields = item.mid(equals + 1).split(',');
        const QByteArray folder = TrimFolder(QFile::encodeName(fields[0].trimmed()));
        const std::optional<UINT> kind =
            fields.size() > 1 ? KindOf(fields[1]) : std::optional<UINT>(DRIVE_FIXED);
        if (!folder.startsWith('/')) {
            Warn(item, "the folder is not absolute");
            continue;
        }
        if (!kind) {
            Warn(item, "unknown kind");
            continue;
        }
        const char letter = char(letterText[0].unicode());
        if (map.Find(letter) != nullptr) {
            Warn(item, "the letter is taken");
            continue;
        }
        Drive drive;
        drive.Letter = letter;
        drive.Folder = folder;
        drive.RealFolder = RealPathOf(folder);
        drive.Type = *kind;
        const QString third = fields.size() > 2 ? fields.mid(2).join(',') : QString();
        (drive.Type == DRIVE_REMOTE ? drive.RemoteName : drive.Label) = third;
        map.drives.append(drive);
    }
    std::sort(map.drives.begin(), map.drives.end(),
              [](const Drive& a, const Drive& b) { return a.Letter < b.Letter; });
    return map;
}

DriveMap DriveMap::FromMountInfo(const QByteArray& mountInfo, const MachineFacts& facts) {
    DriveMap map;
    QList<Mount> volumes;
    QList<QByteArray> optical = facts.OpticalDevices;
    std::sort(optical.begin(), optical.end());
    const QList<Mount> mounts = MountTable::Parse(mountInfo);
    for (const Mount& mount : mounts) {
        if (mount.MountPoint == "/") {
            map.drives.append(DriveOfMount('C', mount, facts));
            map.drives.back().Type = DRIVE_FIXED;
        } else if (IsVolumeMountPoint(mount.MountPoint) && !IsPseudoFileSystem(mount.FileSystem) &&
                   !optical.contains(mount.Source)) {
            volumes.append(mount);
        }
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Mount& a, const Mount& b) { return a.MountPoint < b.MountPoint; });
    char letter = 'D';
    for (const Mount& mount : volumes) {
        if (letter > 'Z') {
            return map;
        }
        map.drives.append(DriveOfMount(letter++, mount, facts));
    }
    // Optical drives come last, in device order, so that a drive keeps its letter whether or
    // not a disc is in it; an empty one has no folder and so no medium.
    for (const QByteArray& device : optical) {
        if (letter > 'Z') {
            break;
        }
        const auto mounted = std::find_if(mounts.begin(), mounts.end(),
                                          [&](const Mount& m) { return m.Source == device; });
        if (mounted != mounts.end()) {
            map.drives.append(DriveOfMount(letter++, *mounted, facts));
            continue;
        }
        Drive drive;
        drive.Letter = letter++;
        drive.Type = DRIVE_CDROM;
        drive.Device = device;
        map.drives.append(drive);
    }
    return map;
}

DriveMap DriveMap::FromEnvironment(const DriveMap* previous) {
    const QByteArray listed = qgetenv("ZVONKAR_DRIVES");
    if (!listed.isEmpty()) {
        DriveMap map = FromDriveList(QString::fromUtf8(listed));
        map.TakeFactsOfMounts(MountTable::Read(), MachineFacts::Read());
        return map;
    }
    QFile mountInfo("/proc/self/mountinfo");
    const QByteArray text = mountInfo.open(QIODevice::ReadOnly) ? mountInfo.readAll() : "";
    DriveMap map = FromMountInfo(text, MachineFacts::Read());
    if (map.Find('C') == nullptr) {
        // Without a readable mount table the root still makes drive C.
        Drive root;
        root.Letter = 'C';
        root.Folder = root.RealFolder = "/";
        map.drives.prepend(root);
    }
    return previous != nullptr ? map.KeepingLettersOf(*previous) : map;
}

DriveMap DriveMap::KeepingLettersOf(const DriveMap& previous) const {
    // An optical drive is known by its device, with or without a disc; a volume by its folder.
    const auto sameDrive = [](const Drive& a, const Drive& b) {
        const bool optical = a.Type == DRIVE_CDROM && !a.Device.isEmpty();
        return optical ? a.Device == b.Device : !a.Folder.isEmpty() && a.Folder == b.Folder;
    };
    DriveMap map;
    QList<Drive> newcomers;
    for (const Drive& drive : drives) {
        const auto before = std::find_if(previous.drives.begin(), previous.drives.end(),
                                         [&](const Drive& d) { return sameDrive(drive, d); });
        if (before != previous.drives.end() && map.Find(before->Letter) == nullptr) {
            map.drives.append(drive);
            map.drives.back().Letter = before->Letter;
        } else {
            newcomers.append(drive);
        }
    }
    for (const Drive& drive : newcomers) {
        char letter = drive.Folder == "/" ? 'C' : 'D';
        while (letter <= 'Z' && map.Find(letter) != nullptr) {
            ++letter;
        }
        if (letter <= 'Z') {
            map.drives.append(drive);
            map.drives.back().Letter = letter;
        }
    }
    std::sort(map.drives.begin(), map.drives.end(),
              [](const Drive& a, const Drive& b) { return a.Letter < b.Letter; });
    return map;
}

void DriveMap::TakeFactsOfMounts(const QList<Mount>& mounts, const MachineFacts& facts) {
    for (Drive& drive : drives) {
        const auto mount = std::find_if(mounts.begin(), mounts.end(), [&](const Mount& m) {
            return !drive.RealFolder.isEmpty() && m.MountPoint == drive.RealFolder;
        });
        if (mount == mounts.end()) {
            continue;
        }
        drive.FileSystem = QString::fromUtf8(mount->FileSystem);
        if (drive.Label.isEmpty() && drive.Type != DRIVE_REMOTE) {
            drive.Label = LabelOf(mount->Source, facts);
        }
    }
}

const Drive* DriveMap::Find(char letter) const {
    const char upper = (letter >= 'a' && letter <= 'z') ? char(letter - 'a' + 'A') : letter;
    for (const Drive& drive : drives) {
        if (drive.Letter == upper) {
            return &drive;
        }
    }
    return nullptr;
}

const Drive* DriveMap::FindRemote(const QStringList& components, int* matched) const {
    const Drive* best = nullptr;
    int bestLength = 0;
    for (const Drive& drive : drives) {
        if (drive.Type != DRIVE_REMOTE || drive.RemoteName.isEmpty()) {
            continue;
        }
        const QStringList name = drive.RemoteName.split('\\', Qt::SkipEmptyParts);
        if (name.size() <= bestLength || name.size() > components.size()) {
            continue;
        }
        bool equal = true;
        for (qsizetype i = 0; i < name.size() && equal; ++i) {
            equal = name[i].compare(components[i], Qt::CaseInsensitive) == 0;
        }
        if (equal) {
            best = &drive;
            bestLength = int(name.size());
        }
    }
    if (matched != nullptr) {
        *matched = bestLength;
    }
    return best;
}

const Drive* DriveMap::FindByPosixPath(const QByteArray& posixPath, QByteArray* rest) const {
    const Drive* best = nullptr;
    qsizetype bestLength = -1;
    QByteArray bestRest;
    for (const Drive& drive : drives) {
        for (const QByteArray& folder : {drive.Folder, drive.RealFolder}) {
            if (folder.isEmpty() || folder.size() <= bestLength) {
                continue;
            }
            if (folder == "/" || IsUnder(posixPath, folder)) {
                best = &drive;
                bestLength = folder.size();
                bestRest = folder == "/" ? posixPath.mid(1) : posixPath.mid(folder.size() + 1);
            }
        }
    }
    if (rest != nullptr) {
        *rest = bestRest;
    }
    return best;
}

DWORD DriveMap::VolumeFlags(const QString& fileSystem) {
    static const QStringList preservingOnly = {"vfat",    "exfat", "ntfs", "ntfs3",
                                               "fuseblk", "cifs",  "smb3", "smbfs"};
    if (fileSystem == "msdos") {
        return 0;
    }
    if (preservingOnly.contains(fileSystem)) {
        return FS_CASE_IS_PRESERVED;
    }
    return FS_CASE_SENSITIVE | FS_CASE_IS_PRESERVED;
}

std::shared_ptr<const DriveMap> CurrentDriveMap() {
    const std::lock_guard lock(mapMutex);
    if (!currentMap) {
        currentMap = std::make_shared<const DriveMap>(DriveMap::FromEnvironment());
    }
    return currentMap;
}

void SetCurrentDriveMap(DriveMap map) {
    const std::lock_guard lock(mapMutex);
    currentMap = std::make_shared<const DriveMap>(std::move(map));
}

bool DriveHasMedium(const Drive& drive) {
    struct stat info {};
    if (drive.Folder.isEmpty() || ::stat(drive.Folder.constData(), &info) != 0 ||
        !S_ISDIR(info.st_mode)) {
        return Fail(ERROR_NOT_READY);
    }
    return true;
}

} // namespace win32
