#pragma once
// A real FAT volume for one test, as memory cards and sticks carry: an image made by mkfs.vfat,
// given files as a sampler or recorder writes them (mtools, before mounting), mounted through
// FUSE (fusefat) in a temporary folder, and unmounted and removed on destruction. Where the
// machine cannot mount it (no /dev/fuse, no permission, a tool missing) SkipReason() says why.
//
//   FatVolume card({.Label = "SAMPLER", .Files = {{"Kopák.wav", bytes}}});
//   if (!card.SkipReason().isEmpty())
//       GTEST_SKIP() << card.SkipReason().toStdString();
//   TempDrives drives({{'C', "c"}, {'D', card.MountPoint()}});
//
// fusefat lists the volume label as an empty file in the root; the kernel's driver does not.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

struct FatVolumeOptions {
    QString Label = "SAMPLER";
    qint64 Size = 64LL << 20; // bytes of the (sparse) image; FAT16 at this size
    bool Fat32 = false;
    QList<QPair<QString, QByteArray>> Files = {}; // root files, written before mounting
    QString At = {}; // where it is mounted; a folder of its own when empty
};

class FatVolume {
public:
    explicit FatVolume(const FatVolumeOptions& options = {});
    ~FatVolume();
    FatVolume(const FatVolume&) = delete;
    FatVolume& operator=(const FatVolume&) = delete;

    // Empty when the volume is mounted; otherwise why it is not.
    QString SkipReason() const { return reason; }
    QString MountPoint() const { return at; }
    QString Image() const { return dir.path() + "/card.img"; }

private:
    bool Run(const QString& program, const QStringList& arguments);

    QTemporaryDir dir;
    QString at;
    QString reason;
    bool mounted = false;
};
