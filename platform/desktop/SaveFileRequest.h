#pragma once
// One run of GetSaveFileName as both of its dialogs (the desktop portal's and Qt's widget
// dialog) see it: where to start, what to propose, which file types to offer, and the checks a
// chosen name must pass, with the prompts that go with them. Keeping these in one place gives a
// choice the same result whichever dialog made it. GUI thread only.

#include "platform/desktop/commdlg.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace win32 {

// A name the user chose, as Windows text and as the POSIX path it stands for.
struct SaveChoice {
    QString WindowsPath;
    QByteArray PosixPath;
};

// How a dialog's run ended.
struct SaveOutcome {
    bool Accepted = false;
    QString WindowsPath; // the accepted file, whole
    int FilterIndex = 1; // 1-based: the file type chosen last
};

class SaveFileRequest {
public:
    explicit SaveFileRequest(const OPENFILENAME& ofn);

    QWidget* Owner() const { return owner; }
    DWORD Flags() const { return flags; }
    // The record's title, or the dialog's own caption in the user's language.
    QString Caption() const;
    const QList<FileFilter>& Filters() const { return filters; }
    // The file type offered first, 1-based; the first one when the record's is out of range.
    int FilterIndex() const { return filterIndex; }
    // The folder to open as POSIX text: the folder part of the proposed path, else the initial
    // folder, else the current directory, the first that is a folder on a drive.
    const QString& StartFolder() const { return startFolder; }
    // The proposed file name (without its folder) as POSIX text.
    const QString& ProposedName() const { return proposedName; }
    // The record's default extension without a leading "*" or ".".
    const QString& DefaultExtension() const { return defaultExt; }

    // True when a name typed or chosen may be used as a Windows file name (or the record asks
    // for no validation).
    bool IsValidName(const QString& name) const;
    // The choice a POSIX path stands for, a name without an extension given the default one;
    // nothing when it lies outside every drive.
    std::optional<SaveChoice> Resolve(const QByteArray& posixPath) const;
    // Text with a backslash or a drive letter, typed as the program shows paths ("D:\kopie.wav",
    // "hudba\x.wav"): a Windows path, whichever dialog it was typed in.
    static bool IsWindowsText(const QString& typed);
    // The choice such text stands for, a relative one counted from `windowsFolder`, a name
    // without an extension given the default one; nothing when it names no place on a drive
    // (GetLastError() is ERROR_INVALID_NAME for text that is no path at all).
    std::optional<SaveChoice> ResolveWindowsText(const QString& typed,
                                                 const QString& windowsFolder) const;
    // Applies the record's checks to a chosen file: a missing folder, a missing or read-only
    // file are refused, replacing and creating are asked. `overwriteAsked` tells that the
    // dialog has already asked about replacing this very file. False keeps the dialog open.
    bool PassesChecks(QWidget* parent, const SaveChoice& choice, bool overwriteAsked) const;
    // Tells the user why a name cannot be used.
    void Refuse(QWidget* parent, const QString& text) const;
    static QString InvalidNameText(const QString& name);
    static QString NotOnAnyDriveText(const QString& name);

    // Raises a notification to the hook, if the record enabled one.
    bool Notify(FileDialogWindow& dialog, int notification) const;

private:
    bool Ask(QWidget* parent, const QString& text) const;

    QWidget* owner;
    DWORD flags;
    QString title;
    QList<FileFilter> filters;
    int filterIndex = 1;
    QString startFolder;
    QString proposedName;
    QString defaultExt;
    LPOFNHOOKPROC hook;
};

} // namespace win32
