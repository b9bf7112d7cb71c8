#pragma once
// Drives that come and go, told as the desktop's device broadcast tells them to every window.
// While a DeviceChangeNotification lives, the mount table is watched; once a burst of mounts
// and unmounts has settled (a tenth of a second), the drive map is read again keeping every
// letter (RefreshDriveMap), and when a drive came, went or changed, each notification's handler
// is called. GUI thread only: handlers run from its event loop, one change at a time.

#include <QtGlobal>
#include <functional>

namespace win32 {

class DeviceChangeNotification {
public:
    explicit DeviceChangeNotification(std::function<void()> onDrivesChange);
    ~DeviceChangeNotification();
    DeviceChangeNotification(const DeviceChangeNotification&) = delete;
    DeviceChangeNotification& operator=(const DeviceChangeNotification&) = delete;

private:
    quint64 id;
};

} // namespace win32
