#pragma once
// The shared part of the file dialogs: the folder, name, file types and options offered, the
// record handed to the desktop's file dialog, the placement of that dialog and the events it
// raises while open. The settings outlive a run, so each run starts from what the last accepted
// run left behind. TSaveDialog runs it as a save-as dialog.

#include "dialogs/TCommonDialog.h"
#include "platform/desktop/commdlg.h"

#include <QFlags>
#include <QString>
#include <QStringList>

class TOpenDialog : public TCommonDialog {
    Q_OBJECT
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(TOpenOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
public:
    // Each option is one flag of the desktop's record (see OptionFlags).
    enum TOpenOption {
        ofReadOnly = 1 << 0,
        ofOverwritePrompt = 1 << 1,
        ofHideReadOnly = 1 << 2,
        ofNoChangeDir = 1 << 3,
        ofShowHelp = 1 << 4,
        ofNoValidate = 1 << 5,
        ofAllowMultiSelect = 1 << 6,
        ofExtensionDifferent = 1 << 7,
        ofPathMustExist = 1 << 8,
        ofFileMustExist = 1 << 9,
        ofCreatePrompt = 1 << 10,
        ofShareAware = 1 << 11,
        ofNoReadOnlyReturn = 1 << 12,
        ofNoTestFileCreate = 1 << 13,
        ofNoNetworkButton = 1 << 14,
        ofNoLongNames = 1 << 15,
        ofOldStyleDialog = 1 << 16,
        ofNoDereferenceLinks = 1 << 17,
        ofEnableIncludeNotify = 1 << 18,
        ofEnableSizing = 1 << 19,
    };
    Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
    Q_FLAG(TOpenOptions)

    explicit TOpenDialog(QObject* owner = nullptr);
    ~TOpenDialog() override;

    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& value) { defaultExt_ = value; }
    // While the dialog is open, the path typed in it; otherwise the stored path, which after
    // an accepted run is the chosen one.
    QString FileName() const;
    void SetFileName(const QString& value) { fileName_ = value; }
    // Display names and patterns alternating, separated by "|".
    QString Filter() const { return filter_; }
    void SetFilter(const QString& value) { filter_ = value; }
    // While the dialog is open, the 1-based index of the file type chosen in it.
    int FilterIndex() const { return openDialog_ ? currentFilterIndex_ : filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    QString InitialDir() const { return initialDir_; }
    // Drops one trailing backslash, except from a single character or a drive root ("C:\").
    void SetInitialDir(const QString& value);
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }
    QString Title() const { return title_; }
    void SetTitle(const QString& value) { title_ = value; }
    // The files chosen in the last accepted run.
    const QStringList& Files() const { return files_; }

    // The record's flags for a set of options, before the explorer-style flag is inverted.
    static win32::DWORD OptionFlags(TOpenOptions options);
    // The display names and patterns of a Filter text; a name without a pattern ends the list.
    static QList<win32::FileFilter> ParseFilter(const QString& filter);

    TCloseQueryEvent OnCanClose;
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnTypeChange;

protected:
    // Runs one file dialog through `call` (the desktop's open or save call).
    bool DoExecute(const std::function<bool(win32::OPENFILENAME&)>& call);

private:
    win32::OPENFILENAME BuildRecord();
    bool Hook(win32::FileDialogWindow& dialog, int notification);
    void PlaceDialog(win32::FileDialogWindow& dialog);

    QString defaultExt_;
    QString fileName_;
    QString filter_;
    int filterIndex_ = 1;
    int currentFilterIndex_ = 1;
    QString initialDir_;
    TOpenOptions options_ = TOpenOptions(ofHideReadOnly | ofEnableSizing);
    QString title_;
    QStringList files_;
    win32::FileDialogWindow* openDialog_ = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenDialog::TOpenOptions)
