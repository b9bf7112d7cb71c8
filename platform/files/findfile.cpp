#include "platform/files/findfile.h"

#include "platform/core/HandleTable.h"
#include "platform/core/errhandling.h"
#include "platform/files/FileStatus.h"
#include "platform/files/NameMapping.h"
#include "platform/files/WildcardPattern.h"
#include "platform/files/paths.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>

namespace win32 {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// One enumeration: the open folder, the pattern, and a name buffer reused for every entry.
class FindObject : public HandleObject {
public:
    FindObject(DIR* dir, QStringView pattern, bool isRoot) : dir(dir), pattern(pattern) {
        // Windows lists "." and ".." first in every folder but a drive's root.
        if (!isRoot) {
            for (const char* dots : {".", ".."}) {
                if (this->pattern.Matches(QString::fromLatin1(dots))) {
                    pendingDots.push_back(dots);
                }
            }
        }
    }

    bool Next(WIN32_FIND_DATA& data) {
        const int fd = ::dirfd(dir.get());
        while (!pendingDots.empty()) {
            const char* dots = pendingDots.front();
            pendingDots.erase(pendingDots.begin());
            if (Fill(fd, dots, data)) {
                return true;
            }
        }
        while (const dirent* entry = ::readdir(dir.get())) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                continue;
            }
            buffer.truncate(0);
            AppendWindowsName(name, qsizetype(std::strlen(name)), buffer);
            if (pattern.Matches(buffer) && Fill(fd, name, data)) {
                return true;
            }
        }
        return Fail(ERROR_NO_MORE_FILES);
    }

private:
    // False when the entry vanished between readdir and stat; it is then skipped.
    bool Fill(int fd, const char* name, WIN32_FIND_DATA& data) {
        struct stat info {};
        if (!FileStatus::Read(fd, name, info)) {
            return false;
        }
        data.dwFileAttributes = FileStatus::Attributes(info, name);
        data.nFileSize = S_ISDIR(info.st_mode) ? 0 : qint64(info.st_size);
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) {
            data.cFileName = QString::fromLatin1(name);
        } else {
            data.cFileName = buffer;
        }
        return true;
    }

    std::unique_ptr<DIR, DirCloser> dir;
    WildcardPattern pattern;
    std::vector<const char*> pendingDots;
    QString buffer;
};

bool IsValidPattern(QStringView pattern) {
    for (const QChar c : pattern) {
        if (c.unicode() < 0x20 || QStringView(u"\\/:\"<>|").contains(c)) {
            return false;
        }
    }
    return true;
}

} // namespace

HANDLE FindFirstFile(const QString& pattern, WIN32_FIND_DATA& data) {
    QString text = pattern;
    text.replace('/', '\\');
    qsizetype split = text.lastIndexOf('\\');
    if (split < 0 && text.size() >= 2 && text[1] == ':') {
        split = 1;
    }
    const QString folder = text.left(split + 1);
    const QString namePattern = text.mid(split + 1);
    if (namePattern.isEmpty()) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (!IsValidPattern(namePattern)) {
        Fail(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    const std::optional<ResolvedPath> resolved = ResolvePath(folder.isEmpty() ? "." : folder);
    if (!resolved) {
        return INVALID_HANDLE_VALUE;
    }
    const int fd = ::open(resolved->PosixPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        Fail(error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(error));
        return INVALID_HANDLE_VALUE;
    }
    auto find = std::make_unique<FindObject>(dir, namePattern, resolved->IsRoot());
    if (!find->Next(data)) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return HandleTable::Instance().Add(std::move(find));
}

bool FindNextFile(HANDLE find, WIN32_FIND_DATA& data) {
    FindObject* object = HandleTable::Instance().Find<FindObject>(find);
    return object != nullptr && object->Next(data);
}

bool FindClose(HANDLE find) {
    return HandleTable::Instance().Close<FindObject>(find);
}

} // namespace win32
