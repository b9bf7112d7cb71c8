#include "framework/TGraphicControl.h"

#include "framework/TApplication.h"
#include "framework/WidgetFont.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>
#include <QVariant>
#include <optional>

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

int ShiftStateOf(const QMouseEvent* event) {
    const Qt::KeyboardModifiers keys = event->modifiers();
    const Qt::MouseButtons buttons = event->buttons();
    int shift = 0;
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

// Swallows every mouse event while it is installed on the application.
class MouseInputSwallower : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    TakeWidgetFont();
    font_.OnChange = [this] {
        if (syncingFont_)
            return;
        syncingFont_ = true;
        SetWidgetFont(this, font_);
        syncingFont_ = false;
        FontChanged();
    };
}

void TGraphicControl::SetLeft(int left) {
    move(left, y());
}

void TGraphicControl::SetTop(int top) {
    move(x(), top);
}

void TGraphicControl::SetWidth(int width) {
    resize(width, height());
}

void TGraphicControl::SetHeight(int height) {
    resize(width(), height);
}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, width, height);
}

bool TGraphicControl::Enabled() const {
    return !testAttribute(Qt::WA_ForceDisabled);
}

void TGraphicControl::SetEnabled(bool enabled) {
    if (enabled == Enabled())
        return;
    setEnabled(enabled);
    // Qt sends no change event when only the own flag changes under a disabled parent.
    if (ownEnabled_ != Enabled()) {
        ownEnabled_ = Enabled();
        EnabledChanged();
    }
}

bool TGraphicControl::Visible() const {
    return !(testAttribute(Qt::WA_WState_Hidden) && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void TGraphicControl::SetVisible(bool visible) {
    setVisible(visible);
}

bool TGraphicControl::ShowHint() const {
    if (!parentShowHint_)
        return showHint_;
    const QWidget* parent = parentWidget();
    return parent && parent->property("ShowHint").toBool();
}

void TGraphicControl::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
}

bool TGraphicControl::ParentFont() const {
    return !testAttribute(Qt::WA_SetFont);
}

void TGraphicControl::SetParentFont(bool parentFont) {
    if (parentFont == ParentFont())
        return;
    syncingFont_ = true;
    if (parentFont)
        ResetWidgetFont(this);
    else
        SetWidgetFont(this, font_);
    syncingFont_ = false;
    if (parentFont) {
        TakeWidgetFont();
        FontChanged();
    }
}

void TGraphicControl::TakeWidgetFont() {
    syncingFont_ = true;
    const int charset = font_.Charset();
    font_.Assign(WidgetFont(this));
    font_.SetCharset(charset);
    syncingFont_ = false;
}

QString TGraphicControl::AccessibleName() const {
    return accessibleName().isEmpty() ? hint_.section(u'|', 0, 0) : accessibleName();
}

void TGraphicControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TGraphicControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TGraphicControl::Paint(TCanvas&) {}

void TGraphicControl::MouseDown(TMouseButton button, int shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(int shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, int shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::DiscardPendingMouseInput() {
    MouseInputSwallower swallower;
    QCoreApplication::instance()->installEventFilter(&swallower);
    QCoreApplication::processEvents();
}

void TGraphicControl::SetWantsDialogChars(bool wants) {
    wantsDialogChars_ = wants;
    WatchWindow();
}

// Keys reach the window itself, or climb to it when the focused control has no use for them;
// either way the window's filter sees them.
void TGraphicControl::WatchWindow() {
    QWidget* top = wantsDialogChars_ ? window() : nullptr;
    if (top == this)
        top = nullptr;
    if (top == watchedWindow_)
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = top;
    if (top)
        top->installEventFilter(this);
}

bool TGraphicControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && text.size() == 1 &&
            text.at(0).isPrint()) {
            bool taken = false;
            // A key whose handler failed counts as taken: it pressed the control.
            if (!CallEventHandler([&] { taken = DialogChar(text.at(0)); }) || taken)
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TGraphicControl::showEvent(QShowEvent* event) {
    // The window may have changed with an ancestor's parent.
    WatchWindow();
    QWidget::showEvent(event);
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    TCanvas canvas(painter);
    canvas.Font.Assign(font_);
    CallPaintHandler(this, [&] { Paint(canvas); });
}

void TGraphicControl::Press(QMouseEvent* event, int extraShift) {
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button) {
        event->ignore();
        return;
    }
    // Only a left press leads to a click; the release of any other button never does.
    if (*button == mbLeft)
        clickPending_ = true;
    const QPoint at = event->position().toPoint();
    MouseDown(*button, ShiftStateOf(event) | extraShift, at.x(), at.y());
}

void TGraphicControl::mousePressEvent(QMouseEvent* event) {
    CallEventHandler([&] { Press(event, 0); });
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* event) {
    CallEventHandler([&] { DoubleClick(event); });
}

void TGraphicControl::DoubleClick(QMouseEvent* event) {
    if (!takesDoubleClicks_) {
        Press(event, 0);
        return;
    }
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button) {
        event->ignore();
        return;
    }
    QPointer<TGraphicControl> self(this);
    clickPending_ = false;
    if (*button == mbLeft)
        DblClick();
    if (!self)
        return;
    const QPoint at = event->position().toPoint();
    MouseDown(*button, ShiftStateOf(event) | ssDouble, at.x(), at.y());
}

void TGraphicControl::mouseMoveEvent(QMouseEvent* event) {
    CallEventHandler([&] {
        QPointer<TGraphicControl> self(this);
        const QPoint at = event->position().toPoint();
        MouseMove(ShiftStateOf(event), at.x(), at.y());
        // While a button pressed here is held, Qt keeps enter and leave back until the
        // release; the control holding the mouse is told as the pointer crosses its edge.
        if (self && event->buttons() != Qt::NoButton)
            PointerAt(rect().contains(at));
    });
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    CallEventHandler([&] { Release(event); });
}

void TGraphicControl::Release(QMouseEvent* event) {
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button) {
        event->ignore();
        return;
    }
    QPointer<TGraphicControl> self(this);
    const QPoint at = event->position().toPoint();
    // The click comes before the release handling, so that its handler runs while the control
    // still looks pressed.
    if (*button == mbLeft && clickPending_) {
        clickPending_ = false;
        if (rect().contains(at))
            Click();
        if (!self)
            return;
    }
    MouseUp(*button, ShiftStateOf(event), at.x(), at.y());
    if (self && event->buttons() == Qt::NoButton)
        PointerAt(rect().contains(at));
}

