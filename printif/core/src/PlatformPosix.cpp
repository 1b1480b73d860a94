#include <arpa/inet.h>
#include <termios.h>

#include <cerrno>
#include <ctime>

#include "printif/Platform.h"

namespace kx {

void SleepMilliseconds(uint32_t milliseconds) {
    timespec rest{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) == -1 && errno == EINTR) {
    }
}

uint32_t Ipv4AddressFromText(const char* text) {
    return inet_addr(text);
}

uint16_t HostToNetwork16(uint16_t value) {
    return htons(value);
}

void PurgePrinterPort(int32_t handle) {
    // A usblp device or a plain file has no queue to flush: tcflush then fails harmlessly.
    tcflush(handle, TCIOFLUSH);
}

}  // namespace kx
