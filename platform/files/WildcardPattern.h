#pragma once
// A Windows file-name pattern, matched as FindFirstFile matches: "*" any run of characters;
// "?" one character, or none before a dot or at the end; "*." before a dot runs up to the
// name's last dot; a "." before "*", "?" or the end also matches the end of a name without
// one (so "*.*" matches every name and "*." the names without an extension). Letter case is
// ignored. Not thread-safe: it keeps its working state to match without allocating.

#include <QString>
#include <QStringView>
#include <vector>

namespace win32 {

class WildcardPattern {
public:
    explicit WildcardPattern(QStringView pattern);
    bool Matches(QStringView name) const;
    bool MatchesEverything() const { return everything; }

private:
    enum class Kind : unsigned char { Literal, Star, DosStar, DosQuestion, DosDot };
    struct Token {
        Kind kind;
        char16_t folded;
    };
    void Close(std::vector<char>& states, QStringView name, qsizetype position) const;

    std::vector<Token> tokens;
    bool everything = false;
    // Patterns of the common shapes "*.wav" and "ding.wav" are matched by one comparison.
    enum class Shape : unsigned char { General, Suffix, Exact } shape = Shape::General;
    QString literal;
    mutable std::vector<char> current;
    mutable std::vector<char> next;
};

} // namespace win32
