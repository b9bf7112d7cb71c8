#include "framework/TPanel.h"

#include "framework/ClassicStyle.h"
#include "framework/TCanvas.h"

namespace {

void Bevel(TCanvas& canvas, TRect& r, TPanel::TBevelCut cut, TColor face, int width) {
    switch (cut) {
    case TPanel::bvLowered:
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, width);
        break;
    case TPanel::bvRaised:
        Frame3D(canvas, r, clBtnHighlight, clBtnShadow, width);
        break;
    case TPanel::bvSpace:
        Frame3D(canvas, r, face, face, width);
        break;
    case TPanel::bvNone:
        break;
    }
}

} // namespace

TPanel::TPanel(QWidget* parent) : QWidget(parent) {}

template <class T> void TPanel::Change(T& field, T value) {
    if (field == value)
        return;
    field = value;
    update();
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    Change(bevelOuter_, cut);
}

void TPanel::SetBevelInner(TBevelCut cut) {
    Change(bevelInner_, cut);
}

void TPanel::SetBevelWidth(int width) {
    Change(bevelWidth_, qMax(1, width));
}

void TPanel::SetBorderWidth(int width) {
    Change(borderWidth_, qMax(0, width));
}

void TPanel::SetCaption(const QString& caption) {
    Change(caption_, caption);
}

void TPanel::SetAlignment(TAlignment alignment) {
    Change(alignment_, alignment);
}

void TPanel::SetColor(TColor color) {
    Change(color_, color);
}

bool TPanel::ShowHint() const {
    if (!parentShowHint_)
        return showHint_;
    const QWidget* parent = parentWidget();
    return parent && parent->property("ShowHint").toBool();
}

void TPanel::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

void TPanel::paintEvent(QPaintEvent*) {
    TCanvas canvas(this);
    TRect r{0, 0, width(), height()};
    Bevel(canvas, r, bevelOuter_, color_, bevelWidth_);
    Frame3D(canvas, r, color_, color_, borderWidth_);
    Bevel(canvas, r, bevelInner_, color_, bevelWidth_);
    canvas.Brush.Color = color_;
    canvas.FillRect(r);
    if (caption_.isEmpty())
        return;
    canvas.SetQFont(font());
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    DrawControlText(canvas, caption_, r, flags, isEnabled(),
                    FromQColor(palette().color(QPalette::WindowText)));
}
