// Windows wildcard matching, as FindFirstFile matches.
#include "platform/files/WildcardPattern.h"

#include <gtest/gtest.h>

using namespace win32;

namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Wildcards, MatchAsWindowsDoes) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(WildcardPattern(QString::fromUtf8(c.pattern)).Matches(QString::fromUtf8(c.name)),
              c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcards,
    ::testing::Values(
        // "*.*" and "*" take every name, with or without a dot.
        MatchCase{"*.*", "ding.wav", true}, MatchCase{"*.*", "README", true},
        MatchCase{"*.*", ".", true}, MatchCase{"*.*", "..", true}, MatchCase{"*", "a.b.c", true},
        // Extensions, letter case ignored, Czech letters too.
        MatchCase{"*.wav", "ding.wav", true}, MatchCase{"*.wav", "DING.WAV", true},
        MatchCase{"*.WAV", "a.b.wav", true}, MatchCase{"*.wav", "ding.wave", false},
        MatchCase{"*.wav", "ding.wav.bak", false}, MatchCase{"*.wav", "wav", false},
        MatchCase{"*.wav", ".wav", true}, MatchCase{"Ř*.wav", "řeřicha.WAV", true},
        // "?" is one character, or none before a dot or at the end.
        MatchCase{"d?ng.wav", "ding.wav", true}, MatchCase{"d?ng.wav", "dng.wav", false},
        MatchCase{"ding?.wav", "ding.wav", true}, MatchCase{"ding??", "ding", true},
        MatchCase{"ding??", "dingxyz", false}, MatchCase{"?", "ab", false},
        // "*." is the names without an extension; "a.*" also "a".
        MatchCase{"*.", "README", true}, MatchCase{"*.", "a.txt", false},
        MatchCase{"ding.*", "ding", true}, MatchCase{"ding.*", "ding.wav", true},
        MatchCase{"ding.*", "dingo", false},
        // Stars in the middle.
        MatchCase{"a*b*c", "axxbyyc", true}, MatchCase{"a*b*c", "axxbyy", false},
        MatchCase{"*ng*", "ding.wav", true},
        // Plain names.
        MatchCase{"ding.wav", "Ding.Wav", true}, MatchCase{"ding.wav", "ding.wa", false}));

} // namespace
