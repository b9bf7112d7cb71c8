#include "platform/desktop/help.h"

#include "platform/desktop/HelpViewer.h"
#include "platform/files/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace win32 {

namespace {

const QString kCaption = QStringLiteral("Nápověda");

QStringList SearchFolders() {
    QStringList folders{QCoreApplication::applicationDirPath()};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) {
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    }
    for (const QString& folder : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        // XDG: relative entries are invalid and are ignored.
        if (QDir::isAbsolutePath(folder)) {
            folders.append(folder + QStringLiteral("/zvonkar"));
        }
    }
    return folders;
}

void Complain(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, kCaption, text);
}

// The viewer showing `file`, loaded if it shows another; null after telling the user why not.
HelpViewer* Open(QWidget* owner, const QString& file) {
    const std::optional<QString> path = FindHelpFile(file);
    if (!path) {
        Complain(owner, QStringLiteral("Soubor nápovědy „%1“ nebyl nalezen.\n\nHledán byl ve "
                                       "složkách:\n%2")
                            .arg(file, SearchFolders().join(QLatin1Char('\n'))));
        return nullptr;
    }
    HelpViewer* viewer = HelpViewer::Instance(true);
    if (viewer->FilePath() != *path && !viewer->Load(*path)) {
        Complain(owner, QStringLiteral("Soubor nápovědy „%1“ nelze přečíst.").arg(*path));
        if (viewer->FilePath().isEmpty()) {
            viewer->deleteLater();
        }
        return nullptr;
    }
    return viewer;
}

} // namespace

std::optional<QString> FindHelpFile(const QString& file) {
    if (file.isEmpty()) {
        return std::nullopt;
    }
    const auto isFile = [](const QString& path) { return QFileInfo(path).isFile(); };
    if (file.contains(QLatin1Char('\\')) || file.contains(QLatin1Char(':'))) {
        const std::optional<QByteArray> posix = ToPosixPath(file);
        const QString path = posix ? QFile::decodeName(*posix) : QString();
        return posix && isFile(path) ? std::optional<QString>(path) : std::nullopt;
    }
    if (file.contains(QLatin1Char('/'))) {
        return isFile(file) ? std::optional<QString>(QFileInfo(file).absoluteFilePath())
                            : std::nullopt;
    }
    for (const QString& folder : SearchFolders()) {
        const QString path = folder + QLatin1Char('/') + file;
        if (isFile(path)) {
            return path;
        }
    }
    return std::nullopt;
}

bool WinHelp(QWidget* owner, const QString& file, UINT command, quintptr /*data*/) {
    switch (command) {
    case HELP_QUIT:
        if (HelpViewer* viewer = HelpViewer::Instance(false)) {
            viewer->close();
        }
        return true;
    case HELP_CONTENTS:
        if (HelpViewer* viewer = Open(owner, file)) {
            viewer->ShowContents();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool WinHelp(QWidget* owner, const QString& file, UINT command, const QString& data) {
    if (command != HELP_COMMAND) {
        return false;
    }
    static const QRegularExpression jump(
        QString::fromLatin1(R"re(^\s*(?:JumpID|JI)\s*\(\s*"([^"]*)"\s*,\s*"([^"]*)"\s*\)\s*$)re"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = jump.match(data);
    if (!match.hasMatch()) {
        return false;
    }
    const QString target = match.captured(1).isEmpty() ? file : match.captured(1);
    HelpViewer* viewer = Open(owner, target);
    return viewer != nullptr && viewer->ShowTopic(match.captured(2));
}

} // namespace win32
