#include "platform/files/paths.h"

#include "platform/core/errhandling.h"
#include "platform/files/CurrentDirectories.h"
#include "platform/files/DriveMap.h"
#include "platform/files/NameMapping.h"

#include <algorithm>
#include <unistd.h>

namespace win32 {

namespace {

bool IsLetter(QChar c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrivePrefix(const QString& text) {
    return text.size() >= 2 && text[1] == ':' && IsLetter(text[0]);
}

// The full Windows text of `text` before "." and ".." are applied: an absolute drive path
// ("X:\...") or a network path ("\\server\share\...").
std::optional<QString> Absolute(const QString& text) {
    if (text.startsWith("\\\\")) {
        return text;
    }
    if (HasDrivePrefix(text)) {
        if (text.size() > 2 && text[2] == '\\') {
            return text;
        }
        return CurrentDirectories::Instance().OfDrive(text[0]) + '\\' + text.mid(2);
    }
    const std::optional<QString> current = CurrentDirectories::Instance().Current();
    if (!current) {
        Fail(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    if (text.startsWith('\\')) {
        if (current->startsWith("\\\\")) {
            const QStringList parts = current->mid(2).split('\\');
            return "\\\\" + parts.value(0) + '\\' + parts.value(1) + text;
        }
        return current->left(2) + text;
    }
    return *current + '\\' + text;
}

// Splits an absolute text into its root ("X:\" or "\\server\share\") and its components,
// applying "." and ".." as Windows does: never above the root.
bool Normalise(const QString& text, QString& root, QStringList& components) {
    QStringList parts;
    if (text.startsWith("\\\\")) {
        parts = text.mid(2).split('\\', Qt::SkipEmptyParts);
        if (parts.size() < 2) {
            return Fail(ERROR_BAD_NETPATH);
        }
        root = "\\\\" + parts[0] + '\\' + parts[1] + '\\';
        parts.remove(0, 2);
    } else {
        // Full paths name their drive in upper case, whatever case the text used, as Windows
        // reports them.
        root = text.left(2).toUpper() + '\\';
        parts = text.mid(3).split('\\', Qt::SkipEmptyParts);
    }
    components.clear();
    for (const QString& part : parts) {
        if (part == "..") {
            if (!components.isEmpty()) {
                components.removeLast();
            }
        } else if (part != ".") {
            components.append(part);
        }
    }
    return true;
}

QString StripLongPrefix(QString text) {
    text.replace('/', '\\');
    if (text.startsWith("\\\\?\\UNC\\", Qt::CaseInsensitive)) {
        return "\\\\" + text.mid(8);
    }
    if (text.startsWith("\\\\?\\")) {
        return text.mid(4);
    }
    return text;
}

QByteArray NormalisePosix(const QByteArray& path) {
    QList<QByteArray> parts;
    for (const QByteArray& part : path.split('/')) {
        if (part == "..") {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (!part.isEmpty() && part != ".") {
            parts.append(part);
        }
    }
    return '/' + parts.join('/');
}

} // namespace

std::optional<ResolvedPath> ResolvePath(const QString& windowsPath) {
    const QString text = StripLongPrefix(windowsPath);
    if (text.isEmpty()) {
        Fail(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    if (text.startsWith("\\\\.\\") || text.contains(QChar(0))) {
        Fail(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    const std::optional<QString> absolute = Absolute(text);
    QString root;
    QStringList components;
    if (!absolute || !Normalise(*absolute, root, components)) {
        return std::nullopt;
    }

    const std::shared_ptr<const DriveMap> map = CurrentDriveMap();
    const Drive* drive = nullptr;
    QList<QByteArray> names;
    qsizetype skip = 0; // components that name the network drive's folder itself
    if (root.startsWith("\\\\")) {
        int matched = 0;
        const QStringList unc = root.mid(2).split('\\', Qt::SkipEmptyParts) + components;
        drive = map->FindRemote(unc, &matched);
        if (drive == nullptr) {
            Fail(ERROR_BAD_NETPATH);
            return std::nullopt;
        }
        skip = std::max(0, matched - 2);
    } else {
        drive = map->Find(char(root[0].unicode()));
        if (drive == nullptr) {
            Fail(ERROR_INVALID_DRIVE);
            return std::nullopt;
        }
    }
    for (const QString& component : components) {
        const std::optional<QByteArray> name = PosixNameOf(component);
        if (!name) {
            Fail(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        names.append(*name);
    }
    if (!DriveHasMedium(*drive)) {
        return std::nullopt;
    }

    ResolvedPath resolved;
    resolved.Drive = drive->Letter;
    resolved.RootLength = root.size();
    resolved.WindowsPath = root + components.join('\\');
    resolved.PosixPath = drive->Folder;
    for (qsizetype i = skip; i < names.size(); ++i) {
        if (!resolved.PosixPath.endsWith('/')) {
            resolved.PosixPath += '/';
        }
        resolved.PosixPath += names[i];
    }
    return resolved;
}

std::optional<QByteArray> ToPosixPath(const QString& windowsPath) {
    const std::optional<ResolvedPath> resolved = ResolvePath(windowsPath);
    return resolved ? std::optional(resolved->PosixPath) : std::nullopt;
}

std::optional<QString> GetFullPathName(const QString& windowsPath) {
    const std::optional<ResolvedPath> resolved = ResolvePath(windowsPath);
    return resolved ? std::optional(resolved->WindowsPath) : std::nullopt;
}

std::optional<QString> ToWindowsPath(const QByteArray& posixPath) {
    QByteArray absolute = posixPath;
    if (!absolute.startsWith('/')) {
        QByteArray buffer(4096, '\0');
        if (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            Fail(ERROR_PATH_NOT_FOUND);
            return std::nullopt;
        }
        absolute = QByteArray(buffer.constData()) + '/' + absolute;
    }
    QByteArray rest;
    const Drive* drive = CurrentDriveMap()->FindByPosixPath(NormalisePosix(absolute), &rest);
    if (drive == nullptr) {
        Fail(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    QString text = QString(QChar(drive->Letter)) + ":\\";
    bool first = true;
    for (const QByteArray& name : rest.split('/')) {
        if (name.isEmpty()) {
            continue;
        }
        if (!first) {
            text += '\\';
        }
        AppendWindowsName(name.constData(), name.size(), text);
        first = false;
    }
    return text;
}

} // namespace win32
