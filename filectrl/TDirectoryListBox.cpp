#include "filectrl/TDirectoryListBox.h"

#include "filectrl/FindHandle.h"
#include "filectrl/KeptView.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/TDriveComboBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/Exceptions.h"
#include "framework/ListCollation.h"
#include "framework/TApplication.h"
#include "framework/TLabel.h"
#include "platform/files/attributes.h"
#include "platform/files/displaytext.h"
#include "platform/files/drives.h"

#include <QImage>
#include <QLocale>
#include <algorithm>

namespace {

// Suspends the list's painting while its entries are rebuilt.
class PaintingSuspended {
public:
    explicit PaintingSuspended(QWidget* widget)
        : widget_(widget), wasEnabled_(widget->updatesEnabled()) {
        widget_->setUpdatesEnabled(false);
    }
    ~PaintingSuspended() { widget_->setUpdatesEnabled(wasEnabled_); }
    PaintingSuspended(const PaintingSuspended&) = delete;
    PaintingSuspended& operator=(const PaintingSuspended&) = delete;

private:
    QWidget* widget_;
    bool wasEnabled_;
};

bool SameLetter(QChar a, QChar b) {
    return a.toUpper() == b.toUpper();
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : TCustomListBox(parent) {
    resize(145, height());
    SetSorted(false);
    Items().SetShownText(
        [this](const QString& text) { return win32::DisplayText(ShownName(text)); });
    LoadGlyphs();
    directory_ = CurrentDirectory();
    FitItemHeight();
}

TDirectoryListBox::~TDirectoryListBox() = default;

void TDirectoryListBox::LoadGlyphs() {
    openGlyph_.LoadFromResourceName(QStringLiteral("OPENFOLDER"));
    currentGlyph_.LoadFromResourceName(QStringLiteral("CURRENTFOLDER"));
    closedGlyph_.LoadFromResourceName(QStringLiteral("CLOSEDFOLDER"));
}

void TDirectoryListBox::SetDirectory(const QString& directory) {
    if (directory.isEmpty() || ComparePaths(directory, directory_) == 0)
        return;
    const PathEntry entry = SplitPathEntry(directory);
    if (!SameLetter(entry.Drive, Drive())) {
        settingDirectory_ = true;
        try {
            if (driveCombo_)
                driveCombo_->SetDrive(entry.Drive);
            else
                SwitchDrive(entry.Drive);
        } catch (...) {
            settingDirectory_ = false;
            throw;
        }
        settingDirectory_ = false;
    }
    EnterDirectory(entry.Directory);
}

void TDirectoryListBox::SetDrive(QChar drive) {
    if (!SameLetter(drive, Drive()))
        SetDirectory(QString(drive) + u':');
}

void TDirectoryListBox::SwitchDrive(QChar drive) {
    if (SameLetter(drive, Drive()))
        return;
    if (!drive.isNull()) {
        // The platform keeps the letter's case in the path it reports; drive letters read in
        // upper case, as the directory's own text does everywhere else.
        ChangeDirectory(QString(drive.toUpper()) + u':');
        directory_ = CurrentDirectory();
    }
    if (!settingDirectory_) {
        BuildEntries();
        NotifyChange();
    }
}

void TDirectoryListBox::EnterDirectory(const QString& path) {
    // From the old directory first, so that a drive-relative path resolves on the right drive.
    if (IsExistingDirectory(directory_))
        ChangeDirectory(directory_);
    ChangeDirectory(path);
    directory_ = CurrentDirectory();
    BuildEntries();
    NotifyChange();
}

void TDirectoryListBox::Reload() {
    BuildEntries();
    NotifyChange();
}

void TDirectoryListBox::OpenSelected() {
    SetDirectory(PathOfEntry(ItemIndex()));
}

void TDirectoryListBox::NotifyChange() {
    if (fileList_)
        fileList_->SetDirectory(directory_);
    UpdateDirLabel();
    if (OnChange)
        OnChange(this);
}

void TDirectoryListBox::ReadVolumeFlags() {
    // A volume that cannot be asked keeps its names as stored and tells them apart by case,
    // so that no directory is ever taken for another.
    const win32::DWORD flags =
        FileSystemFlags(RootOf(directory_))
            .value_or(win32::FS_CASE_SENSITIVE | win32::FS_CASE_IS_PRESERVED);
    volumeKeepsCase_ = flags & (win32::FS_CASE_IS_PRESERVED | win32::FS_CASE_SENSITIVE);
    volumeCaseSensitive_ = flags & win32::FS_CASE_SENSITIVE;
}

std::optional<win32::DWORD> TDirectoryListBox::FileSystemFlags(const QString& root) const {
    const auto volume = win32::GetVolumeInformation(root);
    if (!volume)
        return std::nullopt;
    return volume->FileSystemFlags;
}

void TDirectoryListBox::BuildEntries() {
    // Watched before it is read, so that nothing done meanwhile is missed.
    if (watch_.Folder() != directory_)
        watch_.Watch(directory_, win32::FILE_NOTIFY_CHANGE_DIR_NAME,
                     [this](const win32::DIRECTORY_CHANGES& changes) {
                         CallEventHandler([&] { FollowChanges(changes); });
                     });
    else
        watch_.Discard();
    const PaintingSuspended suspended(this);
    Items().Clear();
    ReadVolumeFlags();
    const QString root = RootOf(directory_);
    QString rest = directory_;
    int level = 0;
    std::vector<TListEntry> entries;
    if (root.size() >= 2 && root[1] == u'\\') {
        entries.push_back({root, &openGlyph_});
        rest = directory_.mid(root.size());
        level = 1;
    }
    if (!rest.isEmpty()) {
        if (!rest.endsWith(u'\\')) {
            for (qsizetype separator = rest.indexOf(u'\\'); separator >= 0;
                 separator = rest.indexOf(u'\\')) {
                QString name = rest.left(separator);
                if (level == 0)
                    name += u'\\';
                rest.remove(0, separator + 1);
                entries.push_back({name, &openGlyph_});
                ++level;
            }
        }
        entries.push_back({rest, &currentGlyph_});
    }
    const int current = static_cast<int>(entries.size()) - 1;
    for (QString& name : ListSubdirectories(directory_))
        entries.push_back({std::move(name), &closedGlyph_});
    Items().Assign(std::move(entries));
    if (HandleAllocated())
        SetItemIndex(current);
}

void TDirectoryListBox::FollowChanges(const win32::DIRECTORY_CHANGES& changes) {
    if (changes.DirectoryGone) {
        watch_.Close();
        SetDirectory(NearestExistingDirectory(directory_));
        return;
    }
    KeptView kept(*this);
    if (changes.Overflow)
        BuildEntries();
    else
        for (const QString& name : changes.FileNames)
            UpdateSubdirectory(name);
    // A subdirectory picked with a single click that went gives the selection back to the
    // directory itself.
    if (kept.Restore())
        SetItemIndex(CurrentEntry());
}

int TDirectoryListBox::CurrentEntry() const {
    for (int i = 0; i < Items().Count(); ++i)
        if (Items().Glyph(i) == &currentGlyph_)
            return i;
    return -1;
}

void TDirectoryListBox::UpdateSubdirectory(const QString& name) {
    constexpr win32::DWORD hidden = win32::FILE_ATTRIBUTE_HIDDEN | win32::FILE_ATTRIBUTE_SYSTEM |
                                    win32::FILE_ATTRIBUTE_VOLUME_LABEL;
    const win32::DWORD attributes = win32::GetFileAttributes(JoinPath(directory_, name));
    const bool listed = attributes != win32::INVALID_FILE_ATTRIBUTES &&
                        (attributes & win32::FILE_ATTRIBUTE_DIRECTORY) && !(attributes & hidden);
    // The subdirectories follow the current entry in the order ListSubdirectories gives them.
    const TListSortKey key = ListSortKey(name);
    int low = CurrentEntry() + 1;
    int high = Items().Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QString text = Items().Text(middle);
        const int c = ListSortKey(text).Compare(key);
        if (c < 0 || (c == 0 && text < name))
            low = middle + 1;
        else
            high = middle;
    }
    const bool present = low < Items().Count() && Items().Text(low) == name;
    if (present && !listed) {
        Items().Delete(low);
    } else if (!present && listed) {
        // On a volume that ignores case one spelling of a name is listed already.
        const bool twin =
            (low < Items().Count() && ComparePaths(Items().Text(low), name) == 0) ||
            (low > CurrentEntry() + 1 && ComparePaths(Items().Text(low - 1), name) == 0);
        if (!twin)
            Items().Insert(low, name, &closedGlyph_);
    }
}

QStringList TDirectoryListBox::ListSubdirectories(const QString& directory) const {
    struct Name {
        TListSortKey Key;
        QString Text;
    };
    std::vector<Name> names;
    win32::WIN32_FIND_DATA data;
    FindHandle find(JoinPath(directory, QStringLiteral("*.*")), data,
                    win32::FindExSearchLimitToDirectories);
    constexpr win32::DWORD skipped = win32::FILE_ATTRIBUTE_HIDDEN | win32::FILE_ATTRIBUTE_SYSTEM |
                                     win32::FILE_ATTRIBUTE_VOLUME_LABEL;
    for (bool more = find.Valid(); more; more = find.Next(data)) {
        if ((data.dwFileAttributes & skipped) || data.cFileName == QLatin1String(".") ||
            data.cFileName == QLatin1String(".."))
            continue;
        names.push_back({ListSortKey(data.cFileName), data.cFileName});
    }
    // Sorted without regard to case; on a volume that tells case apart, Zvuky and zvuky are
    // two directories and both are listed.
    std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) {
        const int c = a.Key.Compare(b.Key);
        return c < 0 || (c == 0 && a.Text < b.Text);
    });
    QStringList list;
    for (const Name& name : names)
        if (list.isEmpty() || ComparePaths(list.last(), name.Text) != 0)
            list.append(name.Text);
    return list;
}

