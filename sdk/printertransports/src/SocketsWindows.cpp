#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "Sockets.h"

namespace kx::sockets {
namespace {

using Clock = std::chrono::steady_clock;

// A socket handle fits in 32 bits on 64-bit Windows too.
SOCKET FromHandle(int32_t socket) {
    return static_cast<SOCKET>(static_cast<uint32_t>(socket));
}

// Waits until the non-blocking connect on s has finished or the deadline has passed.
bool WaitConnected(SOCKET s, Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now());
    const long micros = left.count() > 0 ? static_cast<long>(left.count()) : 0;
    timeval wait{micros / 1000000, micros % 1000000};
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    // Windows reports a refused connect in the exception set, not as writable.
    if (select(0, nullptr, &writable, &failed, &wait) <= 0 || FD_ISSET(s, &failed)) {
        return false;
    }
    int error = 0;
    int size = sizeof(error);
    return getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 &&
           error == 0;
}

bool Connect(SOCKET s, const sockaddr_in& address, Clock::time_point deadline) {
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        return false;
    }
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 &&
        (WSAGetLastError() != WSAEWOULDBLOCK || !WaitConnected(s, deadline))) {
        return false;
    }
    u_long blocking = 0;
    const BOOL noDelay = TRUE;
    return ioctlsocket(s, FIONBIO, &blocking) == 0 &&
           setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                      sizeof(noDelay)) == 0;
}

}  // namespace

namespace {
// Winsock counts startups per process: a release without a startup of ours (KXClosePrinter
// called twice) would otherwise take Winsock away from the calling program itself.
std::atomic<int> startups{0};
}  // namespace

bool Startup() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return false;
    }
    ++startups;
    return true;
}

void Cleanup() {
    int count = startups.load();
    while (count > 0 && !startups.compare_exchange_weak(count, count - 1)) {
    }
    if (count > 0) {
        WSACleanup();
    }
}

int32_t ConnectWithin(const void* address, int32_t seconds, int32_t microseconds) {
    const auto wait = std::chrono::seconds(seconds > 0 ? seconds : 0) +
                      std::chrono::microseconds(microseconds > 0 ? microseconds : 0);
    const auto deadline = Clock::now() + wait;
    sockaddr_in target{};
    std::memcpy(&target, address, sizeof(target));
    const SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                                WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
        return -1;
    }
    if (!Connect(s, target, deadline)) {
        closesocket(s);
        return -1;
    }
    return static_cast<int32_t>(s);
}

bool SendAll(int32_t socket, const uint8_t* bytes, size_t length) {
    while (length > 0) {
        const int chunk = length > 0x40000000 ? 0x40000000 : static_cast<int>(length);
        const int sent = send(FromHandle(socket), reinterpret_cast<const char*>(bytes), chunk, 0);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

void Close(int32_t socket) {
    closesocket(FromHandle(socket));
}

}  // namespace kx::sockets
