#include "platform/files/WildcardPattern.h"

#include <algorithm>

namespace win32 {

namespace {

char16_t Fold(char16_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? char16_t(c + ('a' - 'A')) : c;
    }
    return QChar::toCaseFolded(c);
}

} // namespace

WildcardPattern::WildcardPattern(QStringView pattern) {
    everything = pattern == u"*" || pattern == u"*.*";
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        const char16_t after = i + 1 < pattern.size() ? pattern[i + 1].unicode() : 0;
        Kind kind = Kind::Literal;
        if (c == '*') {
            kind = after == '.' ? Kind::DosStar : Kind::Star;
        } else if (c == '?') {
            kind = Kind::DosQuestion;
        } else if (c == '.' && (after == '*' || after == '?' || after == 0)) {
            kind = Kind::DosDot;
        }
        tokens.push_back({kind, Fold(c)});
    }
    // A star followed by plain text matches exactly the names ending in that text: the star
    // may take the name's last dot only when the text holds none.
    const QStringView rest = pattern.startsWith(u'*') ? pattern.mid(1) : pattern;
    if (!rest.contains(u'*') && !rest.contains(u'?') && !rest.endsWith(u'.') && !everything) {
        shape = rest.size() < pattern.size() ? Shape::Suffix : Shape::Exact;
        literal = rest.toString();
    }
    current.resize(tokens.size() + 1);
    next.resize(tokens.size() + 1);
}

// Adds the states reachable without consuming a character at `position`.
void WildcardPattern::Close(std::vector<char>& states, QStringView name, qsizetype position) const {
    const bool atEnd = position >= name.size();
    const bool atDot = !atEnd && name[position] == '.';
    for (std::size_t s = 0; s < tokens.size(); ++s) {
        if (!states[s]) {
            continue;
        }
        switch (tokens[s].kind) {
        case Kind::Star:
        case Kind::DosStar:
            states[s + 1] = 1;
            break;
        case Kind::DosQuestion:
            states[s + 1] |= char(atEnd || atDot);
            break;
        case Kind::DosDot:
            states[s + 1] |= char(atEnd);
            break;
        case Kind::Literal:
            break;
        }
    }
}

bool WildcardPattern::Matches(QStringView name) const {
    if (everything) {
        return true;
    }
    if (shape == Shape::Suffix) {
        return name.endsWith(literal, Qt::CaseInsensitive);
    }
    if (shape == Shape::Exact) {
        return name.compare(literal, Qt::CaseInsensitive) == 0;
    }
    const qsizetype lastDot = name.lastIndexOf(u'.');
    std::fill(current.begin(), current.end(), 0);
    current[0] = 1;
    Close(current, name, 0);
    for (qsizetype position = 0; position < name.size(); ++position) {
        const char16_t c = Fold(name[position].unicode());
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (std::size_t s = 0; s < tokens.size(); ++s) {
            if (!current[s]) {
                continue;
            }
            const Token& token = tokens[s];
            switch (token.kind) {
            case Kind::Literal:
                if (token.folded == c) {
                    next[s + 1] = any = true;
                }
                break;
            case Kind::Star:
                next[s] = any = true;
                break;
            case Kind::DosStar:
                if (position != lastDot) {
                    next[s] = any = true;
                }
                break;
            case Kind::DosQuestion:
                if (c != '.') {
                    next[s + 1] = any = true;
                }
                break;
            case Kind::DosDot:
                if (c == '.') {
                    next[s + 1] = any = true;
                }
                break;
            }
        }
        if (!any) {
            return false;
        }
        Close(next, name, position + 1);
        current.swap(next);
    }
    return current[tokens.size()] != 0;
}

} // namespace win32
