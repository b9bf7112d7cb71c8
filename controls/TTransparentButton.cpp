#include "controls/TTransparentButton.h"

#include "controls/GlyphPictures.h"

#include <QLocale>
#include <algorithm>
#include <limits>

TTransparentButton::TTransparentButton(QWidget* parent) : TGraphicControl(parent) {
    // The second press of a double click is an ordinary press.
    SetTakesDoubleClicks(false);
    setGeometry(0, 0, 40, 40);
    glyph_.OnChange = [this] { GlyphChanged(); };
    SetWantsDialogChars(true);
}

// Properties ------------------------------------------------------------------------------------

void TTransparentButton::SetBorderWidth(unsigned width) {
    if (borderWidth_ == width)
        return;
    borderWidth_ = width;
    update();
}

void TTransparentButton::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TTransparentButton::SetDown(bool down) {
    if (down_ == down)
        return;
    down_ = down;
    pressedLook_ = down;
    mouseHeld_ = down;
    repaint();
}

void TTransparentButton::SetFrameStyle(TFrameStyle style) {
    if (frameStyle_ == style)
        return;
    frameStyle_ = style;
    update();
}

void TTransparentButton::SetNumGlyphs(int count) {
    count = std::clamp(count, 1, 4);
    if (numGlyphs_ == count)
        return;
    numGlyphs_ = count;
    // Painting picks images by NumGlyphs, so the list must be split the same way.
    RebuildGlyphImages(glyph_);
    update();
}

void TTransparentButton::SetSpacing(int spacing) {
    if (spacing_ == spacing)
        return;
    spacing_ = spacing;
    update();
}

void TTransparentButton::SetTextAlign(TTextAlign align) {
    if (textAlign_ == align)
        return;
    textAlign_ = align;
    update();
}

void TTransparentButton::SetTransparent(bool transparent) {
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    update();
}

void TTransparentButton::SetWordWrap(bool wordWrap) {
    if (wordWrap_ == wordWrap)
        return;
    wordWrap_ = wordWrap;
    update();
}

// Glyph images ----------------------------------------------------------------------------------

void TTransparentButton::GlyphChanged() {
    update();
    const int width = glyph_.Width();
    const int height = glyph_.Height();
    if (height <= 0)
        return;
    if (width % height == 0) {
        const int count = width / height;
        numGlyphs_ = count >= 1 && count <= 4 ? count : 1;
    }
    RebuildGlyphImages(glyph_);
}

void TTransparentButton::RebuildGlyphImages(const TBitmap& source) {
    if (source.Empty())
        return;
    const int width = source.Width() / numGlyphs_;
    const int height = source.Height();
    glyphImages_.SetSize(width, height);
    auto maskOf = [height](const TBitmap& image) { return image.Pixel(0, height - 1); };
    TBitmap work;
    for (int i = 0; i < numGlyphs_; ++i) {
        work.Assign(source.Image().copy(i * width, 0, width, height));
        if (i == 0) {
            grayGlyph_.Assign(work);
            MakeGrayBitmap(grayGlyph_, 11, 59, 30);
            disabledGlyph_.Assign(work);
            MakeDisabledBitmap(disabledGlyph_);
        }
        glyphImages_.AddMasked(work, maskOf(work));
    }
    glyphImages_.AddMasked(grayGlyph_, maskOf(grayGlyph_));
    glyphImages_.AddMasked(disabledGlyph_, maskOf(disabledGlyph_));
    update();
}

// Mouse -----------------------------------------------------------------------------------------

void TTransparentButton::MouseDown(TMouseButton button, int shift, int x, int y) {
    if (!Enabled() || pressTracked_)
        return;
    pressTracked_ = true;
    QPointer<TTransparentButton> self(this);
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!self)
        return;
    if (movable_)
        dragOrigin_ = QPoint(x, y);
    if (rect().contains(x, y)) {
        mouseHeld_ = true;
        pressedLook_ = true;
        repaint();
    }
    if (!popUpMenu_)
        return;
    const QPoint corner = mapToGlobal(QPoint(0, Height()));
    popUpMenu_->Popup(corner.x(), corner.y());
    if (!self)
        return;
    // The menu has taken the real release; whatever mouse input is still queued is stale.
    DiscardPendingMouseInput();
    if (!self)
        return;
    CancelClick();
    MouseUp(button, shift, x, y);
}

