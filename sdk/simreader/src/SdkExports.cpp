// The SDK functions of one simulated reader library. Built once per model with one of
// KX_SIM_RF (rf_ card readers), KX_SIM_QZ (beep and close only) or KX_SIM_DC (dc_ card readers).

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "card/ReaderSdk.h"
#include "mifare/KeyMode.h"
#include "simreader/SdkGate.h"

#ifdef _WIN32
#define KX_SIM_EXPORT extern "C" __declspec(dllexport)
#else
#define KX_SIM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using kx::sim::Block;
using kx::sim::kBadArgument;
using kx::sim::Key;
using kx::sim::SdkCall;
using kx::sim::SimReader;
using kx::sim::SimStatus;
using kx::sim::TraceKey;
using kx::sim::TraceResult;

int16_t Close(const char* function, int32_t handle) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown, [&](SimReader& reader) { return reader.Close(handle); },
        handle);
}

int16_t Beep(const char* function, int32_t handle, uint16_t duration) {
    return SdkCall<int16_t>(
        function, TraceResult::Hidden, [&](SimReader& reader) { return reader.Beep(handle); },
        handle, duration);
}

#if defined(KX_SIM_RF) || defined(KX_SIM_DC)

template <typename KeyTypeOf>
int16_t LoadKey(const char* function, KeyTypeOf keyTypeOf, int32_t handle, uint8_t mode,
                uint8_t sector, const uint8_t* key) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            if (key == nullptr) {
                return kBadArgument;
            }
            Key copy{};
            std::copy_n(key, copy.size(), copy.begin());
            return reader.LoadKey(handle, keyTypeOf(mode), sector, copy);
        },
        handle, mode, sector, TraceKey{key});
}

template <typename KeyTypeOf>
int16_t Authentication(const char* function, KeyTypeOf keyTypeOf, int32_t handle, uint8_t mode,
                       uint8_t sector) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) { return reader.Authenticate(handle, keyTypeOf(mode), sector); },
        handle, mode, sector);
}

int16_t Read(const char* function, int32_t handle, uint8_t block, uint8_t* data) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            if (data == nullptr) {
                return kBadArgument;
            }
            Block read{};
            const SimStatus status = reader.Read(handle, block, read);
            if (status == kx::sim::kOk) {
                std::copy(read.begin(), read.end(), data);
            }
            return status;
        },
        handle, block);
}

int16_t ReadVal(const char* function, int32_t handle, uint8_t block, uint32_t* value) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            return value == nullptr ? kBadArgument : reader.ReadValue(handle, block, *value);
        },
        handle, block);
}

int16_t Decrement(const char* function, int32_t handle, uint8_t block, uint32_t amount) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) { return reader.Decrement(handle, block, amount); }, handle, block,
        amount);
}

int16_t Increment(const char* function, int32_t handle, uint8_t block, uint32_t amount) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown,
        [&](SimReader& reader) { return reader.Increment(handle, block, amount); }, handle, block,
        amount);
}

int16_t Halt(const char* function, int32_t handle) {
    return SdkCall<int16_t>(
        function, TraceResult::Shown, [&](SimReader& reader) { return reader.Halt(handle); },
        handle);
}

#endif

}  // namespace

#ifdef KX_SIM_RF

