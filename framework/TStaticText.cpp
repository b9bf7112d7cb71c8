#include "framework/TStaticText.h"

#include "framework/ClassicStyle.h"
#include "framework/TCanvas.h"
#include "framework/TMeasuringCanvas.h"

#include <QAccessible>
#include <QEvent>

TStaticText::TStaticText(QWidget* parent) : QWidget(parent) {
    resize(65, 17);
}

void TStaticText::SetBorderStyle(TStaticBorderStyle style) {
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
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
    return CaptionFlags() | DT_WORDBREAK | DT_EXPANDTABS;
}

void TStaticText::AdjustBounds() {
    if (!AutoSize())
        return;
    TMeasuringCanvas measuring;
    TRect r{0, 0, 0, 0};
    measuring.With(font()).DrawText(Caption(), r, (TextFlags() & ~DT_WORDBREAK) | DT_CALCRECT);
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
    DrawControlText(canvas, Caption(), r, TextFlags(), isEnabled(),
                    FromQColor(palette().color(QPalette::WindowText)));
}

void TStaticText::RepaintCaption() {
    update();
    // Assistive technology reads the new text (the size display's, for one).
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
