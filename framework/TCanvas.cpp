#include "framework/TCanvas.h"

#include "framework/TBitmap.h"
#include "framework/TextLayout.h"

#include <QFontMetrics>

TCanvas::TCanvas(QPaintDevice* device)
    : own_(std::make_unique<QPainter>(device)), painter_(own_.get()), qfont_(Font.ToQFont()) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    Font.OnChange = [this] { qfont_ = Font.ToQFont(); };
}

TCanvas::TCanvas(QPainter& painter) : painter_(&painter), qfont_(Font.ToQFont()) {
    Font.OnChange = [this] { qfont_ = Font.ToQFont(); };
}

TCanvas::~TCanvas() = default;

void TCanvas::SetQFont(const QFont& font) { qfont_ = font; }

void TCanvas::FillRect(const TRect& r) {
    if (!r.IsEmpty())
        painter_->fillRect(r.ToQRect(), ToQColor(Brush.Color));
}

void TCanvas::Rectangle(const TRect& r) {
    if (r.IsEmpty())
        return;
    if (!Brush.Clear)
        FillRect(r);
    const QColor pen = ToQColor(Pen.Color);
    TRect ring = r;
    for (int i = 0; i < qMax(1, Pen.Width) && !ring.IsEmpty(); ++i) {
        painter_->fillRect(ring.Left, ring.Top, ring.Width(), 1, pen);
        painter_->fillRect(ring.Left, ring.Bottom - 1, ring.Width(), 1, pen);
        painter_->fillRect(ring.Left, ring.Top, 1, ring.Height(), pen);
        painter_->fillRect(ring.Right - 1, ring.Top, 1, ring.Height(), pen);
        ring = {ring.Left + 1, ring.Top + 1, ring.Right - 1, ring.Bottom - 1};
    }
}

void TCanvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void TCanvas::LineTo(int x, int y) {
    const QColor color = ToQColor(Pen.Color);
    const int dx = x - penPos_.x();
    const int dy = y - penPos_.y();
    const int steps = qMax(qAbs(dx), qAbs(dy));
    // Stepping pixel by pixel keeps lines exact and leaves the end point out, as the desktop
    // does; the lines the program draws are short.
    for (int i = 0; i < steps; ++i) {
        const int px = penPos_.x() + (steps ? (dx * i + (dx >= 0 ? steps / 2 : -steps / 2)) / steps : 0);
        const int py = penPos_.y() + (steps ? (dy * i + (dy >= 0 ? steps / 2 : -steps / 2)) / steps : 0);
        painter_->fillRect(px, py, qMax(1, Pen.Width), qMax(1, Pen.Width), color);
    }
    penPos_ = QPoint(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) { painter_->fillRect(x, y, 1, 1, ToQColor(color)); }

int TCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(qfont_).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString& text) const { return TextExtent(text).height(); }

QSize TCanvas::TextExtent(const QString& text) const {
    const QFontMetrics metrics(qfont_);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    const QFontMetrics metrics(qfont_);
    if (!Brush.Clear)
        painter_->fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(),
                           ToQColor(Brush.Color));
    painter_->setFont(qfont_);
    painter_->setPen(ToQColor(Font.Color()));
    painter_->drawText(x, y + metrics.ascent(), text);
}

int TCanvas::DrawText(const QString& text, TRect& r, unsigned flags) {
    const QFontMetrics metrics(qfont_);
    PrefixedText shown = (flags & DT_NOPREFIX) ? PrefixedText{text, -1} : StripPrefixes(text);
    if (flags & DT_EXPANDTABS)
        shown.Text = ExpandTabs(shown.Text, metrics);
    QList<WrappedLine> lines;
    if (flags & DT_SINGLELINE) {
        QString single = shown.Text;
        single.replace(u'\n', u' ').replace(u'\r', u' ');
        lines.append({single, 0});
    } else {
        lines = WrapText(shown.Text, metrics, (flags & DT_WORDBREAK) ? r.Width() : -1);
    }
    const int lineHeight = metrics.height();
    const int height = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const WrappedLine& line : lines)
            widest = qMax(widest, metrics.horizontalAdvance(line.Text));
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }
    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lineHeight;
    }
    painter_->save();
    if (!(flags & DT_NOCLIP))
        painter_->setClipRect(r.ToQRect(), Qt::IntersectClip);
    painter_->setFont(qfont_);
    const QColor color = ToQColor(Font.Color());
    painter_->setPen(color);
    for (const WrappedLine& line : lines) {
        const int width = metrics.horizontalAdvance(line.Text);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - width) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - width;
        painter_->drawText(x, y + metrics.ascent(), line.Text);
        const int u = shown.Underlined - line.Start;
        if (shown.Underlined >= 0 && u >= 0 && u < line.Text.size()) {
            const int ux = x + metrics.horizontalAdvance(line.Text.left(u));
            const int uw = metrics.horizontalAdvance(line.Text.at(u));
            painter_->fillRect(ux, y + metrics.ascent() + 1, uw, 1, color);
        }
        y += lineHeight;
    }
    painter_->restore();
    return height;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (!bitmap.Empty())
        painter_->drawImage(x, y, bitmap.Image());
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
    if (!bitmap.Empty())
        painter_->drawImage(r.ToQRect(), bitmap.Image());
}
