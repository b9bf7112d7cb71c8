#include "tests/support/FatVolume.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace {

// mkfs.vfat lives in /sbin, which a user's PATH may lack.
QString Find(const QString& tool) {
    const QString found = QStandardPaths::findExecutable(tool);
    return found.isEmpty() ? QStandardPaths::findExecutable(tool, {"/usr/sbin", "/sbin"}) : found;
}

QString Unmounter() {
    const QString three = Find("fusermount3");
    return three.isEmpty() ? Find("fusermount") : three;
}

} // namespace

FatVolume::FatVolume(const FatVolumeOptions& options)
    : at(options.At.isEmpty() ? dir.path() + "/mnt" : options.At) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        reason = "no usable /dev/fuse: cannot mount a FAT volume through FUSE";
        return;
    }
    for (const char* tool : {"mkfs.vfat", "fusefat", "mcopy"}) {
        if (Find(tool).isEmpty()) {
            reason = QString("%1 is missing (scripts/setup installs it)").arg(tool);
            return;
        }
    }
    QFile image(Image());
    if (!image.open(QIODevice::WriteOnly) || !image.resize(options.Size)) {
        reason = "cannot make the image " + Image();
        return;
    }
    image.close();
    QStringList format = {"-n", options.Label, Image()};
    if (options.Fat32)
        format.prepend("-F32");
    if (!Run("mkfs.vfat", format))
        return;
    for (const auto& [name, bytes] : options.Files) {
        const QString source = dir.path() + "/file";
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            return;
        file.close();
        if (!Run("mcopy", {"-i", Image(), source, "::" + name}))
            return;
    }
    QDir().mkpath(MountPoint());
    // The image as the mount's source, as a card's device would be, and the driver's own name as
    // the type, so that the mount table tells what is mounted there. Single-threaded, since the
    // threaded daemon leaves FUSE's own hidden files behind for names removed while open.
    mounted = Run("fusefat", {"-s", "-o", "rw+,fsname=" + Image() + ",subtype=fusefat", Image(),
                              MountPoint()});
}

FatVolume::~FatVolume() {
    if (mounted)
        Run(Unmounter(), {"-u", "-z", MountPoint()}); // lazily: a process may still be inside
}

bool FatVolume::Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MTOOLS_SKIP_CHECK", "1"); // mtools' checks of the disk's geometry
    process.setProcessEnvironment(environment);
    process.start(Find(program), arguments);
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    reason = QString("%1 %2 failed: %3")
                 .arg(program, arguments.join(' '),
                      QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
    return false;
}
