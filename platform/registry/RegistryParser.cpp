#include "platform/registry/RegistryParser.h"

#include "platform/registry/RegistryWriter.h"
#include "platform/registry/registry.h"

#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <cctype>

namespace win32 {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

bool ParseHexNumber(const QByteArray& digits, int maxDigits, quint32* out) {
    if (digits.isEmpty() || digits.size() > maxDigits) {
        return false;
    }
    bool ok = false;
    *out = digits.toUInt(&ok, 16);
    // toUInt accepts a sign and a 0x prefix; the file's numbers are bare digits.
    return ok && std::all_of(digits.begin(), digits.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

} // namespace

RegistryParser::RegistryParser(const QByteArray& text) {
    QByteArray body = text;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
    }
    lines_ = body.split('\n');
}

std::optional<RegistryHive> RegistryParser::Parse(const QByteArray& text,
                                                  RegistryParseError* error) {
    RegistryParser parser(text);
    if (!parser.Run()) {
        *error = parser.error_;
        return std::nullopt;
    }
    return std::move(parser.hive_);
}

bool RegistryParser::Fail(const QString& reason) {
    error_ = {lineNumber_, reason};
    return false;
}

bool RegistryParser::NextLine(QByteArray* line) {
    if (next_ >= lines_.size()) {
        return false;
    }
    *line = lines_[next_++];
    lineNumber_ = static_cast<int>(next_);
    if (line->endsWith('\r')) {
        line->chop(1);
    }
    return true;
}

bool RegistryParser::Run() {
    bool header = false;
    QByteArray line;
    while (NextLine(&line)) {
        if (QString::fromUtf8(line).toUtf8() != line) {
            return Fail(QStringLiteral("text není v kódování UTF-8"));
        }
        const QByteArray text = line.trimmed();
        if (text.isEmpty() || text.startsWith(';')) {
            continue;
        }
        if (!header) {
            if (text != "REGEDIT4") {
                return Fail(QStringLiteral("soubor nezačíná řádkem REGEDIT4"));
            }
            header = true;
            continue;
        }
        if (!(text.startsWith('[') ? Section(text) : ValueLine(text))) {
            return false;
        }
    }
    // A file without any content (not even the header) is an empty hive.
    return true;
}

bool RegistryParser::Section(const QByteArray& line) {
    if (!line.endsWith(']')) {
        return Fail(QStringLiteral("chybí závorka ] na konci názvu klíče"));
    }
    const QString path = QString::fromUtf8(line.mid(1, line.size() - 2));
    QStringList parts = path.split(QLatin1Char('\\'));
    if (parts.first().compare(QLatin1String(RegistryWriter::kRootName), Qt::CaseInsensitive) != 0) {
        return Fail(QStringLiteral("neznámý kořenový klíč „%1“").arg(parts.first()));
    }
    parts.removeFirst();
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            return Fail(QStringLiteral("název klíče obsahuje prázdnou část"));
        }
        if (std::any_of(part.begin(), part.end(), [](QChar c) { return c < QChar(0x20); })) {
            return Fail(QStringLiteral("název klíče obsahuje řídicí znak"));
        }
    }
    key_ = parts.join(QLatin1Char('\\'));
    hive_.CreateKey(*key_);
    return true;
}

bool RegistryParser::ValueLine(const QByteArray& line) {
    if (!key_) {
        return Fail(QStringLiteral("hodnota stojí před prvním klíčem"));
    }
    RegistryValue value;
    qsizetype pos = 0;
    if (line.startsWith('@')) {
        pos = 1;
    } else if (line.startsWith('"')) {
        QByteArray name;
        if (!ReadQuoted(line, &pos, &name)) {
            return false;
        }
        value.name = QString::fromUtf8(name);
    } else {
        return Fail(QStringLiteral("řádek není klíč ani hodnota"));
    }
    while (pos < line.size() && IsSpace(line[pos])) {
        ++pos;
    }
    if (pos >= line.size() || line[pos] != '=') {
        return Fail(QStringLiteral("za názvem hodnoty chybí rovnítko"));
    }
    if (!ReadData(line.mid(pos + 1).trimmed(), &value)) {
        return false;
    }
    hive_.SetValue(*key_, value);
    return true;
}

