// The dc_ functions of the KXD103 reader library, over PC/SC. Every function catches everything:
// nothing may cross the C boundary but a status.

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "PcscReader.h"
#include "ReaderTable.h"
#include "card/ReaderSdk.h"
#include "pcscreader/DcStatus.h"

#if defined(_WIN32)
#define KX_DC_EXPORT __declspec(dllexport)
#else
#define KX_DC_EXPORT __attribute__((visibility("default")))
#endif

// Declared with the card layer's function types: a definition of another type does not compile.
extern "C" {
KX_DC_EXPORT std::remove_pointer_t<kx::DcInitFn> dc_init;
KX_DC_EXPORT std::remove_pointer_t<kx::BeepFn> dc_beep;
KX_DC_EXPORT std::remove_pointer_t<kx::DcCardFn> dc_card;
KX_DC_EXPORT std::remove_pointer_t<kx::LoadKeyFn> dc_load_key;
KX_DC_EXPORT std::remove_pointer_t<kx::AuthenticationFn> dc_authentication;
KX_DC_EXPORT std::remove_pointer_t<kx::ReadFn> dc_read;
KX_DC_EXPORT std::remove_pointer_t<kx::ReadValFn> dc_readval;
KX_DC_EXPORT std::remove_pointer_t<kx::ValueFn> dc_decrement;
KX_DC_EXPORT std::remove_pointer_t<kx::ValueFn> dc_increment;
KX_DC_EXPORT std::remove_pointer_t<kx::HandleFn> dc_halt;
KX_DC_EXPORT std::remove_pointer_t<kx::HandleFn> dc_exit;
}

namespace kx::pcsc {
namespace {

// USB readers are SDK port 100; serial port n is the reader at list position n.
constexpr int16_t kUsbPort = 100;

std::mutex tableMutex;
ReaderTable& Readers() {
    static ReaderTable table;
    return table;
}

// Runs work on the open reader of a handle, under the library's lock.
template <typename Work>
int16_t OnReader(int32_t handle, Work work) {
    try {
        const std::scoped_lock lock(tableMutex);
        OpenReader* reader = Readers().Find(handle);
        return reader ? work(*reader) : kBadHandle;
    } catch (...) {
        return kInternalError;
    }
}

// The buzzer runs in tenths of a second; a beep asked for is at least one tenth long.
uint8_t BuzzerTenths(uint16_t milliseconds) {
    return static_cast<uint8_t>(std::clamp((milliseconds + 99) / 100, 1, 255));
}

}  // namespace
}  // namespace kx::pcsc

using kx::pcsc::OpenReader;

extern "C" {

int32_t KX_SDK_CALL dc_init(int16_t port, int32_t /*baud*/) {
    using namespace kx::pcsc;
    if (port < 0 || port > kUsbPort) {
        return -kBadArgument;
    }
    try {
        const std::scoped_lock lock(tableMutex);
        DcStatus status = kOk;
        auto reader =
            PcscReader::Open(port == kUsbPort ? 0 : static_cast<std::size_t>(port), status);
        if (!reader) {
            return -status;
        }
        return Readers().Add(std::make_unique<OpenReader>(std::move(reader)));
    } catch (...) {
        return -kInternalError;
    }
}

int16_t KX_SDK_CALL dc_beep(int32_t handle, uint16_t duration) {
    return kx::pcsc::OnReader(handle, [&](OpenReader& open) {
        return open.reader->SendReaderCommand(
            kx::pcsc::BuzzerCommand(kx::pcsc::BuzzerTenths(duration)));
    });
}

int16_t KX_SDK_CALL dc_card(int32_t handle, uint8_t /*mode*/, uint32_t* serial) {
    using namespace kx::pcsc;
    if (!serial) {
        return kBadArgument;
    }
    return OnReader(handle, [&](OpenReader& open) {
        if (const DcStatus status = open.reader->ConnectCard(); status != kOk) {
            return status;
        }
        open.session.CardConnected();
        uint32_t selected = 0;
        const DcStatus status = open.session.ReadSerial(selected);
        if (status == kOk) {
            *serial = selected;
        }
        return status;
    });
}

int16_t KX_SDK_CALL dc_load_key(int32_t handle, uint8_t mode, uint8_t sector, const uint8_t* key) {
    using namespace kx::pcsc;
    if (!key) {
        return kBadArgument;
    }
    Key bytes{};
    std::copy(key, key + bytes.size(), bytes.begin());
    return OnReader(handle,
                    [&](OpenReader& open) { return open.session.LoadKey(mode, sector, bytes); });
}

int16_t KX_SDK_CALL dc_authentication(int32_t handle, uint8_t mode, uint8_t sector) {
    return kx::pcsc::OnReader(
        handle, [&](OpenReader& open) { return open.session.Authenticate(mode, sector); });
}

int16_t KX_SDK_CALL dc_read(int32_t handle, uint8_t block, uint8_t* data) {
    using namespace kx::pcsc;
    if (!data) {
        return kBadArgument;
    }
    return OnReader(handle, [&](OpenReader& open) {
        BlockBytes bytes{};
        const DcStatus status = open.session.Read(block, bytes);
        if (status == kOk) {
            std::copy(bytes.begin(), bytes.end(), data);
        }
        return status;
    });
}

int16_t KX_SDK_CALL dc_readval(int32_t handle, uint8_t block, uint32_t* value) {
    using namespace kx::pcsc;
    if (!value) {
        return kBadArgument;
    }
    return OnReader(handle, [&](OpenReader& open) {
        uint32_t read = 0;
        const DcStatus status = open.session.ReadValue(block, read);
        if (status == kOk) {
            *value = read;
        }
        return status;
    });
}

int16_t KX_SDK_CALL dc_decrement(int32_t handle, uint8_t block, uint32_t amount) {
    return kx::pcsc::OnReader(
        handle, [&](OpenReader& open) { return open.session.Decrement(block, amount); });
}

int16_t KX_SDK_CALL dc_increment(int32_t handle, uint8_t block, uint32_t amount) {
    return kx::pcsc::OnReader(
        handle, [&](OpenReader& open) { return open.session.Increment(block, amount); });
}

int16_t KX_SDK_CALL dc_halt(int32_t handle) {
    return kx::pcsc::OnReader(handle, [](OpenReader& open) { return open.reader->ResetCard(); });
}

int16_t KX_SDK_CALL dc_exit(int32_t handle) {
    using namespace kx::pcsc;
    try {
        const std::scoped_lock lock(tableMutex);
        return Readers().Remove(handle) ? kOk : kBadHandle;
    } catch (...) {
        return kInternalError;
    }
}

}  // extern "C"
