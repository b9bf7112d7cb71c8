#pragma once
// Moves a file to another volume so that one complete file exists at every moment it can be
// seen: the content goes to a temporary file in the destination folder (unnamed where the file
// system allows), is synced, is linked into place without replacing anything, and only then is
// the source removed. Permissions and modification time go along.

#include <QByteArray>

namespace win32 {

class CrossVolumeMove {
public:
    // Errors: 183 the destination exists, 112 disk full, else from errno; on failure the
    // source is untouched and no trace of the copy is left.
    static bool Move(const QByteArray& from, const QByteArray& to);

private:
    static bool MoveSymbolicLink(const QByteArray& from, const QByteArray& to);
};

} // namespace win32
