// The capture printer's decoding of printer bytes into readable lines.

#include <gtest/gtest.h>

#include <string>

#include "captureprinter/PrinterStreamDecoder.h"

namespace kx {
namespace {

TEST(PrinterStreamDecoderTest, NamesCommandsAndDecodesText) {
    struct Case {
        std::string bytes;
        std::string lines;
    };
    const Case cases[] = {
        {"\x1B@", "ESC @ (initialise)\n"},
        {"\n", "LF\n"},
        {"\x1B\x64\x2C", "ESC d 44 (print and feed 44 lines)\n"},
        {std::string("\x1B\x61\x00", 3), "ESC a 0 (left)\n"},
        {"\x1B\x61\x01", "ESC a 1 (centre)\n"},
        {"\x1B\x61\x32", "ESC a 50 (right)\n"},
        {"\x1B\x47\x01", "ESC G 1 (double-strike on)\n"},
        {"\x1D\x21\x31", "GS ! 49 (width x4, height x2)\n"},
        {"\x1D\x56\x30", "GS V 48 (full cut)\n"},
        {"\x1D\x56\x31", "GS V 49 (partial cut)\n"},
        {"\x1D\x56\x42\x05", "GS V 66 5 (partial cut)\n"},
        {std::string("\x1B\x70\x00\x19\xFA", 5),
         "ESC p 0 25 250 (drawer pin 2, 50 ms on, 500 ms off)\n"},
        {"\xBA\xCF\xBC\xC6 12.00\r\n", "TEXT \"合计 12.00\"\nCR\nLF\n"},
        {"\x1B\x7A\x01", "ESC z (unknown command)\nBYTE 0x01\n"},
        {"\x07", "BYTE 0x07\n"},
        {"\x1B\x70\x00", "ESC p (cut off)\n"},
        {"\x1D", "GS (cut off)\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribePrinterBytes(c.bytes), c.lines) << c.lines;
    }
}

TEST(PrinterStreamDecoderTest, BytesSplitAnywhereDecodeAsAWhole) {
    const std::string receipt = std::string("\x1B@\x1B\x61\x01\x1D\x21\x11") +
                                "\xBB\xE1\xD4\xB1\xBF\xA8" + "\n" +
                                std::string("\x1B\x70\x00\x19\xFA", 5) + "Total 9.50\n\x1D\x56\x31";
    const std::string whole = DescribePrinterBytes(receipt);
    PrinterStreamDecoder decoder;
    std::string pieces;
    for (char byte : receipt) {
        for (const std::string& line : decoder.Feed(std::string(1, byte))) {
            pieces += line + "\n";
        }
    }
    for (const std::string& line : decoder.Finish()) {
        pieces += line + "\n";
    }
    EXPECT_EQ(pieces, whole);
    EXPECT_NE(whole.find("TEXT \"会员卡\""), std::string::npos) << whole;
}

}  // namespace
}  // namespace kx
