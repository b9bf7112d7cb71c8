#pragma once
// The drive services: which drive letters exist, their kinds, volume facts, network names and
// free space, all answered from the drive map (see DriveMap). GUI thread or any other thread.
//
// Errors: 15 for a letter that is not in the map, 21 for a drive whose medium is missing (its
// folder does not exist), 53 for a network root no drive is mapped to, otherwise from errno.

#include "platform/core/windef.h"

#include <QString>
#include <optional>

namespace win32 {

// Bit 0 for A: ... bit 25 for Z:, set for each drive of the map.
DWORD GetLogicalDrives();
// The kind of the drive of a root ("C:\", "C:", or "" for the current directory's drive);
// DRIVE_NO_ROOT_DIR for a letter outside the map or a text that is not a root.
UINT GetDriveType(const QString& root);

struct VolumeInformation {
    QString VolumeName;
    DWORD SerialNumber = 0;
    DWORD MaximumComponentLength = 0;
    DWORD FileSystemFlags = 0;
    QString FileSystemName;
};
// The volume of a root ("C:\" or "\\server\share\").
std::optional<VolumeInformation> GetVolumeInformation(const QString& root);

// The remote name of a network drive: "N:" -> "\\srv\zvuky". 2250 for a drive that is not a
// network drive, 1200 for a text that is not a drive name.
std::optional<QString> WNetGetConnection(const QString& localName);

struct DiskFreeSpace {
    qint64 FreeBytesAvailableToCaller = 0;
    qint64 TotalNumberOfBytes = 0;
    qint64 TotalNumberOfFreeBytes = 0;
};
// The space of the volume holding `directory`; an empty text means the current directory's.
std::optional<DiskFreeSpace> GetDiskFreeSpaceEx(const QString& directory);

// Reads the drive map again (ZVONKAR_DRIVES, else the mounted volumes) and resets every drive's
// current directory to its root and the current directory to the process's real one.
void ReloadDriveMap();
// Reads the mounted volumes again after volumes came or went, keeping the letter of every drive
// that is still there; a new volume takes the first free letter. A ZVONKAR_DRIVES map is read
// again as it is given. A letter that went away, or now stands for another folder, forgets its
// current directory. True when any drive changed (its folder, kind, label or presence).
bool RefreshDriveMap();

} // namespace win32
