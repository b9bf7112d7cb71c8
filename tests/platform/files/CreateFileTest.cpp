// Opening, reading and writing files, and share modes inside the process.
#include "platform/core/errhandling.h"
#include "platform/files/fileio.h"
#include "tests/support/TempDrives.h"

#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace win32;

namespace {

// Closes a handle at the end of a test.
class Handle {
public:
    explicit Handle(HANDLE h) : h(h) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h; }
    bool valid() const { return h != INVALID_HANDLE_VALUE; }

private:
    HANDLE h;
};

const DWORD readWrite = GENERIC_READ | GENERIC_WRITE;
const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class CreateFileTest : public ::testing::Test {
protected:
    void SetUp() override { drives.MakeFile('C', "zvuk.wav", "0123456789"); }
    TempDrives drives{{'C', "c"}, {.Letter = 'E', .Folder = "e", .NoMedium = true}};
};

TEST_F(CreateFileTest, ReadsWritesAndMeasures) {
    {
        Handle file(CreateFile("C:\\zvuk.wav", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
        ASSERT_TRUE(file.valid()) << GetLastError();
        EXPECT_EQ(GetFileSize(file.get()), 10);
        char buffer[16] = {};
        DWORD read = 0;
        ASSERT_TRUE(ReadFile(file.get(), buffer, 4, &read));
        EXPECT_EQ(QByteArray(buffer, int(read)), "0123");
        ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &read));
        EXPECT_EQ(read, 6u);
        ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &read));
        EXPECT_EQ(read, 0u); // the end is no error
        DWORD written = 0;
        EXPECT_FALSE(WriteFile(file.get(), "x", 1, &written));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    {
        Handle file(CreateFile("C:\\novy.wav", readWrite, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(file.valid());
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "RIFF", 4, &written));
        EXPECT_EQ(written, 4u);
        EXPECT_TRUE(FlushFileBuffers(file.get()));
        EXPECT_EQ(GetFileSize(file.get()), 4);
    }
    EXPECT_EQ(drives.ReadFile('C', "novy.wav"), QByteArray("RIFF"));
}