bool TGraphicControl::ParentEnabled() const {
    const QWidget* parent = parentWidget();
    return !parent || parent->isEnabled();
}

// A control in a disabled parent is never the control under the pointer; a control that is
// only disabled itself still is, and decides on its own what to make of it.
void TGraphicControl::enterEvent(QEnterEvent*) {
    if (ParentEnabled())
        CallEventHandler([this] { PointerAt(true); });
}

void TGraphicControl::leaveEvent(QEvent*) {
    CallEventHandler([this] { PointerAt(false); });
}

void TGraphicControl::PointerAt(bool inside) {
    if (inside == pointerInside_)
        return;
    pointerInside_ = inside;
    if (inside)
        MouseEnter();
    else
        MouseLeave();
}

void TGraphicControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    CallEventHandler([this, event] { Changed(event); });
}

void TGraphicControl::Changed(QEvent* event) {
    switch (event->type()) {
    case QEvent::ParentChange:
        WatchWindow();
        break;
    case QEvent::EnabledChange:
        if (ownEnabled_ != Enabled()) {
            ownEnabled_ = Enabled();
            EnabledChanged();
        }
        // Whether the control counts as under the pointer is settled once the handler that
        // enabled or disabled the parent has finished, as the desktop does when it is idle.
        QMetaObject::invokeMethod(
            this,
            [this] { CallEventHandler([this] { PointerAt(ParentEnabled() && underMouse()); }); },
            Qt::QueuedConnection);
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        if (!syncingFont_) {
            TakeWidgetFont();
            FontChanged();
        }
        break;
    default:
        break;
    }
}

bool TGraphicControl::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString hint = hint_.section(u'|', 0, 0);
        if (ShowHint() && !hint.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), hint, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
