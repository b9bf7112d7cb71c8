// Measures how the main window follows what another program does in the shown folder: the real
// TForm1, offscreen, with a writer process beside it.
//
// 1. The time from the writer's creat() or rename() to the entry in the file list (median and
//    95th percentile of 40 each), in an empty folder and in one of 100,000 entries.
// 2. The writer adds 1,000 files a second for 10 s to the folder of 100,000 while it is shown:
//    the longest gap between the ticks of a 2 ms timer (the longest stall of the event loop)
//    and the window's processor time, next to `inotifywait -m` on the same folder during a
//    burst of the same shape, whose only work is to read the same events.
//
//   bench_livelists [FOLDER]   FOLDER keeps the generated folder of 100,000 between runs.
#include "app/TForm1.h"
#include "app/Zvonkar.h"
#include "bench/common/Measures.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TFileListBox.h"
#include "framework/TApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace bench;

namespace {

constexpr int kSamples = 40;
constexpr int kBurstRate = 1000;
constexpr int kBurstSeconds = 10;

// The writer: another process that creates and renames files on request and answers with the
// moment (steady clock, shared by both processes) of its system call.
struct Writer {
    int Commands = -1;
    int Answers = -1;
    pid_t Pid = -1;

    // "c PATH", "r FROM TO", "b FOLDER PREFIX": create, rename, or a burst of files.
    double Ask(const std::string& command) {
        const std::string line = command + '\n';
        if (write(Commands, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            std::exit(2);
        char answer[64] = {};
        for (std::size_t got = 0; got < sizeof answer - 1;) {
            if (read(Answers, answer + got, 1) != 1)
                std::exit(2);
            if (answer[got++] == '\n')
                break;
        }
        return std::atof(answer);
    }
};

void Answer(int fd, double value) {
    char line[64];
    const int size = std::snprintf(line, sizeof line, "%.6f\n", value);
    if (write(fd, line, static_cast<std::size_t>(size)) != size)
        std::_Exit(2);
}

[[noreturn]] void RunWriter(int commands, int answers) {
    FILE* in = fdopen(commands, "r");
    char line[4096];
    while (std::fgets(line, sizeof line, in)) {
        line[std::strcspn(line, "\n")] = 0;
        char from[2048] = {};
        char to[2048] = {};
        if (line[0] == 'c' && std::sscanf(line, "c %2047s", from) == 1) {
            const double at = Now();
            close(creat(from, 0644));
            Answer(answers, at);
        } else if (line[0] == 'r' && std::sscanf(line, "r %2047s %2047s", from, to) == 2) {
            const double at = Now();
            rename(from, to);
            Answer(answers, at);
        } else if (line[0] == 'b' && std::sscanf(line, "b %2047s %2047s", from, to) == 2) {
            // Evenly spaced, one file a millisecond, as a renderer or an unpacker writes them.
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kBurstRate * kBurstSeconds; ++i) {
                std::this_thread::sleep_until(start +
                                              std::chrono::microseconds(1000000 / kBurstRate) * i);
                const std::string path = std::string(from) + '/' + to + std::to_string(i) + ".wav";
                close(creat(path.c_str(), 0644));
            }
            Answer(answers, Now());
        }
    }
    std::_Exit(0);
}

Writer StartWriter() {
    int commands[2];
    int answers[2];
    if (pipe(commands) != 0 || pipe(answers) != 0)
        std::exit(2);
    const pid_t pid = fork();
    if (pid == 0) {
        close(commands[1]);
        close(answers[0]);
        RunWriter(commands[0], answers[1]);
    }
    close(commands[0]);
    close(answers[1]);
    return {commands[1], answers[0], pid};
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Asks the writer for one change and lets the window run until `name` is in its file list;
// the milliseconds between the writer's system call and that moment.
double TimeToShown(TForm1* form, Writer& writer, const std::string& command, const QString& name) {
    double shownAt = 0;
    TListItems& items = form->soubor->Items();
    const QMetaObject::Connection connection = QObject::connect(
        &items, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int first, int last) {
            for (int row = first; row <= last; ++row)
                if (items.Text(row) == name)
                    shownAt = Now();
        });
    const double calledAt = writer.Ask(command);
    QElapsedTimer patience;
    patience.start();
    while (shownAt == 0 && patience.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QObject::disconnect(connection);
    if (shownAt == 0) {
        std::fprintf(stderr, "%s never showed\n", qPrintable(name));
        std::exit(1);
    }
    return shownAt - calledAt;
}

void PrintLatencies(TForm1* form, Writer& writer, const QString& folder, const char* label) {
    std::vector<double> created;
    std::vector<double> renamed;
    const std::string posix = QFile::encodeName(folder).toStdString();
    for (int i = 0; i < kSamples; ++i) {
        const std::string name = "nova_" + std::to_string(i) + ".wav";
        const std::string other = "prejmenovana_" + std::to_string(i) + ".wav";
        created.push_back(
            TimeToShown(form, writer, "c " + posix + '/' + name, QString::fromStdString(name)));
        renamed.push_back(TimeToShown(form, writer,
                                      "r " + posix + '/' + name + ' ' + posix + '/' + other,
                                      QString::fromStdString(other)));
        // Spaced apart, so that no change rides on the batch of the one before.
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 40)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 40);
    }
    std::printf("%-22s %9.1f ms %9.1f ms %9.1f ms %9.1f ms\n", label, Percentile(created, 0.5),
                Percentile(created, 0.95), Percentile(renamed, 0.5), Percentile(renamed, 0.95));
}

struct BurstFigures {
    double LongestGapMs = 0;
    double CpuMs = 0;
    int Listed = 0;
};

// With `ticking`, a 2 ms timer measures the stalls; its own wake-ups would count in the
// processor time, which is therefore measured in a burst without it.
BurstFigures BurstIntoWindow(TForm1* form, Writer& writer, const QString& folder, bool ticking,
                             const std::string& prefix) {
    QTimer tick;
    tick.setInterval(2);
    tick.setTimerType(Qt::PreciseTimer);
    double last = Now();
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = Now();
        longest = std::max(longest, now - last);
        last = now;
    });
    const std::string command = "b " + QFile::encodeName(folder).toStdString() + ' ' + prefix;
    const double cpuStart = SelfCpuMs();
    if (write(writer.Commands, (command + '\n').data(), command.size() + 1) !=
        static_cast<ssize_t>(command.size() + 1))
        std::exit(2);
    if (ticking)
        tick.start();
    last = Now();
    bool done = false;
    QSocketNotifier answer(writer.Answers, QSocketNotifier::Read);
    QObject::connect(&answer, &QSocketNotifier::activated, [&] {
        answer.setEnabled(false);
        char line[64];
        if (read(writer.Answers, line, sizeof line) <= 0)
            std::exit(2);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The last batch in too.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    tick.stop();
    return {longest, SelfCpuMs() - cpuStart, form->soubor->Items().Count()};
}

// inotifywait -m on the folder, output thrown away, while the writer makes a burst of the same
// shape; its processor time.
double BurstIntoInotifywait(Writer& writer, const QString& folder) {
    const std::string posix = QFile::encodeName(folder).toStdString();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execlp("inotifywait", "inotifywait", "-m", "-q", "-e", "create,delete,moved_from,moved_to",
               posix.c_str(), static_cast<char*>(nullptr));
        std::_Exit(4);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    writer.Ask("b " + posix + " vedle_");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 4) {
        std::fprintf(stderr, "inotifywait is missing (inotify-tools)\n");
        std::exit(1);
    }
    return CpuMs(usage);
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
    const QString empty = root + QStringLiteral("/prazdna");
    const QString large = root + QStringLiteral("/d100000");
    QDir(empty).removeRecursively();
    QDir().mkpath(empty);
    MakeFolder(large, 100000);
    // What an earlier run added goes, so that every run starts from 100,000 entries.
    for (const QString& added :
         QDir(large).entryList({"nova_*", "prejmenovana_*", "burst_*", "vedle_*"}, QDir::Files))
        QFile::remove(large + u'/' + added);
    // The writer is forked before any thread of Qt's exists.
    Writer writer = StartWriter();

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("QT_LOGGING_RULES", "default.warning=false", 0);
    setenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")).constData(), 1);
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    setenv("ZVONKAR_DRIVES",
           QFile::encodeName(QStringLiteral("C=%1;P=%2").arg(root, program)).constData(), 1);
    int appArgc = 1;
    TApplication application(appArgc, argv);
    EnsureCurrentDirectoryOnDrive();
    application.CreateForm<TForm1>();
    TForm1* form = Form1;
    form->Show();
    QCoreApplication::processEvents();

    std::printf("from another process's system call to the entry in the file list (%d each)\n",
                kSamples);
    std::printf("%-22s %12s %12s %12s %12s\n", "folder", "creat med", "creat p95", "rename med",
                "rename p95");
    form->adresar->SetDirectory(QStringLiteral("C:\\prazdna"));
    PrintLatencies(form, writer, empty, "empty");
    form->adresar->SetDirectory(QStringLiteral("C:\\d100000"));
    PrintLatencies(form, writer, large, "100,000 entries");

    std::printf("\n%d files a second for %d s into the shown folder of 100,000 entries\n",
                kBurstRate, kBurstSeconds);
    const int before = form->soubor->Items().Count();
    const BurstFigures stalls = BurstIntoWindow(form, writer, large, true, "burst_a");
    const BurstFigures window = BurstIntoWindow(form, writer, large, false, "burst_b");
    form->adresar->SetDirectory(QStringLiteral("C:\\prazdna"));
    const double inotifywait = BurstIntoInotifywait(writer, large);
    std::printf("window: longest event-loop stall %.1f ms, processor time %.0f ms; "
                "inotifywait -m: processor time %.0f ms; ratio %.2f\n",
                stalls.LongestGapMs, window.CpuMs, inotifywait, window.CpuMs / inotifywait);
    std::printf("entries listed before %d, after the bursts %d and %d (%d added)\n", before,
                stalls.Listed, window.Listed, window.Listed - before);
    std::printf("targets: entries within 300 ms; no stall over 50 ms\n");
    close(writer.Commands);
    waitpid(writer.Pid, nullptr, 0);
    std::fflush(stdout);
    // Past the window's teardown, which would only add to the run.
    std::_Exit(0);
}
