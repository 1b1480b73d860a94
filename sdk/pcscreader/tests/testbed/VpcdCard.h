#pragma once
// A virtual card presented to pcscd's vpcd reader driver: a TCP client on loopback that answers
// vpcd's messages (2-byte big-endian length, then the payload) from a VirtualMifareCard on a
// thread of its own. Taking the card away closes the connection.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "VirtualMifareCard.h"

namespace kx::pcsc::testing {

// The vpcd port of a reader slot: Debian's vpcd channel 0x8C7B and the next one.
uint16_t VpcdPortOfSlot(int slot);

// When a scripted removal happens: before the card sees the command, or after it carried it out
// but before its answer goes back.
enum class Tear { BeforeCommand, AfterCommand };

class VpcdCard {
  public:
    explicit VpcdCard(const CardImage& image, ReaderTraits traits = {}) : card_(image, traits) {}
    ~VpcdCard() { TakeAway(); }
    VpcdCard(const VpcdCard&) = delete;
    VpcdCard& operator=(const VpcdCard&) = delete;

    // Connects to the vpcd slot; empty on success, else why not.
    std::string Present(int slot);
    // Closes the connection, as lifting the card off the reader.
    void TakeAway();
    // The card leaves at the command with this index (0 = the next command APDU) instead of
    // answering it.
    void TearAt(int commandIndex, Tear when);
    // Whether a scripted removal happened since TearAt.
    bool Torn() const;

    // The card's contents and the beeps it heard, safe while the connection runs.
    CardImage Image() const;
    int Beeps() const;

  private:
    void Serve(int socket);

    mutable std::mutex mutex_;
    VirtualMifareCard card_;
    std::optional<int> tearAt_;
    Tear tearWhen_ = Tear::BeforeCommand;
    bool torn_ = false;
    int socket_ = -1;
    std::thread server_;
};

}  // namespace kx::pcsc::testing
