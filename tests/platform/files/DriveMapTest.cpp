// The drive map: ZVONKAR_DRIVES, the default map from a mount table, and the drive services.
#include "platform/files/DriveMap.h"

#include "platform/core/errhandling.h"
#include "platform/files/drives.h"
#include "tests/support/FatVolume.h"
#include "tests/support/TempDrives.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace win32;

namespace {

struct SpecCase {
    const char* text;
    char letter;
    const char* folder;
    UINT type;
    const char* label;
    const char* remote;
};

class DriveSpecification : public ::testing::TestWithParam<SpecCase> {};

TEST_P(DriveSpecification, GivesTheDrive) {
    const SpecCase& c = GetParam();
    const DriveMap map = DriveMap::FromDriveList(QString::fromUtf8(c.text));
    const Drive* drive = map.Find(c.letter);
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(drive->Folder, QByteArray(c.folder));
    EXPECT_EQ(drive->Type, c.type);
    EXPECT_EQ(drive->Label, QString::fromUtf8(c.label));
    EXPECT_EQ(drive->RemoteName, QString::fromUtf8(c.remote));
}

INSTANTIATE_TEST_SUITE_P(
    Items, DriveSpecification,
    ::testing::Values(
        SpecCase{"C=/srv/c", 'C', "/srv/c", DRIVE_FIXED, "", ""},
        SpecCase{"c=/srv/c/", 'C', "/srv/c", DRIVE_FIXED, "", ""},
        SpecCase{"C=/srv/c;D=/tmp/cd,cdrom,AUDIO", 'D', "/tmp/cd", DRIVE_CDROM, "AUDIO", ""},
        SpecCase{"N=/mnt/n,remote,\\\\srv\\zvuky", 'N', "/mnt/n", DRIVE_REMOTE, "",
                 "\\\\srv\\zvuky"},
        SpecCase{"R=/dev/shm,ram", 'R', "/dev/shm", DRIVE_RAMDISK, "", ""},
        SpecCase{"A=/media/a,Removable,Disketa", 'A', "/media/a", DRIVE_REMOVABLE, "Disketa", ""},
        SpecCase{"E=/x,fixed,Zvuky, hudba", 'E', "/x", DRIVE_FIXED, "Zvuky, hudba", ""}));

TEST(DriveSpecificationErrors, SkipsBadItemsAndKeepsTheRest) {
    const DriveMap map =
        DriveMap::FromDriveList("C=/srv/c;1=/x;DD=/y;E=relative;F=/f,floppy;C=/again;G=/g");
    ASSERT_EQ(map.Drives().size(), 2);
    EXPECT_EQ(map.Drives()[0].Folder, "/srv/c");
    EXPECT_EQ(map.Drives()[1].Letter, 'G');
}

const char* const mountInfo = "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                              "21 26 0:20 / /proc rw - proc proc rw\n"
                              "24 23 0:22 / /dev/shm rw - tmpfs tmpfs rw\n"
                              "40 26 8:17 / /media/jan/ZVUKY\\040A rw - vfat /dev/sdb1 rw\n"
                              "41 26 8:33 / /mnt/data rw - ext4 /dev/sdc1 rw\n"
                              "42 26 0:50 / /mnt/share rw - cifs //server/Zvuky rw\n"
                              "43 26 0:51 / /mnt/nfs rw - nfs4 fileserver:/export/audio rw\n"
                              "44 26 0:52 / /run/media/jan/ram rw - tmpfs tmpfs rw\n"
                              "45 26 11:1 / /media/cdrom1 ro - iso9660 /dev/sr1 ro\n"
                              "46 26 0:53 / /mnt/auto rw - autofs systemd-1 rw\n";

TEST(DefaultDriveMap, FromMountTable) {
    MachineFacts facts;
    facts.LabelsByDevice = {{"/dev/vda", "system"}, {"/dev/sdb1", "ZVUKY A"}};
    facts.IsRemovable = [](const QByteArray& device) { return device == "/dev/sdb1"; };
    facts.OpticalDevices = {"/dev/sr1", "/dev/sr0"};
    const DriveMap map = DriveMap::FromMountInfo(mountInfo, facts);

    struct Expected {
        char letter;
        QByteArray folder;
        UINT type;
        QString label;
        QString remote;
    };
    const std::vector<Expected> expected = {
        {'C', "/", DRIVE_FIXED, "system", ""},
        {'D', "/media/jan/ZVUKY A", DRIVE_REMOVABLE, "ZVUKY A", ""},
        {'E', "/mnt/data", DRIVE_FIXED, "", ""},
        {'F', "/mnt/nfs", DRIVE_REMOTE, "", "\\\\fileserver\\export\\audio"},
        {'G', "/mnt/share", DRIVE_REMOTE, "", "\\\\server\\Zvuky"},
        {'H', "/run/media/jan/ram", DRIVE_RAMDISK, "", ""},
        {'I', "", DRIVE_CDROM, "", ""},              // /dev/sr0, no disc
        {'J', "/media/cdrom1", DRIVE_CDROM, "", ""}, // /dev/sr1 with a disc
    };
    ASSERT_EQ(map.Drives().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Drive& drive = map.Drives()[qsizetype(i)];
        SCOPED_TRACE(expected[i].letter);
        EXPECT_EQ(drive.Letter, expected[i].letter);
        EXPECT_EQ(drive.Folder, expected[i].folder);
        EXPECT_EQ(drive.Type, expected[i].type);
        EXPECT_EQ(drive.Label, expected[i].label);
        EXPECT_EQ(drive.RemoteName, expected[i].remote);
    }
    EXPECT_FALSE(DriveHasMedium(map.Drives()[6]));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

// Each step's mount table read after the one before: a drive keeps its letter while it is
// there, so a volume that sorts first does not push the others on, and a new one takes the
// first free letter.
TEST(DefaultDriveMap, VolumesKeepTheirLettersAsOthersComeAndGo) {
    const QByteArray root = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
    const QByteArray b = "2 1 8:17 / /mnt/b rw - ext4 /dev/sdb1 rw\n";
    const QByteArray a = "3 1 8:33 / /mnt/a rw - ext4 /dev/sdc1 rw\n";
    const QByteArray disc = "4 1 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n";
    const QByteArray c = "5 1 8:49 / /mnt/c rw - ext4 /dev/sdd1 rw\n";
    MachineFacts facts;
    facts.OpticalDevices = {"/dev/sr0"};
    const struct {
        QByteArray table;
        const char* letters; // letter and folder of each drive, the optical drive's "-" empty
    } steps[] = {
        {root + b, "C/ D/mnt/b E-"},
        {root + b + a + disc, "C/ D/mnt/b E/media/cdrom F/mnt/a"},
        {root + a, "C/ E- F/mnt/a"},
        {root + a + c, "C/ D/mnt/c E- F/mnt/a"},
    };
    DriveMap map;
    for (const auto& step : steps) {
        map = DriveMap::FromMountInfo(step.table, facts).KeepingLettersOf(map);
        QStringList letters;
        for (const Drive& drive : map.Drives())
            letters << QChar(drive.Letter) + QString(drive.Folder.isEmpty() ? "-" : drive.Folder);
        EXPECT_EQ(letters.join(' '), step.letters);
    }
}

TEST(DefaultDriveMap, VolumeFlagsByFileSystem) {
    const DWORD both = FS_CASE_SENSITIVE | FS_CASE_IS_PRESERVED;
    for (const char* fs : {"ext4", "xfs", "btrfs", "tmpfs"}) {
        EXPECT_EQ(DriveMap::VolumeFlags(fs), both) << fs;
    }
    for (const char* fs : {"vfat", "exfat", "ntfs", "cifs"}) {
        EXPECT_EQ(DriveMap::VolumeFlags(fs), FS_CASE_IS_PRESERVED) << fs;
    }
}

TEST(DriveMapLookup, FindsTheDeepestFolderAndNetworkNames) {
    const DriveMap map =
        DriveMap::FromDriveList("C=/;D=/mnt/d;E=/mnt/d/inner;N=/mnt/n,remote,\\\\srv\\zvuky");
    QByteArray rest;
    EXPECT_EQ(map.FindByPosixPath("/mnt/d/inner/x/y", &rest)->Letter, 'E');
    EXPECT_EQ(rest, "x/y");
    EXPECT_EQ(map.FindByPosixPath("/mnt/dd", &rest)->Letter, 'C');
    EXPECT_EQ(rest, "mnt/dd");
    int matched = 0;
    EXPECT_EQ(map.FindRemote({"SRV", "Zvuky", "dir"}, &matched)->Letter, 'N');
    EXPECT_EQ(matched, 2);
    EXPECT_EQ(map.FindRemote({"srv", "jine"}, &matched), nullptr);
}

TEST(DriveServices, AnswerFromTheMap) {
    TempDrives drives({{'C', "c"},
                       {'D', "cd", "cdrom", "AUDIO"},
                       {.Letter = 'E', .Folder = "e", .Kind = "cdrom", .NoMedium = true},
                       {'N', "n", "remote", "\\\\srv\\zvuky"},
                       {'R', "r", "ram"}});
    EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4) | (1u << 13) | (1u << 17));

