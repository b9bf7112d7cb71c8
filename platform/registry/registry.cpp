#include "platform/registry/registry.h"

#include "platform/registry/RegistryStore.h"

#include <QStringList>
#include <algorithm>
#include <functional>
#include <map>
#include <mutex>

namespace win32 {

namespace {

struct OpenKey {
    QString path; // relative to the root
    REGSAM access = 0;
};

std::mutex mutex;
std::map<std::uintptr_t, OpenKey> openKeys;
std::uintptr_t nextHandle = 0x1000;

std::optional<OpenKey> Lookup(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return OpenKey{QString(), KEY_ALL_ACCESS};
    }
    const auto it = openKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (it == openKeys.end()) {
        return std::nullopt;
    }
    return it->second;
}

HKEY NewHandle(const QString& path, REGSAM access) {
    nextHandle += 4;
    openKeys[nextHandle] = {path, access};
    return reinterpret_cast<HKEY>(nextHandle);
}

// The full path of `subKey` below `base`; nothing when a part of it is empty or holds a
// control character, which no key name may.
std::optional<QString> Join(const QString& base, QString subKey) {
    while (subKey.endsWith(QLatin1Char('\\'))) {
        subKey.chop(1);
    }
    if (subKey.isEmpty()) {
        return base;
    }
    for (const QString& part : subKey.split(QLatin1Char('\\'))) {
        if (part.isEmpty() ||
            std::any_of(part.begin(), part.end(), [](QChar c) { return c < QChar(0x20); })) {
            return std::nullopt;
        }
    }
    return base.isEmpty() ? subKey : base + QLatin1Char('\\') + subKey;
}

LONG Result(DWORD error) {
    return static_cast<LONG>(error);
}

LONG OpenOrCreate(HKEY key, const QString& subKey, REGSAM access, HKEY* result, DWORD* disposition,
                  bool create) {
    if (result == nullptr) {
        return Result(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard lock(mutex);
    const std::optional<OpenKey> base = Lookup(key);
    if (!base) {
        return Result(ERROR_INVALID_HANDLE);
    }
    const std::optional<QString> path = Join(base->path, subKey);
    if (!path) {
        return Result(ERROR_BAD_PATHNAME);
    }
    bool created = false;
    const DWORD error = RegistryStore::Access([&](RegistryHive& hive, bool& changed) -> DWORD {
        if (!hive.HasKey(base->path)) {
            return ERROR_KEY_DELETED;
        }
        if (hive.HasKey(*path)) {
            return ERROR_SUCCESS;
        }
        if (!create) {
            return ERROR_FILE_NOT_FOUND;
        }
        if ((base->access & KEY_CREATE_SUB_KEY) == 0) {
            return ERROR_ACCESS_DENIED;
        }
        created = changed = hive.CreateKey(*path);
        return ERROR_SUCCESS;
    });
    if (error != ERROR_SUCCESS) {
        return Result(error);
    }
    *result = NewHandle(*path, access);
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return Result(ERROR_SUCCESS);
}

// Runs `operation` on the key of an open handle that carries the `needed` access right.
LONG OnKey(HKEY key, REGSAM needed,
           const std::function<DWORD(RegistryHive&, const QString&, bool&)>& operation) {
    std::lock_guard lock(mutex);
    const std::optional<OpenKey> open = Lookup(key);
    if (!open) {
        return Result(ERROR_INVALID_HANDLE);
    }
    if ((open->access & needed) != needed) {
        return Result(ERROR_ACCESS_DENIED);
    }
    return Result(RegistryStore::Access([&](RegistryHive& hive, bool& changed) -> DWORD {
        if (!hive.HasKey(open->path)) {
            return ERROR_KEY_DELETED;
        }
        return operation(hive, open->path, changed);
    }));
}

} // namespace

LONG RegCreateKeyEx(HKEY key, const QString& subKey, DWORD /*options*/, REGSAM access, HKEY* result,
                    DWORD* disposition) {
    return OpenOrCreate(key, subKey, access, result, disposition, true);
}

LONG RegOpenKeyEx(HKEY key, const QString& subKey, DWORD /*options*/, REGSAM access, HKEY* result) {
    return OpenOrCreate(key, subKey, access, result, nullptr, false);
}

LONG RegQueryValueEx(HKEY key, const QString& name, DWORD* type, QByteArray* data, DWORD* size) {
    return OnKey(key, KEY_QUERY_VALUE, [&](RegistryHive& hive, const QString& path, bool&) {
        const RegistryValue* value = hive.Value(path, name);
        if (value == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (type != nullptr) {
            *type = value->type;
        }
        if (data != nullptr) {
            *data = value->data;
        }
        if (size != nullptr) {
            *size = static_cast<DWORD>(value->data.size());
        }
        return ERROR_SUCCESS;
    });
}

LONG RegSetValueEx(HKEY key, const QString& name, DWORD type, const QByteArray& data) {
    return OnKey(key, KEY_SET_VALUE, [&](RegistryHive& hive, const QString& path, bool& changed) {
        hive.SetValue(path, RegistryValue{name, type, data});
        changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY key, const QString& name) {
    return OnKey(key, KEY_SET_VALUE, [&](RegistryHive& hive, const QString& path, bool& changed) {
        changed = hive.DeleteValue(path, name);
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return Result(ERROR_SUCCESS);
    }
    std::lock_guard lock(mutex);
    return Result(openKeys.erase(reinterpret_cast<std::uintptr_t>(key)) != 0
                      ? ERROR_SUCCESS
                      : ERROR_INVALID_HANDLE);
}

std::optional<QString> TakeRegistryProblem() {
    return RegistryStore::TakeProblem();
}

QString RegistryFilePath() {
    return RegistryStore::FilePath();
}

} // namespace win32
