#include "platform/registry/RegistryStore.h"

#include "platform/registry/RegistryLock.h"
#include "platform/registry/RegistryParser.h"
#include "platform/registry/RegistryWriter.h"
#include "platform/registry/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace win32 {

namespace {

std::mutex problemMutex;
std::optional<QString> problem;

DWORD ErrorOf(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return ERROR_ACCESS_DENIED;
    case QFileDevice::ResourceError:
        return ERROR_DISK_FULL;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

// The rename that replaced the file is durable only once its folder is on disk too.
void SyncFolder(const QString& filePath) {
    const QString folder = QFileInfo(QFileInfo(filePath).canonicalFilePath()).absolutePath();
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString RegistryStore::FilePath() {
    // XDG: a relative XDG_CONFIG_HOME is invalid and is ignored.
    QString base = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/zvonkar/user.reg");
}

void RegistryStore::Report(const QString& text) {
    std::lock_guard lock(problemMutex);
    problem = text;
}

std::optional<QString> RegistryStore::TakeProblem() {
    std::lock_guard lock(problemMutex);
    return std::exchange(problem, std::nullopt);
}

QString RegistryStore::MoveAside(const QString& path) {
    // Runs under the lock, so no other copy picks the same name meanwhile.
    QString target = path + QStringLiteral(".broken");
    for (int n = 1; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target = path + QStringLiteral(".broken.%1").arg(n);
    }
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0) {
        return {};
    }
    SyncFolder(target);
    return target;
}

DWORD RegistryStore::Load(const QString& path, RegistryHive* hive) {
    QFile file(path);
    if (!file.exists()) {
        *hive = RegistryHive();
        return ERROR_SUCCESS;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        Report(QStringLiteral("Soubor nastavení „%1“ nelze přečíst: %2.")
                   .arg(path, file.errorString()));
        return ErrorOf(file.error());
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Report(QStringLiteral("Soubor nastavení „%1“ nelze přečíst: %2.")
                   .arg(path, file.errorString()));
        return ERROR_REGISTRY_IO_FAILED;
    }
    file.close();
    RegistryParseError error;
    std::optional<RegistryHive> parsed = RegistryParser::Parse(text, &error);
    if (parsed) {
        *hive = std::move(*parsed);
        return ERROR_SUCCESS;
    }
    const QString kept = MoveAside(path);
    if (kept.isEmpty()) {
        Report(QStringLiteral("Soubor nastavení „%1“ je poškozený (řádek %2: %3) a nepodařilo se "
                              "ho uschovat stranou, proto se nastavení do něj neukládá.")
                   .arg(path)
                   .arg(error.line)
                   .arg(error.reason));
    } else {
        Report(QStringLiteral("Soubor nastavení „%1“ je poškozený (řádek %2: %3). Byl uschován "
                              "jako „%4“ a nastavení se bude ukládat znovu od začátku.")
                   .arg(path)
                   .arg(error.line)
                   .arg(error.reason, kept));
    }
    return ERROR_BADDB;
}

DWORD RegistryStore::Save(const QString& path, const RegistryHive& hive) {
    // QSaveFile writes a temporary file in the same folder, syncs it and renames it over the
    // old one (following a symlink to its target), so the old file stays whole on any failure.
    // It commits whatever reached the file even after a failed write (a full disk), so the
    // write is unbuffered and its count checked, and a short one cancels the commit.
    QSaveFile file(path);
    DWORD error = ERROR_REGISTRY_IO_FAILED;
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = ErrorOf(file.error());
        reason = file.errorString();
    } else if (const QByteArray text = RegistryWriter::Write(hive);
               file.write(text) != text.size()) {
        file.cancelWriting();
        error = ERROR_DISK_FULL;
        reason = QStringLiteral("na disku není místo");
    } else if (!file.commit()) {
        error = ErrorOf(file.error());
        reason = file.errorString();
    } else {
        SyncFolder(path);
        return ERROR_SUCCESS;
    }
    Report(QStringLiteral("Soubor nastavení „%1“ nelze uložit: %2. Jeho dosavadní obsah zůstal "
                          "beze změny.")
               .arg(path, reason));
    return error;
}

DWORD RegistryStore::Access(const Operation& operation) {
    const QString path = FilePath();
    const QFileInfo info(path);
    QDir().mkpath(QFileInfo(info.absolutePath()).absolutePath());
    QDir().mkdir(info.absolutePath(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const RegistryLock lock(path + QStringLiteral(".lock"));
    RegistryHive hive;
    if (const DWORD error = Load(path, &hive); error != ERROR_SUCCESS) {
        return error;
    }
    bool changed = false;
    const DWORD result = operation(hive, changed);
    if (result != ERROR_SUCCESS || !changed) {
        return result;
    }
    return Save(path, hive);
}

} // namespace win32
