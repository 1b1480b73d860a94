#include "card/ReaderDriver.h"

#include <optional>

#include "card/ReaderSdk.h"

namespace kx {

namespace {

constexpr int kLastComPort = 6;
constexpr int32_t kComBaud = 9600;
constexpr uint16_t kBeepDuration = 30;

// One SDK call; -1 when the function is not bound or the call throws, so nothing reaches the
// transactions but a status.
template <typename Fn, typename... Args>
int32_t CallSdk(Fn fn, Args... args) {
    if (fn == nullptr) {
        return -1;
    }
    try {
        return fn(args...);
    } catch (...) {
        return -1;
    }
}

// Only KXD101 (rf_ family) and KXD103 (dc_ family) can do card work; the other models can
// only beep and close.
std::optional<ReaderModel> CardModel(std::string_view name) {
    const auto model = ModelFromName(name);
    if (model == ReaderModel::KXD101 || model == ReaderModel::KXD103) {
        return model;
    }
    return std::nullopt;
}

// One SDK call of an operation that only the card models have.
template <auto Slot, typename... Args>
int32_t CallCardSdk(std::string_view model, Args... args) {
    const auto card = CardModel(model);
    if (!card) {
        return -1;
    }
    return CallSdk(ReaderSdkOf(*card).*Slot, args...);
}

// The rf_ functions count key modes from one.
uint8_t SdkKeyMode(std::string_view model, int keyMode) {
    return static_cast<uint8_t>(ModelFromName(model) == ReaderModel::KXD101 ? keyMode + 1
                                                                            : keyMode);
}

// rf_ card selection: the serial from anticollision reaches the caller even when the select
// itself fails; a request or anticollision failure leaves it untouched.
int32_t RfSelectCard(const ModelSdk& sdk, int32_t handle, uint32_t& serial) {
    if (sdk.rf_request == nullptr || sdk.rf_anticoll == nullptr || sdk.rf_select == nullptr) {
        return -1;
    }
    try {
        uint16_t cardType = 0;
        if (sdk.rf_request(handle, 1, &cardType) != 0) {
            return -1;
        }
        uint32_t found = 0;
        if (sdk.rf_anticoll(handle, 0, &found) != 0) {
            return -1;
        }
        uint16_t size = 0;
        const int16_t selected = sdk.rf_select(handle, found, &size);
        serial = found;
        return selected == 0 ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

}  // namespace

int32_t ReaderInit(int portIndex, std::string_view model) {
    const auto card = CardModel(model);
    if (!card || portIndex < 0 || portIndex > kLastComPort) {
        return -1;
    }
    const ModelSdk& sdk = ReaderSdkOf(*card);
    // Port index 0 is USB, n is COMn, which the SDKs number from zero.
    const auto comPort = static_cast<int16_t>(portIndex == 0 ? 0 : portIndex - 1);
    if (*card == ReaderModel::KXD101) {
        return CallSdk(sdk.rf_init, comPort, kComBaud);
    }
    if (portIndex == 0) {
        return CallSdk(sdk.dc_init, int16_t{100}, int32_t{0});
    }
    return CallSdk(sdk.dc_init, comPort, kComBaud);
}

void ReaderBeep(std::string_view model, int32_t handle) {
    if (const auto any = ModelFromName(model)) {
        CallSdk(ReaderSdkOf(*any).beep, handle, kBeepDuration);
    }
}

int32_t ReaderCard(std::string_view model, int32_t handle, uint32_t& serial) {
    const auto card = CardModel(model);
    if (!card) {
        return -1;
    }
    const ModelSdk& sdk = ReaderSdkOf(*card);
    if (*card == ReaderModel::KXD101) {
        return RfSelectCard(sdk, handle, serial);
    }
    return CallSdk(sdk.dc_card, handle, uint8_t{0}, &serial) == 0 ? 0 : -1;
}

int32_t ReaderLoadKey(std::string_view model, int32_t handle, int keyMode, int sector,
                      const uint8_t key[6]) {
    return CallCardSdk<&ModelSdk::load_key>(model, handle, SdkKeyMode(model, keyMode),
                                            static_cast<uint8_t>(sector), key);
}

int32_t ReaderAuthentication(std::string_view model, int32_t handle, int keyMode, int sector) {
    return CallCardSdk<&ModelSdk::authentication>(model, handle, SdkKeyMode(model, keyMode),
                                                  static_cast<uint8_t>(sector));
}

int32_t ReaderRead(std::string_view model, int32_t handle, int block, uint8_t data[16]) {
    return CallCardSdk<&ModelSdk::read>(model, handle, static_cast<uint8_t>(block), data);
}

int32_t ReaderReadVal(std::string_view model, int32_t handle, int block, uint32_t& value) {
    return CallCardSdk<&ModelSdk::readval>(model, handle, static_cast<uint8_t>(block), &value);
}

int32_t ReaderDecrement(std::string_view model, int32_t handle, int block, uint32_t amount) {
    return CallCardSdk<&ModelSdk::decrement>(model, handle, static_cast<uint8_t>(block), amount);
}

int32_t ReaderIncrement(std::string_view model, int32_t handle, int block, uint32_t amount) {
    return CallCardSdk<&ModelSdk::increment>(model, handle, static_cast<uint8_t>(block), amount);
}

int32_t ReaderHalt(std::string_view model, int32_t handle) {
    return CallCardSdk<&ModelSdk::halt>(model, handle);
}

int32_t ReaderExit(int32_t handle, std::string_view model) {
    const auto any = ModelFromName(model);
    if (!any) {
        return -1;
    }
    return CallSdk(ReaderSdkOf(*any).exit, handle);
}

}  // namespace kx
