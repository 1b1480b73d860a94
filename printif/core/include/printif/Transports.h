#pragma once
// What the printer side needs from the two transport libraries and from the clock. The library
// wires the real ones; tests inject fakes that record calls and fail on demand.

#include <cstdint>

namespace kx {

// The sockaddr_in layout that the network connect takes: family, port and IPv4 address in
// network byte order, eight zero bytes.
struct NetAddress {
    uint16_t family = 0;
    uint16_t port = 0;
    uint32_t address = 0;
    uint8_t zero[8] = {};
};
static_assert(sizeof(NetAddress) == 16);

// The timeval layout of the connect timeout.
struct ConnectWait {
    int32_t seconds = 0;
    int32_t microseconds = 0;
};
static_assert(sizeof(ConnectWait) == 8);

// JsUsbDll, plus the port purge that Windows does with PurgeComm.
class UsbTransport {
  public:
    virtual ~UsbTransport() = default;
    // Ordinal 1: the printer's handle, or -1 when none could be opened.
    virtual int32_t Open() = 0;
    // Ordinal 3: non-zero on success with *count = bytes written; 0 on failure.
    virtual int32_t Write(int32_t handle, const uint8_t* bytes, int32_t length,
                          uint32_t* count) = 0;
    // Ordinal 5.
    virtual void Close(int32_t handle) = 0;
    // Discards the port's pending output and input; the result is not used.
    virtual void Purge(int32_t handle) = 0;
};

// JsPrinterDll.
class NetTransport {
  public:
    virtual ~NetTransport() = default;
    // Ordinal 14: non-zero = started.
    virtual int32_t Startup() = 0;
    // Ordinal 15: 1 = connected, with *socket set; anything else = failure.
    virtual int32_t Connect(int32_t* socket, const NetAddress* address,
                            const ConnectWait* wait) = 0;
    // Ordinal 16: -1 = failure, anything else = success.
    virtual int32_t Send(int32_t* socket, const uint8_t* bytes, int32_t length) = 0;
    // Ordinal 18.
    virtual void Close(int32_t* socket) = 0;
    // Ordinal 19.
    virtual void Release() = 0;
};

// The fixed pauses of the printer side block the caller; tests record them instead.
class Pauser {
  public:
    virtual ~Pauser() = default;
    virtual void Pause(uint32_t milliseconds) = 0;
};

}  // namespace kx
