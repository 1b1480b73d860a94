// JsPrinterDll over loopback TCP: connect with its timeout, whole sends, a peer that goes away.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "captureprinter/BackgroundCapture.h"
#include "printertransports/JsPrinterDll.h"

namespace {

struct ConnectWait {
    int32_t seconds;
    int32_t microseconds;
};

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

uint16_t BoundPort(int fd) {
    sockaddr_in address{};
    socklen_t size = sizeof(address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

int32_t Connect(uint16_t port, ConnectWait wait = {1, 0}) {
    const sockaddr_in address = Loopback(port);
    int32_t socket = 12345;
    const int32_t result = JsNetConnect(&socket, &address, &wait);
    EXPECT_EQ(result == 1, socket != -1);
    return socket;
}

TEST(JsPrinterDllTest, SendsEveryByteOnANoDelayBlockingSocket) {
    kx::BackgroundCapture printer;
    ASSERT_NE(JsNetStartup(), 0);
    int32_t socket = Connect(printer.Port());
    ASSERT_NE(socket, -1);

    int noDelay = 0;
    socklen_t size = sizeof(noDelay);
    getsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, &size);
    EXPECT_NE(noDelay, 0);
    EXPECT_EQ(fcntl(socket, F_GETFL) & O_NONBLOCK, 0);

    // Far more than the socket buffers hold, so the kernel takes it in many parts.
    std::vector<uint8_t> bytes(4 << 20);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    const int32_t length = static_cast<int32_t>(bytes.size());
    EXPECT_EQ(JsNetSend(&socket, bytes.data(), length), length);
    EXPECT_EQ(JsNetClose(&socket), 0);
    EXPECT_EQ(socket, -1);
    EXPECT_EQ(JsNetRelease(), 0);

    const auto received = printer.WaitForClosed(1);
    ASSERT_TRUE(received);
    EXPECT_TRUE(received->at(0) == std::string(bytes.begin(), bytes.end()));
}

TEST(JsPrinterDllTest, RefusedConnect) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(0);
    bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const uint16_t port = BoundPort(fd);
    close(fd);
    EXPECT_EQ(Connect(port), -1);
}

TEST(JsPrinterDllTest, ConnectGivesUpAfterTheWait) {
    // A listener whose accept queue is full drops further connection requests, so a connect to
    // it hangs until it gives up.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in any = Loopback(0);
    bind(listener, reinterpret_cast<const sockaddr*>(&any), sizeof(any));
    listen(listener, 0);
    const sockaddr_in address = Loopback(BoundPort(listener));
    std::vector<int> fillers;
    bool full = false;
    for (int i = 0; i < 16 && !full; ++i) {
        const int filler = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        fillers.push_back(filler);
        if (connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            pollfd entry{filler, POLLOUT, 0};
            full = poll(&entry, 1, 200) == 0;
        }
    }
    if (!full) {
        for (int fd : fillers) {
            close(fd);
        }
        close(listener);
        GTEST_SKIP() << "this system accepts every connection request";
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Connect(BoundPort(listener), {0, 300000}), -1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(3));
    for (int fd : fillers) {
        close(fd);
    }
    close(listener);
}

TEST(JsPrinterDllTest, PeerThatWentAwayIsAFailureNotASignal) {
    kx::BackgroundCapture printer(1);  // resets the connection after one byte
    int32_t socket = Connect(printer.Port());
    ASSERT_NE(socket, -1);
    const uint8_t byte = 0x0A;
    EXPECT_EQ(JsNetSend(&socket, &byte, 1), 1);
    ASSERT_TRUE(printer.WaitForClosed(1));
    int sends = 0;
    while (JsNetSend(&socket, &byte, 1) != -1 && sends < 100) {
        ++sends;
        usleep(1000);
    }
    EXPECT_LT(sends, 100);
    // Sending again on the broken connection meets EPIPE, whose SIGPIPE would end this process.
    EXPECT_EQ(JsNetSend(&socket, &byte, 1), -1);
    JsNetClose(&socket);
}

TEST(JsPrinterDllTest, BadArguments) {
    const uint8_t byte = 0x0A;
    int32_t closed = -1;
    EXPECT_EQ(JsNetSend(nullptr, &byte, 1), -1);
    EXPECT_EQ(JsNetSend(&closed, &byte, 1), -1);
    int32_t socket = 0;
    EXPECT_EQ(JsNetSend(&socket, nullptr, 1), -1);
    EXPECT_EQ(JsNetSend(&socket, &byte, -1), -1);
    EXPECT_EQ(JsNetClose(&closed), 0);
    EXPECT_EQ(JsNetClose(nullptr), 0);
    const ConnectWait wait{1, 0};
    const sockaddr_in address = Loopback(9);
    EXPECT_EQ(JsNetConnect(nullptr, &address, &wait), 0);
    EXPECT_EQ(JsNetConnect(&socket, nullptr, &wait), 0);
    EXPECT_EQ(socket, -1);
    socket = 0;
    EXPECT_EQ(JsNetConnect(&socket, &address, nullptr), 0);
    EXPECT_EQ(socket, -1);
}

}  // namespace