QString TDirectoryListBox::PathOfEntry(int index) const {
    if (index < 0)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    if (index >= Items().Count())
        return {};
    if (index == 0)
        return RootOf(directory_);
    const TBitmap* glyph = Items().Glyph(index);
    if (glyph == &closedGlyph_)
        return JoinPath(directory_, Items().Text(index));
    if (glyph == &currentGlyph_)
        return directory_;
    const QString drive = DrivePart(directory_);
    const QString rest = directory_.mid(drive.size());
    qsizetype stop = 0;
    int separators = 0;
    for (; stop < rest.size(); ++stop)
        if (rest[stop] == u'\\' && ++separators == index + 1)
            break;
    return drive + rest.left(stop);
}

QString TDirectoryListBox::ShownName(const QString& text) const {
    return volumeKeepsCase_ || volumeCaseSensitive_ ? text : QLocale().toLower(text);
}

int TDirectoryListBox::ComparePaths(const QString& a, const QString& b) const {
    const QLocale locale;
    const QString x = volumeCaseSensitive_ ? a : locale.toLower(a);
    const QString y = volumeCaseSensitive_ ? b : locale.toLower(b);
    // A collation may take two spellings of one text for equal ("café" with a precomposed
    // letter and with a combining accent), while the file system keeps them as two names
    // side by side: only the same characters name the same directory.
    const int order = QString::localeAwareCompare(x, y);
    return order != 0 ? order : x.compare(y);
}

