// Text from the fuzzer as typed into the file name box, split by SplitPathEntry on temporary
// drives: a name that cannot be entered may raise the program's exceptions, but nothing may
// crash, and the current directory must be the one it was before.

#include "filectrl/PathHelpers.h"
#include "framework/Exceptions.h"
#include "fuzz/FuzzDrives.h"

#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QCoreApplication application(*argc, *argv);
    static FuzzDrives drives;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString before = CurrentDirectory();
    try {
        SplitPathEntry(text);
    } catch (const Exception&) {
        // A directory that cannot be entered: the user is told, nothing else happens.
    }
    const QString after = CurrentDirectory();
    if (after != before) {
        std::fprintf(stderr, "current directory moved from %s to %s\n", qPrintable(before),
                     qPrintable(after));
        std::abort();
    }
    return 0;
}
