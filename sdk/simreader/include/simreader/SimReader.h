#pragma once
// The simulated reader behind the SDK functions: open readers by handle, each with its loaded
// keys and the card it selected. The card on the reader is the dump file the reader folder names;
// it is read afresh for every call, and value changes are written back to it atomically.
//
// Halt: a halted card answers no selection until it is placed on the reader again or the reader
// is closed (closing switches the field off, and a card that loses the field wakes up idle).

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "simreader/MifareCard.h"
#include "simreader/ReaderFolder.h"
#include "simreader/SimStatus.h"

namespace kx::sim {

// What rf_request and rf_select report for a MIFARE Classic 1K.
inline constexpr uint16_t kCardTypeClassic1K = 0x0004;
inline constexpr uint16_t kCardSizeClassic1K = 1024;

class SimReader {
  public:
    explicit SimReader(ReaderFolder folder) : folder_(std::move(folder)) {}

    const ReaderFolder& Folder() const { return folder_; }

    // The simulated reader answers on every port; handles count from 1.
    int32_t Open();
    SimStatus Close(int32_t handle);
    SimStatus Beep(int32_t handle) const;

    // Selection in three steps (rf_) or in one (dc_card).
    SimStatus Request(int32_t handle);
    SimStatus Anticollision(int32_t handle, uint32_t& serial);
    SimStatus Select(int32_t handle, uint32_t serial);
    SimStatus SelectCard(int32_t handle, uint32_t& serial);

    SimStatus LoadKey(int32_t handle, std::optional<KeyType> keyType, int sector, const Key& key);
    SimStatus Authenticate(int32_t handle, std::optional<KeyType> keyType, int sector);
    SimStatus Read(int32_t handle, int block, Block& data);
    SimStatus ReadValue(int32_t handle, int block, uint32_t& value);
    SimStatus Decrement(int32_t handle, int block, uint32_t amount);
    SimStatus Increment(int32_t handle, int block, uint32_t amount);
    SimStatus Halt(int32_t handle);

  private:
    enum class CardState { Idle, Ready, Active };

    struct Session {
        std::map<std::pair<KeyType, int>, Key> keys;
        CardState state = CardState::Idle;
        std::optional<Presentation> presentation;
        std::optional<MifareCard> card;
        std::optional<Presentation> halted;
    };

    Session* Find(int32_t handle);
    // Refreshes the session's card from the reader: kNoCard when it left or its dump is gone.
    SimStatus Refresh(Session& session);
    // Runs op when the handle is open and its card is still on the reader in the required state.
    template <typename Op>
    SimStatus OnCard(int32_t handle, CardState required, Op op);
    template <typename Change>
    SimStatus ChangeValue(int32_t handle, Change change);

    ReaderFolder folder_;
    std::map<int32_t, Session> sessions_;
};

}  // namespace kx::sim
