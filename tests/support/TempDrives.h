#pragma once
// A fresh set of drives for one test: a temporary root with a folder per drive, ZVONKAR_DRIVES
// and XDG_CONFIG_HOME pointing into it, and the drive map reloaded. The current directory is
// set to the first drive's root. Destruction restores the environment and the process's
// directory and reloads the map, so tests never see each other's drives.
//
//   TempDrives drives({{'C', "c"}, {'D', "cd", "cdrom", "AUDIO"},
//                      {.Letter = 'E', .Folder = "e", .Kind = "cdrom", .NoMedium = true}});
//   drives.MakeFile('C', "zvuky/ding.wav", QByteArray(100, 'x'));
//   win32::CreateFile("C:\\zvuky\\ding.wav", ...);

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>
#include <optional>
#include <vector>

struct TempDrive {
    char Letter = 'C';
    QString Folder;        // relative to the temporary root, or absolute
    QString Kind = {};     // fixed (default), removable, cdrom, remote, ram
    QString Label = {};    // volume label, or for remote the network name "\\srv\share"
    bool NoMedium = false; // the folder is not created: the drive has no medium
};

class TempDrives {
public:
    explicit TempDrives(std::initializer_list<TempDrive> drives = {{'C', "c"}});
    ~TempDrives();
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    // The temporary root (POSIX).
    QString Root() const;
    // The POSIX path of `relative` ("a/b.wav", "/" separators) inside drive `letter`'s folder.
    QString PosixPath(char letter, const QString& relative = {}) const;

    // Creates the folders of `relative`; returns its POSIX path.
    QString MakeDirectory(char letter, const QString& relative);
    // Creates (or replaces) a file with the given bytes, making its folders; returns its path.
    QString MakeFile(char letter, const QString& relative, const QByteArray& bytes = {});
    // Creates a file of `size` zero bytes (sparse), making its folders; returns its path.
    QString MakeFileOfSize(char letter, const QString& relative, qint64 size);
    // Clears the owner's write permission of an existing file or folder.
    void MakeReadOnly(char letter, const QString& relative);
    // The bytes of a file, or nothing when it cannot be read.
    std::optional<QByteArray> ReadFile(char letter, const QString& relative) const;
    bool Exists(char letter, const QString& relative) const;

private:
    QString FolderOf(char letter) const;

    QTemporaryDir root;
    std::vector<TempDrive> drives;
    std::optional<QByteArray> savedDrives;
    std::optional<QByteArray> savedConfigHome;
    QByteArray savedDirectory;
};
