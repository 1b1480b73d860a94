#pragma once
// The one printer connection of the process: its mode, the USB handle or network socket, the
// open, close and test print, and the send path that every command goes through.

#include <cstdint>

#include "KXPrintIF.h"
#include "printif/Transports.h"

namespace kx {

class PrinterConnection {
  public:
    constexpr PrinterConnection(UsbTransport& usb, NetTransport& net, Pauser& pauser)
        : usb_(usb), net_(net), pauser_(pauser) {}

    int32_t Open(const PrinterParam& param);
    int32_t Close();
    int32_t SocketTest(const PrinterParam& param, const uint8_t* text, int32_t length);

    // Sends one command: USB = the count written, network = length; 0 on failure or when
    // nothing is open.
    int32_t Send(const uint8_t* bytes, int32_t length);
    // Sends caller's text: as Send, but purges the USB port first and returns 1 on the network.
    int32_t SendText(const uint8_t* bytes, int32_t length);

    int32_t CurrentMode() const { return currentMode_; }
    int32_t UsbHandle() const { return usbHandle_; }
    int32_t NetSocket() const { return netSocket_; }
    const NetAddress& Address() const { return netAddress_; }
    const ConnectWait& Wait() const { return connectWait_; }

  private:
    int32_t NetStartup();
    int32_t NetConnect(const PrinterParam& param);
    int32_t UsbSend(const uint8_t* bytes, int32_t length);
    // The network send: true when sent; a failure closes the connection.
    bool NetSend(const uint8_t* bytes, int32_t length);
    void NetCloseSocket();

    UsbTransport& usb_;
    NetTransport& net_;
    Pauser& pauser_;

    int32_t currentMode_ = 0;
    int32_t usbHandle_ = -1;
    int32_t netSocket_ = -1;
    NetAddress netAddress_;
    ConnectWait connectWait_;
};

}  // namespace kx
