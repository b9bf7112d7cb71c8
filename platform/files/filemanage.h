#pragma once
// Deleting, moving and making files and folders by Windows path.

#include <QString>

namespace win32 {

// Errors: 2, 3, 5 (read-only file, a folder), 32 (open without FILE_SHARE_DELETE).
bool DeleteFile(const QString& path);
// Never replaces an existing file (183); a change of letter case only renames. A file moved to
// another volume is copied to a temporary file in the destination folder, synced, linked into
// place without replacing anything, and only then removed from the source, so one complete
// file exists at every moment. A folder cannot move across volumes (17).
bool MoveFile(const QString& from, const QString& to);
bool CreateDirectory(const QString& path); // 183 when it exists
bool RemoveDirectory(const QString& path); // 145 when not empty

} // namespace win32
