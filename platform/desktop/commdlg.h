#pragma once
// The standard save-as dialog: a record describing the folder, name, file types and checks to
// offer, and GetSaveFileName, which shows the desktop's own save dialog through the XDG desktop
// portal where the session bus offers one, else Qt's widget file dialog (with the drive roots
// in its side bar), and returns the chosen path as Windows text. Both give the same results:
// the same checks and prompts, filter index and current directory. GUI thread only.
//
// Failures (a record that cannot be shown) return false like Cancel; CommDlgExtendedError()
// then tells them apart (0 after Cancel).

#include "platform/core/windef.h"

#include <QList>
#include <QRect>
#include <QString>
#include <functional>

class QWidget;

namespace win32 {

// Flags of the record; the OFN_READONLY and OFN_EXTENSIONDIFFERENT bits are also outputs.
inline constexpr DWORD OFN_READONLY = 0x1;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
inline constexpr DWORD OFN_HIDEREADONLY = 0x4;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x8;
inline constexpr DWORD OFN_SHOWHELP = 0x10;
inline constexpr DWORD OFN_ENABLEHOOK = 0x20;
inline constexpr DWORD OFN_NOVALIDATE = 0x100;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x200;
inline constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x400;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x2000;
inline constexpr DWORD OFN_SHAREAWARE = 0x4000;
inline constexpr DWORD OFN_NOREADONLYRETURN = 0x8000;
inline constexpr DWORD OFN_NOTESTFILECREATE = 0x10000;
inline constexpr DWORD OFN_NONETWORKBUTTON = 0x20000;
inline constexpr DWORD OFN_NOLONGNAMES = 0x40000;
inline constexpr DWORD OFN_EXPLORER = 0x80000;
inline constexpr DWORD OFN_NODEREFERENCELINKS = 0x100000;
inline constexpr DWORD OFN_ENABLEINCLUDENOTIFY = 0x400000;
inline constexpr DWORD OFN_ENABLESIZING = 0x800000;

// Notifications the hook receives, with the desktop's codes; WM_DESTROY comes last.
inline constexpr int CDN_INITDONE = -601;
inline constexpr int CDN_SELCHANGE = -602;
inline constexpr int CDN_FOLDERCHANGE = -603;
inline constexpr int CDN_FILEOK = -606;
inline constexpr int CDN_TYPECHANGE = -607;
inline constexpr int WM_DESTROY = 0x0002;

// Extended errors of CommDlgExtendedError.
inline constexpr DWORD CDERR_INITIALIZATION = 0x0002;
inline constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;

// The open dialog as its hook sees it.
class FileDialogWindow {
public:
    virtual ~FileDialogWindow() = default;
    // The outer frame on the desktop, title bar included.
    virtual QRect Frame() const = 0;
    // Moves the frame's top-left corner, keeping size and stacking order, without activating.
    virtual void MoveFrame(int left, int top) = 0;
    // The path typed in the dialog as Windows text (CDM_GETFILEPATH); empty when it has none.
    virtual QString FilePath() const = 0;
    // The folder shown as Windows text (CDM_GETFOLDERPATH); empty outside every drive.
    virtual QString FolderPath() const = 0;
    // The 1-based index of the file type chosen now.
    virtual int FilterIndex() const = 0;
};

// Receives each notification; the answer counts only for CDN_FILEOK, where false refuses the
// name and keeps the dialog open.
using LPOFNHOOKPROC = std::function<bool(FileDialogWindow& dialog, int notification)>;

struct FileFilter {
    QString Name;    // "Zvukové soubory <WAV>"
    QString Pattern; // "*.wav", several separated by ";"
};

struct OPENFILENAME {
    QWidget* hwndOwner = nullptr;
    QList<FileFilter> lpstrFilter;
    DWORD nFilterIndex = 1; // in and out, 1-based; 0 or out of range means the first
    QString lpstrFile;      // in: proposed name or path; out: the chosen path, whole
    QString lpstrInitialDir;
    QString lpstrTitle; // empty: "Save As"
    DWORD Flags = 0;
    QString lpstrDefExt;    // "wav"; a leading "*" and "." are ignored
    LPOFNHOOKPROC lpfnHook; // called only with OFN_ENABLEHOOK
};

// Shows the dialog modally; true when the user accepted a name, which is then in lpstrFile.
// Unless OFN_NOCHANGEDIR is set, the process's current directory is left at the chosen file's
// folder.
bool GetSaveFileName(OPENFILENAME& ofn);
// Why the last GetSaveFileName of this thread returned false: 0 for Cancel.
DWORD CommDlgExtendedError();

} // namespace win32
