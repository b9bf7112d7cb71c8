#include "framework/TForm.h"

#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "framework/TButton.h"
#include "framework/WidgetFont.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSet>

namespace {

bool Pressable(const QWidget* button) {
    return button && button->isEnabled() && button->isVisible();
}

} // namespace

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    ApplyWindowFlags();
}

TForm::~TForm() = default;

void TForm::SetClientWidth(int width) {
    if (IsFixedSize() && isVisible())
        setFixedWidth(width);
    else
        resize(width, height());
}

void TForm::SetClientHeight(int height) {
    if (IsFixedSize() && isVisible())
        setFixedHeight(height);
    else
        resize(width(), height);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
    ApplyWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    if (borderIcons_ == icons)
        return;
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TForm::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    update();
}

TFont TForm::Font() const {
    return WidgetFont(this);
}

void TForm::SetFont(const TFont& font) {
    SetWidgetFont(this, font);
}

void TForm::SetActiveControl(QWidget* control) {
    activeControl_ = control;
    if (control && isVisible())
        control->setFocus(Qt::OtherFocusReason);
}

bool TForm::IsFixedSize() const {
    return borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin;
}

void TForm::ApplyWindowFlags() {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint;
    const bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    flags |= tool ? Qt::Tool : Qt::Window;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        // Dialog frames and tool windows never carry the minimise and maximise boxes.
        const bool boxes = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
        if (boxes && (borderIcons_ & biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if (boxes && (borderIcons_ & biMaximize))
            flags |= Qt::WindowMaximizeButtonHint;
        if (borderIcons_ & biHelp)
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (IsFixedSize())
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (wasVisible)
        show();
}

void TForm::ApplyFixedSize() {
    if (IsFixedSize()) {
        setFixedSize(size());
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void TForm::ApplyPosition() {
    const TApplication* app = Application();
    const QWidget* over = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poOwnerFormCenter:
        over = parentWidget() ? parentWidget()->window() : nullptr;
        [[fallthrough]];
    case poMainFormCenter:
        if (!over && app && app->MainForm() != this)
            over = app->MainForm();
        break;
    default:
        return;
    }
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen* where = screen())
        area = where->geometry();
    else
        return;
    const QSize outer = frameGeometry().size();
    move(area.x() + area.width() / 2 - outer.width() / 2,
         area.y() + area.height() / 2 - outer.height() / 2);
}

QList<QObject*> TForm::Components() const {
    QList<QObject*> list;
    for (const QPointer<QObject>& component : components_)
        if (component)
            list.append(component);
    return list;
}

void TForm::InsertComponent(QObject* component) {
    components_.append(component);
}

QObject* TForm::FindComponent(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (const QPointer<QObject>& component : components_)
        if (component && component->objectName() == name)
            return component;
    return findChild<QObject*>(name);
}

void TForm::ThrowMissingComponent(const QString& name) const {
    throw EInvalidOperation(QStringLiteral("%1 has no component named %2 of the expected class")
                                .arg(objectName(), name));
}

void TForm::CreateWnd() {
    QSet<TWindowHandle*> done;
    auto create = [&done](QObject* object) {
        auto* handle = dynamic_cast<TWindowHandle*>(object);
        if (!handle || done.contains(handle))
            return;
        done.insert(handle);
        CallEventHandler([handle] { handle->HandleNeeded(); });
    };
    for (QObject* component : Components())
        create(component);
    // Controls that code made without inserting them follow, in the order of the widget tree.
    for (QObject* child : findChildren<QObject*>())
        create(child);
}

void TForm::setVisible(bool visible) {
    if (!visible || isVisible()) {
        QWidget::setVisible(visible);
        return;
    }
    HandleNeeded();
    ApplyFixedSize();
    ApplyPosition();
    const QSize assumed = frameGeometry().size();
    QWidget::setVisible(true);
    // The frame is known once the window exists; centre again if it changed the outer size.
    if (frameGeometry().size() != assumed)
        ApplyPosition();
    if (activeControl_)
        activeControl_->setFocus(Qt::OtherFocusReason);
    CallEventHandler([this] {
        if (OnShow)
            OnShow(this);
    });
}

void TForm::Show() {
    show();
    raise();
    activateWindow();
}

void TForm::DoCreate() {
    CallEventHandler([this] {
        if (OnCreate)
            OnCreate(this);
    });
}

bool TForm::CloseQuery() {
    bool canClose = true;
    const bool ran = CallEventHandler([this, &canClose] {
        if (OnCloseQuery)
            OnCloseQuery(this, canClose);
    });
    return ran && canClose;
}

bool TForm::CloseAllowed() {
    if (!CloseQuery())
        return false;
    TCloseAction action = caHide;
    CallEventHandler([this, &action] {
        if (OnClose)
            OnClose(this, action);
    });
    return action != caNone;
}

void TForm::closeEvent(QCloseEvent* event) {
    // A modal form closed from its title bar (or by Close) answers cancel; the modal loop then
    // asks OnCloseQuery.
    event->ignore();
    if (modalLoop_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseAllowed())
        return;
    event->accept();
    TApplication* app = Application();
    if (app && app->MainForm() == this)
        app->Terminate();
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (result != mrNone && modalLoop_)
        modalLoop_->exit();
}

bool TForm::CloseModal() {
    if (CloseAllowed())
        return true;
    modalResult_ = mrNone;
    return false;
}

TModalResult TForm::ShowModal() {
    if (isVisible() || modalLoop_)
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    TApplication* app = Application();
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QEventLoop loop;
    struct Restore {
        TForm* form;
        QEventLoop* loop;
        TApplication* app;
        ~Restore() {
            if (app)
                app->LeaveModalLoop(loop);
            form->modalLoop_ = nullptr;
            form->hide();
            form->setWindowModality(Qt::NonModal);
        }
    } restore{this, &loop, app};
    modalResult_ = mrNone;
    modalLoop_ = &loop;
    if (app)
        app->EnterModalLoop(&loop);
    setWindowModality(Qt::ApplicationModal);
    Show();
    for (;;) {
        if (app && app->Terminated()) {
            modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ != mrNone) {
            if (CloseModal())
                break;
            continue;
        }
        // A negative return means the whole application is quitting.
        if (loop.exec(QEventLoop::DialogExec) < 0 && modalResult_ == mrNone) {
            modalResult_ = mrCancel;
            break;
        }
    }
    const TModalResult result = modalResult_;
    if (previous)
        previous->activateWindow();
    return result;
}

TButton* TForm::DefaultButton() const {
    for (TButton* button : findChildren<TButton*>())
        if (button->Default())
            return button;
    return nullptr;
}

TButton* TForm::CancelButton() const {
    for (TButton* button : findChildren<TButton*>())
        if (button->Cancel())
            return button;
    return nullptr;
}

bool TForm::DialogKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        if (held)
            return false;
        QPushButton* target = nullptr;
        if (key == Qt::Key_Escape)
            target = CancelButton();
        else if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            target = focused;
        else
            target = DefaultButton();
        if (!Pressable(target))
            return false;
        target->click();
        return true;
    }
    // A letter typed where no control takes it presses the button it is the accelerator of.
    if (held & (Qt::ControlModifier | Qt::AltModifier) || event->text().size() != 1)
        return false;
    const QChar typed = event->text().front().toUpper();
    for (TButton* button : findChildren<TButton*>()) {
        if (Pressable(button) && button->Accelerator() == typed) {
            button->click();
            return true;
        }
    }
    return false;
}

void TForm::keyPressEvent(QKeyEvent* event) {
    if (DialogKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(color_));
}
