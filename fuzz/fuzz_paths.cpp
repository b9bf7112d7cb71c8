// Path text and file names from the fuzzer. Every POSIX name must come back byte for byte from
// its Windows name, or a file would become unreachable; any UTF-16 text given as a Windows path
// must resolve or fail cleanly, and a path that resolves must name the same file again when its
// POSIX path is turned back into Windows text.

#include "fuzz/FuzzDrives.h"
#include "platform/files/NameMapping.h"
#include "platform/files/paths.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what, const QByteArray& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.toHex(' ').constData());
    std::abort();
}

// Every name the bytes hold: a POSIX name is anything but '/' and NUL.
void CheckNames(const QByteArray& bytes) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '/' && bytes[i] != '\0')
            continue;
        const QByteArray name = bytes.mid(start, i - start);
        start = i + 1;
        if (name.isEmpty())
            continue;
        const QString windowsName = win32::WindowsNameOf(name);
        const auto back = win32::PosixNameOf(windowsName);
        if (!back || *back != name)
            Fail("name does not round-trip", name);
        QString appended = QStringLiteral("C:\\");
        win32::AppendWindowsName(name.constData(), name.size(), appended);
        if (QStringView(appended).mid(3) != windowsName)
            Fail("AppendWindowsName differs from WindowsNameOf", name);
    }
}

void CheckPath(const QString& text) {
    const auto resolved = win32::ResolvePath(text);
    if (!resolved)
        return;
    const QByteArray posix = resolved->PosixPath;
    const auto direct = win32::ToPosixPath(text);
    if (!direct || *direct != posix)
        Fail("ToPosixPath differs from ResolvePath", text.toUtf8());
    const auto windows = win32::ToWindowsPath(posix);
    if (!windows)
        Fail("a resolved path has no Windows name", posix);
    const auto again = win32::ResolvePath(*windows);
    if (!again || again->PosixPath != posix || again->WindowsPath != *windows)
        Fail("the Windows name of a resolved path names another file", windows->toUtf8());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static FuzzDrives drives;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckNames(bytes);
    CheckPath(QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2)));
    return 0;
}
