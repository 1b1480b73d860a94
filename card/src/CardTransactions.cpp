#include "card/CardTransactions.h"

#include <chrono>
#include <thread>

#include "card/ReaderDriver.h"

namespace kx {

namespace {

constexpr int kKeyMode = 0;
constexpr int kFailureBeepGapMs = 50;
constexpr int kValueSector = 3;
constexpr int kStoreMoneyBlock = 12;
constexpr int kBlockSize = 16;

PauseFn gPause = nullptr;

void Pause(int milliseconds) {
    if (gPause != nullptr) {
        gPause(milliseconds);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

// Member cards keep the factory transport key in every sector.
constexpr uint8_t kTransportKey[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// The reader sounds twice for a failed transaction, once for a good one.
int FailTransaction(std::string_view model, int32_t handle) {
    ReaderBeep(model, handle);
    Pause(kFailureBeepGapMs);
    ReaderBeep(model, handle);
    ReaderExit(handle, model);
    return -1;
}

int FinishTransaction(std::string_view model, int32_t handle) {
    ReaderBeep(model, handle);
    ReaderExit(handle, model);
    return 0;
}

bool OpenSector(std::string_view model, int32_t handle, int sector) {
    return ReaderLoadKey(model, handle, kKeyMode, sector, kTransportKey) == 0 &&
           ReaderAuthentication(model, handle, kKeyMode, sector) == 0;
}

// The sector's blocks from firstBlock on; target changes only when every block was read.
template <std::size_t N>
bool ReadDataSector(std::string_view model, int32_t handle, int sector, int firstBlock,
                    std::array<uint8_t, N>& target) {
    static_assert(N % kBlockSize == 0);
    if (!OpenSector(model, handle, sector)) {
        return false;
    }
    std::array<uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N / kBlockSize; ++i) {
        if (ReaderRead(model, handle, firstBlock + static_cast<int>(i),
                       bytes.data() + i * kBlockSize) != 0) {
            return false;
        }
    }
    target = bytes;
    return true;
}

bool ReadValueSector(std::string_view model, int32_t handle, std::array<uint32_t, 3>& target) {
    if (!OpenSector(model, handle, kValueSector)) {
        return false;
    }
    std::array<uint32_t, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (ReaderReadVal(model, handle, kStoreMoneyBlock + static_cast<int>(i), values[i]) != 0) {
            return false;
        }
    }
    target = values;
    return true;
}

using ValueOperation = int32_t (*)(std::string_view model, int32_t handle, int block,
                                   uint32_t amount);

int ChangeStoreMoney(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial,
                     ValueOperation change) {
    const int32_t handle = ReaderInit(portIndex, model);
    if (ReaderCard(model, handle, serial) != 0 || !OpenSector(model, handle, kValueSector) ||
        change(model, handle, kStoreMoneyBlock, cents) != 0) {
        return FailTransaction(model, handle);
    }
    ReaderHalt(model, handle);
    return FinishTransaction(model, handle);
}

}  // namespace

void SetTransactionPause(PauseFn pause) {
    gPause = pause;
}

int ReadMemberCard(int portIndex, std::string_view model, TMemberCardImage& image) {
    const int32_t handle = ReaderInit(portIndex, model);
    const bool read = ReaderCard(model, handle, image.Serial) == 0 &&
                      ReadDataSector(model, handle, 0, 1, image.Sector0) &&
                      ReadDataSector(model, handle, 2, 8, image.Sector2) &&
                      ReadDataSector(model, handle, 4, 16, image.Sector4) &&
                      ReadValueSector(model, handle, image.Values);
    return read ? FinishTransaction(model, handle) : FailTransaction(model, handle);
}

int DecMemberCard(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
    return ChangeStoreMoney(portIndex, model, cents, serial, ReaderDecrement);
}

int IncMemberCard(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
    return ChangeStoreMoney(portIndex, model, cents, serial, ReaderIncrement);
}

}  // namespace kx
