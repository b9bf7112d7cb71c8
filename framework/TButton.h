#pragma once
// A push button. Pressing it sets its form's ModalResult (when it has one) and raises OnClick;
// a default button answers Enter and a cancel button Escape (the form decides, see TForm). An
// "&" in the caption marks the accelerator letter, typed with or without Alt.

#include "framework/Events.h"
#include "framework/TModalResult.h"
#include "framework/TWindowHandle.h"

#include <QPushButton>

class TButton : public QPushButton, public TWindowHandle {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

public:
    explicit TButton(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Default() const { return isDefault(); }
    void SetDefault(bool isDefault) { setDefault(isDefault); }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    // The accelerator letter in upper case, or a null character.
    QChar Accelerator() const;

    // What a press does: the form's ModalResult first, then OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TModalResult modalResult_ = mrNone;
    bool cancel_ = false;
};
