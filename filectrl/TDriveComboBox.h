#pragma once
// The drive selector: a drop-down list of the drives present, one entry per letter with a glyph
// for the drive's kind and its volume label or network name. Picking another drive raises
// OnChange twice (from the Drive setter inside the click handling, then from the pick itself);
// picking the same drive raises it once. May be linked to a directory list that follows it.
// The entries follow drives that are mounted and unmounted while the list is shown.

#include "framework/TBitmap.h"
#include "framework/TCustomComboBox.h"
#include "framework/TLoadable.h"

#include <QPointer>
#include <QTimer>
#include <memory>

class TDirectoryListBox;
namespace win32 {
class DeviceChangeNotification;
}

class TDriveComboBox : public TCustomComboBox, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(TTextCase TextCase READ TextCase WRITE SetTextCase)

public:
    enum TTextCase { tcLowerCase, tcUpperCase };
    Q_ENUM(TTextCase)

    explicit TDriveComboBox(QWidget* parent = nullptr);
    ~TDriveComboBox() override;

    // The selected drive's letter in the TextCase (once set through SetDrive); 0 for none.
    QChar Drive() const { return drive_; }
    // Selects the drive's entry (keeping the previous selection when it has none), moves a
    // linked directory list to that drive and raises OnChange. Nothing happens when that drive
    // is already selected. A failed move of the directory list propagates, without OnChange.
    void SetDrive(QChar drive);
    TTextCase TextCase() const { return textCase_; }
    // Rebuilds the list in the new case and selects the drive again, raising OnChange.
    void SetTextCase(TTextCase textCase);
    // An optional directory list that follows the selected drive; it points back at this one.
    TDirectoryListBox* DirList() const;
    void SetDirList(TDirectoryListBox* list);

    const TBitmap& FloppyGlyph() const { return floppyGlyph_; }
    const TBitmap& HardGlyph() const { return hardGlyph_; }
    const TBitmap& NetworkGlyph() const { return networkGlyph_; }
    const TBitmap& CdromGlyph() const { return cdromGlyph_; }
    const TBitmap& RamGlyph() const { return ramGlyph_; }

    void Loaded() override;

protected:
    virtual void BuildDriveList();

    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void CreateWnd() override;
    void Click() override;
    void FontChanged() override;

private:
    void LoadGlyphs();
    void FitItemHeight();
    QString VolumeLabelText(QChar letter) const;
    QString RemoteNameText(QChar letter) const;
    // Drives came or went: the list is built again and the drive re-selected without OnChange.
    // When the selected drive went away (or lost its medium), the first remaining hard drive,
    // the program's own first, is chosen as a user would choose it. Waits while a modal window
    // is open.
    void DrivesChanged();
    int EntryOf(QChar letter) const;
    QChar RemainingHardDrive() const;

    QChar drive_;
    TTextCase textCase_ = tcLowerCase;
    QPointer<TDirectoryListBox> dirList_;
    TBitmap floppyGlyph_;
    TBitmap hardGlyph_;
    TBitmap networkGlyph_;
    TBitmap cdromGlyph_;
    TBitmap ramGlyph_;
    std::unique_ptr<win32::DeviceChangeNotification> deviceChange_;
    QTimer afterModal_;
};
