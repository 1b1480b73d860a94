// kxcaptureprinter as a process: picks a port, appends what it receives to its file, shows it
// decoded, and stops after the connections asked for.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(FILE* stream) {
    std::string text;
    char buffer[512];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), stream)) > 0) {
        text.append(buffer, count);
    }
    return text;
}

std::string ReadLine(FILE* stream) {
    std::string line;
    for (int c = fgetc(stream); c != EOF && c != '\n'; c = fgetc(stream)) {
        line += static_cast<char>(c);
    }
    return line;
}

void SendTo(uint16_t port, const std::string& bytes) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(send(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    close(fd);
}

TEST(CapturePrinterProgramTest, CapturesOneConnection) {
    const fs::path file = fs::temp_directory_path() / ("capture-" + std::to_string(getpid()));
    std::ofstream(file) << "earlier|";
    const std::string command =
        std::string(KX_CAPTURE_PRINTER) + " --connections 1 0 " + file.string();
    FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    const std::string first = ReadLine(output);
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_EQ(first.rfind(prefix, 0), 0u) << first;
    const auto port = static_cast<uint16_t>(std::stoi(first.substr(prefix.size())));

    const std::string bytes = std::string("\x1B@", 2) + "\xBA\xCF\xBC\xC6\n";
    SendTo(port, bytes);
    const std::string shown = ReadAll(output);
    const int status = pclose(output);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(shown,
              "connection 1 opened\n  ESC @ (initialise)\n  TEXT \"合计\"\n  LF\n"
              "connection 1 closed, 7 bytes\n");
    std::ifstream captured(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(captured), {}), "earlier|" + bytes);
    fs::remove(file);
}

TEST(CapturePrinterProgramTest, BadArgumentsShowTheUsage) {
    for (const char* arguments : {"", " 70000 out.bin", " 0", " --connections x 0 out.bin"}) {
        const std::string command = std::string(KX_CAPTURE_PRINTER) + arguments + " 2>&1";
        FILE* output = popen(command.c_str(), "r");
        ASSERT_NE(output, nullptr);
        const std::string shown = ReadAll(output);
        const int status = pclose(output);
        EXPECT_EQ(WEXITSTATUS(status), 2) << arguments;
        EXPECT_EQ(shown.rfind("usage: kxcaptureprinter", 0), 0u) << shown;
    }
}

}  // namespace
