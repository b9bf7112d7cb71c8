#include "framework/TSpeedButton.h"

#include "framework/ClassicStyle.h"
#include "framework/TApplication.h"
#include "framework/TCanvas.h"
#include "framework/TextLayout.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>

namespace {

constexpr int kMaxGlyphs = 4;

// A glyph pixel dark enough to stay visible in the embossed disabled look.
bool IsDark(QRgb pixel) {
    return (qRed(pixel) * 30 + qGreen(pixel) * 59 + qBlue(pixel) * 11) / 100 < 192;
}

// One colour where the image is dark, the key colour everywhere else.
TBitmap Silhouette(const QImage& image, QRgb key, TColor color) {
    TBitmap result(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            const bool visible = pixel != (key & 0xFFFFFF) && IsDark(pixel);
            result.Image().setPixel(x, y, visible ? ToQColor(color).rgb() : key);
        }
    return result;
}

} // namespace

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(25, 25);
}

void TSpeedButton::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
    SetGlyphImage(glyph.Image());
}

void TSpeedButton::SetGlyphImage(const QImage& image) {
    glyph_.Assign(image);
    if (!glyph_.Empty() && glyph_.Width() % glyph_.Height() == 0) {
        const int count = glyph_.Width() / glyph_.Height();
        if (count >= 1 && count <= kMaxGlyphs)
            numGlyphs_ = count;
    }
    imagesValid_ = false;
    update();
}

void TSpeedButton::SetNumGlyphs(int count) {
    count = qBound(1, count, kMaxGlyphs);
    if (numGlyphs_ == count)
        return;
    numGlyphs_ = count;
    imagesValid_ = false;
    update();
}

void TSpeedButton::SetSpacing(int spacing) {
    if (spacing_ == spacing)
        return;
    spacing_ = spacing;
    update();
}

void TSpeedButton::PrepareImages() {
    if (imagesValid_)
        return;
    imagesValid_ = true;
    images_.SetSize(glyph_.Empty() ? 0 : glyph_.Width() / numGlyphs_, glyph_.Height());
    if (glyph_.Empty() || images_.Width() == 0)
        return;
    const QRgb key = glyph_.Image().pixel(0, glyph_.Height() - 1);
    for (int i = 0; i < numGlyphs_; ++i) {
        TBitmap part;
        part.Assign(glyph_.Image().copy(i * images_.Width(), 0, images_.Width(), images_.Height()));
        images_.AddMasked(part, FromQColor(QColor::fromRgb(key)));
    }
    if (numGlyphs_ < 2) {
        // Without a disabled image of its own the glyph is embossed: its dark parts in the
        // highlight colour, offset, under the same parts in the shadow colour.
        const QImage first = glyph_.Image().copy(0, 0, images_.Width(), images_.Height());
        const TColor keyColor = FromQColor(QColor::fromRgb(key));
        images_.AddMasked(Silhouette(first, key, clBtnHighlight), keyColor);
        images_.AddMasked(Silhouette(first, key, clBtnShadow), keyColor);
    }
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    PrepareImages();
    TCanvas canvas(this);
    canvas.SetQFont(font());
    TRect face{0, 0, width(), height()};
    if (pressed_) {
        Frame3D(canvas, face, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, face, cl3DDkShadow, cl3DLight, 1);
    } else {
        Frame3D(canvas, face, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(canvas, face, cl3DLight, clBtnShadow, 1);
    }
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(face);

    const int glyphWidth = images_.Count() ? images_.Width() : 0;
    const int glyphHeight = images_.Count() ? images_.Height() : 0;
    const int textWidth =
        caption_.isEmpty() ? 0
                           : QFontMetrics(font()).horizontalAdvance(StripPrefixes(caption_).Text);
    const int gap = glyphWidth > 0 && textWidth > 0 ? spacing_ : 0;
    const int shift = pressed_ ? 1 : 0;
    const int left = (width() - (glyphWidth + gap + textWidth)) / 2 + shift;

    if (glyphWidth > 0) {
        const int top = (height() - glyphHeight) / 2 + shift;
        if (Enabled()) {
            images_.Draw(canvas, left, top, 0, true);
        } else if (numGlyphs_ >= 2) {
            images_.Draw(canvas, left, top, 1, true);
        } else {
            images_.Draw(canvas, left + 1, top + 1, numGlyphs_, true);
            images_.Draw(canvas, left, top, numGlyphs_ + 1, true);
        }
    }
    if (textWidth > 0) {
        const TRect text{left + glyphWidth + gap, shift, left + glyphWidth + gap + textWidth,
                         height() + shift};
        DrawControlText(canvas, caption_, text, DT_SINGLELINE | DT_VCENTER, Enabled(),
                        FromQColor(palette().color(QPalette::Active, QPalette::ButtonText)));
    }
}

void TSpeedButton::SetPressed(bool pressed) {
    if (pressed_ == pressed)
        return;
    pressed_ = pressed;
    repaint();
}

void TSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    tracking_ = true;
    SetPressed(true);
}

void TSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event) {
    if (tracking_)
        SetPressed(rect().contains(event->position().toPoint()));
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !tracking_) {
        event->ignore();
        return;
    }
    tracking_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    SetPressed(false);
    if (!inside)
        return;
    CallEventHandler([this] { Click(); });
}

void TSpeedButton::Click() {
    if (OnClick)
        OnClick(this);
}

void TSpeedButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        tracking_ = false;
        pressed_ = false;
        update();
    }
}
