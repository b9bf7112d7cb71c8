#pragma once
// Base of the components that run one of the desktop's standard dialogs: a non-visual
// component with Execute, a help context and the events raised when the dialog opens and closes.

#include "framework/Events.h"

#include <QObject>

class TCommonDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
public:
    explicit TCommonDialog(QObject* owner = nullptr);

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value) { ctl3D_ = value; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }

    // Shows the dialog modally; true when the user accepted it.
    virtual bool Execute() = 0;

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void DoShow();
    void DoClose();

private:
    bool ctl3D_ = true;
    int helpContext_ = 0;
};
