// Every close of the main window asks first, shows the about box, and only then stores the
// folder shown last for the next start.
#include "about/TAboutBox.h"
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "dialogs/MessageDialog.h"
#include "filectrl/TDirectoryListBox.h"

void TForm1::FormCloseQuery(QObject*, bool& canClose) {
    if (ShowMessageDialog(QStringLiteral("Opravdu to chcete zabalit ?"), mtConfirmation,
                          ButtonSet({mbYes, mbNo}), 0) == mrNo) {
        canClose = false;
        return;
    }
    if (AboutBox)
        AboutBox->ShowModal();
    WriteRegString(SettingsKey, QStringLiteral("LastDir"), adresar->Directory());
    WriteRegString(SettingsKey, QStringLiteral("Ver"), QStringLiteral("1.0b"));
    canClose = true;
}
