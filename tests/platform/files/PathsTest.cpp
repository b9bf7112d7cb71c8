// Windows path text to POSIX paths and back, through the drive map and current directory.
#include "platform/files/paths.h"

#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "tests/support/TempDrives.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace win32;

namespace {

class PathTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        drives.MakeDirectory('C', "zvuky/stare");
        drives.MakeDirectory('D', "hudba");
        ASSERT_TRUE(SetCurrentDirectory("D:\\hudba"));
        ASSERT_TRUE(SetCurrentDirectory("C:\\zvuky"));
    }
    QByteArray Posix(char letter, const QString& relative = {}) const {
        return QFile::encodeName(drives.PosixPath(letter, relative));
    }
    TempDrives drives{{'C', "c"},
                      {'D', "d"},
                      {'N', "n", "remote", "\\\\srv\\zvuky"},
                      {.Letter = 'E', .Folder = "e", .Kind = "cdrom", .NoMedium = true}};
};

TEST_F(PathTranslation, ResolvesEveryFormOfPath) {
    struct Case {
        QString input;
        QString windows;
        QByteArray posix;
    };
    const std::vector<Case> cases = {
        {"C:\\zvuky\\ding.wav", "C:\\zvuky\\ding.wav", Posix('C', "zvuky/ding.wav")},
        {"c:\\Zvuky", "C:\\Zvuky", Posix('C', "Zvuky")},
        {"C:\\", "C:\\", Posix('C')},
        {"C:/zvuky/stare/", "C:\\zvuky\\stare", Posix('C', "zvuky/stare")},
        {"ding.wav", "C:\\zvuky\\ding.wav", Posix('C', "zvuky/ding.wav")},
        {"stare\\..\\..\\x", "C:\\x", Posix('C', "x")},
        {".", "C:\\zvuky", Posix('C', "zvuky")},
        {"..\\..\\..\\..", "C:\\", Posix('C')},
        {"\\a\\.\\b", "C:\\a\\b", Posix('C', "a/b")},
        {"D:", "D:\\hudba", Posix('D', "hudba")},
        {"D:x.wav", "D:\\hudba\\x.wav", Posix('D', "hudba/x.wav")},
        {"D:..", "D:\\", Posix('D')},
        {"\\\\srv\\zvuky\\a.wav", "\\\\srv\\zvuky\\a.wav", Posix('N', "a.wav")},
        {"\\\\SRV\\Zvuky", "\\\\SRV\\Zvuky\\", Posix('N')},
        {"\\\\srv\\zvuky\\..\\..\\x", "\\\\srv\\zvuky\\x", Posix('N', "x")},
        {"\\\\?\\C:\\dlouha", "C:\\dlouha", Posix('C', "dlouha")},
        {QString::fromUtf8("C:\\Zvonky\\řeřicha.wav"), QString::fromUtf8("C:\\Zvonky\\řeřicha.wav"),
         Posix('C', QString::fromUtf8("Zvonky/řeřicha.wav"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const std::optional<ResolvedPath> resolved = ResolvePath(c.input);
        ASSERT_TRUE(resolved) << GetLastError();
        EXPECT_EQ(resolved->WindowsPath, c.windows);
        EXPECT_EQ(resolved->PosixPath, c.posix);
    }
}

TEST_F(PathTranslation, FailsWithTheWindowsError) {
    struct Case {
        QString input;
        DWORD error;
    };
    const std::vector<Case> cases = {
        {"Q:\\x", ERROR_INVALID_DRIVE},  {"E:\\x", ERROR_NOT_READY},
        {"E:", ERROR_NOT_READY},         {"\\\\jiny\\share\\x", ERROR_BAD_NETPATH},
        {"\\\\srv", ERROR_BAD_NETPATH},  {"C:\\a*b", ERROR_INVALID_NAME},
        {"C:\\a?b", ERROR_INVALID_NAME}, {"C:\\a\\b:c", ERROR_INVALID_NAME},
        {"a|b", ERROR_INVALID_NAME},     {"1:\\x", ERROR_INVALID_NAME},
        {"", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        SetLastError(0);
        EXPECT_FALSE(ResolvePath(c.input));
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(PathTranslation, PosixPathsGetTheirWindowsNames) {
    EXPECT_EQ(ToWindowsPath(Posix('C', "zvuky/x.wav")), QString("C:\\zvuky\\x.wav"));
    EXPECT_EQ(ToWindowsPath(Posix('D')), QString("D:\\"));
    EXPECT_EQ(ToWindowsPath(Posix('D', "hudba/../a")), QString("D:\\a"));
    EXPECT_EQ(ToWindowsPath(Posix('C') + "/a:b\xE8"),
              QString("C:\\a") + QChar(0xF700 + ':') + "b" + QChar(0xF7E8));
    SetLastError(0);
    EXPECT_FALSE(ToWindowsPath("/proc/self"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(PathTranslation, OddNamesRoundTrip) {
    const std::vector<QByteArray> names = {
        "a\\b", "a:b", "a*b", "a?b",      "a\"b",
        "a<b",  "a>b", "a|b", "\xE8\xE1", QString::fromUtf8("čáp").toUtf8()};
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray posix = Posix('C', "zvuky/") + name;
        const std::optional<QString> windows = ToWindowsPath(posix);
        ASSERT_TRUE(windows);
        EXPECT_EQ(ToPosixPath(*windows), posix);
    }
}

TEST_F(PathTranslation, NoLengthLimitBeyondTheFileSystem) {
    QString deep = "C:";
    for (int i = 0; i < 40; ++i) {
        deep += "\\slozka-s-dlouhym-jmenem-" + QString::number(i);
    }
    ASSERT_GT(deep.size(), 1000);
    const std::optional<QByteArray> posix = ToPosixPath(deep);
    ASSERT_TRUE(posix);
    EXPECT_TRUE(posix->endsWith("slozka-s-dlouhym-jmenem-39"));
    EXPECT_EQ(ToWindowsPath(*posix), deep);
}

TEST_F(PathTranslation, FullPathNameOfRelativeText) {
    EXPECT_EQ(GetFullPathName("stare\\a.wav"), QString("C:\\zvuky\\stare\\a.wav"));
}

} // namespace
