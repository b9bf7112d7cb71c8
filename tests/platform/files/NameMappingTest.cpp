// The reversible mapping of POSIX names into Windows names.
#include "platform/files/NameMapping.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace win32;

namespace {

struct NameCase {
    QByteArray posix;
    QString windows;
};

class NameMapping : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameMapping, MapsBothWays) {
    const NameCase& c = GetParam();
    EXPECT_EQ(WindowsNameOf(c.posix), c.windows);
    EXPECT_EQ(PosixNameOf(c.windows), c.posix);
}

QString Escaped(std::initializer_list<int> bytes) {
    QString text;
    for (const int byte : bytes) {
        text += QChar(0xF700 + byte);
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameMapping,
    ::testing::Values(
        NameCase{"ding.wav", "ding.wav"},
        NameCase{"zvonek \xC5\x99\xC3\xAD\xC5\xA1\xC5\xA5.wav",
                 QString::fromUtf8("zvonek říšť.wav")},
        NameCase{"a\\b", "a" + Escaped({'\\'}) + "b"}, NameCase{"a:b", "a" + Escaped({':'}) + "b"},
        NameCase{"a*b", "a" + Escaped({'*'}) + "b"}, NameCase{"a?b", "a" + Escaped({'?'}) + "b"},
        NameCase{"a\"b", "a" + Escaped({'"'}) + "b"},
        NameCase{"a<b>", "a" + Escaped({'<'}) + "b" + Escaped({'>'})},
        NameCase{"a|b", "a" + Escaped({'|'}) + "b"},
        NameCase{"tab\tx", "tab" + Escaped({'\t'}) + "x"},
        // Latin-2 bytes, not UTF-8: each byte is kept.
        NameCase{"\xE8"
                 "ern\xE1.wav",
                 Escaped({0xE8}) + "ern" + Escaped({0xE1}) + ".wav"},
        // A truncated sequence and an overlong form.
        NameCase{"x\xC5", "x" + Escaped({0xC5})}, NameCase{"\xC0\xAF", Escaped({0xC0, 0xAF})},
        // A private-use character of the escape block in a real name.
        NameCase{"\xEF\x9C\x80", Escaped({0xEF, 0x9C, 0x80})},
        // Outside the BMP.
        NameCase{"\xF0\x9F\x94\x94", QString::fromUtf8("\xF0\x9F\x94\x94")}));

TEST(NameMappingErrors, RefusesCharactersNoNameMayHold) {
    for (const char* name : {"a*b", "a?b", "a:b", "a\\b", "a/b", "a|b", "a<b", "a>b", "a\"b"}) {
        EXPECT_FALSE(PosixNameOf(QString::fromLatin1(name))) << name;
    }
    EXPECT_FALSE(PosixNameOf(QString(QChar(0xD800)) + "x")); // a lone surrogate
    EXPECT_FALSE(PosixNameOf(Escaped({'/'})));               // a slash in disguise
    EXPECT_FALSE(PosixNameOf(Escaped({0})));
    // Dots in disguise would name the folder itself or its parent, and so step out of it.
    EXPECT_FALSE(PosixNameOf(Escaped({'.'})));
    EXPECT_FALSE(PosixNameOf(Escaped({'.', '.'})));
    EXPECT_EQ(PosixNameOf(Escaped({'.', '.', '.'})), QByteArray("..."));
}

TEST(NameMappingProperties, EveryByteStringRoundTrips) {
    // All two-byte names (without '/' and NUL) map to distinct Windows names and back.
    QSet<QString> seen;
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            if (a == '/' || b == '/') {
                continue;
            }
            QByteArray name;
            name.append(char(a)).append(char(b));
            const QString windows = WindowsNameOf(name);
            ASSERT_EQ(PosixNameOf(windows), name) << a << ' ' << b;
            seen.insert(windows);
        }
    }
    EXPECT_EQ(seen.size(), 254 * 254);
}

} // namespace
