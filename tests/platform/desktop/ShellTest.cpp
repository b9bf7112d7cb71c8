// ShellExecute hands its file to xdg-open, recorded by a stand-in script first on PATH.
#include "platform/desktop/shell.h"

#include "tests/support/RecordingXdgOpen.h"
#include "tests/support/TempDrives.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace win32;

namespace {

class ShellTest : public ::testing::Test {
protected:
    TempDrives drives_;
    RecordingXdgOpen xdgOpen_;
};

TEST_F(ShellTest, TheFileIsHandedToXdgOpen) {
    drives_.MakeFile('C', "docs/ctimne.txt", "text");
    struct Case {
        QString verb;
        QString file;
        QString argument;
    };
    const Case cases[] = {
        {"open", "mailto: krumlak@example.cz", "mailto: krumlak@example.cz"},
        {"open", "http://example.cz/zvonkar?a=1&b=\"2\"", "http://example.cz/zvonkar?a=1&b=\"2\""},
        {"", "C:\\docs\\ctimne.txt", drives_.PosixPath('C', "docs/ctimne.txt")},
        {"OPEN", "C:/docs", drives_.PosixPath('C', "docs")},
        {"explore", "C:\\", drives_.PosixPath('C')},
        {"open", "-n", "./-n"},
        {"open", "$(touch owned) ; `x`", "$(touch owned) ; `x`"},
    };
    int calls = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_GT(ShellExecute(nullptr, c.verb, c.file, {}, {}, SW_SHOW), 32);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        ASSERT_TRUE(xdgOpen_.WaitForCalls(++calls));
        QStringList expected{c.argument};
        EXPECT_EQ(xdgOpen_.Calls().last(), expected);
    }
    EXPECT_FALSE(QFile::exists(drives_.PosixPath('C', "owned")));
}

TEST_F(ShellTest, TheProgramStartsInTheGivenFolder) {
    drives_.MakeDirectory('C', "docs");
    EXPECT_GT(ShellExecute(nullptr, "open", "http://example.cz", {}, "C:\\docs", SW_SHOW), 32);
    ASSERT_TRUE(xdgOpen_.WaitForCalls(1));
    EXPECT_EQ(xdgOpen_.WorkingDirectories().first(), drives_.PosixPath('C', "docs"));
}

TEST_F(ShellTest, RequestsItCannotCarryOutFail) {
    struct Case {
        QString verb;
        QString file;
        QString params;
        QString dir;
        HINSTANCE result;
    };
    const Case cases[] = {
        {"open", "", "", "", SE_ERR_FNF},
        {"print", "C:\\a.txt", "", "", SE_ERR_NOASSOC},
        {"open", "C:\\a.exe", "/s", "", SE_ERR_NOASSOC},
        {"open", "Q:\\no-drive.txt", "", "", SE_ERR_FNF},
        {"open", "http://example.cz", "", "Q:\\", SE_ERR_FNF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " " + c.verb.toStdString());
        EXPECT_EQ(ShellExecute(nullptr, c.verb, c.file, c.params, c.dir, SW_SHOW), c.result);
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(xdgOpen_.Calls().isEmpty());
}

TEST_F(ShellTest, WithoutXdgOpenTheCallFails) {
    const QTemporaryDir empty;
    const QByteArray saved = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    const HINSTANCE result = ShellExecute(nullptr, "open", "http://example.cz", {}, {}, SW_SHOW);
    qputenv("PATH", saved);
    EXPECT_EQ(result, SE_ERR_FNF);
}

} // namespace
