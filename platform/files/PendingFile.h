#pragma once
// A new file that no name shows until it is complete, so that a writer cut off at any moment
// (a crash, a kill, a power cut) leaves nothing at the destination. Where the file system has
// unnamed files it is one (O_TMPFILE); elsewhere (FAT, many FUSE volumes) it has a hidden
// temporary name, locked for as long as its writer lives, which RemoveAbandoned clears once
// no writer holds it. Not thread-safe; one writer per object.

#include "platform/core/FileDescriptor.h"

#include <QByteArray>
#include <memory>
#include <sys/types.h>

namespace win32 {

class PendingFile {
public:
    // A new, empty file open for reading and writing in the folder of the POSIX path
    // `destination`, with permissions `mode` (less the umask). Stale temporaries in the folder
    // are cleared first. Null with errno set when the folder takes no new file.
    static std::unique_ptr<PendingFile> Create(const QByteArray& destination, mode_t mode);
    // Removes the temporary name of a file that was never placed.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int Fd() const { return file.Get(); }

    // Syncs the file and gives it the POSIX path `destination`, which must lie in the folder it
    // was made in (EXDEV otherwise), then syncs the folder. Without `replace` an existing name
    // fails with EEXIST; with it, an existing file of that name is replaced in one step. False
    // with errno set; the destination is then as it was.
    bool Place(const QByteArray& destination, bool replace);

    // Removes the hidden temporaries in `dir` that no live writer holds, in one pass over its
    // entries.
    static void RemoveAbandoned(int dir);
    // Removes the entry `name` of `dir` when it is such a temporary; true when it went. Any
    // other name is only compared with the temporaries' prefix, so an enumeration may ask
    // about every entry it passes.
    static bool RemoveIfAbandoned(int dir, const char* name);

private:
    PendingFile(FileDescriptor dir, FileDescriptor file, QByteArray temporary);
    bool LinkUnnamed(const QByteArray& name, bool replace);
    bool PlaceNamed(const QByteArray& name, bool replace);

    FileDescriptor dir;
    FileDescriptor file;
    // The hidden name while the file has one; empty for an unnamed file and once placed.
    QByteArray temporary;
};

} // namespace win32
