#include "platform/files/MountTableWatch.h"

#include <QSocketNotifier>
#include <fcntl.h>

namespace win32 {

MountTableWatch::MountTableWatch(std::function<void()> onChange, std::chrono::milliseconds settle)
    : table(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) {
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(settle);
    connect(&settleTimer, &QTimer::timeout, this, std::move(onChange));
    if (!table.IsValid()) {
        return;
    }
    // Polling the file is what clears its mark, so the notifier fires once per change.
    notifier = new QSocketNotifier(table.Get(), QSocketNotifier::Exception, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        if (!settleTimer.isActive()) {
            settleTimer.start();
        }
    });
}

MountTableWatch::~MountTableWatch() {
    // Before the descriptor it watches is closed.
    delete notifier;
}

} // namespace win32
