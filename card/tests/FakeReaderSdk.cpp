#include "FakeReaderSdk.h"

#include <cstring>
#include <stdexcept>

#include "card/CardTransactions.h"

namespace kx::test {

uint32_t FakeCard::Value(int block) const {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + block * 16, sizeof value);
    return value;
}

void FakeCard::SetValue(int block, uint32_t value) {
    // MIFARE value layout: value, inverted value, value, then the address bytes.
    const uint32_t inverted = ~value;
    std::memcpy(Block(block), &value, 4);
    std::memcpy(Block(block) + 4, &inverted, 4);
    std::memcpy(Block(block) + 8, &value, 4);
    const auto address = static_cast<uint8_t>(block);
    const uint8_t addressBytes[4] = {address, static_cast<uint8_t>(~address), address,
                                     static_cast<uint8_t>(~address)};
    std::memcpy(Block(block) + 12, addressBytes, 4);
}

namespace {

FakeReaderSdk* gFake = nullptr;

void RecordPause(int milliseconds) {
    gFake->calls.push_back("pause(" + std::to_string(milliseconds) + ")");
}

constexpr std::string_view kFamilyPrefix[] = {"rf_", "rf_", "qz_", "dc_", "rf_"};

std::string ArgumentText(long long number) {
    return std::to_string(number);
}

std::string ArgumentText(const uint8_t* key) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 6; ++i) {
        text += kDigits[key[i] >> 4];
        text += kDigits[key[i] & 0x0F];
    }
    return text;
}

// Logs "KXD103 dc_read(7,9)" and answers as scripted.
template <ReaderModel M, typename... Args>
int16_t Call(const char* function, Args... args) {
    const auto index = static_cast<std::size_t>(M);
    std::string call = std::string(kReaderModelNames[index]) + " " +
                       std::string(kFamilyPrefix[index]) + function + "(";
    std::string separator;
    ((call += separator + ArgumentText(args), separator = ","), ...);
    return gFake->Answer(call + ")");
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeRfInit(int16_t port, int32_t baud) {
    Call<M>("init", port, baud);
    return static_cast<int16_t>(gFake->initResult);
}

template <ReaderModel M>
int32_t KX_SDK_CALL FakeDcInit(int16_t port, int32_t baud) {
    Call<M>("init", port, baud);
    return gFake->initResult;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeBeep(int32_t handle, uint16_t duration) {
    return Call<M>("beep", handle, duration);
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeRequest(int32_t handle, uint8_t mode, uint16_t* cardType) {
    *cardType = 4;
    return Call<M>("request", handle, mode);
}

// Like a real reader, anticoll reports the serial it saw even when it then fails.
template <ReaderModel M>
int16_t KX_SDK_CALL FakeAnticoll(int32_t handle, uint8_t bitCount, uint32_t* serial) {
    const int16_t status = Call<M>("anticoll", handle, bitCount);
    *serial = gFake->card.serial;
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeSelect(int32_t handle, uint32_t serial, uint16_t* size) {
    *size = 8;
    return Call<M>("select", handle, serial);
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeDcCard(int32_t handle, uint8_t mode, uint32_t* serial) {
    const int16_t status = Call<M>("card", handle, mode);
    if (status == 0) {
        *serial = gFake->card.serial;
    }
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeLoadKey(int32_t handle, uint8_t mode, uint8_t sector, const uint8_t* key) {
    return Call<M>("load_key", handle, mode, sector, key);
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeAuthentication(int32_t handle, uint8_t mode, uint8_t sector) {
    return Call<M>("authentication", handle, mode, sector);
}

// A failed read still scribbles on the buffer, so a transaction that kept it would show.
template <ReaderModel M>
int16_t KX_SDK_CALL FakeRead(int32_t handle, uint8_t block, uint8_t* data) {
    const int16_t status = Call<M>("read", handle, block);
    std::memcpy(data, gFake->card.Block(block), 16);
    if (status != 0) {
        std::memset(data, 0xEE, 16);
    }
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeReadVal(int32_t handle, uint8_t block, uint32_t* value) {
    const int16_t status = Call<M>("readval", handle, block);
    *value = status == 0 ? gFake->card.Value(block) : 0xEEEEEEEE;
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeDecrement(int32_t handle, uint8_t block, uint32_t amount) {
    const int16_t status = Call<M>("decrement", handle, block, amount);
    if (status == 0) {
        gFake->card.SetValue(block, gFake->card.Value(block) - amount);
    }
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeIncrement(int32_t handle, uint8_t block, uint32_t amount) {
    const int16_t status = Call<M>("increment", handle, block, amount);
    if (status == 0) {
        gFake->card.SetValue(block, gFake->card.Value(block) + amount);
    }
    return status;
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeHalt(int32_t handle) {
    return Call<M>("halt", handle);
}

template <ReaderModel M>
int16_t KX_SDK_CALL FakeExit(int32_t handle) {
    return Call<M>("exit", handle);
}

// Every slot the model's library family has: rf_ libraries get the rf_ card functions too.
template <ReaderModel M>
ModelSdk FakeModelSdk() {
    ModelSdk sdk;
    sdk.beep = FakeBeep<M>;
    sdk.exit = FakeExit<M>;
    if constexpr (M == ReaderModel::KXD102) {
        return sdk;
    }
    if constexpr (M == ReaderModel::KXD103) {
        sdk.dc_init = FakeDcInit<M>;
        sdk.dc_card = FakeDcCard<M>;
    } else {
        sdk.rf_init = FakeRfInit<M>;
        sdk.rf_request = FakeRequest<M>;
        sdk.rf_anticoll = FakeAnticoll<M>;
        sdk.rf_select = FakeSelect<M>;
    }
    sdk.load_key = FakeLoadKey<M>;
    sdk.authentication = FakeAuthentication<M>;
    sdk.read = FakeRead<M>;
    sdk.readval = FakeReadVal<M>;
    sdk.decrement = FakeDecrement<M>;
    sdk.increment = FakeIncrement<M>;
    sdk.halt = FakeHalt<M>;
    return sdk;
}

}  // namespace

FakeReaderSdk::FakeReaderSdk() {
    gFake = this;
    InstallReaderSdk(ReaderModel::KXD100, FakeModelSdk<ReaderModel::KXD100>());
    InstallReaderSdk(ReaderModel::KXD101, FakeModelSdk<ReaderModel::KXD101>());
    InstallReaderSdk(ReaderModel::KXD102, FakeModelSdk<ReaderModel::KXD102>());
    InstallReaderSdk(ReaderModel::KXD103, FakeModelSdk<ReaderModel::KXD103>());
    InstallReaderSdk(ReaderModel::KXD104, FakeModelSdk<ReaderModel::KXD104>());
    SetTransactionPause(RecordPause);
}

FakeReaderSdk::~FakeReaderSdk() {
    ClearReaderSdk();
    SetTransactionPause(nullptr);
    gFake = nullptr;
}

void FakeReaderSdk::Return(const std::string& call, int16_t status) {
    scripted_[call] = status;
}

void FakeReaderSdk::Throw(const std::string& call) {
    scripted_[call] = std::nullopt;
}

int16_t FakeReaderSdk::Answer(std::string call) {
    calls.push_back(call);
    const auto found = scripted_.find(call);
    if (found == scripted_.end()) {
        return 0;
    }
    if (!found->second) {
        throw std::runtime_error("fake SDK failure in " + call);
    }
    return *found->second;
}

}  // namespace kx::test
