#include "bench/common/Measures.h"

#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace bench {

double Now() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double CpuMs(const rusage& usage) {
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double SelfCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuMs(usage);
}

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

} // namespace bench
