// The delete, copy and rename buttons of the left panel: each acts on the selected file, and
// each that changes something reloads the lists and disables the panel.
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "dialogs/InputBox.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/TSaveDialog.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/SysUtils.h"
#include "framework/TPanel.h"
#include "framework/TStaticText.h"
#include "platform/files/drives.h"
#include "platform/files/fileapi.h"

namespace {

bool FileExists(const QString& path) {
    const win32::DWORD attributes = win32::GetFileAttributes(path);
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           !(attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

// A name typed into the rename box, resolved in `folder`: a path with a drive or a network
// prefix stays as it is, one from a root starts at the folder's drive, anything else counts
// from the folder. The process's current directory plays no part: a cancelled or failed copy
// leaves it in the destination's folder.
QString InFolder(const QString& folder, const QString& name) {
    if (!DrivePart(name).isEmpty())
        return name;
    if (name.startsWith(u'\\') || name.startsWith(u'/'))
        return DrivePart(folder) + name;
    return JoinPath(folder, name);
}

// FAT keeps a file's length in 32 bits: a file of more than 4 GiB - 1 bytes fits on no FAT
// volume however much space is free, and a copy would fail only after writing 4 GiB.
bool FitsInLargestFile(const QString& sizeText, const QString& destination) {
    const auto volume = win32::GetVolumeInformation(DrivePart(destination) + u'\\');
    if (!volume || (volume->FileSystemName != u"vfat" && volume->FileSystemName != u"msdos"))
        return true;
    constexpr qint64 largestKiB = 0xFFFFFFFFLL / 1024;
    return StrToInt(sizeText.left(sizeText.size() - 3)) <= largestKiB;
}

} // namespace

bool FitsInFreeSpace(const QString& sizeText, qint64 freeBytes) {
    // 64-bit counts: today's disks have more than 2^31 KiB free, which a 32-bit count would
    // refuse with a conversion error.
    const qint64 freeKiB = freeBytes / 1024;
    const qint64 fileKiB = StrToInt(sizeText.left(sizeText.size() - 3));
    return fileKiB <= freeKiB;
}

void TForm1::TransparentButton3Click(QObject*) {
    using namespace win32;
    const QString file = soubor->FileName();
    // The question names the file as the lists show it; the file deleted is the one selected.
    if (ShowMessageDialog(QStringLiteral("Opravdu chcete smazat ") + DisplayText(file) +
                              QStringLiteral(" ?"),
                          mtConfirmation, ButtonSet({mbYes, mbNo}), 0) != mrYes)
        return;
    if (!FileExists(file))
        return;
    const DWORD attributes = GetFileAttributes(file);
    SetFileAttributes(file, attributes & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    DeleteFile(file);
    soubor->Reload();
    Panel2->SetEnabled(false);
}

void TForm1::TransparentButton4Click(QObject*) {
    SaveDialog1->SetInitialDir(adresar->Directory());
    SaveDialog1->SetFileName(LastComponent(soubor->FileName()));
    if (!SaveDialog1->Execute())
        return;
    // The save dialog left the process in the destination's folder, so this is its drive.
    const auto space = win32::GetDiskFreeSpaceEx(QString());
    if (!FitsInFreeSpace(Velikost->Caption(), space ? space->FreeBytesAvailableToCaller : -1) ||
        !FitsInLargestFile(Velikost->Caption(), SaveDialog1->FileName())) {
        ShowMessageDialog(QStringLiteral("Nedostatek místa na disku ") +
                              DrivePart(SaveDialog1->FileName()),
                          mtError, ButtonSet({mbOK}), 0);
        return;
    }
    CopySoundFile(soubor->FileName(), SaveDialog1->FileName());
    soubor->Reload();
    adresar->Reload();
    Panel2->SetEnabled(false);
}

void TForm1::TransparentButton5Click(QObject*) {
    const QString oldName = LastComponent(soubor->FileName());
    QString newName = PromptText(QStringLiteral("Změna jména souboru"),
                                 QStringLiteral("Zadejte nové jméno ..."), oldName);
    if (newName.right(4).toUpper() != QStringLiteral(".WAV"))
        newName += QStringLiteral(".wav");
    if (newName == oldName)
        return;
    const QString folder = soubor->Directory();
    const QString target = InFolder(folder, newName);
    // Other failures keep the old name quietly; a name the volume cannot hold is said, as the
    // user cannot see why the file kept its name.
    if (!win32::MoveFile(InFolder(folder, oldName), target) &&
        win32::GetLastError() == win32::ERROR_INVALID_NAME)
        ShowMessageDialog(QStringLiteral("Neplatné jméno souboru ") + win32::DisplayText(target),
                          mtError, ButtonSet({mbOK}), 0);
    soubor->Reload();
    Panel2->SetEnabled(false);
}
