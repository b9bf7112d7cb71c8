#include "platform/files/MountTable.h"

#include <QFile>

namespace win32 {

namespace {

// Mount points and sources in mountinfo escape blanks, tabs, newlines and backslashes as \ooo.
QByteArray UnescapeOctal(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            bool ok = false;
            const int value = text.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(text[i]);
    }
    return out;
}

// fusefat serves the same FAT volume that the kernel's vfat driver would; the program treats
// the two alike (names, letter case, largest file).
QByteArray NormalisedType(const QByteArray& type) {
    return type == "fuse.fusefat" ? QByteArray("vfat") : type;
}

bool IsUnder(const QByteArray& path, const QByteArray& folder) {
    return folder == "/" || path == folder || path.startsWith(folder + '/');
}

} // namespace

QList<Mount> MountTable::Parse(const QByteArray& text) {
    QList<Mount> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (fields.size() < 7 || separator < 0 || separator + 2 >= fields.size()) {
            continue;
        }
        const Mount mount{UnescapeOctal(fields[4]), NormalisedType(fields[separator + 1]),
                          UnescapeOctal(fields[separator + 2])};
        mounts.removeIf([&](const Mount& m) { return m.MountPoint == mount.MountPoint; });
        mounts.append(mount);
    }
    return mounts;
}

QList<Mount> MountTable::Read() {
    QFile mountInfo("/proc/self/mountinfo");
    return Parse(mountInfo.open(QIODevice::ReadOnly) ? mountInfo.readAll() : QByteArray());
}

std::optional<Mount> MountTable::Holding(const QByteArray& realPath) {
    std::optional<Mount> best;
    for (const Mount& mount : Read()) {
        if (IsUnder(realPath, mount.MountPoint) &&
            (!best || mount.MountPoint.size() >= best->MountPoint.size())) {
            best = mount;
        }
    }
    return best;
}

} // namespace win32
