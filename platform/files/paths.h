#pragma once
// Windows path text and POSIX paths, translated through the drive map and the current
// directory. Windows text may be absolute ("C:\a\b"), drive-relative ("C:b"), rooted ("\a"),
// relative ("a\b") or a network path ("\\server\share\a", through a network drive of the map);
// "." and ".." are resolved textually as Windows does, "/" is taken as "\", and the letter case
// of the text is kept. No length limit applies beyond the file system's own.
//
// Errors: 15 missing drive, 21 drive without medium, 53 unknown network share, 123 a character
// no name may hold, 3 no current directory to resolve against or a POSIX path outside every
// drive.

#include <QByteArray>
#include <QString>
#include <optional>

namespace win32 {

struct ResolvedPath {
    QString WindowsPath;      // full Windows text: "C:\a\b", "C:\" for a root, "\\srv\sh\a"
    QByteArray PosixPath;     // the POSIX path it stands for
    char Drive = 0;           // upper-case letter of the drive holding it (for a network path, the
                              // network drive it goes through)
    qsizetype RootLength = 0; // length of the root in WindowsPath ("C:\" 3, "\\srv\sh\" 9)
    bool IsRoot() const { return RootLength >= WindowsPath.size(); }
};

std::optional<ResolvedPath> ResolvePath(const QString& windowsPath);

// The POSIX path of a Windows path.
std::optional<QByteArray> ToPosixPath(const QString& windowsPath);
// The full Windows path of a POSIX path (relative ones count from the process's directory);
// fails with 3 when it lies outside every drive.
std::optional<QString> ToWindowsPath(const QByteArray& posixPath);
// The full Windows text of a Windows path, as the current directory resolves it.
std::optional<QString> GetFullPathName(const QString& windowsPath);

} // namespace win32
