#pragma once
// Transports and a pauser that write every call into one shared log, so a test sees the calls
// and the pauses in the order they happened, and that fail on demand.

#include <cstdint>
#include <string>
#include <vector>

#include "printif/Transports.h"

namespace kx::test {

using CallLog = std::vector<std::string>;

std::string HexBytes(const uint8_t* bytes, int32_t length);

class FakeUsb : public UsbTransport {
  public:
    explicit FakeUsb(CallLog& log) : log_(log) {}

    int32_t openResult = 7;      // the handle, or -1
    int32_t writeResult = 1;     // 0 = failure
    int32_t reportedCount = -1;  // the count stored by a write; -1 = the length

    int32_t Open() override;
    int32_t Write(int32_t handle, const uint8_t* bytes, int32_t length, uint32_t* count) override;
    void Close(int32_t handle) override;
    void Purge(int32_t handle) override;

  private:
    CallLog& log_;
};

class FakeNet : public NetTransport {
  public:
    explicit FakeNet(CallLog& log) : log_(log) {}

    int32_t startupResult = 1;
    int32_t connectResult = 1;
    int32_t connectedSocket = 42;  // what a connect stores
    int32_t failSendNumber = 0;    // the n-th send (1-based) returns -1; 0 = none
    NetAddress lastAddress;
    ConnectWait lastWait;

    int32_t Startup() override;
    int32_t Connect(int32_t* socket, const NetAddress* address, const ConnectWait* wait) override;
    int32_t Send(int32_t* socket, const uint8_t* bytes, int32_t length) override;
    void Close(int32_t* socket) override;
    void Release() override;

  private:
    CallLog& log_;
    int32_t sends_ = 0;
};

class RecordingPauser : public Pauser {
  public:
    explicit RecordingPauser(CallLog& log) : log_(log) {}
    void Pause(uint32_t milliseconds) override;

  private:
    CallLog& log_;
};

}  // namespace kx::test
