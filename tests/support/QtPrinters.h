#pragma once
// Lets GoogleTest print Qt's text types in failure messages.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(QChar c, std::ostream* out) {
    *out << '\'' << QString(c).toStdString() << '\'';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *out << (i ? ", " : "") << '"' << texts[i].toStdString() << '"';
    *out << '}';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << "bytes(" << bytes.toHex(' ').toStdString() << ')';
}
