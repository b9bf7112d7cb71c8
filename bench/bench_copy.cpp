// Prints the throughput of the program's copy routine on a 1 GiB file next to that of `cp` on
// the same file, as a ratio (target: at least 0.85 of cp's throughput). The file is written
// once; each copy goes to a fresh destination on the same volume, best of three runs each.
#include "app/Zvonkar.h"
#include "platform/files/drives.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr qint64 kSize = qint64(1) << 30;

double Seconds(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/zvonkar-copy-XXXXXX"
                                  : QString());
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    qputenv("ZVONKAR_DRIVES", ("C=" + folder.path()).toLocal8Bit());
    win32::ReloadDriveMap();
    {
        QFile source(folder.filePath("source.wav"));
        if (!source.open(QIODevice::WriteOnly))
            return 1;
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 31);
        for (qint64 written = 0; written < kSize; written += block.size())
            source.write(block);
    }
    double program = 1e9;
    double cp = 1e9;
    for (int run = 0; run < 3; ++run) {
        QFile::remove(folder.filePath("copy.wav"));
        QFile::remove(folder.filePath("cp.wav"));
        program =
            std::min(program, Seconds([] { CopySoundFile("C:\\source.wav", "C:\\copy.wav"); }));
        cp = std::min(
            cp, Seconds([&] {
                QProcess::execute("cp", {folder.filePath("source.wav"), folder.filePath("cp.wav")});
            }));
    }
    const double mib = double(kSize) / (1 << 20);
    std::printf("copy of a 1 GiB file (best of 3, %s)\n", qPrintable(folder.path()));
    std::printf("  CopySoundFile: %7.3f s  %8.1f MiB/s\n", program, mib / program);
    std::printf("  cp:            %7.3f s  %8.1f MiB/s\n", cp, mib / cp);
    std::printf("  ratio of throughputs: %.2f (target at least 0.85)\n", cp / program);
    return 0;
}
