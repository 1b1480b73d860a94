#include "printif/PrinterCommands.h"

#include <array>
#include <cstddef>

namespace kx {
namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kGs = 0x1D;
constexpr uint8_t kFullCut = 0x30;
constexpr uint8_t kPartialCut = 0x31;

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

template <std::size_t N>
int32_t SendCommand(PrinterConnection& printer, const std::array<uint8_t, N>& bytes) {
    return printer.Send(bytes.data(), static_cast<int32_t>(N));
}

}  // namespace

int32_t PrinterInit(PrinterConnection& printer) {
    return SendCommand(printer, std::array<uint8_t, 2>{kEsc, '@'});
}

int32_t PrinterLineFeed(PrinterConnection& printer) {
    return SendCommand(printer, std::array<uint8_t, 1>{0x0A});
}

int32_t PrinterFeedLines(PrinterConnection& printer, int32_t n) {
    return SendCommand(printer, std::array<uint8_t, 3>{kEsc, 'd', LowByte(n)});
}

int32_t PrinterAlign(PrinterConnection& printer, int32_t n) {
    if (n < 0 || n > 2) {
        return 0;
    }
    return SendCommand(printer, std::array<uint8_t, 3>{kEsc, 'a', LowByte(n)});
}

int32_t PrinterBold(PrinterConnection& printer, int32_t n) {
    if (n < 0 || n > 1) {
        return 0;
    }
    return SendCommand(printer, std::array<uint8_t, 3>{kEsc, 'G', LowByte(n)});
}

int32_t PrinterFontSize(PrinterConnection& printer, int32_t w, int32_t h) {
    const uint8_t size = LowByte((LowByte(w) * 16) | LowByte(h));
    return SendCommand(printer, std::array<uint8_t, 3>{kGs, '!', size});
}

int32_t PrinterCutPaper(PrinterConnection& printer, int32_t cut) {
    const uint8_t mode = LowByte(cut) != 0 ? kFullCut : kPartialCut;
    return SendCommand(printer, std::array<uint8_t, 3>{kGs, 'V', mode});
}

int32_t PrinterCashDrawer(PrinterConnection& printer, int32_t m, int32_t t1, int32_t t2) {
    return SendCommand(printer,
                       std::array<uint8_t, 5>{kEsc, 'p', LowByte(m), LowByte(t1), LowByte(t2)});
}

int32_t PrinterText(PrinterConnection& printer, const uint8_t* bytes, int32_t length) {
    return printer.SendText(bytes, length);
}

}  // namespace kx
