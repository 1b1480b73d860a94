#include "captureprinter/BackgroundCapture.h"

namespace kx {

BackgroundCapture::BackgroundCapture(size_t abortAfter) : server_(0) {
    server_.AbortAfter(abortAfter);
    thread_ = std::thread([this] { server_.Serve(*this); });
}

BackgroundCapture::~BackgroundCapture() {
    server_.Stop();
    thread_.join();
}

std::optional<std::vector<std::string>> BackgroundCapture::WaitForClosed(
    size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [&] { return closed_ >= count; })) {
        return std::nullopt;
    }
    return std::vector<std::string>(connections_.begin(), connections_.begin() + count);
}

void BackgroundCapture::Connected() {
    std::lock_guard lock(mutex_);
    connections_.emplace_back();
}

void BackgroundCapture::Received(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    connections_.back().append(bytes);
}

void BackgroundCapture::Closed() {
    std::lock_guard lock(mutex_);
    ++closed_;
    changed_.notify_all();
}

}  // namespace kx
