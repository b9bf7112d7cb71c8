#include "filectrl/TDriveComboBox.h"

#include "filectrl/PathHelpers.h"
#include "filectrl/TDirectoryListBox.h"
#include "framework/DrawTextFlags.h"
#include "framework/TApplication.h"
#include "platform/core/errhandling.h"
#include "platform/files/dbt.h"
#include "platform/files/drives.h"
#include "platform/files/paths.h"

#include <QApplication>
#include <QFile>
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

QString RootOf(QChar letter) {
    return QString(letter.toUpper()) + QStringLiteral(":\\");
}

bool HasMedium(QChar letter) {
    const CriticalErrorsFail quiet;
    return win32::GetDiskFreeSpaceEx(RootOf(letter)).has_value();
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : TCustomComboBox(parent) {
    LoadGlyphs();
    const QString current = CurrentDirectory();
    drive_ = current.isEmpty() || current[0] == u'\\' ? QChar() : current[0];
    FitItemHeight();
    deviceChange_ = std::make_unique<win32::DeviceChangeNotification>(
        [this] { CallEventHandler([this] { DrivesChanged(); }); });
    afterModal_.setSingleShot(true);
    afterModal_.setInterval(250);
    connect(&afterModal_, &QTimer::timeout, this,
            [this] { CallEventHandler([this] { DrivesChanged(); }); });
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

int TDriveComboBox::EntryOf(QChar letter) const {
    for (int i = 0; i < Items().Count(); ++i) {
        const QString text = Items().Text(i);
        if (text.size() >= 2 && SameLetter(text[0], letter) && text[1] == u':')
            return i;
    }
    return -1;
}

void TDriveComboBox::SetDrive(QChar drive) {
    if (ItemIndex() >= 0 && SameLetter(drive, drive_))
        return;
    if (drive.isNull()) {
        drive_ = QChar();
        SetItemIndex(-1);
    } else {
        drive_ = textCase_ == tcUpperCase ? drive.toUpper() : drive.toUpper().toLower();
        const int entry = EntryOf(drive_);
        if (entry >= 0)
            SetItemIndex(entry);
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

void TDriveComboBox::DrivesChanged() {
    // Before the window exists there is no list; it is built when the window is made.
    if (!HandleAllocated())
        return;
    // A question open over the window is about the folder shown when it was asked: the lists
    // must not move under it, or its answer would act on a file of that name elsewhere.
    if (QApplication::activeModalWidget()) {
        afterModal_.start();
        return;
    }
    BuildDriveList();
    // Without a drive (a network folder is shown) there is nothing to re-select or leave.
    if (drive_.isNull())
        return;
    const int entry = EntryOf(drive_);
    const QChar other = entry >= 0 && HasMedium(drive_) ? QChar() : RemainingHardDrive();
    if (other.isNull()) {
        SetItemIndex(entry);
        return;
    }
    SetDrive(other);
}

QChar TDriveComboBox::RemainingHardDrive() const {
    const std::optional<QString> program =
        win32::ToWindowsPath(QFile::encodeName(QCoreApplication::applicationDirPath()));
    QString candidates = program && program->size() > 1 && program->at(1) == u':'
                             ? QString(program->front().toUpper())
                             : QString();
    const win32::DWORD drives = win32::GetLogicalDrives();
    for (int number = 0; number < 26; ++number)
        if (drives & (1u << number))
            candidates += QChar(u'A' + number);
    for (const QChar letter : candidates)
        if (win32::GetDriveType(RootOf(letter)) == win32::DRIVE_FIXED && EntryOf(letter) >= 0 &&
            HasMedium(letter))
            return letter;
    return QChar();
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
