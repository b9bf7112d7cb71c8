#pragma once
// The drive map: which drive letters exist and which POSIX folder, kind, label and network name
// each stands for. Built from ZVONKAR_DRIVES when it is set, else from the mounted volumes.

#include "platform/core/windef.h"
#include "platform/files/MountTable.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace win32 {

struct Drive {
    char Letter = 0;         // 'A'..'Z'
    QByteArray Folder;       // absolute POSIX folder, no trailing slash except "/"
    QByteArray RealFolder;   // Folder with symbolic links resolved (for getcwd), when present
    UINT Type = DRIVE_FIXED; // DRIVE_REMOVABLE ... DRIVE_RAMDISK
    QString Label;           // volume label, may be empty
    QString RemoteName;      // "\\server\share" for a network drive
    QString FileSystem;      // file-system type ("ext4", "vfat"...), empty when unknown
    QByteArray Device;       // the device it is mounted from, or the optical drive's device

    bool operator==(const Drive&) const = default;
};

// What the default map needs to know of the machine besides its mount table; the real answers
// come from /dev/disk/by-label and /sys, tests give their own.
struct MachineFacts {
    QHash<QByteArray, QString> LabelsByDevice;           // "/dev/sdb1" -> "ZVUKY"
    std::function<bool(const QByteArray&)> IsRemovable;  // device path -> removable medium
    QList<QByteArray> OpticalDevices;                    // "/dev/sr0"..., with or without a disc
    std::function<QString(const QByteArray&)> ReadLabel; // the label a source itself records
    static MachineFacts Read();
};

class DriveMap {
public:
    // The map of exactly these drives (tests use it to give a drive the facts of a volume
    // they cannot mount, such as the file system).
    explicit DriveMap(QList<Drive> list = {}) : drives(std::move(list)) {}
    // The map of a ZVONKAR_DRIVES text, "C=/srv/c;D=/tmp/cd,cdrom,AUDIO;N=/mnt/n,remote,\\s\z";
    // kinds fixed (default), removable, cdrom, remote, ram. Unparsable items are skipped with a
    // line on stderr.
    static DriveMap FromDriveList(const QString& text);
    // The map of a /proc/self/mountinfo text: C: is "/", then volumes mounted under /media,
    // /run/media and /mnt, then optical drives, from D: on in a stable order.
    static DriveMap FromMountInfo(const QByteArray& mountInfo, const MachineFacts& facts);
    // ZVONKAR_DRIVES when set (its drives whose folder is a mount point take the file system
    // and, unless the list names one, the label of that volume), else the mounted volumes of
    // this process; these with the letters of `previous` kept (see KeepingLettersOf) when it
    // is given.
    static DriveMap FromEnvironment(const DriveMap* previous = nullptr);
    // Gives each drive whose folder is one of these mount points its volume's facts.
    void TakeFactsOfMounts(const QList<Mount>& mounts, const MachineFacts& facts);

    // This map lettered after `previous`: a drive that was there before (the same folder, or for
    // an optical drive the same device) keeps its letter, so that nothing is renumbered when a
    // volume comes or goes; a new one takes the first letter free from D: on (the root C:).
    DriveMap KeepingLettersOf(const DriveMap& previous) const;

    bool operator==(const DriveMap&) const = default;

    const QList<Drive>& Drives() const { return drives; }
    const Drive* Find(char letter) const; // either case; null when absent
    // The drive whose network name prefixes `components` ("srv", "zvuky", ...), ignoring case;
    // `matched` gets the number of components of its name.
    const Drive* FindRemote(const QStringList& components, int* matched) const;
    // The drive whose folder holds `posixPath` (the deepest such folder), or null.
    const Drive* FindByPosixPath(const QByteArray& posixPath, QByteArray* rest) const;

    // FS_CASE_* flags of a file-system type name.
    static DWORD VolumeFlags(const QString& fileSystem);

private:
    QList<Drive> drives;
};

// The map in force; replaced whole by ReloadDriveMap().
std::shared_ptr<const DriveMap> CurrentDriveMap();
void SetCurrentDriveMap(DriveMap map);

// True when the drive's folder exists (its medium is present); otherwise sets error 21.
bool DriveHasMedium(const Drive& drive);

} // namespace win32
