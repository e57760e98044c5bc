// Serializes the edits of a store's inventory. Readers need no lock: the
// inventory is only ever replaced whole, by rename.
#ifndef FRUPLATFORM_STORE_STORE_LOCK_H
#define FRUPLATFORM_STORE_STORE_LOCK_H

#include <cstdint>
#include <string>

namespace fruplat {

// How long an edit waits for another to finish before it gives up.
inline constexpr unsigned kStoreLockWaitMs = 20000;

class StoreLock {
public:
    StoreLock() = default;
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;
    ~StoreLock();

    // kOk, kStoreBusy after the bounded wait, kNoStore when the store's
    // directory cannot hold the lock file.
    [[nodiscard]] int32_t acquire(const std::string &store_dir, unsigned wait_ms = kStoreLockWaitMs);

private:
    int fd_ = -1;
};

}  // namespace fruplat

#endif
