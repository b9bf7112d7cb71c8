// Deleting, moving and making files and folders.
#include "platform/files/filemanage.h"

#include "platform/core/errhandling.h"
#include "platform/files/drives.h"
#include "platform/files/fileio.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace win32;

namespace {

class FileManagement : public ::testing::Test {
protected:
    void SetUp() override { drives.MakeFile('C', "zvuk.wav", "RIFF-data"); }
    TempDrives drives{{'C', "c"}, {'D', "d"}};
};

TEST_F(FileManagement, DeleteFile) {
    drives.MakeFile('C', "ro.wav");
    drives.MakeReadOnly('C', "ro.wav");
    drives.MakeDirectory('C', "slozka");
    EXPECT_TRUE(DeleteFile("C:\\zvuk.wav"));
    EXPECT_FALSE(drives.Exists('C', "zvuk.wav"));
    struct Case {
        const char* path;
        DWORD error;
    };
    for (const Case c :
         {Case{"C:\\zvuk.wav", ERROR_FILE_NOT_FOUND}, Case{"C:\\chybi\\x", ERROR_PATH_NOT_FOUND},
          Case{"C:\\ro.wav", ERROR_ACCESS_DENIED}, Case{"C:\\slozka", ERROR_ACCESS_DENIED}}) {
        SetLastError(0);
        EXPECT_FALSE(DeleteFile(c.path)) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
    EXPECT_TRUE(drives.Exists('C', "ro.wav"));
}

TEST_F(FileManagement, OpenFilesGoOnlyWithDeleteSharing) {
    HANDLE held = CreateFile("C:\\zvuk.wav", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    EXPECT_FALSE(DeleteFile("C:\\zvuk.wav"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(MoveFile("C:\\zvuk.wav", "C:\\jiny.wav"));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(held);
    held = CreateFile("C:\\zvuk.wav", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                      OPEN_EXISTING, 0);
    EXPECT_TRUE(MoveFile("C:\\zvuk.wav", "C:\\jiny.wav"));
    EXPECT_TRUE(DeleteFile("C:\\jiny.wav"));
    CloseHandle(held);
}

TEST_F(FileManagement, MoveNeverReplaces) {
    drives.MakeFile('C', "jiny.wav", "other");
    EXPECT_FALSE(MoveFile("C:\\zvuk.wav", "C:\\jiny.wav"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(drives.ReadFile('C', "jiny.wav"), QByteArray("other"));
    EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray("RIFF-data"));
}

TEST_F(FileManagement, MoveRenamesAndMovesWithinAVolume) {
    drives.MakeDirectory('C', "slozka");
    ASSERT_TRUE(MoveFile("C:\\zvuk.wav", "C:\\slozka\\novy.wav"));
    EXPECT_EQ(drives.ReadFile('C', "slozka/novy.wav"), QByteArray("RIFF-data"));
    ASSERT_TRUE(MoveFile("C:\\slozka\\novy.wav", "C:\\slozka\\Novy.WAV")); // case only
    EXPECT_TRUE(drives.Exists('C', "slozka/Novy.WAV"));
    EXPECT_FALSE(drives.Exists('C', "slozka/novy.wav"));
    ASSERT_TRUE(MoveFile("C:\\slozka", "C:\\prejmenovana"));
    EXPECT_TRUE(drives.Exists('C', "prejmenovana/Novy.WAV"));
    struct Case {
        const char* from;
        const char* to;
        DWORD error;
    };
    for (const Case c :
         {Case{"C:\\chybi.wav", "C:\\x.wav", ERROR_FILE_NOT_FOUND},
          Case{"C:\\prejmenovana\\Novy.WAV", "C:\\chybi\\x.wav", ERROR_PATH_NOT_FOUND},
          Case{"C:\\prejmenovana\\Novy.WAV", "C:\\a|b.wav", ERROR_INVALID_NAME}}) {
        SetLastError(0);
        EXPECT_FALSE(MoveFile(c.from, c.to)) << c.from << " " << c.to;
        EXPECT_EQ(GetLastError(), c.error) << c.from << " " << c.to;
    }
}

// /dev/shm is a RAM disk, nearly always another volume than the temporary folder.
class CrossVolume : public ::testing::Test {
protected:
    void SetUp() override {
        struct stat tmp {
        }, shm{};
        if (::stat(QFile::encodeName(drives.Root()).constData(), &tmp) != 0 ||
            ::stat("/dev/shm", &shm) != 0 || tmp.st_dev == shm.st_dev || !ram.isValid()) {
            GTEST_SKIP() << "no second volume";
        }
        drives.MakeFile('C', "zvuk.wav", QByteArray(3 << 20, 'z'));
        QFile::setPermissions(drives.PosixPath('C', "zvuk.wav"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        // A drive on the RAM disk beside the test's own; the helper restores the variable.
        qputenv("ZVONKAR_DRIVES",
                qgetenv("ZVONKAR_DRIVES") + ";R=" + QFile::encodeName(ram.path()) + ",ram");
        ReloadDriveMap();
    }
    TempDrives drives{{'C', "c"}};
    QTemporaryDir ram{"/dev/shm/zvonkar-test-XXXXXX"};
};

TEST_F(CrossVolume, CopiesThenRemovesTheSource) {
    ASSERT_TRUE(MoveFile("C:\\zvuk.wav", "R:\\zvuk.wav")) << GetLastError();
    EXPECT_FALSE(drives.Exists('C', "zvuk.wav"));
    QFile moved(ram.path() + "/zvuk.wav");
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), QByteArray(3 << 20, 'z'));
    EXPECT_EQ(moved.permissions() & (QFile::WriteOwner | QFile::WriteGroup), QFile::WriteOwner);
    // Nothing else was left in the destination folder.
    EXPECT_EQ(QDir(ram.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"zvuk.wav"});
}

TEST_F(CrossVolume, RefusesToReplaceAndKeepsTheSource) {
    QFile existing(ram.path() + "/zvuk.wav");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("jiny");
    existing.close();
    EXPECT_FALSE(MoveFile("C:\\zvuk.wav", "R:\\zvuk.wav"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(drives.Exists('C', "zvuk.wav"));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "jiny");
}

TEST_F(CrossVolume, FoldersDoNotCrossVolumes) {
    drives.MakeDirectory('C', "slozka");
    EXPECT_FALSE(MoveFile("C:\\slozka", "R:\\slozka"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SAME_DEVICE);
}

TEST_F(FileManagement, Directories) {
    EXPECT_TRUE(CreateDirectory("C:\\nova"));
    EXPECT_FALSE(CreateDirectory("C:\\nova"));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectory("C:\\chybi\\nova"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    drives.MakeFile('C', "nova/x");
    EXPECT_FALSE(RemoveDirectory("C:\\nova"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    EXPECT_FALSE(RemoveDirectory("C:\\zvuk.wav"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(RemoveDirectory("C:\\"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    QFile::remove(drives.PosixPath('C', "nova/x"));
    EXPECT_TRUE(RemoveDirectory("C:\\nova"));
    EXPECT_FALSE(drives.Exists('C', "nova"));
}

} // namespace
