#pragma once
// The file list: the entries of one directory that match a file-name mask and an attribute
// filter, in sorted order, with the selected entry reported as a full path (FileName). Reading
// the entries makes Directory the process's current directory. The entries follow what other
// programs do in the folder, each change in its sorted place, the view held still. May be linked
// to an edit field that mirrors the selection, and is pointed at by a linked directory list.

#include "framework/Events.h"
#include "framework/TBitmap.h"
#include "framework/TCustomListBox.h"
#include "framework/TLoadable.h"
#include "platform/files/dirchanges.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QMimeData;

class TDirectoryListBox;
#include "framework/TEdit.h"

class TFileListBox : public TCustomListBox, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_PROPERTY(TFileType FileType READ FileType WRITE SetFileType)
    Q_PROPERTY(bool ShowGlyphs READ ShowGlyphs WRITE SetShowGlyphs)

public:
    // Which entries to list: those carrying one of the attribute bits, or with ftNormal every
    // entry the enumeration returns. Hidden, system, volume-label and directory entries are
    // left out unless their bit is in the set.
    enum TFileAttr {
        ftReadOnly = 0x01,
        ftHidden = 0x02,
        ftSystem = 0x04,
        ftVolumeID = 0x08,
        ftDirectory = 0x10,
        ftArchive = 0x20,
        ftNormal = 0x80,
    };
    Q_DECLARE_FLAGS(TFileType, TFileAttr)
    Q_FLAG(TFileType)

    explicit TFileListBox(QWidget* parent = nullptr);
    ~TFileListBox() override;

    // The directory listed, as the current directory read after entering it.
    QString Directory() const { return directory_; }
    // Lists another directory (a relative text counts from the old one). The same directory,
    // by the letter-case rule of its volume, changes nothing. EInOutError when it cannot be
    // entered; Directory and the entries then stay.
    void SetDirectory(const QString& directory);
    // Patterns separated by ";".
    QString Mask() const { return mask_; }
    void SetMask(const QString& mask);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType fileType);
    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool show);
    // An optional edit field showing the selected entry, or Mask without one.
    TEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(TEdit* edit);
    // The directory list that names this list as its FileList, if any.
    TDirectoryListBox* DirList() const;

    // Reads the entries again, leaving none selected, and raises OnChange.
    void Reload() { ReadEntries(); }
    // The selected entry's text; empty without a selection.
    QString SelectedEntry() const;
    // Selects the entry of that name (one of exactly that name first, else ignoring case; none
    // when there is no such entry) and raises OnChange, unless it is the selected one already.
    void SelectEntry(const QString& name);

    // The selected entry's full path; empty without a selection.
    virtual QString FileName() const;
    // Applies a typed path: a directory lists it, a pattern becomes the Mask, a file name
    // selects that file (widening the Mask to it when the filter hides it). EInvalidOperation
    // "Invalid file name - %s" for a file that does not exist, EInOutError for a directory that
    // cannot be entered.
    virtual void SetFileName(const QString& fileName);

    // What dragging entry `index` hands to other programs: the file's location as a file URI
    // (text/uri-list). Null for a folder entry and for a file outside every drive.
    std::unique_ptr<QMimeData> DragData(int index) const;

    const TBitmap& ExecutableGlyph() const { return executableGlyph_; }
    const TBitmap& ClosedFolderGlyph() const { return closedGlyph_; }
    const TBitmap& UnknownFileGlyph() const { return unknownGlyph_; }

    void Loaded() override;

    TNotifyEvent OnChange;
    // Raised when the selected entry went because another program deleted or renamed it, after
    // OnChange; never for the list's own reads.
    TNotifyEvent OnSelectedGone;
    // The hint of a file entry, given the file's full path: shown while the pointer rests on
    // the entry and given to screen readers as its description. Asked each time, never kept.
    std::function<QString(const QString& fileName)> OnFileHint;

protected:
    virtual void LoadGlyphs();
    virtual void NotifyChange();
    virtual void ReadEntries();

    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void CreateWnd() override;
    void Click() override;
    void FontChanged() override;
    // A press on a file that moves the desktop's drag distance drags the file out, for copying.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TDirectoryListBox;
    void SetDirList(TDirectoryListBox* list);

    void FitItemHeight();
    bool CaseSensitive() const;
    // Fills the entries from the folder, which the watch then follows.
    void ReadFolder();
    bool Listed(win32::DWORD attributes) const;
    void FollowChanges(const win32::DIRECTORY_CHANGES& changes);
    // The entries to remove (positions) and to add for the names of one batch of changes.
    struct EntryChanges {
        std::vector<int> Removed;
        std::vector<TListEntry> Added;
    };
    // What lists the name as the folder now holds it: added, removed or left as it is.
    void UpdateEntry(const QString& name, EntryChanges& changes) const;
    const TBitmap* FileGlyph(const QString& name) const;
    QString EntryHint(int index) const;
    void StartDrag(int index, QPoint from);

    QString directory_;
    QString mask_ = QStringLiteral("*.*");
    TFileType fileType_ = ftNormal;
    bool showGlyphs_ = false;
    int lastSelection_ = -1;
    TBitmap executableGlyph_;
    TBitmap closedGlyph_;
    TBitmap unknownGlyph_;
    QPointer<TEdit> fileEdit_;
    QPointer<TDirectoryListBox> dirList_;
    std::optional<QPoint> dragFrom_; // a left press on an entry, in the viewport, until released
    int dragIndex_ = -1;
    win32::DirectoryChangeWatch watch_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFileListBox::TFileType)
