#pragma once
// A capture printer serving on its own thread and keeping what each connection sent, for tests
// that drive a client in the foreground.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "captureprinter/CaptureServer.h"

namespace kx {

class BackgroundCapture : private CaptureHandler {
  public:
    // abortAfter: reset each connection after that many bytes (0 = never).
    explicit BackgroundCapture(size_t abortAfter = 0);
    ~BackgroundCapture() override;

    uint16_t Port() const { return server_.Port(); }

    // The bytes of the first count connections once they have all closed; nothing on timeout.
    std::optional<std::vector<std::string>> WaitForClosed(
        size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));

  private:
    void Connected() override;
    void Received(std::string_view bytes) override;
    void Closed() override;

    CaptureServer server_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> connections_;
    size_t closed_ = 0;
    std::thread thread_;
};

}  // namespace kx
