#pragma once
// The readers opened by dc_init, by the 32-bit handle the callers hold.

#include <cstdint>
#include <map>
#include <memory>

#include "PcscReader.h"
#include "pcscreader/MifareSession.h"

namespace kx::pcsc {

struct OpenReader {
    explicit OpenReader(std::unique_ptr<PcscReader> opened)
        : reader(std::move(opened)), session(*reader) {}

    std::unique_ptr<PcscReader> reader;
    MifareSession session;
};

class ReaderTable {
  public:
    // A positive handle not in use.
    int32_t Add(std::unique_ptr<OpenReader> reader);
    // Nothing for a handle that is not open.
    OpenReader* Find(int32_t handle);
    bool Remove(int32_t handle);

  private:
    std::map<int32_t, std::unique_ptr<OpenReader>> readers_;
    int32_t lastHandle_ = 0;
};

}  // namespace kx::pcsc
