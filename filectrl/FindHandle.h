#pragma once
// An enumeration of the platform's FindFirstFileEx, closed however the reader leaves it. It
// reads what the directory entries tell; Status() reads the rest for the entry at hand.

#include "platform/files/findfile.h"

class FindHandle {
public:
    // Starts the enumeration of `pattern`; the first entry goes to `data` when Valid().
    // `flags` are FindFirstFileEx's additional flags.
    FindHandle(const QString& pattern, win32::WIN32_FIND_DATA& data,
               win32::FINDEX_SEARCH_OPS search = win32::FindExSearchNameMatch,
               win32::DWORD flags = 0)
        : handle_(win32::FindFirstFileEx(pattern, win32::FindExInfoNames, data, search, flags)) {}
    ~FindHandle() {
        if (Valid())
            win32::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return handle_ != win32::INVALID_HANDLE_VALUE; }
    bool Next(win32::WIN32_FIND_DATA& data) { return win32::FindNextFile(handle_, data); }
    // Adds the read-only bit and the size to the entry at hand; false when it vanished.
    bool Status(win32::WIN32_FIND_DATA& data) { return win32::FindFileStatus(handle_, data); }

private:
    win32::HANDLE handle_;
};
