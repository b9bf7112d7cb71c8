#pragma once
// Watches this process's mount table and calls back once a burst of mounts and unmounts has
// settled. The kernel marks /proc/self/mountinfo for poll() as exceptional whenever the table
// changes, so nothing is read or polled while nothing happens. Made and used on a thread with a
// Qt event loop (the GUI thread); the call back comes from that loop.

#include "platform/core/FileDescriptor.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class QSocketNotifier;

namespace win32 {

class MountTableWatch : public QObject {
public:
    // `settle`: the wait from the first change of a burst to the call, which folds in every
    // change that comes meanwhile.
    MountTableWatch(std::function<void()> onChange, std::chrono::milliseconds settle);
    ~MountTableWatch() override;

    // False where the mount table cannot be watched (no /proc).
    bool Watching() const { return notifier != nullptr; }

private:
    FileDescriptor table;
    QSocketNotifier* notifier = nullptr;
    QTimer settleTimer;
};

} // namespace win32
