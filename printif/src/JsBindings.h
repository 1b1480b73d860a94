#pragma once
// The printer side's real dependencies: the two transport libraries and the system clock.

#include "printif/Transports.h"

namespace kx {

class JsUsbTransport final : public UsbTransport {
  public:
    constexpr JsUsbTransport() = default;
    int32_t Open() override;
    int32_t Write(int32_t handle, const uint8_t* bytes, int32_t length, uint32_t* count) override;
    void Close(int32_t handle) override;
    void Purge(int32_t handle) override;
};

class JsNetTransport final : public NetTransport {
  public:
    constexpr JsNetTransport() = default;
    int32_t Startup() override;
    int32_t Connect(int32_t* socket, const NetAddress* address, const ConnectWait* wait) override;
    int32_t Send(int32_t* socket, const uint8_t* bytes, int32_t length) override;
    void Close(int32_t* socket) override;
    void Release() override;
};

class SleepPauser final : public Pauser {
  public:
    constexpr SleepPauser() = default;
    void Pause(uint32_t milliseconds) override;
};

}  // namespace kx
