#pragma once
// The reversible mapping between POSIX file names (any bytes but '/' and NUL) and Windows file
// names. A byte that Windows name text cannot carry (\ : * ? " < > |, control characters, bytes
// that are not UTF-8) becomes U+F700 plus the byte, in the Unicode private-use area; a name
// already holding such a private-use character has that character's bytes mapped the same way,
// so that every POSIX name maps to a distinct Windows name and back to exactly its bytes.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace win32 {

// The first character of the escape block: byte b stands as U+F700 + b.
constexpr char16_t kNameEscapeBase = 0xF700;

// The byte an escaped character stands for; nothing for any other character.
inline std::optional<unsigned char> EscapedByte(QChar character) {
    const char16_t unit = character.unicode();
    if (unit < kNameEscapeBase || unit > kNameEscapeBase + 0xFF)
        return std::nullopt;
    return static_cast<unsigned char>(unit - kNameEscapeBase);
}

// The Windows name of a POSIX name.
QString WindowsNameOf(const QByteArray& posixName);
// Appends the Windows name of `size` bytes at `bytes` to `out` (no allocation when it fits).
void AppendWindowsName(const char* bytes, qsizetype size, QString& out);
// The POSIX name of a Windows name; empty when the name holds a character that no Windows
// name may hold (\ / : * ? " < > | or a control character), so the caller reports error 123.
std::optional<QByteArray> PosixNameOf(QStringView windowsName);

} // namespace win32
