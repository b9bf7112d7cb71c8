#include "tests/support/FatVolume.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace {

// Runs a program to its end; an empty text when it succeeded, else what went wrong.
QString Run(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty() &&
        QStandardPaths::findExecutable(program, {"/sbin", "/usr/sbin"}).isEmpty())
        return program + " is not installed";
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return program + " failed: " + QString::fromLocal8Bit(process.readAll()).trimmed();
    return QString();
}

} // namespace

FatVolume::FatVolume(const QString& mountPoint, const QString& image, qint64 size)
    : mountPoint_(mountPoint) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        problem_ = "no /dev/fuse on this machine";
        return;
    }
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size)) {
        problem_ = "cannot make the image " + image;
        return;
    }
    file.close();
    problem_ = Run("mkfs.vfat", {image});
    if (problem_.isEmpty())
        problem_ = Run("fusefat", {"-s", "-o", "rw+", image, mountPoint});
}

FatVolume::~FatVolume() {
    if (Mounted())
        Run("fusermount", {"-u", "-z", mountPoint_}); // lazily: the process may still be inside
}