void TTransparentButton::MouseMove(int shift, int x, int y) {
    QPointer<TTransparentButton> self(this);
    TGraphicControl::MouseMove(shift, x, y);
    if (!self || !mouseHeld_)
        return;
    if (movable_) {
        // Vertical first, then horizontal; the pointer keeps its place on the button.
        SetTop(Top() + y - dragOrigin_.y());
        SetLeft(Left() + x - dragOrigin_.x());
    }
    const bool inside = rect().contains(x, y);
    if (inside != pressedLook_) {
        pressedLook_ = inside;
        repaint();
    }
}

void TTransparentButton::MouseUp(TMouseButton button, int shift, int x, int y) {
    if (!Enabled() || !pressTracked_)
        return;
    pressTracked_ = false;
    if (down_)
        return;
    mouseHeld_ = false;
    pressedLook_ = false;
    repaint();
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TTransparentButton::MouseEnter() {
    if (!Enabled())
        return;
    mouseInside_ = true;
    QPointer<TTransparentButton> self(this);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (self && frameStyle_ == fsExplorer)
        repaint();
}

void TTransparentButton::MouseLeave() {
    if (!Enabled())
        return;
    mouseInside_ = false;
    QPointer<TTransparentButton> self(this);
    if (OnMouseExit)
        OnMouseExit(this);
    if (self && frameStyle_ == fsExplorer)
        repaint();
}

void TTransparentButton::EnabledChanged() {
    if (!Enabled()) {
        pressedLook_ = false;
        mouseHeld_ = false;
        pressTracked_ = false;
        mouseInside_ = false;
    }
    repaint();
}

// Accelerator -----------------------------------------------------------------------------------

bool TTransparentButton::DialogChar(QChar key) {
    const qsizetype prefix = caption_.indexOf(u'&');
    if (prefix < 0 || prefix + 1 >= caption_.size())
        return false;
    const QLocale locale;
    if (locale.toUpper(QString(caption_.at(prefix + 1))) != locale.toUpper(QString(key)))
        return false;
    // A button that cannot be seen or that sits in a disabled panel is not pressed by its key.
    if (!Enabled() || !isEnabled() || !isVisible())
        return false;
    Click();
    return true;
}

// Painting --------------------------------------------------------------------------------------

int TTransparentButton::PenWidth() const {
    return static_cast<int>(std::min<unsigned>(borderWidth_, std::numeric_limits<int>::max()));
}

TRect TTransparentButton::GlyphRect() const {
    int glyphWidth = glyph_.Width() / numGlyphs_;
    if (glyphWidth <= 0)
        glyphWidth = glyph_.Width();
    const int glyphHeight = glyph_.Height();
    const int w = Width();
    const int h = Height();
    int top = (h - glyphHeight) / 2;
    if (textAlign_ == ttaBottomRight || textAlign_ == ttaBottom || textAlign_ == ttaBottomLeft)
        top = spacing_;
    else if (textAlign_ == ttaTopLeft || textAlign_ == ttaTop || textAlign_ == ttaTopRight)
        top = h - glyphHeight - spacing_;
    int left = (w - glyphWidth) / 2;
    if (textAlign_ == ttaLeft)
        left = w - glyphWidth - spacing_;
    else if (textAlign_ == ttaRight)
        left = spacing_;
    return {left, top, left + glyphWidth, top + glyphHeight};
}

int TTransparentButton::ChosenImage() const {
    const int count = glyphImages_.Count();
    const bool enabled = Enabled();
    int index = 0;
    if (numGlyphs_ == 2)
        index = enabled ? 0 : 1;
    else if (numGlyphs_ >= 3)
        index = !enabled ? 1 : pressedLook_ ? 2 : 0;
    if (frameStyle_ == fsExplorer && autoGray_ && !mouseInside_)
        index = count - 2;
    if (!enabled && numGlyphs_ == 1)
        index = count - 1;
    return index;
}

void TTransparentButton::Paint(TCanvas& canvas) {
    canvas.Brush.Color = clBtnFace;
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = PenWidth();
    DrawBase(canvas);
    if (pressedLook_ && frameStyle_ != fsNone)
        DrawPressedFrame(canvas);
    if (!pressedLook_)
        DrawReleasedFrame(canvas);
    const TRect glyph = GlyphRect();
    if (!glyph_.Empty()) {
        const int shift = pressedLook_ && showPressed_ ? 1 : 0;
        glyphImages_.Draw(canvas, glyph.Left + shift, glyph.Top + shift, ChosenImage(),
                          transparent_, clBtnFace);
    }
    if (!caption_.isEmpty())
        DrawCaption(canvas, glyph);
}

void TTransparentButton::DrawBase(TCanvas& canvas) const {
    const int w = Width();
    const int h = Height();
    TRect r;
    switch (frameStyle_) {
    case fsRegular:
        if (transparent_) {
            r = {1, 1, w, h};
            DrawBevel(canvas, r, clBlack, clBlack, borderWidth_);
        } else {
            canvas.Rectangle({1, 1, w, h});
        }
        break;
    case fsIndent:
        if (transparent_) {
            r = {0, 0, w - 1, h - 1};
            DrawBevel(canvas, r, clBtnShadow, clBtnShadow, borderWidth_);
        } else {
            canvas.Pen.Color = clBtnShadow;
            canvas.Rectangle({0, 0, w - 1, h - 1});
        }
        r = {1, 1, w, h};
        DrawBevel(canvas, r, clBtnHighlight, clBtnHighlight, borderWidth_);
        break;
    default:
        if (!transparent_)
            canvas.FillRect({0, 0, w, h});
        break;
    }
}

void TTransparentButton::DrawPressedFrame(TCanvas& canvas) const {
    TRect r{0, 0, Width(), Height()};
    switch (frameStyle_) {
    case fsRegular:
    case fsIndent:
        if (showPressed_) {
            DrawBevel(canvas, r, clBlack, clBtnHighlight, borderWidth_);
            DrawBevel(canvas, r, clBtnShadow, clBtnFace, borderWidth_);
        }
        break;
    case fsExplorer:
        if (mouseInside_ || down_) {
            if (showPressed_)
                DrawBevel(canvas, r, clBtnShadow, clBtnHighlight, borderWidth_);
            else
                DrawBevel(canvas, r, clBtnHighlight, clBtnShadow, borderWidth_);
        }
        break;
    case fsLight:
        if (showPressed_)
            DrawBevel(canvas, r, clBtnShadow, clBtnHighlight, 1);
        break;
    case fsDark:
        if (showPressed_)
            DrawBevel(canvas, r, cl3DDkShadow, clBtnFace, 1);
        break;
    case fsMono:
        if (showPressed_)
            DrawBevel(canvas, r, cl3DDkShadow, clBtnHighlight, 1);
        break;
    case fsNone:
        break;
    }
}

void TTransparentButton::DrawReleasedFrame(TCanvas& canvas) const {
    TRect r{0, 0, Width(), Height()};
    switch (frameStyle_) {
    case fsRegular:
        DrawBevel(canvas, r, clBtnHighlight, clBlack, borderWidth_);
        DrawBevel(canvas, r, clBtnFace, clBtnShadow, borderWidth_);
        break;
    case fsIndent:
        DrawBevel(canvas, r, clBtnShadow, clBtnHighlight, borderWidth_);
        break;
    case fsExplorer:
        if (mouseInside_)
            DrawBevel(canvas, r, clBtnHighlight, clBtnShadow, borderWidth_);
        break;
    case fsLight:
        DrawBevel(canvas, r, clBtnHighlight, clBtnShadow, 1);
        break;
    case fsDark:
        DrawBevel(canvas, r, clBtnFace, cl3DDkShadow, 1);
        break;
    case fsMono:
        DrawBevel(canvas, r, clBtnHighlight, cl3DDkShadow, 1);
        break;
    case fsNone:
        break;
    }
}

void TTransparentButton::DrawCaption(TCanvas& canvas, const TRect& glyph) const {
    canvas.Font.Assign(Font());
    const int w = Width();
    const int h = Height();
    const int s = spacing_;
    const unsigned lines = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
    TRect t{0, 0, w, h};
    canvas.DrawText(caption_, t, DT_CALCRECT | lines);
    const int tw = t.Width();
    const int th = t.Height();
    int dx = w / 2 - tw / 2;
    int dy = h / 2 - th / 2;
    switch (textAlign_) {
    case ttaTopLeft:
    case ttaTop:
    case ttaTopRight:
        dy = glyph.Top - th - s;
        break;
    case ttaBottomRight:
    case ttaBottom:
    case ttaBottomLeft:
        dy = glyph.Bottom + s;
        break;
    default:
        break;
    }
    if (textAlign_ == ttaTopLeft || textAlign_ == ttaBottomLeft || textAlign_ == ttaLeft)
        dx = s;
    else if (textAlign_ == ttaTopRight || textAlign_ == ttaRight || textAlign_ == ttaBottomRight)
        dx = w - tw - s;
    t.Offset(dx, dy);
    if (pressedLook_ && showPressed_)
        t.Offset(1, 1);
    const unsigned flags = DT_CENTER | DT_NOCLIP | lines;
    if (Enabled()) {
        canvas.DrawText(caption_, t, flags);
        return;
    }
    TRect highlight = t;
    highlight.Offset(1, 1);
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(caption_, highlight, flags);
    canvas.Font.SetColor(clBtnShadow);
    canvas.DrawText(caption_, t, flags);
}
