#pragma once
// A button without a window of its own that never takes the focus: a glyph and a caption
// centred together (glyph on the left, Spacing pixels apart) on a raised face, drawn sunken
// while the left mouse button is held over it; the click comes when the button is released
// over it. The glyph holds NumGlyphs images side by side: normal, then disabled; the colour of
// its bottom-left pixel is transparent.

#include "framework/Events.h"
#include "framework/TBitmap.h"
#include "framework/TImageList.h"

#include <QImage>
#include <QString>
#include <QWidget>

class TSpeedButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QImage Glyph READ GlyphImage WRITE SetGlyphImage)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)

public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    const TBitmap& Glyph() const { return glyph_; }
    // Copies the picture; a picture whose width is 1 to 4 times its height sets NumGlyphs.
    void SetGlyph(const TBitmap& glyph);
    QImage GlyphImage() const { return glyph_.Image(); }
    void SetGlyphImage(const QImage& image);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    // The button's own flag, which decides its look; a disabled parent only takes its input.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    // Drawn sunken: the left button is held and the pointer is over the button.
    bool Pressed() const { return pressed_; }

    // Raises OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetPressed(bool pressed);
    void PrepareImages();

    QString caption_;
    TBitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    bool pressed_ = false;
    bool tracking_ = false;
    bool imagesValid_ = false;
    TImageList images_; // the glyph's images, then a made-up disabled one if it has none
};
