#pragma once
// A stand-in network receipt printer: listens on a loopback TCP port and hands every byte it
// receives to a handler, one connection after another.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kx {

class CaptureHandler {
  public:
    virtual ~CaptureHandler() = default;
    virtual void Connected() {}
    virtual void Received(std::string_view bytes) = 0;
    virtual void Closed() {}
};

class CaptureServer {
  public:
    // Listens on 127.0.0.1:port, 0 = a free port; throws std::system_error when it cannot.
    explicit CaptureServer(uint16_t port);
    ~CaptureServer();
    CaptureServer(const CaptureServer&) = delete;
    CaptureServer& operator=(const CaptureServer&) = delete;

    uint16_t Port() const { return port_; }

    // After this many bytes of a connection, reset it as a printer failing mid-job would;
    // 0 = never. Set before Serve.
    void AbortAfter(size_t bytes) { abortAfter_ = bytes; }

    // Serves until Stop, or until maxConnections connections have closed (0 = no limit).
    void Serve(CaptureHandler& handler, size_t maxConnections = 0);

    // Safe from another thread and from a signal handler.
    void Stop() { stop_.store(true); }

  private:
    // Waits until fd is readable or Stop; false on Stop.
    bool WaitReadable(int fd) const;
    void ServeConnection(int connection, CaptureHandler& handler);

    int listener_ = -1;
    uint16_t port_ = 0;
    size_t abortAfter_ = 0;
    std::atomic<bool> stop_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace kx
