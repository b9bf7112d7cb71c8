#pragma once
// The window of the message dialog, built at run time by BuildMessageDialog: a fixed dialog in
// the desktop's message-box font that keeps a help context for its Help button.

#include "framework/TForm.h"

#include <QString>

class TMessageForm : public TForm {
    Q_OBJECT
public:
    explicit TMessageForm(QWidget* parent = nullptr);

    // 0 means none.
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    // Empty means the application's help file.
    QString HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& file) { helpFile_ = file; }

    // Opens the help at the dialog's help context; the dialog stays open.
    void HelpButtonClick(QObject* sender);

private:
    int helpContext_ = 0;
    QString helpFile_;
};
