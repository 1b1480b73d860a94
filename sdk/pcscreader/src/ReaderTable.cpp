#include "ReaderTable.h"

#include <limits>

namespace kx::pcsc {

int32_t ReaderTable::Add(std::unique_ptr<OpenReader> reader) {
    // A closed handle is not given out again soon, so a stale one fails instead of hitting
    // another transaction's reader.
    do {
        lastHandle_ = lastHandle_ == std::numeric_limits<int32_t>::max() ? 1 : lastHandle_ + 1;
    } while (readers_.contains(lastHandle_));
    readers_.emplace(lastHandle_, std::move(reader));
    return lastHandle_;
}

OpenReader* ReaderTable::Find(int32_t handle) {
    const auto found = readers_.find(handle);
    return found == readers_.end() ? nullptr : found->second.get();
}

bool ReaderTable::Remove(int32_t handle) {
    return readers_.erase(handle) == 1;
}

}  // namespace kx::pcsc
