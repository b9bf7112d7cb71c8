// The registry over the hive file: exact round trips, keys and handles, the file's readable
// form, failed writes, broken files and two processes writing at once.
#include "platform/registry/registry.h"

#include "platform/registry/RegistryParser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace win32;

namespace {

constexpr LONG kOk = static_cast<LONG>(ERROR_SUCCESS);

LONG Code(DWORD error) {
    return static_cast<LONG>(error);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path()));
        TakeRegistryProblem();
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", saved_);
        TakeRegistryProblem();
    }

    QString Folder() const { return home_.path() + "/zvonkar"; }
    QString HivePath() const { return Folder() + "/user.reg"; }
    QByteArray HiveText() const {
        QFile file(HivePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteHive(const QByteArray& text) const {
        QDir().mkpath(Folder());
        QFile file(HivePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    HKEY Create(const QString& path, REGSAM access = KEY_ALL_ACCESS) const {
        HKEY key = nullptr;
        EXPECT_EQ(
            RegCreateKeyEx(HKEY_CURRENT_USER, path, REG_OPTION_NON_VOLATILE, access, &key, nullptr),
            kOk);
        return key;
    }
    void Set(const QString& path, const QString& name, DWORD type, const QByteArray& data) const {
        HKEY key = Create(path);
        EXPECT_EQ(RegSetValueEx(key, name, type, data), kOk);
        RegCloseKey(key);
    }

    QTemporaryDir home_;
    QByteArray saved_;
};

struct RoundTrip {
    const char* what;
    QString name;
    DWORD type;
    QByteArray data;
    QByteArray line; // how the value reads in the file
};

TEST_F(RegistryTest, ValuesKeepTypeAndExactBytesAndReadAsText) {
    const QByteArray longBinary = [] {
        QByteArray bytes;
        for (int i = 0; i < 100; ++i) {
            bytes += static_cast<char>(i * 7);
        }
        return bytes;
    }();
    const RoundTrip cases[] = {
        {"text with the extra NUL", "LastDir", REG_SZ, QByteArray("C:\\Zvuky\0\0", 10),
         R"("LastDir"="C:\\Zvuky\0")"},
        {"plain text", "Ver", REG_SZ, QByteArray("1.0b\0", 5), R"("Ver"="1.0b")"},
        {"text without a NUL", "Raw", REG_SZ, "abc", "\"Raw\"=hex(1):61,62,63"},
        {"empty text", "Empty", REG_SZ, QByteArray("\0", 1), R"("Empty"="")"},
        {"no bytes at all", "Nothing", REG_SZ, QByteArray(), "\"Nothing\"=hex(1):"},
        {"expandable", "Exp", REG_EXPAND_SZ, QByteArray("%HOME%\\x\0", 9),
         R"("Exp"=str(2):"%HOME%\\x")"},
        {"number", "Count", REG_DWORD, QByteArray("\x2a\0\0\x80", 4), "\"Count\"=dword:8000002a"},
        {"number of three bytes", "Odd", REG_DWORD, QByteArray("\1\2\3", 3),
         "\"Odd\"=hex(4):01,02,03"},
        {"binary", "Bin", REG_BINARY, QByteArray("\0\xff\x10", 3), "\"Bin\"=hex:00,ff,10"},
        {"empty binary", "NoBin", REG_BINARY, QByteArray(), "\"NoBin\"=hex:"},
        {"Czech text", "Složka", REG_SZ, QString("Přehrávání zvuků").toUtf8() + '\0',
         "\"Složka\"=\"Přehrávání zvuků\""},
        {"quotes and backslashes", "a\"b\\c", REG_SZ, QByteArray("x\"y\\z\0", 6),
         R"("a\"b\\c"="x\"y\\z")"},
        {"control characters", "Tab", REG_SZ, QByteArray("a\tb\nc\0", 6), R"("Tab"="a\x09b\x0ac")"},
        {"not UTF-8", "Latin", REG_SZ, QByteArray("\xe8\x65\0", 3), "\"Latin\"=hex(1):e8,65,00"},
        {"list of texts", "Multi", REG_MULTI_SZ, QByteArray("a\0b\0\0", 5),
         "\"Multi\"=hex(7):61,00,62,00,00"},
        {"default value", "", REG_SZ, QByteArray("d\0", 2), R"(@="d")"},
        {"quad word", "Q", REG_QWORD, QByteArray(8, '\1'), "\"Q\"=hex(b):01,01,01,01,01,01,01,01"},
        {"long binary over several lines", "Long", REG_BINARY, longBinary, "\"Long\"=hex:00,07,"},
    };
    for (const RoundTrip& c : cases) {
        Set("Software\\Test", c.name, c.type, c.data);
    }
    const QByteArray text = HiveText();
    HKEY key = Create("Software\\Test", KEY_READ);
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.what);
        DWORD type = 99;
        QByteArray data("stale");
        EXPECT_EQ(RegQueryValueEx(key, c.name, &type, &data), kOk);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(data, c.data);
        EXPECT_TRUE(text.contains("\n" + c.line)) << text.constData();
    }
    RegCloseKey(key);
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 80) << line.constData();
    }
}

