// File attributes over POSIX permissions and names.
#include "platform/files/attributes.h"

#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace win32;

namespace {

class Attributes : public ::testing::Test {
protected:
    TempDrives drives{{'C', "c"}, {'D', "d"}, {.Letter = 'E', .Folder = "e", .NoMedium = true}};
};

TEST_F(Attributes, ReadFromTypeNameAndPermission) {
    drives.MakeFile('C', "zvuk.wav", "RIFF");
    drives.MakeFile('C', "ro.wav");
    drives.MakeReadOnly('C', "ro.wav");
    drives.MakeFile('C', ".skryty.wav");
    drives.MakeDirectory('C', "slozka");
    drives.MakeDirectory('C', ".skryta");
    ASSERT_EQ(::symlink("chybi", QFile::encodeName(drives.PosixPath('C', "odkaz")).constData()), 0);
    struct Case {
        const char* path;
        DWORD attributes;
    };
    const DWORD archive = FILE_ATTRIBUTE_ARCHIVE;
    for (const Case c :
         {Case{"C:\\zvuk.wav", archive},
          Case{"C:\\ZVUK.WAV", INVALID_FILE_ATTRIBUTES}, // a case-sensitive volume
          Case{"C:\\ro.wav", archive | FILE_ATTRIBUTE_READONLY},
          Case{"C:\\.skryty.wav", archive | FILE_ATTRIBUTE_HIDDEN},
          Case{"C:\\slozka", FILE_ATTRIBUTE_DIRECTORY},
          Case{"C:\\.skryta", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN},
          Case{"C:\\", FILE_ATTRIBUTE_DIRECTORY}, Case{"C:\\slozka\\..", FILE_ATTRIBUTE_DIRECTORY},
          Case{"C:\\odkaz", FILE_ATTRIBUTE_NORMAL}}) { // a dangling link
        EXPECT_EQ(GetFileAttributes(c.path), c.attributes) << c.path;
    }
}

TEST_F(Attributes, DriveNameAnswersForItsCurrentDirectory) {
    drives.MakeDirectory('D', ".skryta");
    ASSERT_TRUE(SetCurrentDirectory("D:\\.skryta"));
    ASSERT_TRUE(SetCurrentDirectory("C:\\"));
    EXPECT_EQ(GetFileAttributes("D:"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(Attributes, FailuresGiveTheWindowsError) {
    drives.MakeFile('C', "soubor");
    struct Case {
        const char* path;
        DWORD error;
    };
    for (const Case c :
         {Case{"C:\\chybi", ERROR_FILE_NOT_FOUND}, Case{"C:\\chybi\\x", ERROR_PATH_NOT_FOUND},
          Case{"C:\\soubor\\x", ERROR_PATH_NOT_FOUND}, Case{"Q:\\x", ERROR_INVALID_DRIVE},
          Case{"E:\\x", ERROR_NOT_READY}, Case{"E:", ERROR_NOT_READY}}) {
        SetLastError(0);
        EXPECT_EQ(GetFileAttributes(c.path), INVALID_FILE_ATTRIBUTES) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
}

TEST_F(Attributes, ReadOnlyChangesTheOwnersWriteBitOnly) {
    const QString path = drives.MakeFile('C', "zvuk.wav");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::WriteGroup);
    ASSERT_TRUE(SetFileAttributes("C:\\zvuk.wav", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(GetFileAttributes("C:\\zvuk.wav"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(QFile::permissions(path) & (QFile::WriteOwner | QFile::WriteGroup),
              QFile::WriteGroup);
    ASSERT_TRUE(SetFileAttributes("C:\\zvuk.wav", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes("C:\\zvuk.wav"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(SetFileAttributes("C:\\chybi", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

} // namespace
