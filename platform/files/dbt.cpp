#include "platform/files/dbt.h"

#include "platform/files/MountTableWatch.h"
#include "platform/files/drives.h"

#include <QMap>
#include <QScopeGuard>
#include <memory>

namespace win32 {

namespace {

using namespace std::chrono_literals;

// One watch for the whole process, so that the map is read once per change however many
// windows are told; it lives while anyone listens.
struct Broadcast {
    std::unique_ptr<MountTableWatch> watch;
    QMap<quint64, std::function<void()>> handlers;
    quint64 lastId = 0;
    bool telling = false;
    bool changedMeanwhile = false;

    void MountTableChanged() {
        // A handler may run a modal loop, in which the next change arrives; it is told after.
        if (telling) {
            changedMeanwhile = true;
            return;
        }
        telling = true;
        const auto told = qScopeGuard([this] { telling = false; });
        do {
            changedMeanwhile = false;
            if (RefreshDriveMap()) {
                TellEveryone();
            }
        } while (changedMeanwhile);
    }

    void TellEveryone() {
        const QList<quint64> ids = handlers.keys();
        for (const quint64 id : ids) {
            // A handler may end another's notification (a window closed in it).
            const auto it = handlers.constFind(id);
            if (it != handlers.constEnd()) {
                const std::function<void()> handler = *it;
                handler();
            }
        }
    }
};

Broadcast& TheBroadcast() {
    static Broadcast broadcast;
    return broadcast;
}

} // namespace

DeviceChangeNotification::DeviceChangeNotification(std::function<void()> onDrivesChange) {
    Broadcast& broadcast = TheBroadcast();
    id = ++broadcast.lastId;
    broadcast.handlers.insert(id, std::move(onDrivesChange));
    if (!broadcast.watch) {
        broadcast.watch = std::make_unique<MountTableWatch>(
            [&broadcast] { broadcast.MountTableChanged(); }, 100ms);
    }
}

DeviceChangeNotification::~DeviceChangeNotification() {
    Broadcast& broadcast = TheBroadcast();
    broadcast.handlers.remove(id);
    if (broadcast.handlers.isEmpty() && !broadcast.telling) {
        broadcast.watch.reset();
    }
}

} // namespace win32
