#pragma once
// Reads the text of the hive file back into a hive, accepting everything RegistryWriter writes
// plus what a person editing the file by hand would type (comments, blank lines, CRLF line ends,
// a byte-order mark, hex digits in either case). Anything else is an error naming the line.

#include "platform/registry/RegistryHive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace win32 {

struct RegistryParseError {
    int line = 0;   // 1-based line of the file
    QString reason; // Czech, for the message shown to the user
};

class RegistryParser {
public:
    // The hive, or nullopt with `error` filled in.
    static std::optional<RegistryHive> Parse(const QByteArray& text, RegistryParseError* error);

private:
    explicit RegistryParser(const QByteArray& text);
    bool Run();
    bool Fail(const QString& reason);
    bool NextLine(QByteArray* line);
    bool Section(const QByteArray& line);
    bool ValueLine(const QByteArray& line);
    bool ReadQuoted(const QByteArray& line, qsizetype* pos, QByteArray* out);
    bool ReadData(QByteArray text, RegistryValue* value);
    bool ReadHex(const QByteArray& text, QByteArray* out);

    QList<QByteArray> lines_;
    qsizetype next_ = 0;
    int lineNumber_ = 0;
    std::optional<QString> key_; // the section the values belong to
    RegistryHive hive_;
    RegistryParseError error_;
};

} // namespace win32
