// Hive file text from the fuzzer: the parser must never crash, and a hive it accepts must come
// back unchanged through the writer and the parser (types, names and exact bytes), since the
// program rewrites the file on every change of a setting.

#include "platform/registry/RegistryParser.h"
#include "platform/registry/RegistryWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool SameValues(const std::vector<win32::RegistryValue>& a,
                const std::vector<win32::RegistryValue>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].data != b[i].data)
            return false;
    }
    return true;
}

bool SameHive(const win32::RegistryHive& a, const win32::RegistryHive& b) {
    const auto keysA = a.Keys();
    const auto keysB = b.Keys();
    if (keysA.size() != keysB.size())
        return false;
    for (std::size_t i = 0; i < keysA.size(); ++i) {
        if (keysA[i]->path != keysB[i]->path || !SameValues(keysA[i]->values, keysB[i]->values))
            return false;
    }
    return true;
}

[[noreturn]] void Fail(const char* what, const QByteArray& written) {
    std::fprintf(stderr, "%s\n--- written hive ---\n%s\n", what, written.constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    win32::RegistryParseError error;
    const auto hive = win32::RegistryParser::Parse(text, &error);
    if (!hive)
        return 0;
    const QByteArray written = win32::RegistryWriter::Write(*hive);
    win32::RegistryParseError again;
    const auto reread = win32::RegistryParser::Parse(written, &again);
    if (!reread)
        Fail(qPrintable("the written hive does not parse: line " + QString::number(again.line) +
                        ": " + again.reason),
             written);
    if (!SameHive(*hive, *reread))
        Fail("the written hive parses to a different hive", written);
    return 0;
}
