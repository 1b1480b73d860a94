#include "printertransports/JsUsbDll.h"

#include "UsbDevice.h"

extern "C" {

JS_API int32_t JS_CALL JsUsbOpen(void) {
    try {
        const auto named = kx::usb::NamedDevice();
        if (!named.empty()) {
            return kx::usb::OpenForWriting(named);
        }
        for (const auto& device : kx::usb::PrinterDevices()) {
            const int32_t handle = kx::usb::OpenForWriting(device);
            if (handle != -1) {
                return handle;
            }
        }
    } catch (...) {
        // Out of memory listing the devices: no printer.
    }
    return -1;
}

JS_API int32_t JS_CALL JsUsbWrite(int32_t handle, const uint8_t* bytes, int32_t length,
                                  uint32_t* written) {
    if (written == nullptr) {
        return 0;
    }
    *written = 0;
    if (handle < 0 || bytes == nullptr || length < 0) {
        return 0;
    }
    size_t left = static_cast<size_t>(length);
    while (left > 0) {
        const size_t count = kx::usb::WriteSome(handle, bytes + *written, left);
        if (count == 0) {
            return 0;
        }
        *written += static_cast<uint32_t>(count);
        left -= count;
    }
    return 1;
}

JS_API int32_t JS_CALL JsUsbClose(int32_t handle) {
    if (handle >= 0) {
        kx::usb::Close(handle);
    }
    return 0;
}

}  // extern "C"