bool RegistryParser::ReadQuoted(const QByteArray& line, qsizetype* pos, QByteArray* out) {
    // *pos is at the opening quote; on success it is just past the closing one.
    for (qsizetype i = *pos + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c != '\\') {
            *out += c;
            continue;
        }
        if (++i >= line.size()) {
            break;
        }
        const char escaped = line[i];
        quint32 byte = 0;
        if (escaped == '\\' || escaped == '"') {
            *out += escaped;
        } else if (escaped == '0') {
            *out += '\0';
        } else if (escaped == 'x' && line.mid(i + 1, 2).size() == 2 &&
                   ParseHexNumber(line.mid(i + 1, 2), 2, &byte)) {
            *out += static_cast<char>(byte);
            i += 2;
        } else {
            return Fail(QStringLiteral("neplatná dvojice se zpětným lomítkem „\\%1“")
                            .arg(QString::fromUtf8(line.mid(i, 1))));
        }
    }
    return Fail(QStringLiteral("chybí uzavírací uvozovka"));
}

bool RegistryParser::ReadData(QByteArray text, RegistryValue* value) {
    const int firstLine = lineNumber_;
    if (text.startsWith("hex")) {
        // A hex list may go on over lines that end with a backslash.
        QByteArray more;
        while (text.endsWith('\\')) {
            if (!NextLine(&more)) {
                lineNumber_ = firstLine;
                return Fail(QStringLiteral("soubor končí uprostřed pokračujícího řádku"));
            }
            text.chop(1);
            text += more.trimmed();
        }
        lineNumber_ = firstLine;
    }
    qsizetype colon = text.indexOf(':');
    const QByteArray kind = colon < 0 ? QByteArray() : text.left(colon);
    const QByteArray rest = colon < 0 ? QByteArray() : text.mid(colon + 1).trimmed();
    quint32 type = 0;
    if (text.startsWith('"') || kind.startsWith("str(")) {
        if (text.startsWith('"')) {
            type = REG_SZ;
        } else if (!kind.endsWith(')') || !ParseHexNumber(kind.mid(4, kind.size() - 5), 8, &type)) {
            return Fail(QStringLiteral("neplatný typ hodnoty „%1“").arg(QString::fromUtf8(kind)));
        }
        const QByteArray quoted = text.startsWith('"') ? text : rest;
        qsizetype pos = 0;
        QByteArray bytes;
        if (!quoted.startsWith('"')) {
            return Fail(QStringLiteral("chybí úvodní uvozovka"));
        }
        if (!ReadQuoted(quoted, &pos, &bytes)) {
            return false;
        }
        if (pos != quoted.size()) {
            return Fail(QStringLiteral("za hodnotou následuje další text"));
        }
        *value = {value->name, type, bytes + '\0'};
        return true;
    }
    if (kind == "dword") {
        quint32 number = 0;
        if (!ParseHexNumber(rest, 8, &number)) {
            return Fail(QStringLiteral("neplatné číslo „%1“").arg(QString::fromUtf8(rest)));
        }
        QByteArray bytes(4, '\0');
        qToLittleEndian(number, bytes.data());
        *value = {value->name, REG_DWORD, bytes};
        return true;
    }
    if (kind == "hex") {
        type = REG_BINARY;
    } else if (!kind.startsWith("hex(") || !kind.endsWith(')') ||
               !ParseHexNumber(kind.mid(4, kind.size() - 5), 8, &type)) {
        return Fail(QStringLiteral("neznámý zápis hodnoty „%1“").arg(QString::fromUtf8(text)));
    }
    QByteArray bytes;
    if (!ReadHex(rest, &bytes)) {
        return false;
    }
    *value = {value->name, type, bytes};
    return true;
}

bool RegistryParser::ReadHex(const QByteArray& text, QByteArray* out) {
    if (text.isEmpty()) {
        return true;
    }
    for (const QByteArray& item : text.split(',')) {
        quint32 byte = 0;
        if (!ParseHexNumber(item.trimmed(), 2, &byte)) {
            return Fail(QStringLiteral("neplatný bajt „%1“").arg(QString::fromUtf8(item)));
        }
        *out += static_cast<char>(byte);
    }
    return true;
}

} // namespace win32
