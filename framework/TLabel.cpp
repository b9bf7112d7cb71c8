#include "framework/TLabel.h"

#include "framework/TextLayout.h"

#include <QImage>

TLabel::TLabel(QWidget* parent) : TGraphicControl(parent) {
    resize(65, 17);
}

void TLabel::SetColor(TColor color) {
    parentColor_ = false;
    if (color_ == color)
        return;
    color_ = color;
    update();
}

void TLabel::SetParentColor(bool parentColor) {
    if (parentColor_ == parentColor)
        return;
    parentColor_ = parentColor;
    update();
}

void TLabel::SetLayout(TTextLayout layout) {
    if (layout_ == layout)
        return;
    layout_ = layout;
    update();
}

void TLabel::SetTransparent(bool transparent) {
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    update();
}

void TLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap_ == wordWrap)
        return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    update();
}

void TLabel::Loaded() {
    AdjustBounds();
}

void TLabel::FontChanged() {
    AdjustBounds();
    update();
}

void TLabel::EnabledChanged() {
    update();
}

unsigned TLabel::DrawStyle() const {
    return CaptionFlags() | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0u);
}

void TLabel::DoDrawText(TCanvas& canvas, TRect& r, unsigned flags) {
    QString text = Caption();
    // An empty caption (or a lone prefix) still measures one line high.
    if ((flags & DT_CALCRECT) && (text.isEmpty() || (ShowAccelChar() && text == u"&")))
        text += u' ';
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    canvas.Font.Assign(Font());
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        r.Offset(1, 1);
        canvas.Font.SetColor(clBtnHighlight);
        canvas.DrawText(text, r, flags);
        r.Offset(-1, -1);
        canvas.Font.SetColor(clBtnShadow);
    }
    canvas.DrawText(text, r, flags);
}

void TLabel::AdjustBounds() {
    if (!AutoSize())
        return;
    QImage surface(1, 1, QImage::Format_RGB32);
    TRect r{0, 0, Width(), Height()};
    {
        TCanvas canvas(&surface);
        DoDrawText(canvas, r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0u));
    }
    int left = Left();
    if (Alignment() == taRightJustify)
        left += Width() - r.Right;
    SetBounds(left, Top(), r.Right, r.Bottom);
}

void TLabel::Paint(TCanvas& canvas) {
    const TRect client{0, 0, Width(), Height()};
    if (!transparent_ && !parentColor_) {
        canvas.Brush.Color = color_;
        canvas.FillRect(client);
    }
    const unsigned flags = DrawStyle();
    TRect r = client;
    if (layout_ != tlTop) {
        TRect measured = client;
        DoDrawText(canvas, measured, flags | DT_CALCRECT);
        r.Offset(0, layout_ == tlBottom ? Height() - measured.Bottom
                                        : (Height() - measured.Bottom) / 2);
    }
    DoDrawText(canvas, r, flags);
}

QString TLabel::AccessibleName() const {
    if (!accessibleName().isEmpty())
        return accessibleName();
    return ShowAccelChar() ? StripPrefixes(Caption()).Text : Caption();
}
