#include "platform/core/HandleTable.h"

#include "platform/core/errhandling.h"

namespace win32 {

HandleTable& HandleTable::Instance() {
    static HandleTable table;
    return table;
}

HANDLE HandleTable::Add(std::unique_ptr<HandleObject> object) {
    const std::lock_guard lock(mutex);
    HANDLE handle = object.get();
    objects.emplace(handle, std::move(object));
    return handle;
}

HandleObject* HandleTable::FindObject(HANDLE handle) {
    const std::lock_guard lock(mutex);
    const auto it = objects.find(handle);
    return it == objects.end() ? nullptr : it->second.get();
}

bool HandleTable::Remove(HANDLE handle) {
    std::unique_ptr<HandleObject> object;
    {
        const std::lock_guard lock(mutex);
        const auto it = objects.find(handle);
        if (it == objects.end()) {
            SetInvalid();
            return false;
        }
        object = std::move(it->second);
        objects.erase(it);
    }
    return true;
}

void HandleTable::SetInvalid() {
    SetLastError(ERROR_INVALID_HANDLE);
}

} // namespace win32
