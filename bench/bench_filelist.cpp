// Times the file list's read of large folders (half of the files *.wav, the main window's mask
// and attribute filter) against `ls -1` of the same folder, and prints the ratio.
//
//   bench_filelist [FOLDER]   FOLDER keeps the generated folders, so that a profiler run
//                             afterwards sees the reads only.
#include "filectrl/TFileListBox.h"
#include "platform/files/drives.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRuns = 5;

void MakeFolder(const QString& folder, int count) {
    if (QDir(folder).exists())
        return;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString name =
            i % 2 == 0 ? QStringLiteral("zvuk_%1.wav") : QStringLiteral("text_%1.txt");
        QFile file(folder + u'/' + name.arg(i, 6, 10, QChar(u'0')));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
    }
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double TimeLs(const QString& folder) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QProcess ls;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        ls.setProcessEnvironment(environment);
        ls.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        ls.start(QStringLiteral("ls"), {QStringLiteral("-1"), folder});
        ls.waitForFinished(-1);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

double TimeReadEntries(TFileListBox& list, const QString& directory) {
    list.SetDirectory(directory);
    list.HandleNeeded();
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        list.Reload();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString root =
        argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : temporary.path();
    if (root.isEmpty() || !QDir().mkpath(root)) {
        std::fprintf(stderr, "no folder for the files\n");
        return 1;
    }
    qputenv("ZVONKAR_DRIVES", QFile::encodeName(QStringLiteral("C=") + root));
    win32::ReloadDriveMap();

    std::printf("%8s %8s %18s %12s %7s\n", "files", "listed", "ReadEntries [ms]", "ls -1 [ms]",
                "ratio");
    for (int count : {10000, 100000}) {
        const QString name = QStringLiteral("d%1").arg(count);
        const QString folder = root + u'/' + name;
        MakeFolder(folder, count);
        TFileListBox list;
        list.SetMask(QStringLiteral("*.wav"));
        list.SetFileType(TFileListBox::ftReadOnly | TFileListBox::ftArchive |
                         TFileListBox::ftNormal);
        const double read = TimeReadEntries(list, QStringLiteral("C:\\") + name);
        const double ls = TimeLs(folder);
        std::printf("%8d %8d %18.1f %12.1f %7.2f\n", count, list.Items().Count(), read, ls,
                    read / ls);
    }
    return 0;
}
