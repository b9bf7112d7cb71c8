#pragma once
// A windowless text label: paints its caption in its font with the desktop's text drawing
// call ("&" underlines the next character), optionally wrapped, aligned and sized to its text.

#include "framework/TCaptionSettings.h"
#include "framework/TColor.h"
#include "framework/TGraphicControl.h"

#include <QString>

class TLabel : public TGraphicControl, public TCaptionSettings {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TTextLayout { tlTop, tlCenter, tlBottom };
    Q_ENUM(TTextLayout)

    explicit TLabel(QWidget* parent = nullptr);

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    // The caption, as it reads.
    QString AccessibleName() const override;

    TAlignment Alignment() const { return TAlignment(CaptionAlignment()); }
    void SetAlignment(TAlignment alignment) { SetCaptionAlignment(alignment); }
    // The background, filled unless Transparent. With ParentColor (cleared by SetColor) the
    // parent's own painting is the background.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    // Vertical placement of the text within the label.
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // Breaks the caption between words to fit the label's width.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);

    void Loaded() override;

protected:
    void Paint(TCanvas& canvas) override;
    void FontChanged() override;
    void EnabledChanged() override;
    // Draws the caption into r (a disabled label twice, embossed), or with DT_CALCRECT measures
    // it, moving r's right and bottom edges.
    void DoDrawText(TCanvas& canvas, TRect& r, unsigned flags);
    // With AutoSize, the width of the widest line (a right-justified label keeps its right
    // edge) and the height of all lines; run whenever caption, font or wrapping change.
    void AdjustBounds() override;
    void RepaintCaption() override { update(); }

private:
    unsigned DrawStyle() const;

    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

using TAlignment = TLabel::TAlignment;
using enum TLabel::TAlignment;
using TTextLayout = TLabel::TTextLayout;
using enum TLabel::TTextLayout;
