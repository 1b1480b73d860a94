// The printer exports of the real library over its real transports: a capture printer on the
// loopback interface and a file standing in for the USB printer. Each real open pauses 100 ms
// and each close 500 ms, so the cases share their opens where they can.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "KXPrintIF.h"
#include "captureprinter/BackgroundCapture.h"

namespace kx::test {
namespace {

namespace fs = std::filesystem;

PrinterParam NetPrinter(uint16_t port) {
    PrinterParam param{};
    param.mode = PRINTER_MODE_NET;
    std::strcpy(param.address, "127.0.0.1");
    param.port = port;
    return param;
}

PrinterParam UsbPrinter() {
    PrinterParam param{};
    param.mode = PRINTER_MODE_USB;
    return param;
}

// A loopback port on which nothing listens.
uint16_t DeadPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Every command once, with its result in each mode; the bytes are what the printer receives.
struct Command {
    const char* name;
    std::function<int32_t()> run;
    int32_t usbResult;
    int32_t netResult;
};

const std::string kText = "\xBA\xCF\xBC\xC6 12.00\n";  // GBK text and a line feed

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"Init", [] { return KXPrinterInit(); }, 2, 2},
        {"LF", [] { return KXPrinterLF(); }, 1, 1},
        {"NLine(300)", [] { return KXPrinterNLine(300); }, 3, 3},
        {"Align(2)", [] { return KXPrinterAlign(2); }, 3, 3},
        {"Align(3)", [] { return KXPrinterAlign(3); }, 0, 0},
        {"Bold(1)", [] { return KXPrinterBold(1); }, 3, 3},
        {"Bold(2)", [] { return KXPrinterBold(2); }, 0, 0},
        {"FontSize(2,17)", [] { return KXPrinterFontSize(2, 17); }, 3, 3},
        {"CutPaper(1)", [] { return KXPrinterCutPaper(1); }, 3, 3},
        {"CutPaper(0)", [] { return KXPrinterCutPaper(0); }, 3, 3},
        {"CtrMoneyBox(0,25,250)", [] { return KXPrinterCtrMoneyBox(0, 25, 250); }, 5, 5},
        {"Info", [] { return KXPrinterInfo(kText.data(), static_cast<int32_t>(kText.size())); },
         static_cast<int32_t>(kText.size()), 1},
        {"ReadPrinterInfo", [] { return KXReadPrinterInfo(1, 2); }, 0, 0},
    };
    return commands;
}

const std::string kAllCommandBytes = std::string("\x1B\x40", 2) + "\x0A" + "\x1B\x64\x2C" +
                                     "\x1B\x61\x02" + "\x1B\x47\x01" + "\x1D\x21\x31" +
                                     "\x1D\x56\x30" + "\x1D\x56\x31" +
                                     std::string("\x1B\x70\x00\x19\xFA", 5) + kText;

void RunAllCommands(bool network) {
    for (const Command& command : AllCommands()) {
        EXPECT_EQ(command.run(), network ? command.netResult : command.usbResult) << command.name;
    }
}

class PrinterLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        usbFile_ =
            fs::temp_directory_path() / ("kxprintif-usb-" + std::to_string(getpid()) + ".bin");
        std::ofstream(usbFile_).flush();
        setenv("KXPRINTIF_USB_DEVICE", usbFile_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KXPRINTIF_USB_DEVICE");
        fs::remove(usbFile_);
    }

    fs::path usbFile_;
};

TEST_F(PrinterLibraryTest, EveryCommandOverTheNetwork) {
    BackgroundCapture printer;
    ASSERT_EQ(KXOpenPrinter(NetPrinter(printer.Port())), 1);
    RunAllCommands(true);
    EXPECT_EQ(KXClosePrinter(), 0);  // network close reports 0 although it closed
    EXPECT_EQ(KXPrinterInit(), 0);   // commands after close
    const auto received = printer.WaitForClosed(1);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->at(0), kAllCommandBytes);
}

