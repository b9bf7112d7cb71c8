#pragma once
// The objects behind the layer's HANDLE values (open files, enumerations). A HANDLE is looked
// up here before use, so a stale, closed or foreign handle fails with error 6 instead of
// touching freed memory.

#include "platform/core/windef.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace win32 {

class HandleObject {
public:
    virtual ~HandleObject() = default;
};

class HandleTable {
public:
    static HandleTable& Instance();

    HANDLE Add(std::unique_ptr<HandleObject> object);
    // The object of a handle if it is of type T; otherwise null and error 6.
    template <typename T> T* Find(HANDLE handle) {
        T* object = dynamic_cast<T*>(FindObject(handle));
        if (object == nullptr) {
            SetInvalid();
        }
        return object;
    }
    // Destroys the object of a handle of type T; false and error 6 when there is none.
    template <typename T> bool Close(HANDLE handle) {
        return Find<T>(handle) != nullptr && Remove(handle);
    }

private:
    HandleObject* FindObject(HANDLE handle);
    bool Remove(HANDLE handle);
    static void SetInvalid();

    std::mutex mutex;
    std::unordered_map<HANDLE, std::unique_ptr<HandleObject>> objects;
};

} // namespace win32
