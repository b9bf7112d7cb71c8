#include "filectrl/TFileListBox.h"

#include "filectrl/FindHandle.h"
#include "filectrl/KeptView.h"
#include "filectrl/PathHelpers.h"
#include "filectrl/SortedPositionWatch.h"
#include "filectrl/TDirectoryListBox.h"
#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "framework/TEdit.h"
#include "platform/files/attributes.h"
#include "platform/files/displaytext.h"
#include "platform/files/paths.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

// Attribute bits an entry must not carry unless the filter asks for them.
constexpr win32::DWORD kFilteredBits = win32::FILE_ATTRIBUTE_HIDDEN | win32::FILE_ATTRIBUTE_SYSTEM |
                                       win32::FILE_ATTRIBUTE_VOLUME_LABEL |
                                       win32::FILE_ATTRIBUTE_DIRECTORY;
// The bits of ftReadOnly to ftArchive.
constexpr int kAttributeBits = 0x3F;
// A read whose entries reach this sorted position shows the hourglass.
constexpr int kHourglassPosition = 100;

// The hourglass of a long read, put away however the read ends.
class Hourglass {
public:
    Hourglass() = default;
    ~Hourglass() { Hide(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    void Show() {
        if (!shown_) {
            shown_ = true;
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    void Hide() {
        if (shown_) {
            shown_ = false;
            QGuiApplication::restoreOverrideCursor();
        }
    }

private:
    bool shown_ = false;
};

bool IsProgramName(const QString& name) {
    const QString extension = ExtensionOf(name).toLower();
    return extension == QLatin1String(".exe") || extension == QLatin1String(".com") ||
           extension == QLatin1String(".bat") || extension == QLatin1String(".pif");
}

bool IsExistingFile(const QString& name) {
    const win32::DWORD attributes = win32::GetFileAttributes(name);
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           !(attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TFileListBox::TFileListBox(QWidget* parent) : TCustomListBox(parent) {
    resize(145, height());
    directory_ = CurrentDirectory();
    LoadGlyphs();
    SetSorted(true);
    // Names keep the characters that Windows cannot carry; on screen they read as look-alikes.
    Items().SetShownText(win32::DisplayText);
    Items().SetDescription([this](int index) { return EntryHint(index); });
    FitItemHeight();
}

TFileListBox::~TFileListBox() = default;

void TFileListBox::LoadGlyphs() {
    executableGlyph_.LoadFromResourceName(QStringLiteral("EXECUTABLE"));
    closedGlyph_.LoadFromResourceName(QStringLiteral("CLOSEDFOLDER"));
    unknownGlyph_.LoadFromResourceName(QStringLiteral("UNKNOWNFILE"));
}

bool TFileListBox::CaseSensitive() const {
    return VolumeCaseSensitive(directory_);
}

QString TFileListBox::EntryHint(int index) const {
    const TBitmap* glyph = Items().Glyph(index);
    if (!OnFileHint || (glyph != &executableGlyph_ && glyph != &unknownGlyph_))
        return {};
    return OnFileHint(JoinPath(directory_, Items().Text(index)));
}

void TFileListBox::SetDirectory(const QString& directory) {
    if (directory.isEmpty() || SameFileName(directory, directory_, CaseSensitive()))
        return;
    // From the old directory first, so that a relative text resolves from there.
    if (IsExistingDirectory(directory_))
        ChangeDirectory(directory_);
    ChangeDirectory(directory);
    directory_ = CurrentDirectory();
    ReadEntries();
}

TDirectoryListBox* TFileListBox::DirList() const {
    return dirList_;
}

void TFileListBox::SetDirList(TDirectoryListBox* list) {
    dirList_ = list;
}

void TFileListBox::SetMask(const QString& mask) {
    if (mask == mask_)
        return;
    mask_ = mask;
    ReadEntries();
}

void TFileListBox::SetFileType(TFileType fileType) {
    if (fileType == fileType_)
        return;
    fileType_ = fileType;
    ReadEntries();
}

void TFileListBox::SetShowGlyphs(bool show) {
    if (show == showGlyphs_)
        return;
    showGlyphs_ = show;
    if (show && ItemHeight() < executableGlyph_.Height() + 1)
        FitItemHeight();
    viewport()->update();
}

void TFileListBox::SetFileEdit(TEdit* edit) {
    fileEdit_ = edit;
    if (fileEdit_) {
        const QString selected = SelectedEntry();
        fileEdit_->SetText(selected.isEmpty() ? mask_ : selected);
    }
}

QString TFileListBox::SelectedEntry() const {
    const int index = ItemIndex();
    if (index < 0 || Items().Count() == 0 || !Selected(index))
        return {};
    return Items().Text(index);
}

void TFileListBox::SelectEntry(const QString& name) {
    if (SameFileName(name, SelectedEntry(), CaseSensitive()))
        return;
    int found = -1;
    for (int i = 0; i < Items().Count() && found < 0; ++i)
        if (Items().Text(i) == name)
            found = i;
    if (found < 0)
        found = Items().IndexOf(name);
    SetItemIndex(found);
    NotifyChange();
}

QString TFileListBox::FileName() const {
    const QString selected = SelectedEntry();
    return selected.isEmpty() ? QString() : JoinPath(directory_, selected);
}

void TFileListBox::SetFileName(const QString& fileName) {
    if (fileName.isEmpty() || SameFileName(fileName, FileName(), CaseSensitive()))
        return;
    const PathEntry entry = SplitPathEntry(fileName);
    if (dirList_)
        dirList_->SetDirectory(fileName);
    else if (entry.Drive.isNull())
        SetDirectory(entry.Directory);
    else
        SetDirectory(QString(entry.Drive) + u':' + entry.Directory);
    const QString& file = entry.FilePart;
    if (file.contains(u'*') || file.contains(u'?')) {
        SetMask(file);
    } else if (!file.isEmpty()) {
        SelectEntry(file);
        if (!IsExistingFile(file))
            throw EInvalidOperation(QStringLiteral("Invalid file name - %1").arg(fileName));
        if (ItemIndex() < 0) {
            SetMask(file);
            SelectEntry(file);
        }
    }
}

void TFileListBox::ReadEntries() {
    if (!HandleAllocated())
        return;
    ChangeDirectory(directory_);
    ReadFolder();
    NotifyChange();
}

bool TFileListBox::Listed(win32::DWORD attributes) const {
    const auto attributeWord = static_cast<win32::DWORD>(fileType_.toInt() & kAttributeBits);
    return (attributes & kFilteredBits & ~attributeWord) == 0 &&
           (fileType_.testFlag(ftNormal) || (attributes & attributeWord));
}

const TBitmap* TFileListBox::FileGlyph(const QString& name) const {
    return IsProgramName(name) ? &executableGlyph_ : &unknownGlyph_;
}

void TFileListBox::ReadFolder() {
    // Watched before it is read, so that nothing done meanwhile is missed; what the watch
    // gathered before is in the read.
    if (watch_.Folder() != directory_)
        watch_.Watch(directory_,
                     win32::FILE_NOTIFY_CHANGE_FILE_NAME | win32::FILE_NOTIFY_CHANGE_DIR_NAME |
                         win32::FILE_NOTIFY_CHANGE_ATTRIBUTES,
                     [this](const win32::DIRECTORY_CHANGES& changes) {
                         CallEventHandler([&] { FollowChanges(changes); });
                     });
    else
        watch_.Discard();
    const bool checksReadOnly = fileType_.testFlag(ftReadOnly) && !fileType_.testFlag(ftNormal);
    Items().Clear();
    // The whole folder is read first and then shown in one batch, sorted once; the hourglass
    // still comes up as soon as an entry lands at position 100 of the list being read.
    std::vector<TListEntry> entries;
    std::vector<TListSortKey> keys;
    Hourglass hourglass;
    SortedPositionWatch hourglassPosition(kHourglassPosition);
    for (const QString& pattern : mask_.split(u';')) {
        win32::WIN32_FIND_DATA data;
        // What a copy cut off in this folder left behind goes as the folder is read.
        FindHandle find(JoinPath(directory_, pattern), data, win32::FindExSearchNameMatch,
                        win32::FIND_FIRST_EX_REMOVE_ABANDONED);
        for (bool more = find.Valid(); more; more = find.Next(data)) {
            // The enumeration does not read an entry's status, so the read-only bit is asked
            // for only where it decides.
            if (!Listed(data.dwFileAttributes) &&
                !(checksReadOnly && find.Status(data) && Listed(data.dwFileAttributes)))
                continue;
            if (data.dwFileAttributes & win32::FILE_ATTRIBUTE_DIRECTORY)
                entries.push_back(
                    {u'[' + data.cFileName + u']', showGlyphs_ ? &closedGlyph_ : nullptr});
            else
                entries.push_back({data.cFileName, FileGlyph(data.cFileName)});
            keys.push_back(ListSortKey(entries.back().Text));
            if (hourglassPosition.Lands(keys.back()))
                hourglass.Show();
        }
    }
    Items().Assign(std::move(entries), std::move(keys));
    hourglass.Hide();
}

void TFileListBox::FollowChanges(const win32::DIRECTORY_CHANGES& changes) {
    if (changes.DirectoryGone) {
        watch_.Close();
        // A linked directory list moves first and brings this list along.
        if (!dirList_)
            SetDirectory(NearestExistingDirectory(directory_));
        return;
    }
    const int selected = ItemIndex();
    KeptView kept(*this);
    if (changes.Overflow)
        ReadFolder();
    else {
        EntryChanges entryChanges;
        for (const QString& name : changes.FileNames)
            UpdateEntry(name, entryChanges);
        Items().Update(std::move(entryChanges.Removed), std::move(entryChanges.Added));
    }
    const bool selectedGone = kept.Restore();
    if (lastSelection_ == selected)
        lastSelection_ = ItemIndex();
    if (selectedGone) {
        NotifyChange();
        if (OnSelectedGone)
            OnSelectedGone(this);
    }
}

void TFileListBox::UpdateEntry(const QString& name, EntryChanges& changes) const {
    const win32::DWORD attributes = win32::GetFileAttributes(JoinPath(directory_, name));
    const bool exists = attributes != win32::INVALID_FILE_ATTRIBUTES;
    const bool folder = exists && (attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
    // An entry that matches two patterns of the mask is listed twice, as a read lists it.
    int count = 0;
    if (exists && Listed(attributes))
        for (const QString& pattern : mask_.split(u';'))
            count += win32::PathMatchSpec(name, pattern) ? 1 : 0;
    const QString folderText = u'[' + name + u']';
    const auto setCount = [&](const QString& text, int wanted, const TBitmap* glyph) {
        const std::vector<int> listed = Items().FindAll(text);
        for (auto n = static_cast<int>(listed.size()); n > wanted; --n)
            changes.Removed.push_back(listed[static_cast<std::size_t>(n - 1)]);
        for (auto n = static_cast<int>(listed.size()); n < wanted; ++n)
            changes.Added.push_back({text, glyph});
    };
    setCount(folder ? name : folderText, 0, nullptr);
    if (folder)
        setCount(folderText, count, showGlyphs_ ? &closedGlyph_ : nullptr);
    else
        setCount(name, count, FileGlyph(name));
}

void TFileListBox::NotifyChange() {
    lastSelection_ = ItemIndex();
    if (fileEdit_) {
        const QString selected = SelectedEntry();
        fileEdit_->SetText(selected.isEmpty() ? mask_ : selected);
        fileEdit_->SelectAll();
    }
    if (OnChange)
        OnChange(this);
}

void TFileListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState) {
    TCanvas& canvas = Canvas();
    canvas.FillRect(rect);
    int offset = 2;
    const TBitmap* glyph = Items().Glyph(index);
    if (showGlyphs_ && glyph && !glyph->Empty()) {
        DrawEntryGlyph(canvas, rect, *glyph, rect.Left + 2);
        offset = glyph->Width() + 6;
    }
    canvas.TextOut(rect.Left + offset, rect.Top, Items().ShownText(index));
}

void TFileListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    ReadEntries();
}

void TFileListBox::Click() {
    TCustomListBox::Click();
    if (ItemIndex() != lastSelection_)
        NotifyChange();
}

void TFileListBox::FontChanged() {
    FitItemHeight();
}

void TFileListBox::Loaded() {
    FitItemHeight();
}

void TFileListBox::FitItemHeight() {
    int height = FontTextHeight(font());
    if (showGlyphs_)
        height = qMax(height, executableGlyph_.Height() + 1);
    SetItemHeight(height);
}

std::unique_ptr<QMimeData> TFileListBox::DragData(int index) const {
    const TBitmap* glyph = Items().Glyph(index);
    if (glyph != &executableGlyph_ && glyph != &unknownGlyph_)
        return nullptr;
    const std::optional<QByteArray> posix =
        win32::ToPosixPath(JoinPath(directory_, Items().Text(index)));
    if (!posix)
        return nullptr;
    // A file URI carries the name's bytes percent-encoded, so a name that is not UTF-8 arrives
    // as it is on disk.
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromEncoded("file://" + posix->toPercentEncoding("/"))});
    return data;
}

void TFileListBox::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const QModelIndex entry = indexAt(at);
    dragFrom_.reset();
    if (event->button() == Qt::LeftButton && entry.isValid()) {
        dragFrom_ = at;
        dragIndex_ = entry.row();
    }
    TCustomListBox::mousePressEvent(event);
}

void TFileListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) {
        TCustomListBox::mouseMoveEvent(event);
        return;
    }
    // Until the press is released or has moved far enough to drag, the entry pressed stays the
    // selected one.
    event->accept();
    const QPoint from = *dragFrom_;
    if ((event->position().toPoint() - from).manhattanLength() < QApplication::startDragDistance())
        return;
    dragFrom_.reset();
    StartDrag(dragIndex_, from);
}

void TFileListBox::mouseReleaseEvent(QMouseEvent* event) {
    dragFrom_.reset();
    TCustomListBox::mouseReleaseEvent(event);
}

void TFileListBox::StartDrag(int index, QPoint from) {
    std::unique_ptr<QMimeData> data = DragData(index);
    // The drag takes the button's release, so the press ends here as a click: the entry pressed
    // is selected and announced (played and measured) as before, and then dragged.
    QMouseEvent release(QEvent::MouseButtonRelease, from, viewport()->mapToGlobal(from),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    TCustomListBox::mouseReleaseEvent(&release);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction);
}
