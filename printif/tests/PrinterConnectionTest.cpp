// Opening, closing, the send path's failure rules and the network test print, on the core with
// fake transports and recorded pauses.

#include <arpa/inet.h>

#include "PrinterCoreFixture.h"

namespace kx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const uint8_t kInit[] = {0x1B, 0x40};

TEST_F(PrinterCoreTest, StartsWithNoPrinter) {
    EXPECT_EQ(printer.CurrentMode(), 0);
    EXPECT_EQ(printer.UsbHandle(), -1);
    EXPECT_EQ(printer.NetSocket(), -1);
    EXPECT_EQ(printer.Send(kInit, 2), 0);
    EXPECT_EQ(printer.Close(), 0);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(PrinterCoreTest, UnknownModeIsKeptAndOpensNothing) {
    for (int32_t mode : {0, -2, 1, -4}) {
        log.clear();
        EXPECT_EQ(printer.Open(ModeParam(mode)), 0) << mode;
        EXPECT_EQ(printer.CurrentMode(), mode);
        EXPECT_EQ(printer.Send(kInit, 2), 0);
        EXPECT_EQ(printer.Close(), 0);
        EXPECT_THAT(log, ElementsAre("pause 100")) << mode;
    }
}

TEST_F(PrinterCoreTest, UsbOpenWriteClose) {
    EXPECT_EQ(printer.Open(ModeParam(PRINTER_MODE_USB)), 1);
    EXPECT_EQ(printer.Send(kInit, 2), 2);
    EXPECT_EQ(printer.Close(), 1);
    EXPECT_EQ(printer.Close(), 0);  // a second close: at once, no pause
    EXPECT_THAT(log, ElementsAre("pause 100", "usb.open", "pause 1", "usb.write 7: 1B 40",
                                 "usb.close 7", "pause 500"));
    EXPECT_EQ(printer.CurrentMode(), PRINTER_MODE_USB);
    EXPECT_EQ(printer.UsbHandle(), -1);
}

TEST_F(PrinterCoreTest, UsbMissingLeavesUsbModeWithoutHandle) {
    usb.openResult = -1;
    EXPECT_EQ(printer.Open(ModeParam(PRINTER_MODE_USB)), 0);
    EXPECT_EQ(printer.CurrentMode(), PRINTER_MODE_USB);
    log.clear();
    EXPECT_EQ(printer.Send(kInit, 2), 0);
    EXPECT_EQ(printer.Close(), 0);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(PrinterCoreTest, UsbWriteFailureKeepsTheHandleAndTheNextCommandTriesAgain) {
    OpenUsb();
    usb.writeResult = 0;
    EXPECT_EQ(printer.Send(kInit, 2), 0);
    usb.writeResult = 1;
    usb.reportedCount = 1;  // the printer library reports a short write
    EXPECT_EQ(printer.Send(kInit, 2), 1);
    EXPECT_THAT(log, ElementsAre("pause 1", "usb.write 7: 1B 40", "pause 1", "usb.write 7: 1B 40"));
    EXPECT_EQ(printer.UsbHandle(), 7);
}

TEST_F(PrinterCoreTest, NetOpenFillsTheAddressFromTheLowPortBits) {
    EXPECT_EQ(printer.Open(NetParam("10.1.2.3", 0x7FFF0000 | 9100)), 1);
    EXPECT_THAT(log, ElementsAre("pause 100", "net.startup", "net.connect"));
    EXPECT_EQ(printer.NetSocket(), 42);
    EXPECT_EQ(net.lastAddress.family, 2);
    EXPECT_EQ(net.lastAddress.port, htons(9100));
    EXPECT_EQ(net.lastAddress.address, inet_addr("10.1.2.3"));
    EXPECT_EQ(net.lastWait.seconds, 1);
    EXPECT_EQ(net.lastWait.microseconds, 0);
}

TEST_F(PrinterCoreTest, AddressFillingAll16BytesIsReadNoFurther) {
    PrinterParam param = NetParam();
    std::memset(param.address, '1', sizeof(param.address));
    EXPECT_EQ(printer.Open(param), 1);
    EXPECT_EQ(net.lastAddress.address, INADDR_NONE);
}

TEST_F(PrinterCoreTest, NetOpenFailures) {
    struct Case {
        const char* what;
        int32_t startup, connect, socket;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"no network layer", 0, 1, 42, {"pause 100", "net.startup"}},
        {"connect failed", 1, 0, -1, {"pause 100", "net.startup", "net.connect"}},
        {"connect not 1 with a socket", 1, 2, 42, {"pause 100", "net.startup", "net.connect"}},
        {"connect 1 without a socket", 1, 1, -1, {"pause 100", "net.startup", "net.connect"}},
    };
    for (const Case& c : cases) {
        CallLog calls;
        FakeNet failing(calls);
        RecordingPauser pauses(calls);
        PrinterConnection connection(usb, failing, pauses);
        failing.startupResult = c.startup;
        failing.connectResult = c.connect;
        failing.connectedSocket = c.socket;
        EXPECT_EQ(connection.Open(NetParam()), 0) << c.what;
        EXPECT_EQ(connection.CurrentMode(), PRINTER_MODE_NET) << c.what;
        EXPECT_EQ(connection.NetSocket(), -1) << c.what;
        EXPECT_EQ(calls, c.calls) << c.what;
        calls.clear();
        EXPECT_EQ(connection.Send(kInit, 2), 0) << c.what;
        EXPECT_THAT(calls, IsEmpty()) << c.what;
    }
}

TEST_F(PrinterCoreTest, NetSendFailureClosesTheConnectionForGood) {
    OpenNet();
    net.failSendNumber = 2;
    const uint8_t lineFeed = 0x0A;
    EXPECT_EQ(printer.Send(kInit, 2), 2);
    EXPECT_EQ(printer.Send(kInit, 2), 0);
    EXPECT_EQ(printer.Send(&lineFeed, 1), 0);  // no call into the transport any more
    EXPECT_THAT(log, ElementsAre("net.send 42: 1B 40", "net.send 42: 1B 40", "net.close 42"));
    EXPECT_EQ(printer.NetSocket(), -1);
}

TEST_F(PrinterCoreTest, NetCloseReturnsZeroAfterClosing) {
    OpenNet();
    EXPECT_EQ(printer.Close(), 0);
    EXPECT_THAT(log, ElementsAre("pause 500", "net.close 42", "net.release"));
    EXPECT_EQ(printer.NetSocket(), -1);
    EXPECT_EQ(printer.CurrentMode(), PRINTER_MODE_NET);
    log.clear();
    EXPECT_EQ(printer.Send(kInit, 2), 0);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(PrinterCoreTest, OpeningAgainReleasesWhatIsStillOpen) {
    OpenUsb();
    EXPECT_EQ(printer.Open(NetParam()), 1);
    EXPECT_EQ(printer.Open(ModeParam(PRINTER_MODE_USB)), 1);
    EXPECT_THAT(log, ElementsAre("pause 100", "usb.close 7", "net.startup", "net.connect",
                                 "pause 100", "net.close 42", "usb.open"));
}

TEST_F(PrinterCoreTest, SocketTestPrintsTextAndThreeLineFeeds) {
    const uint8_t text[] = {'T', 'E', 'S', 'T'};
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 4), 1);
    EXPECT_THAT(log, ElementsAre("net.startup", "net.connect", "pause 500",
                                 "net.send 42: 54 45 53 54", "net.send 42: 0A", "net.send 42: 0A",
                                 "net.send 42: 0A", "pause 1000", "net.close 42", "net.release"));
    EXPECT_EQ(printer.NetSocket(), -1);
    EXPECT_EQ(printer.CurrentMode(), 0);
}

