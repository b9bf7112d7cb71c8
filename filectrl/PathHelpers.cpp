#include "filectrl/PathHelpers.h"

#include "framework/Exceptions.h"
#include "framework/TBitmap.h"
#include "framework/TCanvas.h"
#include "framework/TRect.h"
#include "platform/files/drives.h"
#include "platform/files/fileapi.h"

#include <QPainter>

namespace {

qsizetype LastSeparator(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (path[i] == u'\\' || path[i] == u':')
            return i;
    return -1;
}

bool IsExistingFile(const QString& name) {
    const win32::DWORD attributes = win32::GetFileAttributes(name);
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           !(attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

// Puts the current directory back when it leaves scope, however it leaves.
class CurrentDirectoryKeeper {
public:
    explicit CurrentDirectoryKeeper(QString saved) : saved_(std::move(saved)) {}
    ~CurrentDirectoryKeeper() {
        if (!saved_.isEmpty() && IsExistingDirectory(saved_))
            win32::SetCurrentDirectory(saved_);
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    QString saved_;
};

} // namespace

QString DrivePart(const QString& path) {
    if (path.size() >= 2 && path[1] == u':')
        return path.left(2);
    if (path.startsWith(QLatin1String("\\\\"))) {
        const qsizetype serverEnd = path.indexOf(u'\\', 2);
        if (serverEnd < 0)
            return path;
        const qsizetype shareEnd = path.indexOf(u'\\', serverEnd + 1);
        return shareEnd < 0 ? path : path.left(shareEnd);
    }
    return {};
}

QString LastComponent(const QString& path) {
    return path.mid(LastSeparator(path) + 1);
}

QString DirectoryPart(const QString& path) {
    return path.left(LastSeparator(path) + 1);
}

QString ExtensionOf(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > LastSeparator(path) ? path.mid(dot) : QString();
}

QString RootOf(const QString& path) {
    return DrivePart(path) + u'\\';
}

QString CurrentDirectory() {
    return win32::GetCurrentDirectory();
}

void ChangeDirectory(const QString& path) {
    if (!win32::SetCurrentDirectory(path))
        throw EInOutError(static_cast<int>(win32::GetLastError()));
}

bool IsExistingDirectory(const QString& path) {
    const win32::DWORD attributes = win32::GetFileAttributes(path);
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           (attributes & win32::FILE_ATTRIBUTE_DIRECTORY);
}

QString NearestExistingDirectory(const QString& path) {
    const QString root = RootOf(path);
    QString directory = path;
    while (directory.size() > root.size() && !IsExistingDirectory(directory)) {
        directory = DirectoryPart(directory);
        if (directory.size() > root.size())
            directory.chop(1);
    }
    return directory.size() < root.size() ? root : directory;
}

QString JoinPath(const QString& directory, const QString& name) {
    if (directory.endsWith(u'\\'))
        return directory + name;
    return directory + u'\\' + name;
}

int PathDepth(const QString& path) {
    return static_cast<int>(path.count(u'\\'));
}

bool VolumeCaseSensitive(const QString& path) {
    const auto volume = win32::GetVolumeInformation(RootOf(path));
    return !volume || (volume->FileSystemFlags & win32::FS_CASE_SENSITIVE);
}

bool SameFileName(const QString& a, const QString& b, bool caseSensitive) {
    if (!caseSensitive)
        return a.compare(b, Qt::CaseInsensitive) == 0;
    const bool aDrive = a.size() >= 2 && a[1] == u':';
    const bool bDrive = b.size() >= 2 && b[1] == u':';
    if (aDrive && bDrive)
        return a[0].toUpper() == b[0].toUpper() && QStringView(a).mid(1) == QStringView(b).mid(1);
    return a == b;
}

PathEntry SplitPathEntry(const QString& text) {
    const QString saved = CurrentDirectory();
    PathEntry entry;
    entry.Drive = saved.isEmpty() ? QChar() : saved[0];
    QString directory = text;
    QString root;
    if (text.size() >= 2 && text.startsWith(u'[') && text.endsWith(u']')) {
        directory = text.mid(1, text.size() - 2);
    } else {
        root = DrivePart(text);
        if (!root.isEmpty())
            directory.remove(0, root.size());
        else
            root = DrivePart(saved);
        entry.Drive = root.size() >= 2 && root[1] == u':' ? root[0] : QChar();
    }
    const CurrentDirectoryKeeper keeper(saved);
    if (!root.isEmpty() && IsExistingDirectory(root))
        ChangeDirectory(root);
    QString file = LastComponent(directory);
    if (directory.size() == file.size() + 1) {
        directory = QStringLiteral("\\");
    } else if (directory.size() > file.size()) {
        directory.chop(file.size() + 1);
    } else {
        const QString current = CurrentDirectory();
        directory = current.mid(DrivePart(current).size());
        if (directory.isEmpty())
            directory = QStringLiteral("\\");
    }
    if (!directory.isEmpty())
        ChangeDirectory(directory);
    if (!file.isEmpty() && !file.contains(u'*') && !file.contains(u'?') && !IsExistingFile(file)) {
        ChangeDirectory(file);
        directory = directory == QLatin1String("\\") ? directory + file : directory + u'\\' + file;
        file.clear();
    }
    if (entry.Drive.isNull())
        directory = root + directory;
    entry.Directory = directory;
    entry.FilePart = file;
    return entry;
}

QString DropFirstDirectory(const QString& directory) {
    if (directory == QLatin1String("\\"))
        return {};
    QString rest = directory;
    const bool rooted = rest.startsWith(u'\\');
    if (rooted)
        rest.remove(0, 1);
    if (rest.startsWith(u'.'))
        rest.remove(0, 4);
    const qsizetype separator = rest.indexOf(u'\\');
    if (separator < 0)
        return {};
    rest = QStringLiteral("...\\") + rest.mid(separator + 1);
    return rooted ? u'\\' + rest : rest;
}

QString ShortenPathToWidth(const QString& path, TCanvas& canvas, int width) {
    QString result = path;
    const QString name = LastComponent(path);
    QString directory = DirectoryPart(path);
    QString drive;
    if (directory.size() >= 2 && directory[1] == u':') {
        drive = directory.left(2);
        directory.remove(0, 2);
    }
    while ((!directory.isEmpty() || !drive.isEmpty()) && canvas.TextWidth(result) > width) {
        if (directory == QLatin1String("\\...\\")) {
            drive.clear();
            directory = QStringLiteral("...\\");
        } else if (directory.isEmpty()) {
            drive.clear();
        } else {
            directory = DropFirstDirectory(directory);
        }
        result = drive + directory + name;
    }
    return result;
}

void DrawEntryGlyph(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap, int x) {
    if (bitmap.Empty())
        return;
    QImage image = bitmap.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    const QRgb brush = ToQColor(canvas.Brush.Color).rgb();
    for (int py = 0; py < image.height(); ++py) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(py));
        for (int px = 0; px < image.width(); ++px)
            if (line[px] == key)
                line[px] = brush;
    }
    const int y = (rect.Top + rect.Bottom - image.height()) / 2;
    canvas.Painter().drawImage(x, y, image);
}
