#include "captureprinter/CaptureServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace kx {
namespace {

constexpr int kStopCheckMs = 50;

[[noreturn]] void ThrowSystemError(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

CaptureServer::CaptureServer(uint16_t port) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ == -1) {
        ThrowSystemError("socket");
    }
    const int reuse = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        const int error = errno;
        close(listener_);
        errno = error;
        ThrowSystemError("listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
}

CaptureServer::~CaptureServer() {
    close(listener_);
}

void CaptureServer::Serve(CaptureHandler& handler, size_t maxConnections) {
    size_t served = 0;
    while (maxConnections == 0 || served < maxConnections) {
        if (!WaitReadable(listener_)) {
            return;
        }
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection == -1) {
            continue;  // the client gave up before we took it, or an interruption
        }
        ServeConnection(connection, handler);
        ++served;
    }
}

bool CaptureServer::WaitReadable(int fd) const {
    while (!stop_.load()) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, kStopCheckMs) > 0) {
            return true;
        }
    }
    return false;
}

void CaptureServer::ServeConnection(int connection, CaptureHandler& handler) {
    handler.Connected();
    std::array<char, 4096> buffer;
    size_t total = 0;
    bool open = true;
    while (open && WaitReadable(connection)) {
        size_t wanted = buffer.size();
        if (abortAfter_ != 0) {
            wanted = std::min(wanted, abortAfter_ - total);
        }
        const ssize_t count = recv(connection, buffer.data(), wanted, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        handler.Received(std::string_view(buffer.data(), static_cast<size_t>(count)));
        total += static_cast<size_t>(count);
        if (abortAfter_ != 0 && total >= abortAfter_) {
            // Closing with lingering off sends a reset, as a printer that dies does.
            const linger reset{1, 0};
            setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
            open = false;
        }
    }
    close(connection);
    handler.Closed();
}

}  // namespace kx
