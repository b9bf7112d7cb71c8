// The copy of a sound file. The content goes into a file beside the destination that no name
// shows (a hidden temporary one where the file system has no unnamed files), which takes the
// destination's name only once it is complete and on disk: a copy that fails part-way (a full
// disk, a read error) or is cut off (a crash, a kill) leaves the destination as it was. A
// destination that is a symbolic link gets the copy in the file it points to, and stays a link
// (one that points to no file refuses the copy); a hard link at the destination becomes a file
// of its own, the other names keeping the old content. A folder that cannot take the temporary
// file refuses the copy, even when the destination itself could be written in place.
#include "app/Zvonkar.h"
#include "framework/Exceptions.h"
#include "platform/files/fileapi.h"

#include <vector>

namespace {

using namespace win32;

constexpr qint64 kChunk = 0xF000;

// A file handle, closed on every way out.
class OpenFile {
public:
    explicit OpenFile(HANDLE h) : handle(h) {}
    ~OpenFile() { Close(); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsOpen())
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }

    HANDLE handle;
};

void CopyContent(HANDLE from, HANDLE to, qint64 length) {
    std::vector<char> buffer(static_cast<size_t>(qMin(length, kChunk)));
    for (qint64 left = length; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(qMin(left, kChunk));
        DWORD read = 0;
        if (!ReadFile(from, buffer.data(), chunk, &read) || read != chunk)
            throw EReadError(QStringLiteral("Stream read error"));
        DWORD written = 0;
        if (!WriteFile(to, buffer.data(), chunk, &written) || written != chunk)
            throw EWriteError(QStringLiteral("Stream write error"));
        left -= chunk;
    }
}

} // namespace

void CopySoundFile(const QString& source, const QString& destination) {
    OpenFile in(CreateFile(source, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!in.IsOpen())
        throw EFOpenError(QStringLiteral("Cannot open file %1").arg(source));
    const QString cannotCreate = QStringLiteral("Cannot create file %1").arg(destination);
    // Claiming an existing destination without sharing, but without truncating it, refuses a
    // copy onto the source itself (by name, hard link or symlink) before anything is written.
    OpenFile claim(CreateFile(destination, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL));
    if (!claim.IsOpen() && GetLastError() != ERROR_FILE_NOT_FOUND)
        throw EFCreateError(cannotCreate);
    // The file the destination names in the end, through any symbolic links: the copy replaces
    // that one, so that a link stays a link.
    const std::optional<QString> target =
        claim.IsOpen() ? GetFinalPathNameByHandle(claim.handle) : destination;
    if (!target)
        throw EFCreateError(cannotCreate);
    OpenFile out(CreateUnnamedFile(*target));
    if (!out.IsOpen())
        throw EFCreateError(cannotCreate);
    const qint64 length = GetFileSize(in.handle);
    if (length < 0)
        throw EReadError(QStringLiteral("Stream read error"));
    CopyContent(in.handle, out.handle, length);
    if (!FlushFileBuffers(out.handle))
        throw EWriteError(QStringLiteral("Stream write error"));
    // A new destination is never made over something that appeared meanwhile, nor over a
    // symbolic link that points nowhere.
    const bool replaces = claim.IsOpen();
    claim.Close();
    if (!LinkUnnamedFile(out.handle, *target, replaces ? MOVEFILE_REPLACE_EXISTING : 0))
        throw EFCreateError(cannotCreate);
}
