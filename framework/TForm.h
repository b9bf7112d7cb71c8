#pragma once
// A window of the program: a top-level widget with the old desktop's border styles and
// positions, its components in creation order, the window-creation step before OnShow, the
// close-query protocol for every way of closing, and ShowModal with its nested message loop,
// default and cancel buttons.

#include "framework/Events.h"
#include "framework/TColor.h"
#include "framework/TFont.h"
#include "framework/TLoadable.h"
#include "framework/TModalResult.h"
#include "framework/TWindowHandle.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QEventLoop;
class QPushButton;
class TButton;

class TForm : public QWidget, public TWindowHandle, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
    enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(TFormBorderStyle)
    enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
    Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
    Q_FLAG(TBorderIcons)
    enum TPosition {
        poDesigned,
        poDefault,
        poDefaultPosOnly,
        poDefaultSizeOnly,
        poScreenCenter,
        poDesktopCenter,
        poMainFormCenter,
        poOwnerFormCenter
    };
    Q_ENUM(TPosition)
    enum TCloseAction { caNone, caHide, caFree, caMinimize };
    Q_ENUM(TCloseAction)

    using TCloseEvent = std::function<void(QObject* sender, TCloseAction& action)>;

    // A parent makes the form a window of its own over that one (its owner).
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    int ClientWidth() const { return width(); }
    void SetClientWidth(int width);
    int ClientHeight() const { return height(); }
    void SetClientHeight(int height);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The form's font and text colour, which its controls follow unless they have their own.
    TFont Font() const;
    void SetFont(const TFont& font);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }
    // The control that gets the focus when the form is shown.
    QWidget* ActiveControl() const { return activeControl_; }
    void SetActiveControl(QWidget* control);

    // The components in creation order; the layout loader inserts them as it makes them.
    QList<QObject*> Components() const;
    int ComponentCount() const { return static_cast<int>(Components().size()); }
    void InsertComponent(QObject* component);
    // By name: the inserted components first, then any child object; null when none.
    QObject* FindComponent(const QString& name) const;
    // By name and class; raises EInvalidOperation when there is no such component.
    template <class T> T* Component(const QString& name) const {
        T* component = dynamic_cast<T*>(FindComponent(name));
        if (!component)
            ThrowMissingComponent(name);
        return component;
    }

    void Show();
    void Hide() { hide(); }
    // Asks the form to close: runs OnCloseQuery and OnClose as any close does.
    void Close() { close(); }
    // Shows the form modally: other windows take no input until ModalResult is set, the form
    // is closed (2) or the application terminates (2). Returns the modal result.
    TModalResult ShowModal();
    bool Modal() const { return modalLoop_ != nullptr; }
    TModalResult ModalResult() const { return modalResult_; }
    // A non-zero value ends ShowModal (once OnCloseQuery agrees).
    void SetModalResult(TModalResult result);
    // Runs OnCloseQuery; an exception in it counts as a refusal.
    virtual bool CloseQuery();
    // Raises OnCreate; the layout loader calls it when the form and its components exist.
    void DoCreate();
    void Loaded() override {}

    // The buttons that Enter (when no button has the focus) and Escape press.
    TButton* DefaultButton() const;
    TButton* CancelButton() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

    void setVisible(bool visible) override;

protected:
    // The window-creation step: the controls get their windows in creation order.
    void CreateWnd() override;
    // Enter, Escape and accelerator letters typed while no control took them.
    bool DialogKey(QKeyEvent* event);

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyWindowFlags();
    void ApplyFixedSize();
    void ApplyPosition();
    bool IsFixedSize() const;
    bool CloseModal();
    bool CloseAllowed();
    [[noreturn]] void ThrowMissingComponent(const QString& name) const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = TBorderIcons(biSystemMenu | biMinimize | biMaximize);
    TPosition position_ = poDesigned;
    TColor color_ = clBtnFace;
    bool showHint_ = false;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    QPointer<QWidget> activeControl_;
    QList<QPointer<QObject>> components_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TForm::TBorderIcons)
