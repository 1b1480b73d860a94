/*
 * KXPrintIF: one receipt printer (USB or network, ESC/POS) and the scheme's security functions,
 * behind a flat C interface.
 *
 * Conventions of every export:
 * - Plain C names; on 32-bit Windows the standard Windows calling convention (KXPRINTIF_CALL).
 * - Printer functions return an int32: 0 means failure, refusal or nothing done.
 * - Nothing is shown, logged or raised, nothing is allocated: callers own every buffer.
 * - A null pointer argument makes a function do nothing (printer functions then return 0);
 *   the security functions take a null data pointer with length 0 as the empty input.
 *
 * The printer connection is process-wide: call the printer functions from one thread at a time.
 * The security functions keep no state between calls and are safe from several threads at once.
 *
 * Transports, bound when the library loads (each ordinal is also a named export on Linux):
 *
 *   Library                       Ordinal  Name          Does
 *   JsUsbDll   (libJsUsbDll.so)       1    JsUsbOpen     open the USB printer, handle or -1
 *                                     3    JsUsbWrite    write bytes, store the count written
 *                                     5    JsUsbClose    close the handle
 *   JsPrinterDll (libJsPrinterDll.so) 14   JsNetStartup  start the network layer
 *                                    15    JsNetConnect  connect (1 s timeout), store the socket
 *                                    16    JsNetSend     send all bytes, -1 on failure
 *                                    18    JsNetClose    close the socket
 *                                    19    JsNetRelease  release the network layer
 *
 * On Linux JsUsbDll writes to the file named by KXPRINTIF_USB_DEVICE when that is set, otherwise
 * to the first /dev/usb/lp* that opens for writing.
 */
#ifndef KXPRINTIF_H
#define KXPRINTIF_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(KXPRINTIF_BUILD)
#define KXPRINTIF_API __declspec(dllexport)
#else
#define KXPRINTIF_API __declspec(dllimport)
#endif
#else
#define KXPRINTIF_API __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define KXPRINTIF_CALL __stdcall
#else
#define KXPRINTIF_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define PRINTER_MODE_USB (-1)
#define PRINTER_MODE_NET (-3)

/* Selects and addresses the printer; passed by value. */
typedef struct PrinterParam {
    int32_t mode;     /* PRINTER_MODE_USB or PRINTER_MODE_NET; any other value: no printer */
    char address[16]; /* network: IPv4 dotted-decimal text, NUL-terminated */
    int32_t port;     /* network: TCP port in the low 16 bits, the high bits are ignored */
} PrinterParam;

#if defined(__cplusplus)
static_assert(sizeof(PrinterParam) == 24, "PrinterParam is 24 bytes on the argument list");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(PrinterParam) == 24, "PrinterParam is 24 bytes on the argument list");
#endif

/* ---- Connection ---------------------------------------------------------------------------- */

/* Pauses 100 ms, remembers param.mode (even when the open fails), then opens the USB printer
 * or connects to the network printer (1 s connect timeout). 1 = open, 0 = failure or a mode
 * other than PRINTER_MODE_USB and PRINTER_MODE_NET. A printer still open is closed first
 * (without the pauses of KXClosePrinter), so that no handle or connection is left behind. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXOpenPrinter(PrinterParam param);

/* USB: closes an open printer, pauses 500 ms, returns 1; returns 0 at once when none is open.
 * Network: pauses 500 ms, closes the connection, releases the network layer, returns 0.
 * The mode stays; commands return 0 until the next successful KXOpenPrinter. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXClosePrinter(void);

/* Test print on a network printer over a connection of its own: connects to param.address and
 * param.port (param.mode is not looked at); when connected pauses 500 ms, sends the length bytes
 * of text and three line feeds, pauses 1000 ms; then closes and releases. 1 = the printer was
 * connected, 0 = it was not. Leaves the mode unchanged and the network slot closed: a network
 * printer still open is closed first; open it again afterwards to print.
 * A null text or a negative length does nothing and returns 0. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXSocketPrinterTest(PrinterParam param, const char* text,
                                                         int32_t length);

/* ---- Commands ------------------------------------------------------------------------------
 * Results: USB mode = the byte count the printer library reports written (the command length
 * when all went), 0 on failure (the handle stays open). Network mode = the command length,
 * 0 on failure; a failed network send closes the connection, so later commands return 0 until
 * the printer is opened again. No printer open: 0, nothing sent. Where an argument becomes a
 * command byte, its low 8 bits are sent. Every USB write is preceded by a 1 ms pause. */

