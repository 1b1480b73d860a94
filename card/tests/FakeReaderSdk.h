#pragma once
// A recording fake of the five reader SDK libraries, installed through InstallReaderSdk.
// Every call is logged as "KXD103 dc_read(7,9)" in order, together with the transactions'
// pauses ("pause(50)"). A call can be scripted to return a status or to throw.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "card/ReaderSdk.h"

namespace kx::test {

// The card on the reader: a 1K dump, block 0 first; values in the MIFARE value layout.
struct FakeCard {
    std::array<uint8_t, 1024> bytes{};
    uint32_t serial = 0x1A2B3C4D;

    uint8_t* Block(int number) { return bytes.data() + number * 16; }
    uint32_t Value(int block) const;
    void SetValue(int block, uint32_t value);
};

class FakeReaderSdk {
  public:
    // The handle every init returns (rf_init narrows it to 16 bits).
    static constexpr int32_t kHandle = 7;

    // Installs the fake for all five models (every model gets the whole family of its
    // library, so a dispatch that wrongly calls one shows in the log) and the pause seam.
    FakeReaderSdk();
    ~FakeReaderSdk();
    FakeReaderSdk(const FakeReaderSdk&) = delete;
    FakeReaderSdk& operator=(const FakeReaderSdk&) = delete;

    // The logged call (e.g. "KXD103 dc_read(7,9)") returns status instead of 0.
    void Return(const std::string& call, int16_t status);
    // The logged call throws.
    void Throw(const std::string& call);

    // Logs a call and answers it as scripted (0 by default); used by the fake functions.
    int16_t Answer(std::string call);

    std::vector<std::string> calls;
    FakeCard card;
    int32_t initResult = kHandle;

  private:
    std::map<std::string, std::optional<int16_t>> scripted_;  // nothing: throw
};

}  // namespace kx::test
