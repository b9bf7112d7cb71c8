#pragma once
// A real FAT file system, as on a memory card: an image file made with mkfs.vfat and mounted
// through FUSE (fusefat) on a folder while the object lives. Where the machine cannot mount it
// (no /dev/fuse, no fusefat), Mounted() is false and Problem() tells why, for GTEST_SKIP().
//
//   FatVolume card(drives.PosixPath('D'), drives.Root() + "/card.img", 64 << 20);
//   if (!card.Mounted()) GTEST_SKIP() << card.Problem().toStdString();

#include <QString>

class FatVolume {
public:
    FatVolume(const QString& mountPoint, const QString& image, qint64 size);
    ~FatVolume();
    FatVolume(const FatVolume&) = delete;
    FatVolume& operator=(const FatVolume&) = delete;

    bool Mounted() const { return problem_.isEmpty(); }
    QString Problem() const { return problem_; }

private:
    QString mountPoint_;
    QString problem_;
};
