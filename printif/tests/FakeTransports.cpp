#include "FakeTransports.h"

#include <cstdio>

namespace kx::test {

std::string HexBytes(const uint8_t* bytes, int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof(hex), i == 0 ? "%02X" : " %02X", bytes[i]);
        text += hex;
    }
    return text;
}

int32_t FakeUsb::Open() {
    log_.push_back("usb.open");
    return openResult;
}

int32_t FakeUsb::Write(int32_t handle, const uint8_t* bytes, int32_t length, uint32_t* count) {
    log_.push_back("usb.write " + std::to_string(handle) + ": " + HexBytes(bytes, length));
    *count = static_cast<uint32_t>(reportedCount < 0 ? length : reportedCount);
    return writeResult;
}

void FakeUsb::Close(int32_t handle) {
    log_.push_back("usb.close " + std::to_string(handle));
}

void FakeUsb::Purge(int32_t handle) {
    log_.push_back("usb.purge " + std::to_string(handle));
}

int32_t FakeNet::Startup() {
    log_.push_back("net.startup");
    return startupResult;
}

int32_t FakeNet::Connect(int32_t* socket, const NetAddress* address, const ConnectWait* wait) {
    log_.push_back("net.connect");
    lastAddress = *address;
    lastWait = *wait;
    *socket = connectedSocket;
    return connectResult;
}

int32_t FakeNet::Send(int32_t* socket, const uint8_t* bytes, int32_t length) {
    log_.push_back("net.send " + std::to_string(*socket) + ": " + HexBytes(bytes, length));
    return ++sends_ == failSendNumber ? -1 : length;
}

void FakeNet::Close(int32_t* socket) {
    log_.push_back("net.close " + std::to_string(*socket));
}

void FakeNet::Release() {
    log_.push_back("net.release");
}

void RecordingPauser::Pause(uint32_t milliseconds) {
    log_.push_back("pause " + std::to_string(milliseconds));
}

}  // namespace kx::test