TEST_F(PrinterCoreTest, SocketTestFailures) {
    const uint8_t text[] = {'T'};
    net.startupResult = 0;
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 1), 0);
    EXPECT_THAT(log, ElementsAre("net.startup"));  // neither close nor release

    log.clear();
    net.startupResult = 1;
    net.connectResult = 0;
    net.connectedSocket = -1;
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 1), 0);
    EXPECT_THAT(log, ElementsAre("net.startup", "net.connect", "net.close -1", "net.release"));

    log.clear();
    EXPECT_EQ(printer.SocketTest(NetParam(), nullptr, 1), 0);
    EXPECT_EQ(printer.SocketTest(NetParam(), text, -1), 0);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(PrinterCoreTest, SocketTestStopsSendingAfterAFailedSendButStillReportsTheConnect) {
    const uint8_t text[] = {'T'};
    net.failSendNumber = 1;
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 1), 1);
    EXPECT_THAT(log, ElementsAre("net.startup", "net.connect", "pause 500", "net.send 42: 54",
                                 "net.close 42", "pause 1000", "net.close -1", "net.release"));
}

TEST_F(PrinterCoreTest, SocketTestClosesANetworkPrinterStillOpen) {
    OpenNet();
    const uint8_t text[] = {'T'};
    net.connectedSocket = 43;
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 1), 1);
    EXPECT_EQ(log.at(0), "net.close 42");
    EXPECT_EQ(log.at(1), "net.startup");
    EXPECT_EQ(printer.NetSocket(), -1);
}

TEST_F(PrinterCoreTest, SocketTestInUsbModeLeavesTheUsbPrinterAlone) {
    OpenUsb();
    const uint8_t text[] = {'T'};
    EXPECT_EQ(printer.SocketTest(NetParam(), text, 1), 1);
    EXPECT_EQ(printer.CurrentMode(), PRINTER_MODE_USB);
    EXPECT_EQ(printer.UsbHandle(), 7);
    for (const std::string& call : log) {
        EXPECT_EQ(call.rfind("usb.", 0), std::string::npos) << call;
    }
}

}  // namespace
}  // namespace kx::test
