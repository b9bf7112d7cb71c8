#pragma once
// An enumeration of the platform's FindFirstFile, closed however the reader leaves it.

#include "platform/files/findfile.h"

class FindHandle {
public:
    // Starts the enumeration of `pattern`; the first entry goes to `data` when Valid().
    FindHandle(const QString& pattern, win32::WIN32_FIND_DATA& data)
        : handle_(win32::FindFirstFile(pattern, data)) {}
    ~FindHandle() {
        if (Valid())
            win32::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return handle_ != win32::INVALID_HANDLE_VALUE; }
    bool Next(win32::WIN32_FIND_DATA& data) { return win32::FindNextFile(handle_, data); }

private:
    win32::HANDLE handle_;
};
