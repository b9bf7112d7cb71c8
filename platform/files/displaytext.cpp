#include "platform/files/displaytext.h"

#include "platform/files/AnsiCodePage.h"
#include "platform/files/NameMapping.h"

#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace win32 {

namespace {

constexpr QChar kUnreadable = u'\uFFFD';

// Look-alikes that DejaVu Sans, which stands in for the program's font, draws itself, so that an
// entry keeps its font and height.
QChar LookAlike(unsigned char byte) {
    switch (byte) {
    case '\\':
        return u'\u2216'; // set minus
    case ':':
        return u'\uA789'; // modifier letter colon
    case '*':
        return u'\u2217'; // asterisk operator
    case '?':
        return u'\u0294'; // latin letter glottal stop
    case '"':
        return u'\u02BA'; // modifier letter double prime
    case '<':
        return u'\u2039'; // single left-pointing angle quotation mark
    case '>':
        return u'\u203A'; // single right-pointing angle quotation mark
    case '|':
        return u'\u2223'; // divides
    default:
        return kUnreadable; // a control character
    }
}

// A name that holds a character of the escape block itself keeps it as its three UTF-8 bytes
// (EF 9C..9F 80..BF): that character, or nothing when the bytes at `at` are not such a sequence.
std::optional<QChar> EscapeBlockCharacterAt(const QString& text, qsizetype at) {
    if (at + 2 >= text.size())
        return std::nullopt;
    const auto lead = EscapedByte(text[at]);
    const auto second = EscapedByte(text[at + 1]);
    const auto third = EscapedByte(text[at + 2]);
    if (!lead || !second || !third || *lead != 0xEF || (*second & 0xFC) != 0x9C ||
        (*third & 0xC0) != 0x80)
        return std::nullopt;
    return QChar(char16_t(0xF000 | ((*second & 0x3F) << 6) | (*third & 0x3F)));
}

QStringDecoder LegacyDecoder() {
    const QByteArray name = "windows-" + QByteArray::number(AnsiCodePageOf(QLocale()));
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    if (decoder.isValid())
        return decoder;
    return QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
}

} // namespace

QString DisplayText(const QString& windowsText) {
    if (std::none_of(windowsText.begin(), windowsText.end(),
                     [](QChar c) { return EscapedByte(c).has_value(); }))
        return windowsText;
    QString shown;
    shown.reserve(windowsText.size());
    std::optional<QStringDecoder> legacy;
    for (qsizetype i = 0; i < windowsText.size();) {
        const std::optional<unsigned char> byte = EscapedByte(windowsText[i]);
        if (!byte) {
            shown += windowsText[i++];
        } else if (*byte < 0x80) {
            shown += LookAlike(*byte);
            ++i;
        } else if (const std::optional<QChar> own = EscapeBlockCharacterAt(windowsText, i)) {
            shown += *own;
            i += 3;
        } else {
            if (!legacy)
                legacy = LegacyDecoder();
            const char raw = char(*byte);
            const QString decoded = legacy->decode(QByteArrayView(&raw, 1));
            // A byte that the code page leaves undefined, or makes a control character, reads
            // as unreadable rather than as nothing.
            shown += decoded.size() == 1 && decoded[0].category() != QChar::Other_Control
                         ? decoded[0]
                         : kUnreadable;
            ++i;
        }
    }
    return shown;
}

} // namespace win32
