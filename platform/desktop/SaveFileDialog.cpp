#include "platform/desktop/SaveFileDialog.h"

#include "platform/core/errhandling.h"
#include "platform/files/DriveMap.h"
#include "platform/files/NameMapping.h"
#include "platform/files/attributes.h"
#include "platform/files/curdir.h"
#include "platform/files/paths.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

namespace win32 {

namespace {

// Characters a Windows file name may not hold; a typed name with one is refused unless the
// record asks for no validation.
bool IsValidName(const QString& name) {
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"\\:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

// Text with a backslash or a drive letter is a Windows path; other text is Qt's own.
bool IsWindowsText(const QString& typed) {
    return typed.contains(u'\\') || (typed.size() >= 2 && typed[1] == u':');
}

// "Name (*.wav *.WAV)" for Qt; Windows' "*.*" matches names without a dot too, which is Qt's "*".
QString QtFilter(const FileFilter& filter) {
    QStringList patterns;
    for (const QString& part : filter.Pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        patterns.append(pattern == u"*.*" ? QStringLiteral("*") : pattern);
    }
    return QStringLiteral("%1 (%2)").arg(filter.Name, patterns.join(u' '));
}

QString NormalisedExtension(QString ext) {
    while (ext.startsWith(u'*') || ext.startsWith(u'.'))
        ext.remove(0, 1);
    return ext;
}

bool HasExtension(const QString& name) {
    return name.contains(u'.');
}

QString PosixText(const QByteArray& path) {
    return QFile::decodeName(path);
}

// The folder to open: the folder part of a proposed path, else the initial folder, else the
// current directory, each only when it is an existing folder on a drive.
QString StartFolder(const QString& proposedFolder, const QString& initialDir) {
    for (const QString& candidate : {proposedFolder, initialDir, GetCurrentDirectory()}) {
        if (candidate.isEmpty())
            continue;
        const std::optional<QByteArray> posix = ToPosixPath(candidate);
        if (posix && QFileInfo(PosixText(*posix)).isDir())
            return PosixText(*posix);
    }
    return {};
}

int LastSeparator(const QString& windowsPath) {
    return static_cast<int>(qMax(windowsPath.lastIndexOf(u'\\'), windowsPath.lastIndexOf(u':')));
}

} // namespace

SaveFileDialog::SaveFileDialog(const OPENFILENAME& ofn)
    : QFileDialog(ofn.hwndOwner), flags(ofn.Flags),
      defaultExt(NormalisedExtension(ofn.lpstrDefExt)),
      hook((ofn.Flags & OFN_ENABLEHOOK) ? ofn.lpfnHook : LPOFNHOOKPROC{}) {
    setOption(DontUseNativeDialog);
    // The checks of accept() ask about replacing, in the order the desktop's dialog does.
    setOption(DontConfirmOverwrite);
    setOption(DontResolveSymlinks, (flags & OFN_NODEREFERENCELINKS) != 0);
    setOption(HideNameFilterDetails);
    setAcceptMode(AcceptSave);
    setFileMode(AnyFile);
    setWindowTitle(ofn.lpstrTitle.isEmpty() ? QStringLiteral("Save As") : ofn.lpstrTitle);
    setSizeGripEnabled((flags & OFN_ENABLESIZING) != 0);

    QList<QUrl> roots;
    for (const Drive& drive : CurrentDriveMap()->Drives()) {
        if (DriveHasMedium(drive))
            roots.append(QUrl::fromLocalFile(PosixText(drive.Folder)));
    }
    setSidebarUrls(roots);

    if (!ofn.lpstrFilter.isEmpty()) {
        QStringList filters;
        for (const FileFilter& filter : ofn.lpstrFilter)
            filters.append(QtFilter(filter));
        setNameFilters(filters);
        const int index = static_cast<int>(ofn.nFilterIndex);
        selectNameFilter(filters.at(index >= 1 && index <= filters.size() ? index - 1 : 0));
    }

    const int split = LastSeparator(ofn.lpstrFile);
    QString proposedFolder = ofn.lpstrFile.left(split + 1);
    if (proposedFolder.endsWith(u'\\') && proposedFolder.size() > 1 &&
        !proposedFolder.endsWith(QStringLiteral(":\\")))
        proposedFolder.chop(1);
    const QString folder = StartFolder(proposedFolder, ofn.lpstrInitialDir);
    if (!folder.isEmpty())
        setDirectory(folder);
    const QString name = ofn.lpstrFile.mid(split + 1);
    if (!name.isEmpty()) {
        const std::optional<QByteArray> posixName = PosixNameOf(name);
        selectFile(posixName ? PosixText(*posixName) : name);
    }

    connect(this, &QFileDialog::currentChanged, this, [this] { Notify(CDN_SELCHANGE); });
    connect(this, &QFileDialog::directoryEntered, this, [this] { Notify(CDN_FOLDERCHANGE); });
    connect(this, &QFileDialog::filterSelected, this, [this] { Notify(CDN_TYPECHANGE); });
}

QRect SaveFileDialog::Frame() const {
    return frameGeometry();
}

void SaveFileDialog::MoveFrame(int left, int top) {
    move(left, top);
}

QString SaveFileDialog::FilePath() const {
    const std::optional<Choice> choice = TypedChoice();
    return choice ? choice->WindowsPath : QString();
}

QString SaveFileDialog::FolderPath() const {
    return ToWindowsPath(QFile::encodeName(directory().absolutePath())).value_or(QString());
}

int SaveFileDialog::FilterIndex() const {
    // The shown names are shortened, so the type list itself tells which one is chosen.
    const auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    return types && types->currentIndex() >= 0 ? types->currentIndex() + 1 : 1;
}

bool SaveFileDialog::Notify(int notification) {
    return hook ? hook(*this, notification) : true;
}

void SaveFileDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    if (!(flags & OFN_ENABLESIZING))
        setFixedSize(size());
    Notify(CDN_INITDONE);
}

QString SaveFileDialog::TypedText() const {
    const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text().trimmed() : QString();
}

std::optional<SaveFileDialog::Choice> SaveFileDialog::TypedChoice() const {
    const QString typed = TypedText();
    if (typed.isEmpty())
        return std::nullopt;
    // The edit field is what counts: Qt's own selection may still name the proposed file.
    if (!IsWindowsText(typed)) {
        QString posix = typed.startsWith(u'/') ? typed : directory().absolutePath() + u'/' + typed;
        posix = QDir::cleanPath(posix);
        if (!defaultExt.isEmpty() && !QFileInfo(posix).isDir() &&
            !HasExtension(QFileInfo(posix).fileName()))
            posix += u'.' + defaultExt;
        const QByteArray encoded = QFile::encodeName(posix);
        const std::optional<QString> windows = ToWindowsPath(encoded);
        if (!windows)
            return std::nullopt;
        return Choice{*windows, encoded};
    }
    // A relative Windows path counts from the folder shown.
    const bool absolute = typed.startsWith(u'\\') || (typed.size() >= 2 && typed.at(1) == u':');
    std::optional<ResolvedPath> resolved =
        ResolvePath(absolute ? typed : FolderPath() + u'\\' + typed);
    if (resolved && !defaultExt.isEmpty() && !QFileInfo(PosixText(resolved->PosixPath)).isDir() &&
        !HasExtension(resolved->WindowsPath.mid(LastSeparator(resolved->WindowsPath) + 1)))
        resolved = ResolvePath(resolved->WindowsPath + u'.' + defaultExt);
    if (!resolved)
        return std::nullopt;
    return Choice{resolved->WindowsPath, resolved->PosixPath};
}

void SaveFileDialog::accept() {
    const QString typed = TypedText();
    if (typed.isEmpty())
        return;
    const QString invalid = QStringLiteral("%1\nThe file name is not valid.").arg(typed);
    if (!(flags & OFN_NOVALIDATE) && !IsWindowsText(typed) && !IsValidName(typed)) {
        Refuse(invalid);
        return;
    }
    const std::optional<Choice> choice = TypedChoice();
    if (!choice) {
        Refuse(GetLastError() == ERROR_INVALID_NAME
                   ? invalid
                   : QStringLiteral("%1\nThis location is not on any drive.\nCheck the path and "
                                    "try again.")
                         .arg(typed));
        return;
    }
    const QFileInfo info(PosixText(choice->PosixPath));
    if (info.isDir()) {
        setDirectory(info.absoluteFilePath());
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->clear();
        Notify(CDN_FOLDERCHANGE);
        return;
    }
    if (!PassesChecks(*choice) || !Notify(CDN_FILEOK))
        return;
    chosen = choice->WindowsPath;
    QDialog::accept();
}

bool SaveFileDialog::PassesChecks(const Choice& choice) {
    const QFileInfo info(PosixText(choice.PosixPath));
    const QFileInfo folder(info.absolutePath());
    const QString& path = choice.WindowsPath;
    if ((flags & OFN_PATHMUSTEXIST) && !folder.isDir()) {
        Refuse(QStringLiteral("%1\nPath does not exist.\nCheck the path and try again.").arg(path));
        return false;
    }
    const bool exists = info.exists();
    if ((flags & OFN_FILEMUSTEXIST) && !exists) {
        Refuse(QStringLiteral("%1\nFile not found.\nCheck the file name and try again.").arg(path));
        return false;
    }
    if (exists && (flags & OFN_NOREADONLYRETURN)) {
        const DWORD attributes = GetFileAttributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            Refuse(QStringLiteral("%1\nThis file is set to read-only.\nTry again with a "
                                  "different file name.")
                       .arg(path));
            return false;
        }
    }
    if (exists && (flags & OFN_OVERWRITEPROMPT) &&
        !Ask(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path)))
        return false;
    if (!exists && (flags & OFN_CREATEPROMPT) &&
        !Ask(QStringLiteral("%1\nThis file does not exist.\nDo you want to create it?").arg(path)))
        return false;
    return true;
}

void SaveFileDialog::Refuse(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

bool SaveFileDialog::Ask(const QString& text) {
    return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace win32
