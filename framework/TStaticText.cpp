#include "framework/TStaticText.h"

#include "framework/ClassicStyle.h"
#include "framework/TCanvas.h"

#include <QEvent>
#include <QImage>

TStaticText::TStaticText(QWidget* parent) : QWidget(parent) {
    resize(65, 17);
}

void TStaticText::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    AdjustBounds();
    update();
}

void TStaticText::SetAlignment(TAlignment alignment) {
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    update();
}

void TStaticText::SetAutoSize(bool autoSize) {
    if (autoSize_ == autoSize)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle style) {
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
    AdjustBounds();
    update();
}

void TStaticText::SetShowAccelChar(bool show) {
    if (showAccelChar_ == show)
        return;
    showAccelChar_ = show;
    AdjustBounds();
    update();
}

void TStaticText::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    update();
}

unsigned TStaticText::TextFlags() const {
    unsigned flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    return flags;
}

void TStaticText::AdjustBounds() {
    if (!autoSize_)
        return;
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.SetQFont(font());
    TRect r{0, 0, 0, 0};
    canvas.DrawText(caption_, r, (TextFlags() & ~DT_WORDBREAK) | DT_CALCRECT);
    resize(r.Width() + 2 * BorderSize(), r.Height() + 2 * BorderSize());
}

void TStaticText::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
}

void TStaticText::paintEvent(QPaintEvent*) {
    TCanvas canvas(this);
    TRect r{0, 0, width(), height()};
    if (borderStyle_ == sbsSunken)
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    else if (borderStyle_ == sbsSingle)
        Frame3D(canvas, r, clWindowText, clWindowText, 1);
    canvas.Brush.Color = color_;
    canvas.FillRect(r);
    canvas.SetQFont(font());
    DrawControlText(canvas, caption_, r, TextFlags(), isEnabled(),
                    FromQColor(palette().color(QPalette::WindowText)));
}
