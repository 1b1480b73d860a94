#include "VpcdCard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace kx::pcsc::testing {

namespace {

constexpr uint16_t kFirstVpcdPort = 0x8C7B;

// vpcd's one-byte control messages; only the ATR request is answered.
constexpr uint8_t kPowerOff = 0x00;
constexpr uint8_t kPowerOn = 0x01;
constexpr uint8_t kReset = 0x02;
constexpr uint8_t kGetAtr = 0x04;

bool ReadExactly(int socket, uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        // vpcd writes length and payload separately: without a quick ACK every message would
        // wait out the delayed-ACK timer.
        const int on = 1;
        setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t got = recv(socket, bytes, count, 0);
        if (got <= 0) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

bool SendMessage(int socket, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> message{static_cast<uint8_t>(payload.size() >> 8),
                                 static_cast<uint8_t>(payload.size())};
    message.insert(message.end(), payload.begin(), payload.end());
    return send(socket, message.data(), message.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(message.size());
}

}  // namespace

uint16_t VpcdPortOfSlot(int slot) {
    return static_cast<uint16_t>(kFirstVpcdPort + slot);
}

std::string VpcdCard::Present(int slot) {
    TakeAway();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(VpcdPortOfSlot(slot));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // vpcd may still be setting up its listening socket after a previous card left.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (true) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return std::string("socket: ") + std::strerror(errno);
        }
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            socket_ = fd;
            break;
        }
        const int error = errno;
        close(fd);
        if (std::chrono::steady_clock::now() > deadline) {
            return "connect to vpcd port " + std::to_string(VpcdPortOfSlot(slot)) + ": " +
                   std::strerror(error);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    server_ = std::thread([this, fd = socket_] { Serve(fd); });
    return {};
}

void VpcdCard::TakeAway() {
    if (socket_ < 0) {
        return;
    }
    shutdown(socket_, SHUT_RDWR);
    server_.join();
    close(socket_);
    socket_ = -1;
}

void VpcdCard::TearAt(int commandIndex, Tear when) {
    const std::scoped_lock lock(mutex_);
    tearAt_ = commandIndex;
    tearWhen_ = when;
    torn_ = false;
}

bool VpcdCard::Torn() const {
    const std::scoped_lock lock(mutex_);
    return torn_;
}

CardImage VpcdCard::Image() const {
    const std::scoped_lock lock(mutex_);
    return card_.Image();
}

int VpcdCard::Beeps() const {
    const std::scoped_lock lock(mutex_);
    return card_.Beeps();
}

void VpcdCard::Serve(int socket) {
    while (true) {
        uint8_t header[2];
        if (!ReadExactly(socket, header, sizeof header)) {
            return;
        }
        std::vector<uint8_t> payload(std::size_t{header[0]} << 8 | header[1]);
        if (!ReadExactly(socket, payload.data(), payload.size())) {
            return;
        }
        std::vector<uint8_t> answer;
        {
            const std::scoped_lock lock(mutex_);
            if (payload.size() == 1) {
                if (payload[0] == kGetAtr) {
                    answer = MifareClassic1kAtr();
                } else if (payload[0] == kPowerOff || payload[0] == kPowerOn ||
                           payload[0] == kReset) {
                    card_.Reset();
                }
            } else if (tearAt_ && (*tearAt_)-- == 0) {
                if (tearWhen_ == Tear::AfterCommand) {
                    card_.Answer(payload);
                }
                tearAt_.reset();
                torn_ = true;
                shutdown(socket, SHUT_RDWR);
                return;
            } else {
                answer = card_.Answer(payload);
            }
        }
        if (!answer.empty() && !SendMessage(socket, answer)) {
            return;
        }
    }
}

}  // namespace kx::pcsc::testing
