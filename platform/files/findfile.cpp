#include "platform/files/findfile.h"

#include "platform/core/HandleTable.h"
#include "platform/core/errhandling.h"
#include "platform/files/FileStatus.h"
#include "platform/files/NameMapping.h"
#include "platform/files/PendingFile.h"
#include "platform/files/WildcardPattern.h"
#include "platform/files/paths.h"

#include <QList>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>

namespace win32 {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// One enumeration: the open folder, the pattern, what to read of each entry, and a name
// buffer reused for every entry.
class FindObject : public HandleObject {
public:
    FindObject(DIR* dir, QStringView pattern, bool isRoot, FINDEX_INFO_LEVELS level,
               FINDEX_SEARCH_OPS search, DWORD flags)
        : dir(dir), pattern(pattern), fullStatus(level == FindExInfoStandard),
          directoriesOnly(search == FindExSearchLimitToDirectories),
          removeAbandoned((flags & FIND_FIRST_EX_REMOVE_ABANDONED) != 0) {
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
        while (!pendingDots.empty()) {
            const char* dots = pendingDots.front();
            pendingDots.erase(pendingDots.begin());
            if (Fill(dots, DT_DIR, data)) {
                return true;
            }
        }
        while (const dirent* entry = ::readdir(dir.get())) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                continue;
            }
            if (removeAbandoned && name[0] == '.' &&
                PendingFile::RemoveIfAbandoned(::dirfd(dir.get()), name)) {
                continue;
            }
            const unsigned char type = entry->d_type;
            if (directoriesOnly && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN) {
                continue;
            }
            buffer.truncate(0);
            AppendWindowsName(name, qsizetype(std::strlen(name)), buffer);
            if (pattern.Matches(buffer) && Fill(name, type, data)) {
                return true;
            }
        }
        current.clear();
        return Fail(ERROR_NO_MORE_FILES);
    }

    bool Status(WIN32_FIND_DATA& data) {
        if (current.empty()) {
            return Fail(ERROR_NO_MORE_FILES);
        }
        if (!haveStatus) {
            if (!FileStatus::Read(::dirfd(dir.get()), current.c_str(), status)) {
                return Fail(ERROR_FILE_NOT_FOUND);
            }
            haveStatus = true;
        }
        data.dwFileAttributes = FileStatus::Attributes(status, current);
        data.nFileSize = S_ISDIR(status.st_mode) ? 0 : qint64(status.st_size);
        return true;
    }

private:
    // False when the entry is passed over: it vanished between readdir and stat, or it is no
    // folder where only folders are asked for.
    bool Fill(const char* name, unsigned char type, WIN32_FIND_DATA& data) {
        current = name;
        haveStatus = false;
        if (fullStatus || type == DT_UNKNOWN || type == DT_LNK) {
            if (!FileStatus::Read(::dirfd(dir.get()), name, status)) {
                return false;
            }
            haveStatus = true;
            if (directoriesOnly && !S_ISDIR(status.st_mode)) {
                return false;
            }
            Status(data);
        } else {
            // The owner's write bit is not known before a status call: no read-only bit yet.
            data.dwFileAttributes = FileStatus::Attributes(DTTOIF(type) | S_IWUSR, current);
            data.nFileSize = 0;
        }
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) {
            data.cFileName = QString::fromLatin1(name);
        } else {
            data.cFileName = buffer;
        }
        return true;
    }

    std::unique_ptr<DIR, DirCloser> dir;
    WildcardPattern pattern;
    bool fullStatus;
    bool directoriesOnly;
    bool removeAbandoned;
    std::vector<const char*> pendingDots;
    QString buffer;
    // The entry returned last, and its status once read.
    std::string current;
    bool haveStatus = false;
    struct stat status {};
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
    return FindFirstFileEx(pattern, FindExInfoStandard, data, FindExSearchNameMatch);
}

HANDLE FindFirstFileEx(const QString& pattern, FINDEX_INFO_LEVELS level, WIN32_FIND_DATA& data,
                       FINDEX_SEARCH_OPS search, DWORD additionalFlags) {
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
    auto find = std::make_unique<FindObject>(dir, namePattern, resolved->IsRoot(), level, search,
                                             additionalFlags);
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

bool FindFileStatus(HANDLE find, WIN32_FIND_DATA& data) {
    FindObject* object = HandleTable::Instance().Find<FindObject>(find);
    return object != nullptr && object->Status(data);
}

bool FindClose(HANDLE find) {
    return HandleTable::Instance().Close<FindObject>(find);
}

bool PathMatchSpec(const QString& name, const QString& patterns) {
    for (const QStringView pattern : QStringView(patterns).split(u';')) {
        if (WildcardPattern(pattern).Matches(name)) {
            return true;
        }
    }
    return false;
}

} // namespace win32
