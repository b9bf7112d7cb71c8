#pragma once
// A line of text in a window of its own, with an optional one-pixel border: single (black) or
// sunken (shadow at the top and left, highlight at the bottom and right). With AutoSize it
// takes the size of its text; the main window's size display is one.

#include "framework/TCaptionSettings.h"
#include "framework/TColor.h"
#include "framework/TLoadable.h"
#include "framework/TWindowHandle.h"

#include <QString>
#include <QWidget>

class TStaticText : public QWidget,
                    public TWindowHandle,
                    public TLoadable,
                    public TCaptionSettings {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(TStaticBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
    Q_ENUM(TStaticBorderStyle)

    explicit TStaticText(QWidget* parent = nullptr);

    TAlignment Alignment() const { return TAlignment(CaptionAlignment()); }
    void SetAlignment(TAlignment alignment) { SetCaptionAlignment(alignment); }
    TStaticBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TStaticBorderStyle style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    void Loaded() override { AdjustBounds(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int BorderSize() const { return borderStyle_ == sbsNone ? 0 : 1; }
    unsigned TextFlags() const;
    // With AutoSize, takes the size of the text plus the border.
    void AdjustBounds() override;
    void RepaintCaption() override;

    TStaticBorderStyle borderStyle_ = sbsNone;
    TColor color_ = clBtnFace;
};
