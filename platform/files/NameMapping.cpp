#include "platform/files/NameMapping.h"

namespace win32 {

namespace {

bool IsReservedAscii(unsigned char byte) {
    switch (byte) {
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case '/':
        return true;
    default:
        return byte < 0x20;
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at `p` (at most `size` bytes) and its code point, or
// 0 when the bytes are not well-formed UTF-8 (overlong forms and surrogates included).
int DecodeSequence(const unsigned char* p, qsizetype size, char32_t& codePoint) {
    const unsigned char lead = p[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size < length || p[1] < low || p[1] > high) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(p[i])) {
            return 0;
        }
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    return length;
}

void AppendUtf8(char32_t codePoint, QByteArray& out) {
    if (codePoint < 0x80) {
        out.append(char(codePoint));
    } else if (codePoint < 0x800) {
        out.append(char(0xC0 | (codePoint >> 6)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.append(char(0xE0 | (codePoint >> 12)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        out.append(char(0xF0 | (codePoint >> 18)));
        out.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        out.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

void AppendWindowsName(const char* bytes, qsizetype size, QString& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    // Most names are plain ASCII: append them in one go.
    qsizetype plain = 0;
    while (plain < size && p[plain] < 0x80 && !IsReservedAscii(p[plain])) {
        ++plain;
    }
    out.append(QLatin1StringView(bytes, plain));
    qsizetype i = plain;
    while (i < size) {
        const unsigned char byte = p[i];
        if (byte < 0x80) {
            out.append(IsReservedAscii(byte) ? QChar(kNameEscapeBase + byte) : QChar(byte));
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const int length = DecodeSequence(p + i, size - i, codePoint);
        if (length == 0 || (codePoint >= kNameEscapeBase && codePoint <= kNameEscapeBase + 0xFF)) {
            // Not UTF-8, or a character of the escape block itself: each byte is escaped, so
            // that decoding gives back exactly these bytes.
            const int count = length == 0 ? 1 : length;
            for (int k = 0; k < count; ++k) {
                out.append(QChar(kNameEscapeBase + p[i + k]));
            }
            i += count;
            continue;
        }
        if (codePoint >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(codePoint)));
            out.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            out.append(QChar(char16_t(codePoint)));
        }
        i += length;
    }
}

QString WindowsNameOf(const QByteArray& posixName) {
    QString name;
    name.reserve(posixName.size());
    AppendWindowsName(posixName.constData(), posixName.size(), name);
    return name;
}

std::optional<QByteArray> PosixNameOf(QStringView windowsName) {
    QByteArray name;
    name.reserve(windowsName.size() * 3);
    for (qsizetype i = 0; i < windowsName.size(); ++i) {
        const char16_t unit = windowsName[i].unicode();
        if (const std::optional<unsigned char> byte = EscapedByte(windowsName[i])) {
            if (*byte == 0 || *byte == '/') {
                return std::nullopt;
            }
            name.append(char(*byte));
        } else if (QChar::isHighSurrogate(unit)) {
            if (i + 1 >= windowsName.size() || !windowsName[i + 1].isLowSurrogate()) {
                return std::nullopt;
            }
            AppendUtf8(QChar::surrogateToUcs4(unit, windowsName[i + 1].unicode()), name);
            ++i;
        } else if (QChar::isLowSurrogate(unit) || (unit < 0x80 && IsReservedAscii(unit))) {
            return std::nullopt;
        } else {
            AppendUtf8(unit, name);
        }
    }
    // Escaped dots spelling "." or ".." would step out of the folder they are looked up in,
    // past the textual resolution of real dots; no POSIX name maps to such a Windows name.
    if ((name == "." || name == "..") && windowsName != QLatin1String(name)) {
        return std::nullopt;
    }
    return name;
}

} // namespace win32
