/* JsUsbDll: the USB receipt printer. Ordinals in JsUsbDll.exports: JsUsbOpen 1, JsUsbWrite 3,
 * JsUsbClose 5. The printer is the existing file named by KXPRINTIF_USB_DEVICE when that is set
 * and not empty, otherwise the first USB printer that opens for writing: /dev/usb/lp* in number
 * order on Linux, the usbprint.sys printer interfaces on Windows. */
#ifndef JSUSBDLL_H
#define JSUSBDLL_H

#include "printertransports/JsTransportApi.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Ordinal 1: the printer's handle, or -1 when none could be opened. */
JS_API int32_t JS_CALL JsUsbOpen(void);

/* Ordinal 3: writes all length bytes; 1 on success, 0 on failure (a bad argument included).
 * *written gets the number of bytes written either way. */
JS_API int32_t JS_CALL JsUsbWrite(int32_t handle, const uint8_t* bytes, int32_t length,
                                  uint32_t* written);

/* Ordinal 5: closes the handle; always 0. */
JS_API int32_t JS_CALL JsUsbClose(int32_t handle);

#ifdef __cplusplus
}
#endif

#endif /* JSUSBDLL_H */
