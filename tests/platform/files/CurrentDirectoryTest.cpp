// The current directory: Windows text, one remembered directory per drive, the real process
// directory following along.
#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace win32;

namespace {

QString RealDirectory() {
    return QFileInfo(QDir::currentPath()).canonicalFilePath();
}

class CurrentDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        drives.MakeDirectory('C', "zvuky/stare");
        drives.MakeDirectory('D', "hudba");
    }
    TempDrives drives{{'C', "c"},
                      {'D', "d"},
                      {'N', "n", "remote", "\\\\srv\\zvuky"},
                      {.Letter = 'E', .Folder = "e", .Kind = "cdrom", .NoMedium = true}};
};

TEST_F(CurrentDirectory, RootsAndFoldersAsWindowsText) {
    EXPECT_EQ(GetCurrentDirectory(), "C:\\");
    ASSERT_TRUE(SetCurrentDirectory("zvuky\\stare\\"));
    EXPECT_EQ(GetCurrentDirectory(), "C:\\zvuky\\stare");
    EXPECT_EQ(RealDirectory(), QFileInfo(drives.PosixPath('C', "zvuky/stare")).canonicalFilePath());
    ASSERT_TRUE(SetCurrentDirectory(".."));
    EXPECT_EQ(GetCurrentDirectory(), "C:\\zvuky");
}

TEST_F(CurrentDirectory, EachDriveRemembersItsOwn) {
    ASSERT_TRUE(SetCurrentDirectory("C:\\zvuky"));
    ASSERT_TRUE(SetCurrentDirectory("D:"));
    EXPECT_EQ(GetCurrentDirectory(), "D:\\"); // a drive's first directory is its root
    ASSERT_TRUE(SetCurrentDirectory("hudba"));
    ASSERT_TRUE(SetCurrentDirectory("C:"));
    EXPECT_EQ(GetCurrentDirectory(), "C:\\zvuky");
    ASSERT_TRUE(SetCurrentDirectory("d:"));
    EXPECT_EQ(GetCurrentDirectory(), "D:\\hudba");
    EXPECT_EQ(RealDirectory(), QFileInfo(drives.PosixPath('D', "hudba")).canonicalFilePath());
}

TEST_F(CurrentDirectory, KeepsTheLetterCaseOfNamesAndReportsTheDriveInUpperCase) {
    drives.MakeDirectory('C', "Zvuky");
    ASSERT_TRUE(SetCurrentDirectory("c:\\Zvuky"));
    EXPECT_EQ(GetCurrentDirectory(), "C:\\Zvuky");
}

TEST_F(CurrentDirectory, NetworkPaths) {
    drives.MakeDirectory('N', "dir");
    ASSERT_TRUE(SetCurrentDirectory("\\\\srv\\zvuky\\dir"));
    EXPECT_EQ(GetCurrentDirectory(), "\\\\srv\\zvuky\\dir");
    ASSERT_TRUE(SetCurrentDirectory("\\"));
    EXPECT_EQ(GetCurrentDirectory(), "\\\\srv\\zvuky\\");
}

TEST_F(CurrentDirectory, FailuresLeaveItWhereItWas) {
    drives.MakeFile('C', "soubor.wav");
    ASSERT_TRUE(SetCurrentDirectory("C:\\zvuky"));
    struct Case {
        const char* path;
        DWORD error;
    };
    for (const Case c : {Case{"Q:", ERROR_INVALID_DRIVE}, Case{"E:", ERROR_NOT_READY},
                         Case{"E:\\", ERROR_NOT_READY}, Case{"C:\\chybi", ERROR_FILE_NOT_FOUND},
                         Case{"C:\\chybi\\taky", ERROR_PATH_NOT_FOUND},
                         Case{"C:\\soubor.wav", ERROR_PATH_NOT_FOUND}}) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_FALSE(SetCurrentDirectory(c.path));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(GetCurrentDirectory(), "C:\\zvuky");
    }
}

TEST_F(CurrentDirectory, FollowsTheProcessWhenMovedBehindItsBack) {
    ASSERT_EQ(::chdir(QFile::encodeName(drives.PosixPath('D', "hudba")).constData()), 0);
    EXPECT_EQ(GetCurrentDirectory(), "D:\\hudba");
    ASSERT_EQ(::chdir("/proc"), 0);
    SetLastError(0);
    EXPECT_EQ(GetCurrentDirectory(), "");
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

} // namespace
