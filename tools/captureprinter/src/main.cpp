// kxcaptureprinter: a stand-in network receipt printer on the loopback interface. Appends every
// byte received to a file and shows what it got as readable commands and text.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "captureprinter/CaptureServer.h"
#include "captureprinter/PrinterStreamDecoder.h"

namespace {

constexpr const char* kUsage =
    "usage: kxcaptureprinter [--connections N] PORT FILE\n"
    "  PORT  loopback TCP port to listen on, 0 = any free port\n"
    "  FILE  every byte received is appended to it\n"
    "  --connections N  stop after N connections have closed (default: run until interrupted)\n";

kx::CaptureServer* runningServer = nullptr;

extern "C" void StopOnSignal(int) {
    if (runningServer != nullptr) {
        runningServer->Stop();
    }
}

class ConsoleCapture : public kx::CaptureHandler {
  public:
    explicit ConsoleCapture(std::ofstream& file) : file_(file) {}

    void Connected() override {
        ++connection_;
        bytes_ = 0;
        std::cout << "connection " << connection_ << " opened" << std::endl;
    }

    void Received(std::string_view bytes) override {
        file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file_.flush();
        bytes_ += bytes.size();
        Print(decoder_.Feed(bytes));
    }

    void Closed() override {
        Print(decoder_.Finish());
        std::cout << "connection " << connection_ << " closed, " << bytes_ << " bytes" << std::endl;
    }

    bool FileOk() const { return file_.good(); }

  private:
    static void Print(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            std::cout << "  " << line << '\n';
        }
        std::cout.flush();
    }

    std::ofstream& file_;
    kx::PrinterStreamDecoder decoder_;
    size_t connection_ = 0;
    size_t bytes_ = 0;
};

// A whole decimal number within [0, max]; -1 otherwise.
long ParseNumber(const std::string& text, long max) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9) {
        return -1;
    }
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value <= max ? value : -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    long connections = 0;
    if (args.size() >= 2 && args[0] == "--connections") {
        connections = ParseNumber(args[1], 1000000);
        args.erase(args.begin(), args.begin() + 2);
    }
    const long port = args.size() == 2 ? ParseNumber(args[0], 65535) : -1;
    if (connections < 0 || port < 0) {
        std::cerr << kUsage;
        return 2;
    }
    std::ofstream file(args[1], std::ios::binary | std::ios::app);
    if (!file) {
        std::cerr << "kxcaptureprinter: cannot open " << args[1] << " for writing\n";
        return 1;
    }
    try {
        kx::CaptureServer server(static_cast<uint16_t>(port));
        runningServer = &server;
        std::signal(SIGINT, StopOnSignal);
        std::signal(SIGTERM, StopOnSignal);
        std::cout << "listening on 127.0.0.1:" << server.Port() << ", capturing to " << args[1]
                  << std::endl;
        ConsoleCapture capture(file);
        server.Serve(capture, static_cast<size_t>(connections));
        runningServer = nullptr;
        if (!capture.FileOk()) {
            std::cerr << "kxcaptureprinter: writing " << args[1] << " failed\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << "kxcaptureprinter: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