TEST_F(RegistryTest, SizeAndTypeCanBeAskedBeforeReading) {
    Set("Software\\Krumlak\\Zvonkar", "LastDir", REG_SZ, QByteArray("C:\\\0\0", 5));
    HKEY key = Create("Software\\Krumlak\\Zvonkar");
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "LastDir", &type, nullptr, &size), kOk);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    QByteArray data;
    EXPECT_EQ(RegQueryValueEx(key, "LastDir", nullptr, &data, &size), kOk);
    EXPECT_EQ(data, QByteArray("C:\\\0\0", 5));
    EXPECT_EQ(RegQueryValueEx(key, "Missing", &type, nullptr, &size), Code(ERROR_FILE_NOT_FOUND));
    RegCloseKey(key);
}

TEST_F(RegistryTest, CreatingAKeyCreatesItsParentsAndOpensAnExistingOne) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Krumlak\\Zvonkar\\", 0, KEY_ALL_ACCESS,
                             &key, &disposition),
              kOk);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Krumlak\\Zvonkar", 0, KEY_ALL_ACCESS,
                             &key, &disposition),
              kOk);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    for (const char* parent : {"Software", "Software\\Krumlak"}) {
        EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, parent, 0, KEY_READ, &key), kOk) << parent;
        RegCloseKey(key);
    }
    EXPECT_TRUE(HiveText().contains("[HKEY_CURRENT_USER\\Software\\Krumlak\\Zvonkar]\n"));
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Jiny", 0, KEY_READ, &key),
              Code(ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCase) {
    Set("Software\\Krumlak\\Zvonkar", "LastDir", REG_SZ, QByteArray("C:\\\0\0", 5));
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\krumlak\\ZVONKAR", 0, KEY_ALL_ACCESS, &key),
        kOk);
    QByteArray data;
    EXPECT_EQ(RegQueryValueEx(key, "lastdir", nullptr, &data), kOk);
    EXPECT_EQ(data, QByteArray("C:\\\0\0", 5));
    EXPECT_EQ(RegSetValueEx(key, "LASTDIR", REG_SZ, QByteArray("D:\\\0\0", 5)), kOk);
    RegCloseKey(key);
    const QByteArray text = HiveText();
    EXPECT_EQ(text.count("astDir"), 1) << text.constData();
    EXPECT_TRUE(text.contains(R"("LastDir"="D:\\\0")")) << text.constData();
    EXPECT_EQ(text.count("[HKEY_CURRENT_USER\\Software\\Krumlak\\Zvonkar]"), 1);
}

