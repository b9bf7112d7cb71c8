#include "platform/registry/RegistryWriter.h"

#include "platform/registry/registry.h"

#include <QtEndian>

namespace win32 {

namespace {

constexpr int kLineWidth = 76;

// True when the bytes before the final NUL are UTF-8 that decodes and encodes back unchanged, so
// that the string form keeps them exactly.
bool IsText(const QByteArray& data) {
    if (data.isEmpty() || data.back() != '\0') {
        return false;
    }
    const QByteArray body = data.left(data.size() - 1);
    return QString::fromUtf8(body).toUtf8() == body;
}

} // namespace

QByteArray RegistryWriter::Quote(const QByteArray& utf8) {
    QByteArray out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\0') {
            out += "\\0";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray RegistryWriter::Hex(const QByteArray& data, int column) {
    QByteArray out;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const QByteArray item =
            QByteArray::number(static_cast<unsigned char>(data[i]), 16).rightJustified(2, '0');
        const bool last = i + 1 == data.size();
        // Each line keeps room for the item, its comma and the continuation backslash.
        if (column + 4 > kLineWidth && !last) {
            out += "\\\n  ";
            column = 2;
        }
        out += item;
        column += 2;
        if (!last) {
            out += ',';
            ++column;
        }
    }
    return out;
}

QByteArray RegistryWriter::Data(const RegistryValue& value, int column) {
    if (value.type == REG_SZ && IsText(value.data)) {
        return Quote(value.data.left(value.data.size() - 1));
    }
    if (value.type == REG_EXPAND_SZ && IsText(value.data)) {
        return "str(2):" + Quote(value.data.left(value.data.size() - 1));
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const quint32 number = qFromLittleEndian<quint32>(value.data.constData());
        return "dword:" + QByteArray::number(number, 16).rightJustified(8, '0');
    }
    const QByteArray prefix = value.type == REG_BINARY
                                  ? QByteArray("hex:")
                                  : "hex(" + QByteArray::number(value.type, 16) + "):";
    return prefix + Hex(value.data, column + static_cast<int>(prefix.size()));
}

QByteArray RegistryWriter::Write(const RegistryHive& hive) {
    QByteArray out = "REGEDIT4\n";
    for (const RegistryKey* key : hive.Keys()) {
        // The root is written only when it holds values; every other key always, so that an
        // empty key survives.
        if (key->path.isEmpty() && key->values.empty()) {
            continue;
        }
        out += "\n[";
        out += kRootName;
        if (!key->path.isEmpty()) {
            out += '\\' + key->path.toUtf8();
        }
        out += "]\n";
        for (const RegistryValue& value : key->values) {
            const QByteArray name =
                value.name.isEmpty() ? QByteArray("@") : Quote(value.name.toUtf8());
            out += name + '=' + Data(value, static_cast<int>(name.size()) + 1) + '\n';
        }
    }
    return out;
}

} // namespace win32
