// winsock2.h brings windows.h after its own declarations, as it must.
#include <winsock2.h>

#include "printif/Platform.h"

namespace kx {

void SleepMilliseconds(uint32_t milliseconds) {
    Sleep(milliseconds);
}

uint32_t Ipv4AddressFromText(const char* text) {
    return inet_addr(text);
}

uint16_t HostToNetwork16(uint16_t value) {
    return htons(value);
}

void PurgePrinterPort(int32_t handle) {
    // A handle fits in 32 bits on 64-bit Windows too. A printer or file without a comm queue
    // makes PurgeComm fail harmlessly.
    PurgeComm(reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle)),
              PURGE_TXCLEAR | PURGE_RXCLEAR);
}

}  // namespace kx
