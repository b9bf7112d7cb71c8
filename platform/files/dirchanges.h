#pragma once
// Changes that other programs make to one folder's entries, as ReadDirectoryChanges reports
// them on Windows, through inotify. The kernel's events are gathered for a short while and
// handed on together, each name once, so that a burst of thousands of files costs one look at
// each name rather than a re-read of the folder per event. GUI thread only: the handler runs
// from the thread's event loop.

#include "platform/core/windef.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace win32 {

// Which changes are reported.
constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x01;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x02;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x04;

// One delivery of gathered changes.
struct DIRECTORY_CHANGES {
    // Names (Windows names, in the folder) that appeared, went or changed since the last
    // delivery; what each is now is for the caller to look up.
    QStringList FileNames;
    // More changed than the watch keeps apart: the caller reads the folder again.
    bool Overflow = false;
    // The folder itself was deleted, renamed or unmounted; nothing more is reported.
    bool DirectoryGone = false;
};

class DirectoryChangeWatch {
public:
    using Handler = std::function<void(const DIRECTORY_CHANGES&)>;

    DirectoryChangeWatch();
    ~DirectoryChangeWatch();
    DirectoryChangeWatch(const DirectoryChangeWatch&) = delete;
    DirectoryChangeWatch& operator=(const DirectoryChangeWatch&) = delete;

    // Watches the folder (Windows path text) for the changes of `filter`, replacing the watch
    // before. False, with the error code, when it cannot be watched (3 no such folder, 8 the
    // system's watches used up): nothing is reported then. The handler may end or replace the
    // watch.
    bool Watch(const QString& folder, DWORD filter, Handler handler);
    // Ends the watch; nothing gathered is delivered.
    void Close();
    // Forgets what was gathered and not yet delivered, for a caller that has just read the
    // whole folder.
    void Discard();
    // The folder watched, empty without a watch.
    QString Folder() const;

private:
    class Notifier;
    std::unique_ptr<Notifier> watch_;
};

} // namespace win32
