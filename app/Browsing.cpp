// The main window's handlers that keep the drive selector, directory list and file list in step,
// play the selected file and show its size.
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "dialogs/MessageDialog.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "framework/SysUtils.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/fileapi.h"

void TForm1::AdresarChange(QObject*) {
    soubor->SetFileName(adresar->Directory());
    Panel2->SetEnabled(false);
    Velikost->SetCaption(QStringLiteral("0 Kb"));
}

void TForm1::diskChange(QObject*) {
    if (DriveAccessible(disk->Drive())) {
        adresar->SetDrive(disk->Drive());
        Panel2->SetEnabled(false);
        return;
    }
    disk->SetDrive(adresar->Drive());
    ShowMessageDialog(QStringLiteral("V mechanice není médium / disk nepřístupný!"), mtError,
                      ButtonSet({mbOK}), 0);
}

void TForm1::souborClick(QObject*) {
    using namespace win32;
    PlaySoundFile(soubor->FileName());
    const HANDLE file =
        CreateFile(soubor->FileName(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        throw EInOutError(static_cast<int>(GetLastError()));
    // Sizes of 2 GiB and more show their true count of kilobytes.
    const qint64 length = GetFileSize(file);
    if (length < 0) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        throw EInOutError(static_cast<int>(error));
    }
    Velikost->SetCaption(IntToStr(length / 1024) + QStringLiteral(" Kb"));
    if (!CloseHandle(file))
        throw EInOutError(static_cast<int>(GetLastError()));
    Panel2->SetEnabled(true);
}

void TForm1::souborSelectedGone(QObject*) {
    // Another program took the selected file away: as after a change of folder, nothing is
    // measured and the file buttons wait for the next selection. A sound playing plays on.
    Panel2->SetEnabled(false);
    Velikost->SetCaption(QStringLiteral("0 Kb"));
}

void TForm1::TransparentButton2Click(QObject*) {
    PlaySoundFile(ProgramDir + QStringLiteral("ticho.wav"));
}