    EXPECT_EQ(GetDriveType("C:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveType("d:"), DRIVE_CDROM);
    EXPECT_EQ(GetDriveType("E:\\"), DRIVE_CDROM);
    EXPECT_EQ(GetDriveType("N:\\"), DRIVE_REMOTE);
    EXPECT_EQ(GetDriveType("R:\\"), DRIVE_RAMDISK);
    EXPECT_EQ(GetDriveType("Q:\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveType(""), DRIVE_FIXED);

    const std::optional<VolumeInformation> cd = GetVolumeInformation("D:\\");
    ASSERT_TRUE(cd);
    EXPECT_EQ(cd->VolumeName, "AUDIO");
    EXPECT_GT(cd->MaximumComponentLength, 0u);
    EXPECT_FALSE(cd->FileSystemName.isEmpty());

    EXPECT_EQ(WNetGetConnection("N:"), QString("\\\\srv\\zvuky"));
    EXPECT_FALSE(WNetGetConnection("C:"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_CONNECTED);

    const std::optional<DiskFreeSpace> space = GetDiskFreeSpaceEx("");
    ASSERT_TRUE(space);
    EXPECT_GT(space->TotalNumberOfBytes, 0);
    EXPECT_LE(space->FreeBytesAvailableToCaller, space->TotalNumberOfFreeBytes);
}

TEST(DriveServices, DriveWithoutMediumOrMissing) {
    TempDrives drives({{'C', "c"}, {.Letter = 'E', .Folder = "e", .NoMedium = true}});
    struct Case {
        const char* root;
        DWORD error;
    };
    for (const Case c : {Case{"E:\\", ERROR_NOT_READY}, Case{"Q:\\", ERROR_INVALID_DRIVE}}) {
        SCOPED_TRACE(c.root);
        SetLastError(0);
        EXPECT_FALSE(GetVolumeInformation(c.root));
        EXPECT_EQ(GetLastError(), c.error);
        SetLastError(0);
        EXPECT_FALSE(GetDiskFreeSpaceEx(c.root));
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST(DriveServices, NetworkRootReachesTheMappedDrive) {
    TempDrives drives({{'C', "c"}, {'N', "n", "remote", "\\\\srv\\zvuky"}});
    EXPECT_TRUE(GetVolumeInformation("\\\\SRV\\Zvuky\\"));
    EXPECT_FALSE(GetVolumeInformation("\\\\srv\\jine\\"));
    EXPECT_EQ(GetLastError(), ERROR_BAD_NETPATH);
}

TEST(DriveServices, ReloadFollowsTheEnvironment) {
    TempDrives drives({{'C', "c"}});
    EXPECT_EQ(GetLogicalDrives(), 1u << 2);
    {
        TempDrives other({{'X', "x"}, {'Y', "y"}});
        EXPECT_EQ(GetLogicalDrives(), (1u << 23) | (1u << 24));
    }
    EXPECT_EQ(GetLogicalDrives(), 1u << 2);
}

TEST(ErrorMode, ReturnsThePreviousMode) {
    const UINT original = SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(SetErrorMode(original), SEM_FAILCRITICALERRORS);
}

} // namespace

// A card mounted through FUSE: the mount table tells a FAT volume, its image tells the label,
// and the device's removable flag makes it a removable drive.
TEST(DefaultDriveMap, AFatCardThroughFuseIsACaseIgnoringRemovableDriveWithItsLabel) {
    const FatVolume card;
    if (!card.SkipReason().isEmpty())
        GTEST_SKIP() << card.SkipReason().toStdString();
    QFile mountInfo("/proc/self/mountinfo");
    ASSERT_TRUE(mountInfo.open(QIODevice::ReadOnly));
    const QByteArray mounts =
        mountInfo.readAll().replace(QFile::encodeName(card.MountPoint()), "/media/jana/SAMPLER");
    win32::MachineFacts facts = win32::MachineFacts::Read();
    facts.IsRemovable = [&](const QByteArray& device) {
        return device == QFile::encodeName(card.Image());
    };
    const win32::DriveMap map = win32::DriveMap::FromMountInfo(mounts, facts);
    QByteArray rest;
    const win32::Drive* drive = map.FindByPosixPath("/media/jana/SAMPLER", &rest);
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(drive->Type, win32::DRIVE_REMOVABLE);
    EXPECT_EQ(drive->Label, "SAMPLER");
    EXPECT_EQ(win32::DriveMap::VolumeFlags(drive->FileSystem), win32::FS_CASE_IS_PRESERVED);
}
