#include "platform/files/curdir.h"

#include "platform/core/errhandling.h"
#include "platform/files/CurrentDirectories.h"
#include "platform/files/paths.h"

#include <unistd.h>

namespace win32 {

QString GetCurrentDirectory() {
    const std::optional<QString> current = CurrentDirectories::Instance().Current();
    if (!current) {
        Fail(ERROR_PATH_NOT_FOUND);
        return {};
    }
    return *current;
}

bool SetCurrentDirectory(const QString& path) {
    const std::optional<ResolvedPath> resolved = ResolvePath(path);
    if (!resolved) {
        return false;
    }
    if (::chdir(resolved->PosixPath.constData()) != 0) {
        return FailWithErrno(errno, resolved->PosixPath);
    }
    CurrentDirectories::Instance().Entered(*resolved);
    return true;
}

} // namespace win32
