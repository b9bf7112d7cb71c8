#pragma once
// The directory list: one directory shown as a short tree, the chain of its ancestors from the
// drive root, the directory itself and its subdirectories. A double click or Enter on an entry
// goes there; every navigation leaves the process's current directory at the new Directory and
// raises OnChange once. Subdirectories that other programs make or take away appear and go in
// their sorted place; when the directory itself goes, the list moves to its nearest existing
// ancestor. May be linked to a file list, a label and a drive selector.

#include "framework/Events.h"
#include "framework/TBitmap.h"
#include "framework/TCustomListBox.h"
#include "framework/TLoadable.h"
#include "platform/core/windef.h"
#include "platform/files/dirchanges.h"

#include <QPointer>
#include <QString>
#include <optional>

class TDriveComboBox;
class TFileListBox;
#include "framework/TLabel.h"

class TDirectoryListBox : public TCustomListBox, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(QString Directory READ Directory WRITE SetDirectory)

public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);
    ~TDirectoryListBox() override;

    // The directory shown, as the current directory read right after entering it: "C:\" for
    // a root, no trailing backslash otherwise.
    QString Directory() const { return directory_; }
    // Goes to the directory (relative texts count from the current directory). The same
    // directory (by ComparePaths) or an empty text does nothing. Raises EInOutError when a
    // directory cannot be entered.
    virtual void SetDirectory(const QString& directory);
    // The first character of Directory as stored: the drive letter, or "\" on a network path.
    QChar Drive() const { return directory_.isEmpty() ? QChar() : directory_[0]; }
    // Goes to that drive's current directory when the letter differs, ignoring case.
    void SetDrive(QChar drive);

    // Rebuilds the entries and raises OnChange, even when nothing changed on disk.
    void Reload();
    // Goes to the selected entry.
    void OpenSelected();
    // The path an entry stands for; empty at or past the end; EListError for a negative index.
    QString PathOfEntry(int index) const;
    // The text as drawn: lower case on a volume that neither keeps nor distinguishes case.
    QString ShownName(const QString& text) const;
    // Zero when both name the same directory on the volume of Directory.
    int ComparePaths(const QString& a, const QString& b) const;
    bool VolumeKeepsCase() const { return volumeKeepsCase_; }
    bool VolumeCaseSensitive() const { return volumeCaseSensitive_; }

    // An optional file list that follows every change; it points back at this list.
    TFileListBox* FileList() const;
    void SetFileList(TFileListBox* fileList);
    // An optional label that shows Directory, shortened to fit.
    TLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(TLabel* label);

    // The three glyphs, which also tell the kind of each entry.
    const TBitmap& OpenFolderGlyph() const { return openGlyph_; }
    const TBitmap& CurrentFolderGlyph() const { return currentGlyph_; }
    const TBitmap& ClosedFolderGlyph() const { return closedGlyph_; }

    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    virtual void NotifyChange();
    virtual void LoadGlyphs();
    virtual void BuildEntries();
    // The file-system flags (FS_CASE_*) of the volume of a root; none when it cannot be read.
    virtual std::optional<win32::DWORD> FileSystemFlags(const QString& root) const;

    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void CreateWnd() override;
    void DblClick() override;
    void KeyPress(QChar& key) override;
    void FontChanged() override;

private:
    friend class TDriveComboBox;
    // The linked drive selector's side of the link and of a drive change.
    void SetDriveCombo(TDriveComboBox* combo);
    void SwitchDrive(QChar drive);

    void EnterDirectory(const QString& path);
    void FollowChanges(const win32::DIRECTORY_CHANGES& changes);
    // Lists or drops one subdirectory as the directory now holds it.
    void UpdateSubdirectory(const QString& name);
    int CurrentEntry() const;
    QStringList ListSubdirectories(const QString& directory) const;
    void ReadVolumeFlags();
    void FitItemHeight();
    void UpdateDirLabel();

    QString directory_;
    TBitmap openGlyph_;
    TBitmap currentGlyph_;
    TBitmap closedGlyph_;
    bool volumeKeepsCase_ = true;
    bool volumeCaseSensitive_ = true;
    bool settingDirectory_ = false;
    QPointer<TFileListBox> fileList_;
    QPointer<TLabel> dirLabel_;
    QPointer<TDriveComboBox> driveCombo_;
    win32::DirectoryChangeWatch watch_;
};
