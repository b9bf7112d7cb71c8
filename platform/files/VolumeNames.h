#pragma once
// The names a volume takes and the names it takes for one: FAT refuses some characters that
// POSIX names may hold, and sees names that differ only in letter case as one entry. The
// file system is the one the mount table gives for the path, never a guess from its drive.

#include <QByteArray>

namespace win32 {

// False, with error 123, when the volume that would hold `posixPath` cannot take its last
// name: FAT refuses \ : * ? " < > | and control characters. The kernel's driver says EINVAL and
// fusefat EPERM for these; the program hears what Windows says, that the name is invalid.
bool VolumeTakesName(const QByteArray& posixPath);

// True when `from` and `to` lie in one folder and that folder holds `from` and no other entry
// whose name equals the last name of `to` ignoring letter case: on a volume that ignores case,
// `to` is then `from` itself in another spelling. Entries are compared rather than inode
// numbers, which a FUSE driver gives afresh for each spelling of a name.
bool IsOtherSpellingOf(const QByteArray& from, const QByteArray& to);

} // namespace win32
