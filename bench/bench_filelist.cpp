// Measures what a user waits for when the main window opens a large folder: the real TForm1,
// offscreen, changes from a drive root to a folder of 10,000 and of 100,000 entries (half of
// them *.wav), through its directory list, its file list and the first paint that follows.
// Printed next to `ls -1` of the same folder (C.UTF-8, output to /dev/null) in the same run,
// as processor time and wall time, with the resident memory that the folder adds to the
// window: what stays once it is shown, and the peak on the way.
//
// Each measurement runs in a child process of its own (median of several runs), so that no
// run inherits the caches or the heap of another.
//
//   bench_filelist [FOLDER]   FOLDER keeps the generated folders between runs, so that a
//                             profiler run afterwards sees the reads only:
//   bench_filelist FOLDER window d100000   one change, for perf or callgrind.
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "bench/common/Measures.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace bench;

namespace {

constexpr int kRuns = 5;

struct Sample {
    double CpuMs = 0;
    double WallMs = 0;
    double StaysMiB = 0;
    double PeakMiB = 0;
    long Listed = 0;
};

// A line "Name:   N kB" of /proc/self/status, in MiB.
double StatusMiB(const char* name) {
    FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double mib = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, name, std::strlen(name)) == 0)
            mib = std::atof(line + std::strlen(name)) / 1024.0;
    if (status)
        std::fclose(status);
    return mib;
}

void ResetPeakMemory() {
    const int fd = open("/proc/self/clear_refs", O_WRONLY);
    if (fd >= 0) {
        if (write(fd, "5", 1) != 1)
            std::fprintf(stderr, "the peak memory could not be reset\n");
        close(fd);
    }
}

// Paint events of a widget, so that the measurement ends with the first paint after the change.
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
    int Paints = 0;
};

// The child: the main window shown at C:\, then changed to C:\<name> as a double click in the
// directory list does. Prints one line of figures.
int RunWindow(int argc, char** argv, const QString& name) {
    TApplication application(argc, argv);
    application.SetTitle(QStringLiteral("Zvonkar pro Windows 95"));
    EnsureCurrentDirectoryOnDrive();
    application.CreateForm<TForm1>();
    TForm1* form = Form1;
    form->Show();
    QCoreApplication::processEvents();
    PaintWatch watch;
    form->soubor->viewport()->installEventFilter(&watch);

    const double rssBefore = StatusMiB("VmRSS:");
    ResetPeakMemory();
    const double cpuStart = SelfCpuMs();
    const double wallStart = Now();
    form->adresar->SetDirectory(QStringLiteral("C:\\") + name);
    while (watch.Paints == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double wall = Now() - wallStart;
    const double cpu = SelfCpuMs() - cpuStart;
    const double peak = StatusMiB("VmHWM:") - rssBefore;
    const double stays = StatusMiB("VmRSS:") - rssBefore;
    std::printf("%f %f %f %f %d\n", cpu, wall, stays, peak, form->soubor->Items().Count());
    std::fflush(stdout);
    std::_Exit(0);
}

// Runs `args`. With `capture`, returns the figures that a window child prints; otherwise the
// child's own processor and wall time, its start included (for ls, about a millisecond).
Sample RunChild(std::vector<std::string> args, bool capture) {
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(2);
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int out = capture ? fds[1] : open("/dev/null", O_WRONLY);
        dup2(out, STDOUT_FILENO);
        std::vector<char*> argvChild;
        for (std::string& arg : args)
            argvChild.push_back(arg.data());
        argvChild.push_back(nullptr);
        execvp(argvChild[0], argvChild.data());
        std::_Exit(4);
    }
    close(fds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double wall = Now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0].c_str());
        std::exit(1);
    }
    if (!capture)
        return {CpuMs(usage), wall, 0, 0, 0};
    Sample sample;
    if (std::sscanf(output.c_str(), "%lf %lf %lf %lf %ld", &sample.CpuMs, &sample.WallMs,
                    &sample.StaysMiB, &sample.PeakMiB, &sample.Listed) != 5) {
        std::fprintf(stderr, "the window reported nothing\n");
        std::exit(1);
    }
    return sample;
}

// The median of each figure on its own.
Sample Median(std::vector<Sample> samples) {
    const auto median = [&samples](double Sample::*field) {
        std::vector<double> values;
        for (const Sample& s : samples)
            values.push_back(s.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {median(&Sample::CpuMs), median(&Sample::WallMs), median(&Sample::StaysMiB),
            median(&Sample::PeakMiB), samples.front().Listed};
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir temporary;
    const QString root =
        argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : temporary.path();
    if (root.isEmpty() || !QDir().mkpath(root + QStringLiteral("/config"))) {
        std::fprintf(stderr, "no folder for the files\n");
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    // The offscreen platform's notes (no runtime folder, no raise()) would drown the figures.
    setenv("QT_LOGGING_RULES", "default.warning=false", 0);
    setenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")).constData(), 1);
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    setenv("ZVONKAR_DRIVES",
           QFile::encodeName(QStringLiteral("C=%1;P=%2").arg(root, program)).constData(), 1);
    if (argc == 4 && std::strcmp(argv[2], "window") == 0) {
        int childArgc = 1;
        return RunWindow(childArgc, argv, QString::fromLocal8Bit(argv[3]));
    }

    std::printf("main window changing to a folder (median of %d runs, offscreen) next to "
                "ls -1 of it\n",
                kRuns);
    std::printf("%8s %7s %12s %12s %11s %11s %6s %6s %11s %11s\n", "entries", "listed",
                "window cpu", "window wall", "ls -1 cpu", "ls -1 wall", "cpu x", "wall x",
                "RSS stays", "RSS peak");
    for (int count : {10000, 100000}) {
        const std::string name = "d" + std::to_string(count);
        const QString folder = root + u'/' + QString::fromStdString(name);
        MakeFolder(folder, count);
        std::vector<Sample> window;
        std::vector<Sample> ls;
        for (int run = 0; run < kRuns; ++run) {
            window.push_back(RunChild({argv[0], root.toStdString(), "window", name}, true));
            ls.push_back(RunChild({"ls", "-1", folder.toStdString()}, false));
        }
        const Sample w = Median(window);
        const Sample l = Median(ls);
        std::printf("%8d %7ld %9.1f ms %9.1f ms %8.1f ms %8.1f ms %6.2f %6.2f %7.1f MiB "
                    "%7.1f MiB\n",
                    count, w.Listed, w.CpuMs, w.WallMs, l.CpuMs, l.WallMs, w.CpuMs / l.CpuMs,
                    w.WallMs / l.WallMs, w.StaysMiB, w.PeakMiB);
    }
    std::printf("targets: 100,000 entries at most 1.00x the processor time of ls -1 and at most "
                "30 MiB more resident memory; 10,000 entries at most 30 ms\n");
    return 0;
}
