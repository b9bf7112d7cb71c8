// Directory enumeration with patterns.
#include "platform/files/findfile.h"

#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QFile>
#include <QTemporaryDir>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace win32;

namespace {

// name -> (attributes, size) of every entry an enumeration returns, in order.
std::vector<std::pair<QString, std::pair<DWORD, qint64>>> List(const QString& pattern) {
    std::vector<std::pair<QString, std::pair<DWORD, qint64>>> entries;
    WIN32_FIND_DATA data;
    const HANDLE find = FindFirstFile(pattern, data);
    if (find == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back({data.cFileName, {data.dwFileAttributes, data.nFileSize}});
    } while (FindNextFile(find, data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(find));
    return entries;
}

QStringList Names(const QString& pattern) {
    QStringList names;
    for (const auto& entry : List(pattern)) {
        names.append(entry.first);
    }
    return names;
}

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

class FindFile : public ::testing::Test {
protected:
    void SetUp() override {
        drives.MakeFile('C', "zvuky/ding.wav", QByteArray(1500, 'x'));
        drives.MakeFile('C', "zvuky/DONG.WAV");
        drives.MakeFile('C', "zvuky/readme");
        drives.MakeFile('C', "zvuky/.skryty.wav");
        drives.MakeDirectory('C', "zvuky/stare.wav");
        drives.MakeFile('C', "koren.wav");
    }
    TempDrives drives{{'C', "c"}, {.Letter = 'E', .Folder = "e", .NoMedium = true}};
};

TEST_F(FindFile, PatternsChooseTheEntries) {
    struct Case {
        QString pattern;
        QStringList names;
    };
    const std::vector<Case> cases = {
        {"C:\\zvuky\\*.*",
         {".", "..", ".skryty.wav", "DONG.WAV", "ding.wav", "readme", "stare.wav"}},
        {"C:\\zvuky\\*.wav", {".skryty.wav", "DONG.WAV", "ding.wav", "stare.wav"}},
        {"C:\\zvuky\\*.", {".", "..", "readme"}},
        {"C:\\zvuky\\d?ng.wav", {"DONG.WAV", "ding.wav"}},
        {"C:\\zvuky\\DING.wav", {"ding.wav"}},
        {"C:\\*.*", {"koren.wav", "zvuky"}}, // no "." and ".." at a drive root
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern.toStdString());
        EXPECT_EQ(Sorted(Names(c.pattern)), Sorted(c.names));
    }
}

TEST_F(FindFile, DotsComeFirstOutsideARoot) {
    const QStringList names = Names("C:\\zvuky\\*");
    ASSERT_GE(names.size(), 2);
    EXPECT_EQ(names[0], ".");
    EXPECT_EQ(names[1], "..");
}

TEST_F(FindFile, ReportsAttributesAndSizes) {
    drives.MakeReadOnly('C', "zvuky/readme");
    std::map<QString, std::pair<DWORD, qint64>> entries;
    for (const auto& entry : List("C:\\zvuky\\*")) {
        entries.insert(entry);
    }
    EXPECT_EQ(entries["ding.wav"], std::make_pair(FILE_ATTRIBUTE_ARCHIVE, qint64(1500)));
    EXPECT_EQ(entries["readme"].first, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(entries[".skryty.wav"].first, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(entries["stare.wav"], std::make_pair(FILE_ATTRIBUTE_DIRECTORY, qint64(0)));
    EXPECT_EQ(entries[".."].first, FILE_ATTRIBUTE_DIRECTORY);
}

// The lists read names only; the entry's type still tells folders from files, a symbolic link
// is followed at once, and the read-only bit and size come when asked for.
TEST_F(FindFile, NamesLevelLeavesTheStatusToFindFileStatus) {
    drives.MakeReadOnly('C', "zvuky/readme");
    const QByteArray folder = QFile::encodeName(drives.PosixPath('C', "zvuky"));
    ASSERT_EQ(::symlink("stare.wav", folder + "/odkaz"), 0);
    struct Case {
        FINDEX_SEARCH_OPS search;
        std::map<QString, std::vector<qint64>> entries; // attributes, with status, size
    };
    const qint64 archive = FILE_ATTRIBUTE_ARCHIVE;
    const qint64 directory = FILE_ATTRIBUTE_DIRECTORY;
    const Case cases[] = {
        {FindExSearchNameMatch,
         {{".", {directory, directory, 0}},
          {"..", {directory, directory, 0}},
          {".skryty.wav", {archive | FILE_ATTRIBUTE_HIDDEN, archive | FILE_ATTRIBUTE_HIDDEN, 0}},
          {"DONG.WAV", {archive, archive, 0}},
          {"ding.wav", {archive, archive, 1500}},
          {"odkaz", {directory, directory, 0}},
          {"readme", {archive, archive | FILE_ATTRIBUTE_READONLY, 0}},
          {"stare.wav", {directory, directory, 0}}}},
        {FindExSearchLimitToDirectories,
         {{".", {directory, directory, 0}},
          {"..", {directory, directory, 0}},
          {"odkaz", {directory, directory, 0}},
          {"stare.wav", {directory, directory, 0}}}},
    };
    for (const Case& c : cases) {
        std::map<QString, std::vector<qint64>> entries;
        WIN32_FIND_DATA data;
        const HANDLE find = FindFirstFileEx("C:\\zvuky\\*", FindExInfoNames, data, c.search);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        do {
            const qint64 before = data.dwFileAttributes;
            EXPECT_TRUE(FindFileStatus(find, data));
            entries[data.cFileName] = {before, data.dwFileAttributes, data.nFileSize};
        } while (FindNextFile(find, data));
        EXPECT_FALSE(FindFileStatus(find, data)) << "no entry after the last";
        FindClose(find);
        EXPECT_EQ(entries, c.entries) << c.search;
    }
}

TEST_F(FindFile, RelativeAndDriveRelativePatterns) {
    ASSERT_TRUE(SetCurrentDirectory("C:\\zvuky"));
    EXPECT_EQ(Sorted(Names("*.wav")), Sorted({".skryty.wav", "DONG.WAV", "ding.wav", "stare.wav"}));
    EXPECT_EQ(Names("C:ding.*"), QStringList{"ding.wav"});
    EXPECT_EQ(Names("..\\k*"), QStringList{"koren.wav"});
}

TEST_F(FindFile, OddNamesAreListedAndReachable) {
    const QByteArray folder = QFile::encodeName(drives.MakeDirectory('C', "divne"));
    for (const char* name : {"a:b.wav", "c*d?.wav",
                             "\xE8"
                             "ern\xE1.wav"}) {
        const QByteArray path = folder + '/' + name;
        ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));
    }
    const QStringList names = Names("C:\\divne\\*.wav");
    ASSERT_EQ(names.size(), 3);
    WIN32_FIND_DATA data;
    for (const QString& name : names) {
        const HANDLE find = FindFirstFile("C:\\divne\\" + name, data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << name.toStdString();
        EXPECT_EQ(data.cFileName, name);
        FindClose(find);
    }
}

TEST_F(FindFile, FailuresGiveTheWindowsError) {
    drives.MakeDirectory('C', "prazdna");
    struct Case {
        const char* pattern;
        DWORD error;
    };
    for (const Case c :
         {Case{"C:\\zvuky\\*.mp3", ERROR_FILE_NOT_FOUND},
          Case{"C:\\prazdna\\*.wav", ERROR_FILE_NOT_FOUND},
          Case{"C:\\chybi\\*.*", ERROR_PATH_NOT_FOUND},
          Case{"C:\\koren.wav\\*.*", ERROR_PATH_NOT_FOUND},
          Case{"C:\\zvuky\\", ERROR_FILE_NOT_FOUND}, Case{"C:\\zvuky\\a|b", ERROR_INVALID_NAME},
          Case{"Q:\\*.*", ERROR_INVALID_DRIVE}, Case{"E:\\*.*", ERROR_NOT_READY}}) {
        SetLastError(0);
        WIN32_FIND_DATA data;
        EXPECT_EQ(FindFirstFile(c.pattern, data), INVALID_HANDLE_VALUE) << c.pattern;
        EXPECT_EQ(GetLastError(), c.error) << c.pattern;
    }
}

TEST_F(FindFile, ClosedOrForeignHandlesAreRefused) {
    WIN32_FIND_DATA data;
    const HANDLE find = FindFirstFile("C:\\zvuky\\*", data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(FindClose(find));
    EXPECT_FALSE(FindNextFile(find, data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(find));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Processor time rather than wall time, so that a busy machine does not fail the test; a cost
// per entry that grows with the folder would take seconds here.
TEST(FindFileSpeed, HundredThousandEntries) {
    QTemporaryDir ram("/dev/shm/zvonkar-find-XXXXXX"); // fast to fill; any folder will do
    TempDrives drives({{'M', ram.isValid() ? ram.path() : "m"}});
    const QByteArray folder = QFile::encodeName(drives.MakeDirectory('M', "mnoho"));
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        const QByteArray path =
            folder + "/zvuk" + QByteArray::number(i) + (i % 2 == 0 ? ".wav" : ".txt");
        ::close(::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    for (const char* pattern : {"M:\\mnoho\\*.wav", "M:\\mnoho\\zv?k*.WAV"}) {
        const double start = CpuMilliseconds();
        int found = 0;
        WIN32_FIND_DATA data;
        const HANDLE find = FindFirstFile(pattern, data);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        do {
            ++found;
        } while (FindNextFile(find, data));
        FindClose(find);
        const double elapsed = CpuMilliseconds() - start;
        std::printf("%s: %d of %d entries in %.0f ms of processor time\n", pattern, found, count,
                    elapsed);
        EXPECT_EQ(found, count / 2);
        EXPECT_LT(elapsed, 1500);
    }
}

} // namespace
