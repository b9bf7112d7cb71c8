#pragma once
// The per-thread last error of the platform layer, as Win32 error numbers, and the error mode.
// Every service of the layer that fails returns its failure value and leaves the reason here;
// the reason is read with GetLastError() on the same thread, right after the call.

#include "platform/core/windef.h"

#include <QByteArray>

namespace win32 {

DWORD GetLastError();
void SetLastError(DWORD error);

// The Win32 error number for a POSIX errno. For ENOENT, `posixPath` tells a missing file (2,
// its folder exists) from a missing folder (3); `isDirectory` makes EEXIST read 183 instead of 80.
DWORD ErrorFromErrno(int error, const QByteArray& posixPath = {}, bool isDirectory = false);
// Sets the last error from errno as ErrorFromErrno does; always returns false, for `return`.
bool FailWithErrno(int error, const QByteArray& posixPath = {}, bool isDirectory = false);
// Sets the last error; always returns false, for `return`.
bool Fail(DWORD error);

// Remembers the critical-error mode and returns the previous one. No prompt is ever shown by
// this layer, so the mode changes nothing else.
UINT SetErrorMode(UINT mode);

} // namespace win32
