#pragma once
// The mounts of this process, as /proc/self/mountinfo lists them: where each volume is mounted,
// its file-system type and its source. Any thread; each call reads the table afresh.

#include <QByteArray>
#include <QList>
#include <optional>

namespace win32 {

struct Mount {
    QByteArray MountPoint;
    QByteArray FileSystem; // a FUSE driver for FAT reads "vfat", as the kernel's own does
    QByteArray Source;     // "/dev/sdb1", an image file, "//server/share"...
};

class MountTable {
public:
    // The mounts of a mountinfo text, a later mount on the same point hiding the earlier one.
    static QList<Mount> Parse(const QByteArray& mountInfo);
    static QList<Mount> Read();
    // The mount that holds an absolute path with symbolic links resolved: the deepest mount
    // point that is the path or one of its parents.
    static std::optional<Mount> Holding(const QByteArray& realPath);
};

} // namespace win32
