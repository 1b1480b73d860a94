/* JsPrinterDll: the network receipt printer over TCP. Ordinals in JsPrinterDll.exports:
 * JsNetStartup 14, JsNetConnect 15, JsNetSend 16, JsNetClose 18, JsNetRelease 19. */
#ifndef JSPRINTERDLL_H
#define JSPRINTERDLL_H

#include "printertransports/JsTransportApi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 14: starts the network layer; non-zero on success. */
JS_API int32_t JS_CALL JsNetStartup(void);

/* Ordinal 15: connects to address (a 16-byte sockaddr_in: family, port and IPv4 address in
 * network byte order), giving up after wait (a timeval: int32 seconds, int32 microseconds).
 * 1 = connected, the socket stored in *socket (with TCP_NODELAY); 0 = failed, *socket = -1. */
JS_API int32_t JS_CALL JsNetConnect(int32_t* socket, const void* address, const void* wait);

/* Ordinal 16: sends all length bytes, however the system splits them; length on success,
 * -1 on failure. A peer that has closed the connection is a failure, never a signal. */
JS_API int32_t JS_CALL JsNetSend(int32_t* socket, const uint8_t* bytes, int32_t length);

/* Ordinal 18: closes *socket when it is open and sets it to -1; always 0. */
JS_API int32_t JS_CALL JsNetClose(int32_t* socket);

/* Ordinal 19: releases the network layer; always 0. */
JS_API int32_t JS_CALL JsNetRelease(void);

#ifdef __cplusplus
}
#endif

#endif /* JSPRINTERDLL_H */
