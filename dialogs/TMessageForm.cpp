#include "dialogs/TMessageForm.h"

#include "framework/TApplication.h"
#include "platform/desktop/help.h"

#include <QApplication>

TMessageForm::TMessageForm(QWidget* parent) : TForm(parent) {
    // The application's message-box font stands for the desktop's; it falls back to the
    // application font when none is set for message boxes.
    TFont font;
    font.AssignQFont(QApplication::font("QMessageBox"));
    SetFont(font);
}

void TMessageForm::HelpButtonClick(QObject*) {
    const QString file = !helpFile_.isEmpty() ? helpFile_
                         : Application()      ? Application()->HelpFile()
                                              : QString();
    win32::WinHelp(this, file, win32::HELP_CONTEXT, static_cast<quintptr>(helpContext_));
}
