#include "dialogs/TSaveDialog.h"

TSaveDialog::TSaveDialog(QObject* owner) : TOpenDialog(owner) {}

bool TSaveDialog::Execute() {
    return DoExecute(win32::GetSaveFileName);
}
