#pragma once
// The process's current directory as Windows text and the remembered current directory of each
// drive. When something outside this layer moves the process's real directory, the Windows
// text follows it the next time it is asked for. Safe to use from any thread.

#include <QHash>
#include <QString>
#include <mutex>
#include <optional>
#include <sys/types.h>

namespace win32 {

struct ResolvedPath;

class CurrentDirectories {
public:
    static CurrentDirectories& Instance();

    // The current directory, or nothing when the real one lies outside every drive.
    std::optional<QString> Current();
    // Drive `letter`'s remembered directory; its root (with the letter as given) at first.
    QString OfDrive(QChar letter);
    // Records a directory the process has just moved into.
    void Entered(const ResolvedPath& path);
    // Forgets every drive's directory and takes the current one from the process again.
    void Reset();
    // Forgets drive `letter`'s directory, as when its volume has gone: it starts at its root.
    void Forget(QChar letter);

private:
    bool RealDirectoryMoved() const;
    void FollowRealDirectory();

    std::mutex mutex;
    std::optional<QString> current;
    QHash<QChar, QString> byDrive;
    dev_t device = 0;
    ino_t inode = 0;
    bool known = false;
};

} // namespace win32
