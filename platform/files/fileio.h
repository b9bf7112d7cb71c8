#pragma once
// Opening, reading and writing files by handle, with Windows share modes enforced inside the
// process (a table of open files by device and inode) and between processes (open-file-
// description locks on bytes far past any data). A share conflict is found before anything is
// truncated, whether the file is reached by the same name, a hard link or a symbolic link.
// Handles may be used from any thread, one thread at a time per handle.

#include "platform/core/windef.h"

#include <QString>
#include <optional>

namespace win32 {

// access: GENERIC_READ | GENERIC_WRITE | DELETE; shareMode: FILE_SHARE_*; disposition:
// CREATE_NEW ... TRUNCATE_EXISTING; attributes: FILE_ATTRIBUTE_READONLY makes a new file
// read-only, the rest are ignored. Errors: 2, 3, 5 (read-only file opened for writing, a folder),
// 32 share conflict, 80 (CREATE_NEW of an existing file), 15, 21, 123, 206. After a successful
// CREATE_ALWAYS or OPEN_ALWAYS the last error is 183 when the file existed, else 0.
HANDLE CreateFile(const QString& path, DWORD access, DWORD shareMode, DWORD disposition,
                  DWORD attributes);
// A new, empty file open for reading and writing, without sharing, in the folder of `path`,
// that no name shows until LinkUnnamedFile gives it one, so that a writer cut off at any moment
// leaves nothing there. Where the file system has no unnamed files (FAT, many FUSE volumes) it
// has a hidden temporary name, removed when the handle is closed unlinked; once its writer is
// gone, the next new file in that folder or an enumeration with FIND_FIRST_EX_REMOVE_ABANDONED
// removes it. Errors: 2, 3, 5 (a folder that takes no new file), 112, 15, 21, 123.
HANDLE CreateUnnamedFile(const QString& path);
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;

// Names the file of a CreateUnnamedFile handle `path`, in the folder it was made in, once its
// content and the folder are synced; the handle stays open. Without MOVEFILE_REPLACE_EXISTING
// an existing name fails with 183; with it, an existing file is replaced in one step (a folder
// never, 5). Errors also: 17 a path in another folder, 87 a handle of another kind.
bool LinkUnnamedFile(HANDLE file, const QString& path, DWORD flags);
// Reads up to `toRead` bytes; fewer (0 at the end) only at the end of the file.
bool ReadFile(HANDLE file, void* buffer, DWORD toRead, DWORD* read);
// Writes all bytes or fails (112 when the disk is full, with `written` telling how many went).
bool WriteFile(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written);
// The file's length in bytes; -1 on failure.
qint64 GetFileSize(HANDLE file);
bool FlushFileBuffers(HANDLE file);
// The full Windows path of the file a handle has open, every symbolic link on the way resolved
// (without Windows' "\\?\" prefix). Errors: 2 when the file has been deleted since, 3 when it
// lies outside every drive.
std::optional<QString> GetFinalPathNameByHandle(HANDLE file);
bool CloseHandle(HANDLE file);

} // namespace win32
