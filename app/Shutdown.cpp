// Every close of the main window asks first, shows the about box, and only then stores the
// folder shown last for the next start. A confirmed close always closes: a settings store that
// cannot take the folder is reported once and the program ends all the same, as a program that
// cannot be quit (nor let the desktop log off) would be worse than one that forgets a folder.
#include "about/TAboutBox.h"
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "dialogs/MessageDialog.h"
#include "filectrl/TDirectoryListBox.h"
#include "framework/Exceptions.h"

void TForm1::FormCloseQuery(QObject*, bool& canClose) {
    if (ShowMessageDialog(QStringLiteral("Opravdu to chcete zabalit ?"), mtConfirmation,
                          ButtonSet({mbYes, mbNo}), 0) == mrNo) {
        canClose = false;
        return;
    }
    if (AboutBox)
        AboutBox->ShowModal();
    const QString last = adresar->Directory();
    try {
        WriteRegString(SettingsKey, QStringLiteral("LastDir"), last);
        WriteRegString(SettingsKey, QStringLiteral("Ver"), QStringLiteral("1.0b"));
    } catch (const Exception& error) {
        ShowMessageDialog(QStringLiteral("Složku %1 se nepodařilo uložit, příští spuštění "
                                         "proto začne jinde.\n\n%2")
                              .arg(last, error.Message()),
                          mtWarning, ButtonSet({mbOK}), 0);
    }
    canClose = true;
}
