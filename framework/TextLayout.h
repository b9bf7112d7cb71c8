#pragma once
// The text breaking rules of the desktop's text drawing call, kept apart from painting so that
// measuring and drawing share them: "&" prefixes, tab expansion and word wrapping.

#include <QFontMetrics>
#include <QString>
#include <QStringList>

struct PrefixedText {
    QString Text;        // what is shown: single "&" removed, "&&" made one "&"
    int Underlined = -1; // index in Text of the character shown underlined, or -1
};

PrefixedText StripPrefixes(const QString& text);
// Tabs become spaces up to the next stop; stops are eight average characters apart.
QString ExpandTabs(const QString& text, const QFontMetrics& metrics);

struct WrappedLine {
    QString Text;
    int Start = 0; // index of the line's first character in the source text
};

// Splits at line breaks and, when width >= 0, between words so that each line fits width; a word
// wider than width keeps a line of its own.
QList<WrappedLine> WrapText(const QString& text, const QFontMetrics& metrics, int width);
