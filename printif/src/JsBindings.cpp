#include "JsBindings.h"

#include "printertransports/JsPrinterDll.h"
#include "printertransports/JsUsbDll.h"
#include "printif/Platform.h"

namespace kx {

int32_t JsUsbTransport::Open() {
    return JsUsbOpen();
}

int32_t JsUsbTransport::Write(int32_t handle, const uint8_t* bytes, int32_t length,
                              uint32_t* count) {
    return JsUsbWrite(handle, bytes, length, count);
}

void JsUsbTransport::Close(int32_t handle) {
    JsUsbClose(handle);
}

void JsUsbTransport::Purge(int32_t handle) {
    PurgePrinterPort(handle);
}

int32_t JsNetTransport::Startup() {
    return JsNetStartup();
}

int32_t JsNetTransport::Connect(int32_t* socket, const NetAddress* address,
                                const ConnectWait* wait) {
    return JsNetConnect(socket, address, wait);
}

int32_t JsNetTransport::Send(int32_t* socket, const uint8_t* bytes, int32_t length) {
    return JsNetSend(socket, bytes, length);
}

void JsNetTransport::Close(int32_t* socket) {
    JsNetClose(socket);
}

void JsNetTransport::Release() {
    JsNetRelease();
}

void SleepPauser::Pause(uint32_t milliseconds) {
    SleepMilliseconds(milliseconds);
}

}  // namespace kx