TEST_F(RegistryTest, HandlesCheckPathsRightsAndLifetime) {
    HKEY parent = Create("Software");
    HKEY key = nullptr;
    // An empty sub-path opens the key itself; a relative path goes below the handle's key.
    EXPECT_EQ(RegOpenKeyEx(parent, "", 0, KEY_ALL_ACCESS, &key), kOk);
    EXPECT_NE(key, parent);
    EXPECT_EQ(RegSetValueEx(key, "V", REG_SZ, QByteArray("x\0", 2)), kOk);
    RegCloseKey(key);
    EXPECT_TRUE(HiveText().contains("[HKEY_CURRENT_USER\\Software]\n\"V\"=\"x\""));
    EXPECT_EQ(RegCreateKeyEx(parent, "Krumlak\\Zvonkar", 0, KEY_ALL_ACCESS, &key, nullptr), kOk);
    RegCloseKey(key);
    EXPECT_TRUE(HiveText().contains("[HKEY_CURRENT_USER\\Software\\Krumlak\\Zvonkar]"));

    for (const char* bad : {"\\Software", "a\\\\b", "a\\\x01"}) {
        EXPECT_EQ(RegCreateKeyEx(parent, bad, 0, KEY_ALL_ACCESS, &key, nullptr),
                  Code(ERROR_BAD_PATHNAME))
            << bad;
    }
    HKEY readOnly = Create("Software", KEY_READ);
    EXPECT_EQ(RegSetValueEx(readOnly, "V", REG_SZ, "y"), Code(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegCreateKeyEx(readOnly, "New", 0, KEY_ALL_ACCESS, &key, nullptr),
              Code(ERROR_ACCESS_DENIED));
    EXPECT_EQ(RegCloseKey(readOnly), kOk);
    EXPECT_EQ(RegCloseKey(readOnly), Code(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegQueryValueEx(readOnly, "V", nullptr, nullptr), Code(ERROR_INVALID_HANDLE));
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "x", 0, KEY_ALL_ACCESS, nullptr, nullptr),
              Code(ERROR_INVALID_PARAMETER));

    EXPECT_EQ(RegDeleteValue(parent, "V"), kOk);
    EXPECT_EQ(RegDeleteValue(parent, "V"), Code(ERROR_FILE_NOT_FOUND));
    // Another copy of the program may remove the key while a handle is open.
    WriteHive("REGEDIT4\n");
    EXPECT_EQ(RegQueryValueEx(parent, "V", nullptr, nullptr), Code(ERROR_KEY_DELETED));
    EXPECT_EQ(RegSetValueEx(parent, "V", REG_SZ, "y"), Code(ERROR_KEY_DELETED));
    RegCloseKey(parent);
}

TEST_F(RegistryTest, ValuesDirectlyUnderTheRootAreKept) {
    EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, "LastDir", REG_SZ, QByteArray("C:\\\0\0", 5)), kOk);
    EXPECT_TRUE(HiveText().contains("[HKEY_CURRENT_USER]\n\"LastDir\"=\"C:\\\\\\0\""));
    QByteArray data;
    EXPECT_EQ(RegQueryValueEx(HKEY_CURRENT_USER, "LastDir", nullptr, &data), kOk);
    EXPECT_EQ(data, QByteArray("C:\\\0\0", 5));
}

TEST_F(RegistryTest, HandEditedFilesAreRead) {
    struct Case {
        const char* what;
        QByteArray text;
        DWORD type;
        QByteArray data;
    };
    const Case cases[] = {
        {"CRLF line ends and a BOM",
         "\xEF\xBB\xBFREGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"V\"=\"x\"\r\n", REG_SZ,
         QByteArray("x\0", 2)},
        {"comments and blank lines",
         "; mine\n\nREGEDIT4\n; note\n[HKEY_CURRENT_USER\\A]\n\n\"V\"=dword:1\n", REG_DWORD,
         QByteArray("\1\0\0\0", 4)},
        {"spaces around = and upper-case hex",
         "REGEDIT4\n[hkey_current_user\\a]\n  \"v\" = hex:0A, FF \n", REG_BINARY, "\x0a\xff"},
        {"continued hex list", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex(2):41,\\\n   42,00\n",
         REG_EXPAND_SZ, QByteArray("AB\0", 3)},
        {"string of another type", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=str(7):\"a\\0b\\0\"\n",
         REG_MULTI_SZ, QByteArray("a\0b\0\0", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteHive(c.text);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), kOk);
        DWORD type = 0;
        QByteArray data;
        EXPECT_EQ(RegQueryValueEx(key, "V", &type, &data), kOk);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(data, c.data);
        RegCloseKey(key);
        EXPECT_EQ(TakeRegistryProblem(), std::nullopt);
    }
}

TEST_F(RegistryTest, AnEmptyOrMissingFileIsAnEmptyHive) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), Code(ERROR_FILE_NOT_FOUND));
    WriteHive("");
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), Code(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(TakeRegistryProblem(), std::nullopt);
}

TEST_F(RegistryTest, ParseErrorsNameTheLine) {
    struct Case {
        QByteArray text;
        int line;
    };
    const Case cases[] = {
        {"Windows Registry Editor Version 5.00\n", 1},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n", 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\\\\B]\n", 2},
        {"REGEDIT4\n\"V\"=\"x\"\n", 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\n\"V\"=\"x\n", 4},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"a\\qb\"\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"a\\x4\"\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"x\" junk\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\" \"x\"\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:123456789\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:-1\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex:1,,2\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex:0x1\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex(zz):00\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=hex:00,\\\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=float:1\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"\xc3\x28\"\n", 3},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\nV=\"x\"\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.constData());
        RegistryParseError error;
        EXPECT_FALSE(RegistryParser::Parse(c.text, &error).has_value());
        EXPECT_EQ(error.line, c.line);
        EXPECT_FALSE(error.reason.isEmpty());
    }
}

