#pragma once
// The program's push button: a windowless control that draws a glyph and an optional caption in
// one of seven frame styles, can leave the parent visible around and through the glyph, and in
// its default style shows a gray glyph until the pointer is over it.

#include "framework/TBitmap.h"
#include "framework/TControlShortCut.h"
#include "framework/TGraphicControl.h"
#include "framework/TImageList.h"
#include "framework/TPopupMenu.h"
#include "framework/TextLayout.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>

class TTransparentButton : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(bool AutoGray READ AutoGray WRITE SetAutoGray)
    Q_PROPERTY(uint BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(QImage Glyph READ GlyphImage WRITE SetGlyphImage)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(TPopupMenu* PopUpMenu READ PopUpMenu WRITE SetPopUpMenu)
    Q_PROPERTY(bool ShowPressed READ ShowPressed WRITE SetShowPressed)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(TTextAlign TextAlign READ TextAlign WRITE SetTextAlign)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Movable READ Movable WRITE SetMovable)
    Q_PROPERTY(QString ShortCut READ ShortCut WRITE SetShortCut)

public:
    enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };
    Q_ENUM(TFrameStyle)
    // Where the caption goes, clockwise from the top-left corner, the centre last; the glyph
    // moves to the opposite edge.
    enum TTextAlign {
        ttaTopLeft,
        ttaTop,
        ttaTopRight,
        ttaRight,
        ttaBottomRight,
        ttaBottom,
        ttaBottomLeft,
        ttaLeft,
        ttaCenter
    };
    Q_ENUM(TTextAlign)

    explicit TTransparentButton(QWidget* parent = nullptr);

    // With fsExplorer, the gray image while the pointer is not over the button.
    bool AutoGray() const { return autoGray_; }
    void SetAutoGray(bool autoGray) { autoGray_ = autoGray; }
    // One-pixel rings in the frames of fsRegular, fsIndent and fsExplorer.
    unsigned BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(unsigned width);
    // An "&" marks the accelerator letter, typed anywhere in the button's window.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The sticky pressed state.
    bool Down() const { return down_; }
    void SetDown(bool down);
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle style);
    // NumGlyphs images side by side. Assigning copies the picture; the caller keeps its own.
    // Code that draws into Glyph() calls its Changed() afterwards, which prepares the images
    // again.
    const TBitmap& Glyph() const { return glyph_; }
    TBitmap& Glyph() { return glyph_; }
    void SetGlyph(const TBitmap& glyph) { glyph_.Assign(glyph); }
    QImage GlyphImage() const { return glyph_.Image(); }
    void SetGlyphImage(const QImage& image) { glyph_.Assign(image); }
    // 1 to 4 (other values are brought into that range). A change splits the glyph again.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    // Opened by any press on the button; forgotten when the menu is destroyed.
    TPopupMenu* PopUpMenu() const { return popUpMenu_; }
    void SetPopUpMenu(TPopupMenu* menu) { popUpMenu_ = menu; }
    // Draw the pressed look (sunken frame, content one pixel right and down).
    bool ShowPressed() const { return showPressed_; }
    void SetShowPressed(bool show) { showPressed_ = show; }
    // Pixels between the button's edge, the glyph and the caption.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    TTextAlign TextAlign() const { return textAlign_; }
    void SetTextAlign(TTextAlign align);
    // Leave the parent visible instead of filling with the button face.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // The user can drag the button by the mouse.
    bool Movable() const { return movable_; }
    void SetMovable(bool movable) { movable_ = movable; }
    // Keys that press the button from anywhere in its window, as a click does: "F5; Ctrl+C".
    QString ShortCut() const { return shortCut_.Keys(); }
    void SetShortCut(const QString& keys) { shortCut_.SetKeys(keys); }

    // A push button, named by its caption or, without one, by its hint.
    QAccessible::Role AccessibleRole() const override { return QAccessible::PushButton; }
    QString AccessibleName() const override {
        return caption_.isEmpty() || !accessibleName().isEmpty() ? TGraphicControl::AccessibleName()
                                                                 : StripPrefixes(caption_).Text;
    }

    // Where the glyph is drawn (before the pressed shift), in client coordinates.
    TRect GlyphRect() const;

    // The state painting follows.
    bool PressedLook() const { return pressedLook_; }
    bool MouseHeld() const { return mouseHeld_; }
    bool PressTracked() const { return pressTracked_; }
    bool MouseInside() const { return mouseInside_; }
    // The glyph's images, then the gray image, then the disabled image, each masked by its
    // bottom-left colour.
    const TImageList& GlyphImages() const { return glyphImages_; }
    const TBitmap& GrayGlyph() const { return grayGlyph_; }
    const TBitmap& DisabledGlyph() const { return disabledGlyph_; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, int shift, int x, int y) override;
    void MouseMove(int shift, int x, int y) override;
    void MouseUp(TMouseButton button, int shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void EnabledChanged() override;
    bool DialogChar(QChar key) override;

    void GlyphChanged();
    void RebuildGlyphImages(const TBitmap& source);

private:
    int ChosenImage() const;
    void DrawBase(TCanvas& canvas) const;
    void DrawPressedFrame(TCanvas& canvas) const;
    void DrawReleasedFrame(TCanvas& canvas) const;
    void DrawCaption(TCanvas& canvas, const TRect& glyph) const;
    int PenWidth() const;

    bool pressTracked_ = false;
    TTextAlign textAlign_ = ttaCenter;
    QString caption_;
    bool autoGray_ = true;
    bool transparent_ = true;
    bool mouseHeld_ = false;
    bool showPressed_ = true;
    int spacing_ = 2;
    TBitmap glyph_;
    TBitmap grayGlyph_;
    QPointer<TPopupMenu> popUpMenu_;
    TBitmap disabledGlyph_;
    bool pressedLook_ = false;
    unsigned borderWidth_ = 1;
    int numGlyphs_ = 1;
    TImageList glyphImages_{40, 40};
    TFrameStyle frameStyle_ = fsExplorer;
    bool mouseInside_ = false;
    bool wordWrap_ = false;
    bool down_ = false;
    bool movable_ = false;
    QPoint dragOrigin_;
    TControlShortCut shortCut_{this};
};
