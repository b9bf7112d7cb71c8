#include "platform/desktop/shell.h"

#include "platform/files/paths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace win32 {

namespace {

constexpr HINSTANCE kStarted = 42;

// "C:\...", "C:/...", "C:" alone or "\\server\share": Windows path text rather than an address
// (no URL scheme is a single letter).
bool IsWindowsPath(const QString& text) {
    static const QRegularExpression drivePath(QStringLiteral("^[A-Za-z]:([\\\\/]|$)"));
    return drivePath.match(text).hasMatch() || text.startsWith(QStringLiteral("\\\\"));
}

} // namespace

HINSTANCE ShellExecute(QWidget* /*owner*/, const QString& verb, const QString& file,
                       const QString& params, const QString& dir, int /*show*/) {
    if (!verb.isEmpty() && verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0 &&
        verb.compare(QStringLiteral("explore"), Qt::CaseInsensitive) != 0) {
        return SE_ERR_NOASSOC;
    }
    if (!params.isEmpty()) {
        return SE_ERR_NOASSOC;
    }
    if (file.isEmpty()) {
        return SE_ERR_FNF;
    }
    QString target = file;
    if (IsWindowsPath(file)) {
        const std::optional<QByteArray> posix = ToPosixPath(file);
        if (!posix) {
            return SE_ERR_FNF;
        }
        target = QFile::decodeName(*posix);
    }
    // xdg-open takes an argument that begins with "-" for an option of its own.
    if (target.startsWith(QLatin1Char('-'))) {
        target.prepend(QStringLiteral("./"));
    }
    QString workingDirectory;
    if (!dir.isEmpty()) {
        const std::optional<QByteArray> posix = ToPosixPath(dir);
        if (!posix) {
            return SE_ERR_FNF;
        }
        workingDirectory = QFile::decodeName(*posix);
    }
    return QProcess::startDetached(QStringLiteral("xdg-open"), {target}, workingDirectory)
               ? kStarted
               : SE_ERR_FNF;
}

} // namespace win32
