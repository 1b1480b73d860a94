#include "printertransports/JsPrinterDll.h"

#include <cstring>

#include "Sockets.h"

namespace {

// The timeval layout of the connect wait.
struct ConnectWait {
    int32_t seconds;
    int32_t microseconds;
};

}  // namespace

extern "C" {

JS_API int32_t JS_CALL JsNetStartup(void) {
    return kx::sockets::Startup() ? 1 : 0;
}

JS_API int32_t JS_CALL JsNetConnect(int32_t* socket, const void* address, const void* wait) {
    if (socket == nullptr) {
        return 0;
    }
    *socket = -1;
    if (address == nullptr || wait == nullptr) {
        return 0;
    }
    ConnectWait limit;
    std::memcpy(&limit, wait, sizeof(limit));
    *socket = kx::sockets::ConnectWithin(address, limit.seconds, limit.microseconds);
    return *socket == -1 ? 0 : 1;
}

JS_API int32_t JS_CALL JsNetSend(int32_t* socket, const uint8_t* bytes, int32_t length) {
    if (socket == nullptr || *socket == -1 || bytes == nullptr || length < 0) {
        return -1;
    }
    return kx::sockets::SendAll(*socket, bytes, static_cast<size_t>(length)) ? length : -1;
}

JS_API int32_t JS_CALL JsNetClose(int32_t* socket) {
    if (socket != nullptr && *socket != -1) {
        kx::sockets::Close(*socket);
        *socket = -1;
    }
    return 0;
}

JS_API int32_t JS_CALL JsNetRelease(void) {
    kx::sockets::Cleanup();
    return 0;
}

}  // extern "C"