TEST_F(PrinterLibraryTest, EveryCommandOverUsbAndTheTestPrintBeside) {
    BackgroundCapture printer;
    ASSERT_EQ(KXOpenPrinter(UsbPrinter()), 1);
    RunAllCommands(false);
    // The test print goes to the network printer and leaves the USB printer in use.
    EXPECT_EQ(KXSocketPrinterTest(NetPrinter(printer.Port()), "TEST", 4), 1);
    EXPECT_EQ(KXPrinterLF(), 1);
    EXPECT_EQ(KXClosePrinter(), 1);
    EXPECT_EQ(KXClosePrinter(), 0);
    EXPECT_EQ(KXPrinterInit(), 0);
    EXPECT_EQ(ReadFile(usbFile_), kAllCommandBytes + "\n");
    const auto received = printer.WaitForClosed(1);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->at(0), "TEST\n\n\n");
}

TEST_F(PrinterLibraryTest, UsbPrinterMissing) {
    setenv("KXPRINTIF_USB_DEVICE", (usbFile_.string() + ".missing").c_str(), 1);
    EXPECT_EQ(KXOpenPrinter(UsbPrinter()), 0);
    EXPECT_EQ(KXPrinterInit(), 0);
    EXPECT_EQ(KXPrinterInfo("x", 1), 0);
    EXPECT_EQ(KXClosePrinter(), 0);
    EXPECT_FALSE(fs::exists(usbFile_.string() + ".missing"));
}

TEST_F(PrinterLibraryTest, UnknownModes) {
    for (int32_t mode : {0, -2}) {
        PrinterParam param = NetPrinter(9100);
        param.mode = mode;
        EXPECT_EQ(KXOpenPrinter(param), 0) << mode;
        EXPECT_EQ(KXPrinterInit(), 0) << mode;
        EXPECT_EQ(KXClosePrinter(), 0) << mode;
    }
}

TEST_F(PrinterLibraryTest, NoPrinterListening) {
    const uint16_t port = DeadPort();
    EXPECT_EQ(KXOpenPrinter(NetPrinter(port)), 0);
    EXPECT_EQ(KXPrinterInit(), 0);
    EXPECT_EQ(KXSocketPrinterTest(NetPrinter(port), "TEST", 4), 0);
    PrinterParam noAddress = NetPrinter(port);
    std::strcpy(noAddress.address, "not an address");
    EXPECT_EQ(KXOpenPrinter(noAddress), 0);
}

TEST_F(PrinterLibraryTest, PrinterClosingMidJob) {
    BackgroundCapture printer(2);  // resets the connection after the first command
    ASSERT_EQ(KXOpenPrinter(NetPrinter(printer.Port())), 1);
    EXPECT_EQ(KXPrinterInit(), 2);
    ASSERT_TRUE(printer.WaitForClosed(1));
    // Sends into a reset connection fail (without a signal), close it and stay failed.
    int sent = 0;
    while (KXPrinterLF() == 1 && sent < 100) {
        ++sent;
        usleep(1000);
    }
    EXPECT_LT(sent, 100);
    EXPECT_EQ(KXPrinterInit(), 0);
    EXPECT_EQ(KXPrinterInfo("x", 1), 0);
    EXPECT_EQ(KXClosePrinter(), 0);
}

TEST_F(PrinterLibraryTest, NullAndNegativeArgumentsAreRefused) {
    EXPECT_EQ(KXSocketPrinterTest(NetPrinter(DeadPort()), nullptr, 4), 0);
    ASSERT_EQ(KXOpenPrinter(UsbPrinter()), 1);
    EXPECT_EQ(KXPrinterInfo(nullptr, 4), 0);
    EXPECT_EQ(KXPrinterInfo("x", -1), 0);
    EXPECT_EQ(KXClosePrinter(), 1);
    EXPECT_EQ(ReadFile(usbFile_), "");
}

}  // namespace
}  // namespace kx::test
