// The header compiled as C++ and the import library linked from C++: C++ callers reach the same
// exports under the same decorated import names as C callers.

#include <array>

#include "KXPrintIF.h"

extern "C" int CppCallerFailures(void) {
    std::array<unsigned char, 16> digest{};
    SEC_MD5_Calcu(reinterpret_cast<const unsigned char*>("abc"), 3, digest.data());
    const std::array<unsigned char, 16> abc{0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                            0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
    const PrinterParam noPrinter{0, "", 0};
    return (digest != abc) + (KXOpenPrinter(noPrinter) != 0) + (KXPrinterLF() != 0);
}
