#pragma once
// Base of the controls without a window of their own (labels, glyph buttons): a widget that
// leaves its background to the parent, paints through a TCanvas, and turns Qt's mouse input into
// the desktop's press, move, release, click and pointer-entered/left notifications.

#include "framework/Events.h"
#include "framework/TCanvas.h"
#include "framework/TFont.h"

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QWidget>

class TGraphicControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)

public:
    explicit TGraphicControl(QWidget* parent = nullptr);

    int Left() const { return x(); }
    void SetLeft(int left);
    int Top() const { return y(); }
    void SetTop(int top);
    int Width() const { return width(); }
    void SetWidth(int width);
    int Height() const { return height(); }
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    // The control's own flag. A disabled parent passes no mouse input to the control, but the
    // control keeps its own Enabled and looks as that says.
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // The control's own flag; it shows only when its parent is shown too.
    bool Visible() const;
    void SetVisible(bool visible);

    // Shown as a tooltip while ShowHint holds; only the part before a "|".
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }
    // Setting ShowHint clears ParentShowHint. With ParentShowHint the parent's "ShowHint"
    // property decides, and a parent without one shows no hints.
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint) { parentShowHint_ = parentShowHint; }

    // The text font, kept as the widget's QFont and palette text colour (see WidgetFont.h), so
    // that Qt passes a parent's font on while ParentFont holds. Any change of it clears
    // ParentFont.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const;
    void SetParentFont(bool parentFont);

    // Raises OnClick.
    virtual void Click();
    // Called by the layout loader when every property of the layout has been set.
    virtual void Loaded() {}

    // What the control is to assistive technology: its role, and its name (the accessible name
    // set on it, else its hint). A push button or a link offers a press action that clicks it.
    virtual QAccessible::Role AccessibleRole() const { return QAccessible::Client; }
    virtual QString AccessibleName() const;
    // What the press action does: a click.
    virtual void AccessiblePress() { Click(); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    // Draws the control; the parent has painted its own background beneath already.
    virtual void Paint(TCanvas& canvas);
    // The notifications, in the control's client coordinates. The base versions raise the
    // matching OnMouse... event.
    virtual void MouseDown(TMouseButton button, int shift, int x, int y);
    virtual void MouseMove(int shift, int x, int y);
    virtual void MouseUp(TMouseButton button, int shift, int x, int y);
    virtual void DblClick();
    // Pointer entered and left. While a mouse button pressed on the control is held, only this
    // control is told, as the pointer crosses its edge. A control whose parent is disabled is
    // not under the pointer (it is told it was left when the parent is disabled).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The control's own Enabled flag has changed.
    virtual void EnabledChanged() {}
    virtual void FontChanged() {}

    // A control that does not take double clicks gets the second press of one as an ordinary
    // press; one that does gets DblClick and a press with ssDouble, and no click on its release.
    void SetTakesDoubleClicks(bool takes) { takesDoubleClicks_ = takes; }
    // Forgets the left press in progress, so that its release raises no click.
    void CancelClick() { clickPending_ = false; }
    // Drops the mouse input waiting in the queue (after a popup menu has taken the real release).
    static void DiscardPendingMouseInput();
    // An accelerator key typed in the control's window that the focused control had no use for
    // (the desktop's dialog character); returns whether the control took it. Only controls that
    // asked for dialog characters are told.
    virtual bool DialogChar(QChar) { return false; }
    void SetWantsDialogChars(bool wants);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The bodies of the mouse and change events, each run inside the exception net.
    void Press(QMouseEvent* event, int extraShift);
    void DoubleClick(QMouseEvent* event);
    void Release(QMouseEvent* event);
    void Changed(QEvent* event);
    void PointerAt(bool inside);
    bool ParentEnabled() const;
    void WatchWindow();
    void TakeWidgetFont();

    TFont font_;
    QString hint_;
    bool syncingFont_ = false;
    bool parentShowHint_ = true;
    bool showHint_ = false;
    bool ownEnabled_ = true;
    bool takesDoubleClicks_ = true;
    bool clickPending_ = false;
    bool pointerInside_ = false;
    bool wantsDialogChars_ = false;
    QPointer<QWidget> watchedWindow_;
};
