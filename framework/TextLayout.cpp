#include "framework/TextLayout.h"

PrefixedText StripPrefixes(const QString& text) {
    PrefixedText result;
    result.Text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                result.Text += u'&';
                ++i;
                continue;
            }
            if (i + 1 < text.size())
                result.Underlined = static_cast<int>(result.Text.size());
            continue;
        }
        result.Text += text[i];
    }
    return result;
}

QString ExpandTabs(const QString& text, const QFontMetrics& metrics) {
    if (!text.contains(u'\t'))
        return text;
    const int average = qMax(1, metrics.averageCharWidth());
    const int space = qMax(1, metrics.horizontalAdvance(u' '));
    const int stop = 8 * average;
    QString out;
    QString line;
    for (const QChar c : text) {
        if (c == u'\n') {
            out += line + c;
            line.clear();
        } else if (c == u'\t') {
            const int x = metrics.horizontalAdvance(line);
            const int next = (x / stop + 1) * stop;
            line += QString((next - x + space - 1) / space, u' ');
        } else {
            line += c;
        }
    }
    return out + line;
}

namespace {

void WrapParagraph(const QString& paragraph, int start, const QFontMetrics& metrics, int width,
                   QList<WrappedLine>& lines) {
    if (width < 0 || metrics.horizontalAdvance(paragraph) <= width) {
        lines.append({paragraph, start});
        return;
    }
    int lineStart = 0;
    int lastBreak = -1; // index of the blank after the last word that fitted
    int i = 0;
    while (i <= paragraph.size()) {
        const bool atEnd = i == paragraph.size();
        if (atEnd || paragraph[i] == u' ') {
            const QString candidate = paragraph.mid(lineStart, i - lineStart);
            if (metrics.horizontalAdvance(candidate) > width && lastBreak > lineStart) {
                lines.append({paragraph.mid(lineStart, lastBreak - lineStart), start + lineStart});
                lineStart = lastBreak + 1;
                while (lineStart < paragraph.size() && paragraph[lineStart] == u' ')
                    ++lineStart;
                lastBreak = -1;
                i = lineStart;
                continue;
            }
            if (atEnd) {
                lines.append({paragraph.mid(lineStart), start + lineStart});
                break;
            }
            lastBreak = i;
        }
        ++i;
    }
}

} // namespace

QList<WrappedLine> WrapText(const QString& text, const QFontMetrics& metrics, int width) {
    QList<WrappedLine> lines;
    int start = 0;
    while (true) {
        int end = static_cast<int>(text.indexOf(u'\n', start));
        const bool last = end < 0;
        if (last)
            end = static_cast<int>(text.size());
        QString paragraph = text.mid(start, end - start);
        if (paragraph.endsWith(u'\r'))
            paragraph.chop(1);
        WrapParagraph(paragraph, start, metrics, width, lines);
        if (last)
            break;
        start = end + 1;
    }
    return lines;
}
