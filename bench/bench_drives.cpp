// Prints how soon the main window's drive selector shows a volume that was just mounted, and
// drops one just unmounted (median and 95th percentile; target within 1 s), next to
// `findmnt --poll` watching the same mount table in the same run. Needs root: it mounts in a
// mount namespace of its own, with a fresh /mnt, so that nobody else sees its volumes.
#include "app/TForm1.h"
#include "filectrl/TDriveComboBox.h"
#include "framework/TApplication.h"
#include "platform/files/drives.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <vector>

namespace {

constexpr int kRuns = 20;

struct Figures {
    std::vector<double> window;
    std::vector<double> findmnt;
};

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

// Runs the event loop until `done` says so or `ms` have passed; a ticking timer wakes it.
bool RunUntil(const std::function<bool()>& done, int ms) {
    QTimer tick;
    tick.start(1);
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void Print(const char* what, const Figures& figures) {
    const double median = Percentile(figures.window, 0.5);
    const double anchor = Percentile(figures.findmnt, 0.5);
    std::printf("  %s: drive selector %7.1f ms (95th %7.1f)   findmnt --poll %6.2f ms (95th "
                "%6.2f)   ratio %.0f\n",
                what, median, Percentile(figures.window, 0.95), anchor,
                Percentile(figures.findmnt, 0.95), median / std::max(anchor, 0.01));
}

} // namespace

int main(int argc, char** argv) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("zvonkar", "/mnt", "tmpfs", 0, "size=1m") != 0) {
        std::fprintf(stderr, "bench_drives needs root for a mount namespace of its own: %s\n",
                     std::strerror(errno));
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    unsetenv("ZVONKAR_DRIVES");
    TApplication application(argc, argv);
    const QTemporaryDir volume;
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    win32::ReloadDriveMap();
    TForm1 form;
    form.Show();

    QProcess findmnt;
    QElapsedTimer clock;
    qint64 findmntSaw = -1;
    QObject::connect(&findmnt, &QProcess::readyReadStandardOutput, [&] {
        findmnt.readAllStandardOutput();
        findmntSaw = clock.nsecsElapsed();
    });
    findmnt.start("findmnt", {"--poll", "--noheadings", "--output", "ACTION,TARGET"});
    if (!findmnt.waitForStarted()) {
        std::fprintf(stderr, "findmnt (util-linux) cannot be started\n");
        return 1;
    }
    RunUntil([] { return false; }, 200);

    Figures mounted;
    Figures unmounted;
    QDir().mkpath("/mnt/karta");
    const int drives = form.disk->Items().Count();
    for (int run = 0; run < kRuns; ++run) {
        for (const bool mount : {true, false}) {
            findmntSaw = -1;
            clock.start();
            const int result = mount ? ::mount(volume.path().toLocal8Bit(), "/mnt/karta", nullptr,
                                               MS_BIND, nullptr)
                                     : ::umount("/mnt/karta");
            if (result != 0) {
                std::fprintf(stderr, "mount: %s\n", std::strerror(errno));
                return 1;
            }
            const int expected = drives + (mount ? 1 : 0);
            qint64 shown = -1;
            RunUntil(
                [&] {
                    if (shown < 0 && form.disk->Items().Count() == expected)
                        shown = clock.nsecsElapsed();
                    return shown >= 0 && findmntSaw >= 0;
                },
                5000);
            if (shown < 0 || findmntSaw < 0) {
                std::fprintf(stderr, "the change was not seen within 5 s\n");
                return 1;
            }
            Figures& figures = mount ? mounted : unmounted;
            figures.window.push_back(double(shown) / 1e6);
            figures.findmnt.push_back(double(findmntSaw) / 1e6);
            RunUntil([] { return false; }, 50);
        }
    }
    findmnt.kill();
    findmnt.waitForFinished();
    std::printf("a volume mounted and unmounted %d times, to the entry shown in the main window\n",
                kRuns);
    Print("mounted  ", mounted);
    Print("unmounted", unmounted);
    return 0;
}