TEST_F(CreateFileTest, Dispositions) {
    struct Case {
        const char* name;
        DWORD disposition;
        bool opens;
        DWORD error; // last error after the call
        QByteArray content;
    };
    const std::vector<Case> cases = {
        {"zvuk.wav", CREATE_NEW, false, ERROR_FILE_EXISTS, "0123456789"},
        {"zvuk.wav", CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        {"zvuk.wav", OPEN_EXISTING, true, ERROR_SUCCESS, "0123456789"},
        {"zvuk.wav", OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "0123456789"},
        {"zvuk.wav", TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
        {"chybi.wav", OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, {}},
        {"chybi.wav", TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, {}},
        {"novy.wav", CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        {"novy.wav", OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        // A symbolic link to a missing file makes that file.
        {"odkaz.wav", OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        {"odkaz.wav", CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.disposition));
        drives.MakeFile('C', "zvuk.wav", "0123456789");
        QFile::remove(drives.PosixPath('C', "novy.wav"));
        QFile::remove(drives.PosixPath('C', "cil.wav"));
        QFile::link("cil.wav", drives.PosixPath('C', "odkaz.wav"));
        SetLastError(12345);
        Handle file(CreateFile(QString("C:\\") + c.name, readWrite, 0, c.disposition, 0));
        EXPECT_EQ(file.valid(), c.opens);
        EXPECT_EQ(GetLastError(), c.error);
        if (!c.content.isNull()) {
            EXPECT_EQ(drives.ReadFile('C', c.name), c.content);
        }
    }
}

TEST_F(CreateFileTest, ShareModesWithinTheProcess) {
    struct Case {
        DWORD heldAccess, heldShare, access, share;
        bool opens;
    };
    const DWORD r = GENERIC_READ, w = GENERIC_WRITE;
    const DWORD sr = FILE_SHARE_READ, sw = FILE_SHARE_WRITE;
    const std::vector<Case> cases = {
        {r, sr, r, sr, true},  {r, sr, r, sr | sw, true}, {r, 0, r, sr, false},
        {r, sr, w, sr, false}, {r, sr | sw, w, sr, true}, {r, sr | sw, w, sr | sw, true},
        {w, sr, r, sr, false}, {w, sr, r, sr | sw, true}, {r | w, 0, r, shareAll, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        Handle held(CreateFile("C:\\zvuk.wav", c.heldAccess, c.heldShare, OPEN_EXISTING, 0));
        ASSERT_TRUE(held.valid());
        SetLastError(0);
        Handle second(CreateFile("C:\\zvuk.wav", c.access, c.share, OPEN_EXISTING, 0));
        EXPECT_EQ(second.valid(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
        }
    }
}

TEST_F(CreateFileTest, ClosingReleasesTheShare) {
    {
        Handle held(CreateFile("C:\\zvuk.wav", GENERIC_READ, 0, OPEN_EXISTING, 0));
        ASSERT_TRUE(held.valid());
        EXPECT_FALSE(
            Handle(CreateFile("C:\\zvuk.wav", GENERIC_READ, shareAll, OPEN_EXISTING, 0)).valid());
    }
    EXPECT_TRUE(
        Handle(CreateFile("C:\\zvuk.wav", GENERIC_READ, shareAll, OPEN_EXISTING, 0)).valid());
}

// Copying a file onto itself must fail before anything is truncated, by whatever name the
// destination reaches it.
TEST_F(CreateFileTest, CreateAlwaysNeverTruncatesAFileInUse) {
    const QByteArray target = QFile::encodeName(drives.PosixPath('C', "zvuk.wav"));
    ASSERT_EQ(::link(target.constData(),
                     QFile::encodeName(drives.PosixPath('C', "tvrdy.wav")).constData()),
              0);
    ASSERT_EQ(::symlink(target.constData(),
                        QFile::encodeName(drives.PosixPath('C', "mekky.wav")).constData()),
              0);
    Handle source(CreateFile("C:\\zvuk.wav", GENERIC_READ, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(source.valid());
    for (const char* name :
         {"C:\\zvuk.wav", "C:\\ZVUK.WAV\\..\\zvuk.wav", "C:\\tvrdy.wav", "C:\\mekky.wav"}) {
        SCOPED_TRACE(name);
        SetLastError(0);
        Handle destination(CreateFile(name, readWrite, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        EXPECT_FALSE(destination.valid());
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray("0123456789"));
    }
    // Even a request that shares everything may not truncate a file held without write sharing.
    EXPECT_FALSE(
        Handle(CreateFile("C:\\zvuk.wav", GENERIC_READ, shareAll, CREATE_ALWAYS, 0)).valid());
    EXPECT_EQ(drives.ReadFile('C', "zvuk.wav"), QByteArray("0123456789"));
}

TEST_F(CreateFileTest, RefusalsGiveTheWindowsError) {
    drives.MakeFile('C', "ro.wav", "data");
    drives.MakeReadOnly('C', "ro.wav");
    drives.MakeDirectory('C', "slozka");
    const QString longName = "C:\\" + QString(300, 'x') + ".wav";
    struct Case {
        QString path;
        DWORD access;
        DWORD disposition;
        DWORD error;
    };
    const std::vector<Case> cases = {
        {"C:\\ro.wav", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\ro.wav", GENERIC_READ, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {"C:\\slozka", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\slozka", GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        {"C:\\chybi\\x.wav", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"C:\\chybi.wav", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {longName, GENERIC_WRITE, CREATE_NEW, ERROR_FILENAME_EXCED_RANGE},
        {"Q:\\x.wav", GENERIC_READ, OPEN_EXISTING, ERROR_INVALID_DRIVE},
        {"E:\\x.wav", GENERIC_READ, OPEN_EXISTING, ERROR_NOT_READY},
        {"C:\\a?.wav", GENERIC_READ, OPEN_EXISTING, ERROR_INVALID_NAME},
        {"C:\\zvuk.wav", GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
        {"C:\\zvuk.wav", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.left(40).toStdString());
        SetLastError(0);
        EXPECT_FALSE(Handle(CreateFile(c.path, c.access, 0, c.disposition, 0)).valid());
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(drives.ReadFile('C', "ro.wav"), QByteArray("data"));
}

TEST_F(CreateFileTest, NewReadOnlyFileIsWritableThroughItsHandle) {
    {
        Handle file(CreateFile("C:\\ro.wav", readWrite, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(file.valid());
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file.get(), "ab", 2, &written));
    }
    EXPECT_FALSE(Handle(CreateFile("C:\\ro.wav", GENERIC_WRITE, 0, OPEN_EXISTING, 0)).valid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(CreateFileTest, FifoIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(drives.PosixPath('C', "roura.wav")).constData(), 0644), 0);
    EXPECT_FALSE(Handle(CreateFile("C:\\roura.wav", GENERIC_READ, 0, OPEN_EXISTING, 0)).valid());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(CreateFileTest, BadHandlesAreRefused) {
    char buffer[4];
    DWORD count = 0;
    int notAHandle = 0;
    EXPECT_FALSE(ReadFile(&notAHandle, buffer, 4, &count));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE), -1);
    const HANDLE file = CreateFile("C:\\zvuk.wav", GENERIC_READ, 0, OPEN_EXISTING, 0);
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

} // namespace