TFileListBox* TDirectoryListBox::FileList() const {
    return fileList_;
}

void TDirectoryListBox::SetDriveCombo(TDriveComboBox* combo) {
    driveCombo_ = combo;
}

void TDirectoryListBox::SetFileList(TFileListBox* fileList) {
    if (fileList_ == fileList)
        return;
    if (fileList_)
        fileList_->SetDirList(nullptr);
    fileList_ = fileList;
    if (fileList_)
        fileList_->SetDirList(this);
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
    dirLabel_ = label;
    UpdateDirLabel();
}

void TDirectoryListBox::UpdateDirLabel() {
    if (!dirLabel_)
        return;
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.SetQFont(dirLabel_->font());
    const int width = dirLabel_->AutoSize() ? this->width() : dirLabel_->Width();
    dirLabel_->SetCaption(ShortenPathToWidth(directory_, canvas, width));
}

void TDirectoryListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    const TBitmap* glyph = Items().Glyph(index);
    int indent = 4 * index + 2;
    if (glyph == &closedGlyph_)
        indent = 4 * (PathDepth(directory_) + 1) + 2;
    int glyphWidth = 16;
    if (glyph && !glyph->Empty()) {
        DrawEntryGlyph(canvas, rect, *glyph, rect.Left + indent);
        glyphWidth = glyph->Width();
    }
    canvas.TextOut(rect.Left + glyphWidth + indent + 4, rect.Top, Items().ShownText(index));
}

void TDirectoryListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    BuildEntries();
}

void TDirectoryListBox::DblClick() {
    TCustomListBox::DblClick();
    OpenSelected();
}

void TDirectoryListBox::KeyPress(QChar& key) {
    TCustomListBox::KeyPress(key);
    if (key.unicode() == 13)
        OpenSelected();
}

void TDirectoryListBox::FontChanged() {
    FitItemHeight();
}

void TDirectoryListBox::Loaded() {
    FitItemHeight();
}

void TDirectoryListBox::FitItemHeight() {
    SetItemHeight(qMax(FontTextHeight(font()), openGlyph_.Height() + 1));
}
