#pragma once
// A container with bevelled edges: an outer bevel, a border in the panel's colour, an inner
// bevel, then the face with an optional centred caption. Its children lie inside. Disabling the
// panel takes their input away while their own Enabled flags stay as they were.

#include "framework/TColor.h"
#include "framework/TWindowHandle.h"

#include <QString>
#include <QWidget>

class TPanel : public QWidget, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)

public:
    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    explicit TPanel(QWidget* parent = nullptr);

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The panel's own flag; Qt's isEnabled() also reflects a disabled parent.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    // With ParentShowHint the parent's ShowHint decides (for the panel and the controls on it).
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint) { parentShowHint_ = parentShowHint; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <class T> void Change(T& field, T value);

    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
    TAlignment alignment_ = taCenter;
    TColor color_ = clBtnFace;
    bool showHint_ = false;
    bool parentShowHint_ = true;
};
