// The bytes and result of every command in each mode, the range tests and the text path, on the
// core with fake transports and recorded pauses.

#include <functional>

#include "PrinterCoreFixture.h"
#include "printif/PrinterCommands.h"

namespace kx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct CommandCase {
    const char* name;
    std::function<int32_t(PrinterConnection&)> run;
    const char* bytes;
    int32_t netResult;
};

const std::vector<CommandCase>& Commands() {
    static const std::vector<CommandCase> cases = {
        {"Init", PrinterInit, "1B 40", 2},
        {"LF", PrinterLineFeed, "0A", 1},
        {"NLine(5)", [](auto& p) { return PrinterFeedLines(p, 5); }, "1B 64 05", 3},
        {"NLine(300)", [](auto& p) { return PrinterFeedLines(p, 300); }, "1B 64 2C", 3},
        {"Align(0)", [](auto& p) { return PrinterAlign(p, 0); }, "1B 61 00", 3},
        {"Align(1)", [](auto& p) { return PrinterAlign(p, 1); }, "1B 61 01", 3},
        {"Align(2)", [](auto& p) { return PrinterAlign(p, 2); }, "1B 61 02", 3},
        {"Bold(0)", [](auto& p) { return PrinterBold(p, 0); }, "1B 47 00", 3},
        {"Bold(1)", [](auto& p) { return PrinterBold(p, 1); }, "1B 47 01", 3},
        {"FontSize(1,1)", [](auto& p) { return PrinterFontSize(p, 1, 1); }, "1D 21 11", 3},
        {"FontSize(7,7)", [](auto& p) { return PrinterFontSize(p, 7, 7); }, "1D 21 77", 3},
        {"FontSize(2,17)", [](auto& p) { return PrinterFontSize(p, 2, 17); }, "1D 21 31", 3},
        {"FontSize(-1,0)", [](auto& p) { return PrinterFontSize(p, -1, 0); }, "1D 21 F0", 3},
        {"CutPaper(0)", [](auto& p) { return PrinterCutPaper(p, 0); }, "1D 56 31", 3},
        {"CutPaper(1)", [](auto& p) { return PrinterCutPaper(p, 1); }, "1D 56 30", 3},
        {"CutPaper(256)", [](auto& p) { return PrinterCutPaper(p, 256); }, "1D 56 31", 3},
        {"CutPaper(-1)", [](auto& p) { return PrinterCutPaper(p, -1); }, "1D 56 30", 3},
        {"CtrMoneyBox(0,25,250)", [](auto& p) { return PrinterCashDrawer(p, 0, 25, 250); },
         "1B 70 00 19 FA", 5},
        {"CtrMoneyBox(1,300,-1)", [](auto& p) { return PrinterCashDrawer(p, 1, 300, -1); },
         "1B 70 01 2C FF", 5},
    };
    return cases;
}

const std::vector<std::pair<const char*, std::function<int32_t(PrinterConnection&)>>>&
OutOfRange() {
    static const std::vector<std::pair<const char*, std::function<int32_t(PrinterConnection&)>>>
        cases = {
            {"Align(3)", [](auto& p) { return PrinterAlign(p, 3); }},
            {"Align(-1)", [](auto& p) { return PrinterAlign(p, -1); }},
            {"Align(256)", [](auto& p) { return PrinterAlign(p, 256); }},
            {"Bold(2)", [](auto& p) { return PrinterBold(p, 2); }},
            {"Bold(-1)", [](auto& p) { return PrinterBold(p, -1); }},
            {"Bold(257)", [](auto& p) { return PrinterBold(p, 257); }},
        };
    return cases;
}

int32_t CommandLength(const char* hexBytes) {
    return static_cast<int32_t>((std::string(hexBytes).size() + 1) / 3);
}

TEST_F(PrinterCoreTest, EveryCommandOverUsb) {
    OpenUsb();
    for (const CommandCase& c : Commands()) {
        log.clear();
        EXPECT_EQ(c.run(printer), CommandLength(c.bytes)) << c.name;
        EXPECT_THAT(log, ElementsAre("pause 1", std::string("usb.write 7: ") + c.bytes)) << c.name;
    }
}

TEST_F(PrinterCoreTest, EveryCommandOverTheNetwork) {
    OpenNet();
    for (const CommandCase& c : Commands()) {
        log.clear();
        EXPECT_EQ(c.run(printer), c.netResult) << c.name;
        EXPECT_THAT(log, ElementsAre(std::string("net.send 42: ") + c.bytes)) << c.name;
    }
}

TEST_F(PrinterCoreTest, UsbResultIsTheCountReported) {
    OpenUsb();
    usb.reportedCount = 2;
    EXPECT_EQ(PrinterCashDrawer(printer, 0, 25, 250), 2);
    usb.writeResult = 0;
    EXPECT_EQ(PrinterCashDrawer(printer, 0, 25, 250), 0);
}

TEST_F(PrinterCoreTest, OutOfRangeSendsNothingAndDoesNotPause) {
    OpenUsb();
    for (const auto& [name, run] : OutOfRange()) {
        EXPECT_EQ(run(printer), 0) << name;
    }
    EXPECT_THAT(log, IsEmpty());
    OpenNet();
    for (const auto& [name, run] : OutOfRange()) {
        EXPECT_EQ(run(printer), 0) << name;
    }
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(PrinterCoreTest, NoCommandSendsWithoutAnOpenPrinter) {
    for (int32_t mode : {0, -2, PRINTER_MODE_USB, PRINTER_MODE_NET}) {
        usb.openResult = -1;
        net.connectResult = 0;
        printer.Open(ModeParam(mode));
        log.clear();
        for (const CommandCase& c : Commands()) {
            EXPECT_EQ(c.run(printer), 0) << c.name << " in mode " << mode;
        }
        const uint8_t text[] = {'x'};
        EXPECT_EQ(PrinterText(printer, text, 1), 0);
        EXPECT_THAT(log, IsEmpty()) << mode;
    }
}

TEST_F(PrinterCoreTest, TextOverUsbPurgesFirstAndReturnsTheCount) {
    OpenUsb();
    const uint8_t text[] = {'A', 'b', 0xBA, 0xCF, '\r', '\n'};
    EXPECT_EQ(PrinterText(printer, text, 6), 6);
    EXPECT_THAT(log, ElementsAre("usb.purge 7", "pause 1", "usb.write 7: 41 62 BA CF 0D 0A"));
}

TEST_F(PrinterCoreTest, TextOverTheNetworkReturnsOne) {
    OpenNet();
    const uint8_t text[] = {'A', 'b', 0xBA, 0xCF, '\r', '\n'};
    EXPECT_EQ(PrinterText(printer, text, 6), 1);
    net.failSendNumber = 2;
    EXPECT_EQ(PrinterText(printer, text, 6), 0);
    EXPECT_EQ(printer.NetSocket(), -1);
}

TEST_F(PrinterCoreTest, TextRefusesNullAndNegativeLengthWithoutTouchingTheConnection) {
    OpenNet();
    const uint8_t text[] = {'x'};
    EXPECT_EQ(PrinterText(printer, nullptr, 1), 0);
    EXPECT_EQ(PrinterText(printer, text, -1), 0);
    EXPECT_THAT(log, IsEmpty());
    EXPECT_EQ(printer.NetSocket(), 42);
}

}  // namespace
}  // namespace kx::test
