#include "app/Zvonkar.h"

#include "framework/Exceptions.h"
#include "framework/TApplication.h"
#include "platform/core/errhandling.h"
#include "platform/files/curdir.h"
#include "platform/files/drives.h"
#include "platform/files/paths.h"
#include "platform/sound/sound.h"

#include <QCoreApplication>
#include <QFile>

QString ProgramDir;

namespace {

// Restores the critical-error mode and lets pending messages run, on every way out of the
// drive check.
class ErrorModeScope {
public:
    ErrorModeScope() : previous(win32::SetErrorMode(win32::SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeScope() {
        win32::SetErrorMode(previous);
        ProcessPendingMessages();
    }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

    static void ProcessPendingMessages() {
        if (Application())
            Application()->ProcessMessages();
    }

private:
    win32::UINT previous;
};

bool HasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

} // namespace

QString ProgramFolder() {
    const std::optional<QString> folder =
        win32::ToWindowsPath(QFile::encodeName(QCoreApplication::applicationDirPath()));
    if (!folder)
        return QString();
    return folder->endsWith(u'\\') ? *folder : *folder + u'\\';
}

void EnsureCurrentDirectoryOnDrive() {
    if (HasDriveLetter(win32::GetCurrentDirectory()))
        return;
    const QString program = ProgramFolder();
    if (!program.isEmpty() && win32::SetCurrentDirectory(program))
        return;
    const win32::DWORD drives = win32::GetLogicalDrives();
    for (int n = 0; n < 26; ++n)
        if ((drives & (1u << n)) &&
            win32::SetCurrentDirectory(QString(QChar(u'A' + n)) + QStringLiteral(":\\")))
            return;
}

void PlaySoundFile(const QString& path) {
    // Paths of any length are passed whole: no buffer limits them.
    win32::sndPlaySound(path, win32::SND_ASYNC);
}

bool DriveAccessible(QChar letter) {
    const QChar drive = letter.toUpper();
    if (drive < u'A' || drive > u'Z')
        throw EConvertError(QStringLiteral("Not a valid drive letter"));
    qint64 size = -1;
    {
        ErrorModeScope scope;
        ErrorModeScope::ProcessPendingMessages();
        if (const auto space = win32::GetDiskFreeSpaceEx(QString(drive) + QStringLiteral(":\\")))
            size = space->TotalNumberOfBytes;
    }
    return size != -1;
}
