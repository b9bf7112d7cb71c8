#include "filectrl/TDriveComboBox.h"

#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "framework/DrawTextFlags.h"
#include "platform/core/errhandling.h"
#include "platform/files/drives.h"

#include <QLocale>

namespace {

// Critical errors fail without asking the user while a volume is read; the previous mode comes
// back however the read ends.
class CriticalErrorsFail {
public:
    CriticalErrorsFail() : previous_(win32::SetErrorMode(win32::SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsFail() { win32::SetErrorMode(previous_); }
    CriticalErrorsFail(const CriticalErrorsFail&) = delete;
    CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;

private:
    win32::UINT previous_;
};

// Names take the case of their drive letter.
QString InCaseOf(QChar letter, const QString& text) {
    const QLocale locale;
    return letter.unicode() < 'a' ? locale.toUpper(text) : locale.toLower(text);
}

bool SameLetter(QChar a, QChar b) {
    return a.toUpper() == b.toUpper();
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : TCustomComboBox(parent) {
    LoadGlyphs();
    const QString current = CurrentDirectory();
    drive_ = current.isEmpty() || current[0] == u'\\' ? QChar() : current[0];
    FitItemHeight();
}

TDriveComboBox::~TDriveComboBox() = default;

void TDriveComboBox::LoadGlyphs() {
    floppyGlyph_.LoadFromResourceName(QStringLiteral("FLOPPY"));
    hardGlyph_.LoadFromResourceName(QStringLiteral("HARD"));
    networkGlyph_.LoadFromResourceName(QStringLiteral("NETWORK"));
    cdromGlyph_.LoadFromResourceName(QStringLiteral("CDROM"));
    ramGlyph_.LoadFromResourceName(QStringLiteral("RAM"));
}

void TDriveComboBox::BuildDriveList() {
    Clear();
    const win32::DWORD drives = win32::GetLogicalDrives();
    for (int number = 0; number < 26; ++number) {
        if (!(drives & (1u << number)))
            continue;
        QChar letter(u'a' + number);
        const win32::UINT kind = win32::GetDriveType(QString(letter) + QStringLiteral(":\\"));
        if (textCase_ == tcUpperCase)
            letter = letter.toUpper();
        const QString prefix = QString(letter) + QStringLiteral(": ");
        switch (kind) {
        case win32::DRIVE_REMOVABLE:
            Items().Add(QString(letter) + u':', &floppyGlyph_);
            break;
        case win32::DRIVE_FIXED:
            Items().Add(prefix + VolumeLabelText(letter), &hardGlyph_);
            break;
        case win32::DRIVE_REMOTE:
            Items().Add(prefix + RemoteNameText(letter), &networkGlyph_);
            break;
        case win32::DRIVE_CDROM:
            Items().Add(prefix + VolumeLabelText(letter), &cdromGlyph_);
            break;
        case win32::DRIVE_RAMDISK:
            Items().Add(prefix + VolumeLabelText(letter), &ramGlyph_);
            break;
        default:
            break;
        }
    }
}

QString TDriveComboBox::VolumeLabelText(QChar letter) const {
    const CriticalErrorsFail quiet;
    const auto volume = win32::GetVolumeInformation(QString(letter) + QStringLiteral(":\\"));
    const QString label = volume ? volume->VolumeName : QString();
    return u'[' + InCaseOf(letter, label) + u']';
}

QString TDriveComboBox::RemoteNameText(QChar letter) const {
    const auto remote = win32::WNetGetConnection(QString(letter.toUpper()) + u':');
    return remote ? InCaseOf(letter, *remote) : VolumeLabelText(letter);
}

void TDriveComboBox::SetDrive(QChar drive) {
    if (ItemIndex() >= 0 && SameLetter(drive, drive_))
        return;
    if (drive.isNull()) {
        drive_ = QChar();
        SetItemIndex(-1);
    } else {
        drive_ = textCase_ == tcUpperCase ? drive.toUpper() : drive.toUpper().toLower();
        for (int i = 0; i < Items().Count(); ++i) {
            const QString text = Items().Text(i);
            if (text.size() >= 2 && SameLetter(text[0], drive_) && text[1] == u':') {
                SetItemIndex(i);
                break;
            }
        }
    }
    if (dirList_)
        dirList_->SwitchDrive(drive_);
    Change();
}

void TDriveComboBox::SetTextCase(TTextCase textCase) {
    if (textCase == textCase_)
        return;
    textCase_ = textCase;
    // Before the window exists the list is built at its creation; building it here would
    // raise OnChange while the window is still being set up.
    if (!HandleAllocated())
        return;
    const QChar drive = drive_;
    BuildDriveList();
    SetDrive(drive);
}

TDirectoryListBox* TDriveComboBox::DirList() const {
    return dirList_;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
    if (dirList_ == list)
        return;
    if (dirList_)
        dirList_->SetDriveCombo(nullptr);
    dirList_ = list;
    if (dirList_)
        dirList_->SetDriveCombo(this);
}

void TDriveComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    int glyphWidth = 16;
    const TBitmap* glyph = Items().Glyph(index);
    if (glyph && !glyph->Empty()) {
        DrawEntryGlyph(canvas, rect, *glyph, rect.Left + 2);
        glyphWidth = glyph->Width();
    }
    TRect textRect = rect;
    textRect.Left = rect.Left + glyphWidth + 6;
    canvas.DrawText(Items().ShownText(index), textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TDriveComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    BuildDriveList();
    SetDrive(drive_);
}

void TDriveComboBox::Click() {
    TCustomComboBox::Click();
    if (ItemIndex() >= 0)
        SetDrive(Items().Text(ItemIndex())[0]);
}

void TDriveComboBox::FontChanged() {
    FitItemHeight();
    RecreateWnd();
}

void TDriveComboBox::Loaded() {
    FitItemHeight();
}

void TDriveComboBox::FitItemHeight() {
    SetItemHeight(qMax(FontTextHeight(font()), floppyGlyph_.Height()));
}
