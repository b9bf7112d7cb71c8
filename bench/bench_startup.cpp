// Prints the program's start-up time to its first shown main window and its peak memory, next to
// those of a minimal Qt Widgets program, both on the offscreen platform, as ratios. Each runs in
// a child process of its own (median of several runs); the child reports the moment its window
// has been shown through a pipe, and its peak memory comes from the kernel's accounting.
#include "app/Program.h"
#include "framework/TApplication.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int reportFd = -1;

void ReportShown() {
    const char byte = 1;
    if (write(reportFd, &byte, 1) != 1)
        std::_Exit(3);
}

int RunZvonkar(int argc, char** argv) {
    TApplication application(argc, argv);
    QTimer::singleShot(0, [] {
        ReportShown();
        Application()->Terminate();
    });
    return RunProgram(application);
}

int RunMinimal(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(296, 343);
    window.show();
    QTimer::singleShot(0, [&] {
        ReportShown();
        application.quit();
    });
    return application.exec();
}

struct Sample {
    double Milliseconds;
    long PeakKiB;
};

Sample RunChild(const char* self, const char* which) {
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(2);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execl(self, self, which, fd.c_str(), static_cast<char*>(nullptr));
        std::_Exit(4);
    }
    close(fds[1]);
    char byte = 0;
    const bool shown = read(fds[0], &byte, 1) == 1;
    const auto end = std::chrono::steady_clock::now();
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!shown) {
        std::fprintf(stderr, "%s did not show its window\n", which);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

Sample Median(const char* self, const char* which, int runs) {
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(RunChild(self, which));
    auto byTime = samples;
    std::sort(byTime.begin(), byTime.end(),
              [](const Sample& a, const Sample& b) { return a.Milliseconds < b.Milliseconds; });
    auto byMemory = samples;
    std::sort(byMemory.begin(), byMemory.end(),
              [](const Sample& a, const Sample& b) { return a.PeakKiB < b.PeakKiB; });
    return {byTime[samples.size() / 2].Milliseconds, byMemory[samples.size() / 2].PeakKiB};
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3) {
        reportFd = std::atoi(argv[2]);
        int childArgc = 1;
        return std::strcmp(argv[1], "zvonkar") == 0 ? RunZvonkar(childArgc, argv)
                                                    : RunMinimal(childArgc, argv);
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    const int runs = 9;
    const Sample minimal = Median(argv[0], "minimal", runs);
    const Sample zvonkar = Median(argv[0], "zvonkar", runs);
    std::printf("start-up to first shown window (median of %d, offscreen)\n", runs);
    std::printf("  minimal Qt Widgets program: %8.1f ms  peak memory %7ld KiB\n",
                minimal.Milliseconds, minimal.PeakKiB);
    std::printf("  zvonkar:                    %8.1f ms  peak memory %7ld KiB\n",
                zvonkar.Milliseconds, zvonkar.PeakKiB);
    std::printf("  ratio: time %.2f (target at most 2.00), memory %.2f (target at most 1.50)\n",
                zvonkar.Milliseconds / minimal.Milliseconds,
                static_cast<double>(zvonkar.PeakKiB) / static_cast<double>(minimal.PeakKiB));
    return 0;
}
