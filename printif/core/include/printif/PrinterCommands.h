#pragma once
// The ESC/POS commands: each builds its few bytes and hands them to the connection's send path.

#include <cstdint>

#include "printif/PrinterConnection.h"

namespace kx {

int32_t PrinterInit(PrinterConnection& printer);
int32_t PrinterLineFeed(PrinterConnection& printer);
int32_t PrinterFeedLines(PrinterConnection& printer, int32_t n);
int32_t PrinterAlign(PrinterConnection& printer, int32_t n);
int32_t PrinterBold(PrinterConnection& printer, int32_t n);
int32_t PrinterFontSize(PrinterConnection& printer, int32_t w, int32_t h);
int32_t PrinterCutPaper(PrinterConnection& printer, int32_t cut);
int32_t PrinterCashDrawer(PrinterConnection& printer, int32_t m, int32_t t1, int32_t t2);
int32_t PrinterText(PrinterConnection& printer, const uint8_t* bytes, int32_t length);

}  // namespace kx