TEST_F(RegistryTest, ABrokenFileIsMovedAsideAndReportedOnce) {
    const QByteArray broken = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"V\"=bogus\n";
    WriteHive(broken);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_ALL_ACCESS, &key, nullptr),
              Code(ERROR_BADDB));
    EXPECT_FALSE(QFile::exists(HivePath()));
    QFile kept(HivePath() + ".broken");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), broken);
    const std::optional<QString> problem = TakeRegistryProblem();
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(HivePath())) << problem->toStdString();
    EXPECT_TRUE(problem->contains("řádek 3")) << problem->toStdString();
    EXPECT_TRUE(problem->contains(HivePath() + ".broken")) << problem->toStdString();
    EXPECT_EQ(TakeRegistryProblem(), std::nullopt);

    // The next access starts from an empty hive; a second broken file gets the next free name.
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_ALL_ACCESS, &key, nullptr), kOk);
    RegCloseKey(key);
    WriteHive("garbage");
    EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, "V", REG_SZ, "x"), Code(ERROR_BADDB));
    EXPECT_TRUE(QFile::exists(HivePath() + ".broken.1"));
    EXPECT_TRUE(TakeRegistryProblem()->contains(HivePath() + ".broken.1"));
}

TEST_F(RegistryTest, AFailedWriteLeavesTheOldFile) {
    Set("Software\\Krumlak\\Zvonkar", "LastDir", REG_SZ, QByteArray("C:\\\0\0", 5));
    const QByteArray before = HiveText();
    // A file-size limit makes every write beyond it fail, also for root, who passes any
    // permission check.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(before.size() + 8);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    HKEY key = Create("Software\\Krumlak\\Zvonkar");
    const LONG result = RegSetValueEx(key, "Ver", REG_SZ, QByteArray(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    RegCloseKey(key);

    EXPECT_NE(result, kOk);
    EXPECT_EQ(HiveText(), before);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2) // hive and lock
        << QDir(Folder()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
    const std::optional<QString> problem = TakeRegistryProblem();
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(HivePath()));
}

TEST_F(RegistryTest, AFolderThatCannotBeMadeFailsCleanly) {
    QFile blocker(Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    HKEY key = nullptr;
    EXPECT_NE(RegCreateKeyEx(HKEY_CURRENT_USER, "A", 0, KEY_ALL_ACCESS, &key, nullptr), kOk);
    EXPECT_TRUE(TakeRegistryProblem().has_value());
}

TEST_F(RegistryTest, ASymlinkedFileStaysASymlink) {
    QDir().mkpath(Folder());
    const QString target = home_.path() + "/dotfiles.reg";
    QFile(target).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(target, HivePath()));
    Set("A", "V", REG_SZ, QByteArray("x\0", 2));
    EXPECT_TRUE(QFileInfo(HivePath()).isSymLink());
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"V\"=\"x\""));
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceKeepEachOthersValues) {
    constexpr int kValues = 25;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            char go = 0;
            close(start[1]);
            bool ok = read(start[0], &go, 1) == 1;
            for (int i = 0; i < kValues && ok; ++i) {
                HKEY key = nullptr;
                const QString name = QString("P%1_%2").arg(child).arg(i);
                ok = RegCreateKeyEx(HKEY_CURRENT_USER, QString("Shared\\K%1").arg(i % 3), 0,
                                    KEY_ALL_ACCESS, &key, nullptr) == kOk &&
                     RegSetValueEx(key, name, REG_SZ, name.toUtf8() + '\0') == kOk &&
                     RegCloseKey(key) == kOk;
            }
            _exit(ok ? 0 : 1);
        }
    }
    close(start[0]);
    ASSERT_EQ(write(start[1], "gg", 2), 2);
    close(start[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kValues; ++i) {
            const QString name = QString("P%1_%2").arg(child).arg(i);
            HKEY key = nullptr;
            ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QString("Shared\\K%1").arg(i % 3), 0,
                                   KEY_READ, &key),
                      kOk);
            QByteArray data;
            EXPECT_EQ(RegQueryValueEx(key, name, nullptr, &data), kOk) << name.toStdString();
            EXPECT_EQ(data, name.toUtf8() + '\0');
            RegCloseKey(key);
        }
    }
}

} // namespace
