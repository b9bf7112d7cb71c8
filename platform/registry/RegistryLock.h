#pragma once
// The lock that running copies of the program take in turn around every access to the hive
// file: an exclusive flock on a lock file beside it, held for the lifetime of this object.

#include <QString>

namespace win32 {

class RegistryLock {
public:
    // Waits for the lock. When the lock file cannot be opened (a read-only folder) the access
    // goes on unlocked; it can then only read, as no write into that folder succeeds either.
    explicit RegistryLock(const QString& lockPath);
    ~RegistryLock();
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;

    bool Locked() const { return locked_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

} // namespace win32
