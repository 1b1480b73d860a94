#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "Sockets.h"

namespace kx::sockets {
namespace {

using Clock = std::chrono::steady_clock;

// Waits until the non-blocking connect on fd has finished or the deadline has passed.
bool WaitConnected(int fd, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd, POLLOUT, 0};
        const int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        int error = 0;
        socklen_t size = sizeof(error);
        return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
}

bool Connect(int fd, const sockaddr_in& address, Clock::time_point deadline) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags == -1 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) == -1) {
        return false;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        // An interrupted non-blocking connect goes on in the background like one in progress.
        if ((errno != EINPROGRESS && errno != EINTR) || !WaitConnected(fd, deadline)) {
            return false;
        }
    }
    const int noDelay = 1;
    return fcntl(fd, F_SETFL, flags) != -1 &&
           setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay)) == 0;
}

}  // namespace

bool Startup() {
    return true;
}

void Cleanup() {}

int32_t ConnectWithin(const void* address, int32_t seconds, int32_t microseconds) {
    const auto wait = std::chrono::seconds(seconds > 0 ? seconds : 0) +
                      std::chrono::microseconds(microseconds > 0 ? microseconds : 0);
    const auto deadline = Clock::now() + wait;
    sockaddr_in target{};
    std::memcpy(&target, address, sizeof(target));
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd == -1) {
        return -1;
    }
    if (!Connect(fd, target, deadline)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int32_t socket, const uint8_t* bytes, size_t length) {
    while (length > 0) {
        const ssize_t sent = send(socket, bytes, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

void Close(int32_t socket) {
    close(socket);
}

}  // namespace kx::sockets
