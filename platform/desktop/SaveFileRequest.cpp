#include "platform/desktop/SaveFileRequest.h"

#include "platform/files/NameMapping.h"
#include "platform/files/attributes.h"
#include "platform/files/curdir.h"
#include "platform/files/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace win32 {

namespace {

// Prompts that Qt's own file dialog also shows are taken in its words, so that its
// translations reach them.
QString QtText(const char* text) {
    return QCoreApplication::translate("QFileDialog", text);
}

QString NormalisedExtension(QString ext) {
    while (ext.startsWith(u'*') || ext.startsWith(u'.'))
        ext.remove(0, 1);
    return ext;
}

QString PosixText(const QByteArray& path) {
    return QFile::decodeName(path);
}

QString FirstFolderOnADrive(const QStringList& windowsFolders) {
    for (const QString& candidate : windowsFolders) {
        if (candidate.isEmpty())
            continue;
        const std::optional<QByteArray> posix = ToPosixPath(candidate);
        if (posix && QFileInfo(PosixText(*posix)).isDir())
            return PosixText(*posix);
    }
    return {};
}

} // namespace

SaveFileRequest::SaveFileRequest(const OPENFILENAME& ofn)
    : owner(ofn.hwndOwner), flags(ofn.Flags), title(ofn.lpstrTitle), filters(ofn.lpstrFilter),
      defaultExt(NormalisedExtension(ofn.lpstrDefExt)),
      hook((ofn.Flags & OFN_ENABLEHOOK) ? ofn.lpfnHook : LPOFNHOOKPROC{}) {
    const qsizetype index = ofn.nFilterIndex;
    filterIndex = index >= 1 && index <= filters.size() ? static_cast<int>(index) : 1;

    const qsizetype split = qMax(ofn.lpstrFile.lastIndexOf(u'\\'), ofn.lpstrFile.lastIndexOf(u':'));
    QString proposedFolder = ofn.lpstrFile.left(split + 1);
    if (proposedFolder.endsWith(u'\\') && proposedFolder.size() > 1 &&
        !proposedFolder.endsWith(QStringLiteral(":\\")))
        proposedFolder.chop(1);
    startFolder = FirstFolderOnADrive({proposedFolder, ofn.lpstrInitialDir, GetCurrentDirectory()});
    const QString name = ofn.lpstrFile.mid(split + 1);
    const std::optional<QByteArray> posixName = PosixNameOf(name);
    proposedName = posixName ? PosixText(*posixName) : name;
}

QString SaveFileRequest::Caption() const {
    return title.isEmpty() ? QtText("Save As") : title;
}

bool SaveFileRequest::IsValidName(const QString& name) const {
    if (flags & OFN_NOVALIDATE)
        return true;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"\\:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

std::optional<SaveChoice> SaveFileRequest::Resolve(const QByteArray& posixPath) const {
    QByteArray path = posixPath;
    const QFileInfo info(PosixText(path));
    if (!defaultExt.isEmpty() && !info.isDir() && !info.fileName().contains(u'.'))
        path += '.' + QFile::encodeName(defaultExt);
    const std::optional<QString> windows = ToWindowsPath(path);
    if (!windows)
        return std::nullopt;
    return SaveChoice{*windows, path};
}

bool SaveFileRequest::IsWindowsText(const QString& typed) {
    return typed.contains(u'\\') || (typed.size() >= 2 && typed[1] == u':');
}

std::optional<SaveChoice> SaveFileRequest::ResolveWindowsText(const QString& typed,
                                                              const QString& windowsFolder) const {
    const bool absolute = typed.startsWith(u'\\') || (typed.size() >= 2 && typed.at(1) == u':');
    std::optional<ResolvedPath> resolved =
        ResolvePath(absolute ? typed : windowsFolder + u'\\' + typed);
    if (resolved && !defaultExt.isEmpty() && !QFileInfo(PosixText(resolved->PosixPath)).isDir()) {
        const QString& path = resolved->WindowsPath;
        const qsizetype split = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
        if (!path.mid(split + 1).contains(u'.'))
            resolved = ResolvePath(path + u'.' + defaultExt);
    }
    if (!resolved)
        return std::nullopt;
    return SaveChoice{resolved->WindowsPath, resolved->PosixPath};
}

bool SaveFileRequest::PassesChecks(QWidget* parent, const SaveChoice& choice,
                                   bool overwriteAsked) const {
    const QFileInfo info(PosixText(choice.PosixPath));
    const QString& path = choice.WindowsPath;
    if ((flags & OFN_PATHMUSTEXIST) && !QFileInfo(info.absolutePath()).isDir()) {
        Refuse(parent, QtText("%1\nDirectory not found.\nPlease verify the correct directory "
                              "name was given.")
                           .arg(path));
        return false;
    }
    const bool exists = info.exists();
    if ((flags & OFN_FILEMUSTEXIST) && !exists) {
        Refuse(parent, QtText("%1\nFile not found.\nPlease verify the correct file name was given.")
                           .arg(path));
        return false;
    }
    if (exists && (flags & OFN_NOREADONLYRETURN)) {
        const DWORD attributes = GetFileAttributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            Refuse(parent, QStringLiteral("%1\nThis file is set to read-only.\nTry again with a "
                                          "different file name.")
                               .arg(path));
            return false;
        }
    }
    if (exists && (flags & OFN_OVERWRITEPROMPT) && !overwriteAsked &&
        !Ask(parent, QtText("%1 already exists.\nDo you want to replace it?").arg(path)))
        return false;
    if (!exists && (flags & OFN_CREATEPROMPT) &&
        !Ask(parent,
             QStringLiteral("%1\nThis file does not exist.\nDo you want to create it?").arg(path)))
        return false;
    return true;
}

void SaveFileRequest::Refuse(QWidget* parent, const QString& text) const {
    QMessageBox::warning(parent, Caption(), text);
}

bool SaveFileRequest::Ask(QWidget* parent, const QString& text) const {
    return QMessageBox::question(parent, Caption(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

QString SaveFileRequest::InvalidNameText(const QString& name) {
    return QStringLiteral("%1\nThe file name is not valid.").arg(name);
}

QString SaveFileRequest::NotOnAnyDriveText(const QString& name) {
    return QStringLiteral("%1\nThis location is not on any drive.\nCheck the path and try again.")
        .arg(name);
}

bool SaveFileRequest::Notify(FileDialogWindow& dialog, int notification) const {
    return hook ? hook(dialog, notification) : true;
}

} // namespace win32
