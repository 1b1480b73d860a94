#pragma once
// The functions of the reader SDK libraries, and the process-wide table that binds them per model.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#if defined(_WIN32) && !defined(_WIN64)
#define KX_SDK_CALL __stdcall
#else
#define KX_SDK_CALL
#endif

namespace kx {

enum class ReaderModel { KXD100, KXD101, KXD102, KXD103, KXD104 };
inline constexpr std::array<std::string_view, 5> kReaderModelNames{"KXD100", "KXD101", "KXD102",
                                                                   "KXD103", "KXD104"};

// Exact, case-sensitive match; anything else selects no model.
std::optional<ReaderModel> ModelFromName(std::string_view name);

// SDK function types. Statuses are 16-bit; rf_init returns a 16-bit handle, dc_init a 32-bit one.
using RfInitFn = int16_t(KX_SDK_CALL*)(int16_t port, int32_t baud);
using DcInitFn = int32_t(KX_SDK_CALL*)(int16_t port, int32_t baud);
using BeepFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint16_t duration);
using RfRequestFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t mode, uint16_t* cardType);
using RfAnticollFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t bitCount, uint32_t* serial);
using RfSelectFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint32_t serial, uint16_t* size);
using DcCardFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t mode, uint32_t* serial);
using LoadKeyFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t mode, uint8_t sector,
                                        const uint8_t* key);
using AuthenticationFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t mode, uint8_t sector);
using ReadFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t block, uint8_t* data);
using ReadValFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t block, uint32_t* value);
using ValueFn = int16_t(KX_SDK_CALL*)(int32_t handle, uint8_t block, uint32_t amount);
using HandleFn = int16_t(KX_SDK_CALL*)(int32_t handle);

// What one model's library offers, slot by operation. The rf_ and dc_ families fill the same
// slots (load_key is rf_load_key or dc_load_key); the dispatch knows which family a model is.
// A null slot is a function that was not bound.
struct ModelSdk {
    RfInitFn rf_init = nullptr;
    DcInitFn dc_init = nullptr;
    BeepFn beep = nullptr;
    RfRequestFn rf_request = nullptr;
    RfAnticollFn rf_anticoll = nullptr;
    RfSelectFn rf_select = nullptr;
    DcCardFn dc_card = nullptr;
    LoadKeyFn load_key = nullptr;
    AuthenticationFn authentication = nullptr;
    ReadFn read = nullptr;
    ReadValFn readval = nullptr;
    ValueFn decrement = nullptr;
    ValueFn increment = nullptr;
    HandleFn halt = nullptr;
    HandleFn exit = nullptr;
};

// The bound functions of every model. Tests install fakes here.
const ModelSdk& ReaderSdkOf(ReaderModel model);
void InstallReaderSdk(ReaderModel model, const ModelSdk& sdk);
void ClearReaderSdk();

}  // namespace kx
