// The exports: a thin C layer over the core, wired to the real transports. Nothing is set up at
// load beyond constant initialisation, and no exception leaves an export.

#include "KXPrintIF.h"

#include "JsBindings.h"
#include "printif/PrinterCommands.h"
#include "printif/PrinterConnection.h"
#include "printif/Security.h"

namespace {

constinit kx::JsUsbTransport usbTransport;
constinit kx::JsNetTransport netTransport;
constinit kx::SleepPauser sleepPauser;
constinit kx::PrinterConnection printer(usbTransport, netTransport, sleepPauser);

template <typename Call>
int32_t Guarded(Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

const uint8_t* Bytes(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

}  // namespace

extern "C" {

KXPRINTIF_API int32_t KXPRINTIF_CALL KXOpenPrinter(PrinterParam param) {
    return Guarded([&] { return printer.Open(param); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXClosePrinter(void) {
    return Guarded([] { return printer.Close(); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXSocketPrinterTest(PrinterParam param, const char* text,
                                                         int32_t length) {
    return Guarded([&] { return printer.SocketTest(param, Bytes(text), length); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterInit(void) {
    return Guarded([] { return kx::PrinterInit(printer); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterLF(void) {
    return Guarded([] { return kx::PrinterLineFeed(printer); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterNLine(int32_t n) {
    return Guarded([=] { return kx::PrinterFeedLines(printer, n); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterAlign(int32_t n) {
    return Guarded([=] { return kx::PrinterAlign(printer, n); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterBold(int32_t n) {
    return Guarded([=] { return kx::PrinterBold(printer, n); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterFontSize(int32_t w, int32_t h) {
    return Guarded([=] { return kx::PrinterFontSize(printer, w, h); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterCutPaper(int32_t cut) {
    return Guarded([=] { return kx::PrinterCutPaper(printer, cut); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterCtrMoneyBox(int32_t m, int32_t t1, int32_t t2) {
    return Guarded([=] { return kx::PrinterCashDrawer(printer, m, t1, t2); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterInfo(const char* bytes, int32_t length) {
    return Guarded([=] { return kx::PrinterText(printer, Bytes(bytes), length); });
}

KXPRINTIF_API int32_t KXPRINTIF_CALL KXReadPrinterInfo(int32_t, int32_t) {
    return 0;
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_DES_Calc(const unsigned char* in, unsigned char* out,
                                               const unsigned char* key, int32_t flag) {
    kx::DesCalc(in, out, key, flag);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_Calc(const unsigned char* in, unsigned char* out,
                                                const unsigned char* key, int32_t flag) {
    kx::TripleDesCalc(in, out, key, flag);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_ECB_Calc(const unsigned char* in, uint32_t length,
                                                    unsigned char* out, const unsigned char* key,
                                                    int32_t flag) {
    kx::TripleDesEcbCalc(in, length, out, key, flag);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_CBC_Calc(const unsigned char* iv,
                                                    const unsigned char* in, uint32_t length,
                                                    unsigned char* out, const unsigned char* key,
                                                    int32_t flag) {
    kx::TripleDesCbcCalc(iv, in, length, out, key, flag);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_MD5_Calcu(const unsigned char* data, uint32_t length,
                                                unsigned char* out) {
    kx::Md5Calc(data, length, out);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_Padding_With_80(const unsigned char* src, uint32_t length,
                                                      unsigned char* dst, uint32_t* outLength,
                                                      int32_t force) {
    kx::PaddingWith80(src, length, dst, outLength, force);
}

KXPRINTIF_API void KXPRINTIF_CALL SEC_Padding_With_Len(const unsigned char* src, uint32_t length,
                                                       unsigned char* dst, uint32_t* outLength,
                                                       int32_t force) {
    kx::PaddingWithLength(src, length, dst, outLength, force);
}

}  // extern "C"
