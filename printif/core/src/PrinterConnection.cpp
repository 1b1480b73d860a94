#include "printif/PrinterConnection.h"

#include <cstring>

#include "printif/Platform.h"

namespace kx {
namespace {

constexpr uint32_t kPauseBeforeOpenMs = 100;
constexpr uint32_t kPauseBeforeUsbWriteMs = 1;
constexpr uint32_t kPauseAroundCloseMs = 500;
constexpr uint32_t kPauseAfterTestConnectMs = 500;
constexpr uint32_t kPauseAfterTestTextMs = 1000;
constexpr uint16_t kAddressFamilyInet = 2;
constexpr uint8_t kLineFeed = 0x0A;
constexpr int kTestLineFeeds = 3;

}  // namespace

int32_t PrinterConnection::Open(const PrinterParam& param) {
    pauser_.Pause(kPauseBeforeOpenMs);
    // A handle or socket still open would otherwise stay open, unreachable, until the process
    // ends, and may keep the printer busy for the new open.
    if (usbHandle_ != -1) {
        usb_.Close(usbHandle_);
        usbHandle_ = -1;
    }
    if (netSocket_ != -1) {
        NetCloseSocket();
    }
    currentMode_ = param.mode;
    switch (currentMode_) {
        case PRINTER_MODE_USB:
            usbHandle_ = usb_.Open();
            return usbHandle_ == -1 ? 0 : 1;
        case PRINTER_MODE_NET:
            if (NetStartup() == 0) {
                return 0;
            }
            return NetConnect(param);
        default:
            return 0;
    }
}

int32_t PrinterConnection::Close() {
    switch (currentMode_) {
        case PRINTER_MODE_USB:
            if (usbHandle_ == -1) {
                return 0;
            }
            usb_.Close(usbHandle_);
            pauser_.Pause(kPauseAroundCloseMs);
            usbHandle_ = -1;
            return 1;
        case PRINTER_MODE_NET:
            pauser_.Pause(kPauseAroundCloseMs);
            NetCloseSocket();
            net_.Release();
            return 0;
        default:
            return 0;
    }
}

int32_t PrinterConnection::SocketTest(const PrinterParam& param, const uint8_t* text,
                                      int32_t length) {
    if (text == nullptr || length < 0) {
        return 0;
    }
    if (NetStartup() == 0) {
        return 0;
    }
    const int32_t connected = NetConnect(param);
    if (connected == 1) {
        pauser_.Pause(kPauseAfterTestConnectMs);
        NetSend(text, length);
        for (int i = 0; i < kTestLineFeeds; ++i) {
            NetSend(&kLineFeed, 1);
        }
        pauser_.Pause(kPauseAfterTestTextMs);
    }
    NetCloseSocket();
    net_.Release();
    return connected;
}

int32_t PrinterConnection::Send(const uint8_t* bytes, int32_t length) {
    switch (currentMode_) {
        case PRINTER_MODE_USB:
            return usbHandle_ == -1 ? 0 : UsbSend(bytes, length);
        case PRINTER_MODE_NET:
            return NetSend(bytes, length) ? length : 0;
        default:
            return 0;
    }
}

int32_t PrinterConnection::SendText(const uint8_t* bytes, int32_t length) {
    if (bytes == nullptr || length < 0) {
        return 0;
    }
    switch (currentMode_) {
        case PRINTER_MODE_USB:
            if (usbHandle_ == -1) {
                return 0;
            }
            usb_.Purge(usbHandle_);
            return UsbSend(bytes, length);
        case PRINTER_MODE_NET:
            return NetSend(bytes, length) ? 1 : 0;
        default:
            return 0;
    }
}

int32_t PrinterConnection::NetStartup() {
    // The test print takes over the one network slot: a connection still in it would otherwise
    // stay open, unreachable.
    if (netSocket_ != -1) {
        NetCloseSocket();
    }
    return net_.Startup() != 0 ? 1 : 0;
}

int32_t PrinterConnection::NetConnect(const PrinterParam& param) {
    netSocket_ = -1;
    // The caller's text need not be terminated within its 16 bytes.
    char address[sizeof(param.address) + 1] = {};
    std::memcpy(address, param.address, sizeof(param.address));
    netAddress_ = NetAddress{};
    netAddress_.family = kAddressFamilyInet;
    netAddress_.port = HostToNetwork16(static_cast<uint16_t>(param.port & 0xFFFF));
    netAddress_.address = Ipv4AddressFromText(address);
    connectWait_ = ConnectWait{1, 0};
    if (net_.Connect(&netSocket_, &netAddress_, &connectWait_) == 1) {
        return netSocket_ != -1 ? 1 : 0;
    }
    netSocket_ = -1;
    return 0;
}

int32_t PrinterConnection::UsbSend(const uint8_t* bytes, int32_t length) {
    pauser_.Pause(kPauseBeforeUsbWriteMs);
    uint32_t count = 0;
    if (usb_.Write(usbHandle_, bytes, length, &count) == 0) {
        return 0;
    }
    return static_cast<int32_t>(count);
}

bool PrinterConnection::NetSend(const uint8_t* bytes, int32_t length) {
    if (netSocket_ == -1) {
        return false;
    }
    if (net_.Send(&netSocket_, bytes, length) == -1) {
        NetCloseSocket();
        return false;
    }
    return true;
}

void PrinterConnection::NetCloseSocket() {
    net_.Close(&netSocket_);
    netSocket_ = -1;
}

}  // namespace kx