KX_SIM_EXPORT int16_t KX_SDK_CALL rf_init(int16_t port, int32_t baud) {
    return SdkCall<int16_t>(
        "rf_init", TraceResult::Shown,
        [](SimReader& reader) { return static_cast<int16_t>(reader.Open()); }, port, baud);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_beep(int32_t handle, uint16_t duration) {
    return Beep("rf_beep", handle, duration);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_request(int32_t handle, uint8_t mode, uint16_t* cardType) {
    return SdkCall<int16_t>(
        "rf_request", TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            if (cardType == nullptr) {
                return kBadArgument;
            }
            const SimStatus status = reader.Request(handle);
            if (status == kx::sim::kOk) {
                *cardType = kx::sim::kCardTypeClassic1K;
            }
            return status;
        },
        handle, mode);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_anticoll(int32_t handle, uint8_t bitCount, uint32_t* serial) {
    return SdkCall<int16_t>(
        "rf_anticoll", TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            return serial == nullptr ? kBadArgument : reader.Anticollision(handle, *serial);
        },
        handle, bitCount);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_select(int32_t handle, uint32_t serial, uint16_t* size) {
    return SdkCall<int16_t>(
        "rf_select", TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            if (size == nullptr) {
                return kBadArgument;
            }
            const SimStatus status = reader.Select(handle, serial);
            if (status == kx::sim::kOk) {
                *size = kx::sim::kCardSizeClassic1K;
            }
            return status;
        },
        handle, serial);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_load_key(int32_t handle, uint8_t mode, uint8_t sector,
                                              const uint8_t* key) {
    return LoadKey("rf_load_key", kx::mifare::KeyTypeOfRfMode, handle, mode, sector, key);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_authentication(int32_t handle, uint8_t mode, uint8_t sector) {
    return Authentication("rf_authentication", kx::mifare::KeyTypeOfRfMode, handle, mode, sector);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_read(int32_t handle, uint8_t block, uint8_t* data) {
    return Read("rf_read", handle, block, data);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_readval(int32_t handle, uint8_t block, uint32_t* value) {
    return ReadVal("rf_readval", handle, block, value);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_decrement(int32_t handle, uint8_t block, uint32_t amount) {
    return Decrement("rf_decrement", handle, block, amount);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_increment(int32_t handle, uint8_t block, uint32_t amount) {
    return Increment("rf_increment", handle, block, amount);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_halt(int32_t handle) {
    return Halt("rf_halt", handle);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL rf_exit(int32_t handle) {
    return Close("rf_exit", handle);
}

static_assert(std::is_same_v<decltype(&rf_init), kx::RfInitFn>);
static_assert(std::is_same_v<decltype(&rf_beep), kx::BeepFn>);
static_assert(std::is_same_v<decltype(&rf_request), kx::RfRequestFn>);
static_assert(std::is_same_v<decltype(&rf_anticoll), kx::RfAnticollFn>);
static_assert(std::is_same_v<decltype(&rf_select), kx::RfSelectFn>);
static_assert(std::is_same_v<decltype(&rf_load_key), kx::LoadKeyFn>);
static_assert(std::is_same_v<decltype(&rf_authentication), kx::AuthenticationFn>);
static_assert(std::is_same_v<decltype(&rf_read), kx::ReadFn>);
static_assert(std::is_same_v<decltype(&rf_readval), kx::ReadValFn>);
static_assert(std::is_same_v<decltype(&rf_decrement), kx::ValueFn>);
static_assert(std::is_same_v<decltype(&rf_increment), kx::ValueFn>);
static_assert(std::is_same_v<decltype(&rf_halt), kx::HandleFn>);
static_assert(std::is_same_v<decltype(&rf_exit), kx::HandleFn>);

#endif

#ifdef KX_SIM_QZ

KX_SIM_EXPORT int16_t KX_SDK_CALL qz_beep(int32_t handle, uint16_t duration) {
    return Beep("qz_beep", handle, duration);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL qz_exit(int32_t handle) {
    return Close("qz_exit", handle);
}

static_assert(std::is_same_v<decltype(&qz_beep), kx::BeepFn>);
static_assert(std::is_same_v<decltype(&qz_exit), kx::HandleFn>);

#endif

#ifdef KX_SIM_DC

KX_SIM_EXPORT int32_t KX_SDK_CALL dc_init(int16_t port, int32_t baud) {
    return SdkCall<int32_t>(
        "dc_init", TraceResult::Shown, [](SimReader& reader) { return reader.Open(); }, port, baud);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_beep(int32_t handle, uint16_t duration) {
    return Beep("dc_beep", handle, duration);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_card(int32_t handle, uint8_t mode, uint32_t* serial) {
    return SdkCall<int16_t>(
        "dc_card", TraceResult::Shown,
        [&](SimReader& reader) -> SimStatus {
            return serial == nullptr ? kBadArgument : reader.SelectCard(handle, *serial);
        },
        handle, mode);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_load_key(int32_t handle, uint8_t mode, uint8_t sector,
                                              const uint8_t* key) {
    return LoadKey("dc_load_key", kx::mifare::KeyTypeOfDcMode, handle, mode, sector, key);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_authentication(int32_t handle, uint8_t mode, uint8_t sector) {
    return Authentication("dc_authentication", kx::mifare::KeyTypeOfDcMode, handle, mode, sector);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_read(int32_t handle, uint8_t block, uint8_t* data) {
    return Read("dc_read", handle, block, data);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_readval(int32_t handle, uint8_t block, uint32_t* value) {
    return ReadVal("dc_readval", handle, block, value);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_decrement(int32_t handle, uint8_t block, uint32_t amount) {
    return Decrement("dc_decrement", handle, block, amount);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_increment(int32_t handle, uint8_t block, uint32_t amount) {
    return Increment("dc_increment", handle, block, amount);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_halt(int32_t handle) {
    return Halt("dc_halt", handle);
}
KX_SIM_EXPORT int16_t KX_SDK_CALL dc_exit(int32_t handle) {
    return Close("dc_exit", handle);
}

static_assert(std::is_same_v<decltype(&dc_init), kx::DcInitFn>);
static_assert(std::is_same_v<decltype(&dc_beep), kx::BeepFn>);
static_assert(std::is_same_v<decltype(&dc_card), kx::DcCardFn>);
static_assert(std::is_same_v<decltype(&dc_load_key), kx::LoadKeyFn>);
static_assert(std::is_same_v<decltype(&dc_authentication), kx::AuthenticationFn>);
static_assert(std::is_same_v<decltype(&dc_read), kx::ReadFn>);
static_assert(std::is_same_v<decltype(&dc_readval), kx::ReadValFn>);
static_assert(std::is_same_v<decltype(&dc_decrement), kx::ValueFn>);
static_assert(std::is_same_v<decltype(&dc_increment), kx::ValueFn>);
static_assert(std::is_same_v<decltype(&dc_halt), kx::HandleFn>);
static_assert(std::is_same_v<decltype(&dc_exit), kx::HandleFn>);

#endif