/* ESC @ (1B 40): initialise the printer. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterInit(void);

/* LF (0A): print and feed one line. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterLF(void);

/* ESC d n (1B 64 n): print and feed n lines. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterNLine(int32_t n);

/* ESC a n (1B 61 n): 0 left, 1 centre, 2 right; any other n returns 0 and sends nothing. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterAlign(int32_t n);

/* ESC G n (1B 47 n): double-strike (bold) off (0) or on (1); any other n returns 0, sends
 * nothing. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterBold(int32_t n);

/* GS ! s (1D 21 s), s = (w * 16 | h) & 0xFF: width w + 1, height h + 1 for w, h in 0..7.
 * Sent in both modes; returns 3 when sent. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterFontSize(int32_t w, int32_t h);

/* GS V m (1D 56 m): m = 0x30 (full cut) when the low byte of cut is non-zero, 0x31 (partial
 * cut) when it is zero. Sent in both modes; returns 3 when sent. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterCutPaper(int32_t cut);

/* ESC p m t1 t2 (1B 70 m t1 t2): cash-drawer pulse on connector m (0: pin 2, 1: pin 5),
 * t1 x 2 ms on, t2 x 2 ms off. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterCtrMoneyBox(int32_t m, int32_t t1, int32_t t2);

/* Sends the length bytes unchanged in one write (receipt text, GBK, with any embedded commands).
 * USB: first purges the port's pending output, then returns the count written. Network: returns
 * 1 on success. A null bytes pointer or a negative length returns 0 and sends nothing. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXPrinterInfo(const char* bytes, int32_t length);

/* Reads no printer status: both arguments are ignored and the result is always 0. */
KXPRINTIF_API int32_t KXPRINTIF_CALL KXReadPrinterInfo(int32_t a, int32_t b);

/* ---- Security functions --------------------------------------------------------------------
 * DES per FIPS 46-3 (key parity bits ignored), two-key triple DES (key = K1 | K2, K3 = K1),
 * MD5 per RFC 1321. flag != 0 encrypts, flag == 0 decrypts. Raw bytes in and out. */

/* out (8 bytes) = DES of in (8 bytes) under key (8 bytes). in and out may be the same buffer. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_DES_Calc(const unsigned char* in, unsigned char* out,
                                               const unsigned char* key, int32_t flag);

/* out = E(K1, D(K2, E(K1, in))) when encrypting, D(K1, E(K2, D(K1, in))) when decrypting;
 * key is 16 bytes. in and out may be the same buffer. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_Calc(const unsigned char* in, unsigned char* out,
                                                const unsigned char* key, int32_t flag);

/* Triple DES in ECB mode over the length / 8 whole blocks of in; out needs 8 * (length / 8)
 * bytes. A tail of length % 8 bytes is neither processed nor copied. In place is allowed. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_ECB_Calc(const unsigned char* in, uint32_t length,
                                                    unsigned char* out, const unsigned char* key,
                                                    int32_t flag);

/* Triple DES in CBC mode over the length / 8 whole blocks of in, chained from iv (8 bytes, only
 * read, never updated). Tail as for ECB. In place is allowed in both directions. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_3DES_CBC_Calc(const unsigned char* iv,
                                                    const unsigned char* in, uint32_t length,
                                                    unsigned char* out, const unsigned char* key,
                                                    int32_t flag);

/* out (16 bytes) = MD5 digest of the length bytes of data. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_MD5_Calcu(const unsigned char* data, uint32_t length,
                                                unsigned char* out);

/* Copies src to dst (dst may be src) and, when length % 8 != 0 or force != 0, appends 0x80 and
 * zeros up to the next multiple of 8 (a whole block when aligned). *outLength = the new length.
 * dst needs length + 8 bytes. */
KXPRINTIF_API void KXPRINTIF_CALL SEC_Padding_With_80(const unsigned char* src, uint32_t length,
                                                      unsigned char* dst, uint32_t* outLength,
                                                      int32_t force);

/* As SEC_Padding_With_80, but the p pad bytes each hold p (PKCS #7 for 8-byte blocks when
 * force != 0). */
KXPRINTIF_API void KXPRINTIF_CALL SEC_Padding_With_Len(const unsigned char* src, uint32_t length,
                                                       unsigned char* dst, uint32_t* outLength,
                                                       int32_t force);

#ifdef __cplusplus
}
#endif

#endif /* KXPRINTIF_H */
