#include <fcntl.h>
#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "UsbDevice.h"

namespace kx::usb {

std::filesystem::path NamedDevice() {
    const char* named = std::getenv("KXPRINTIF_USB_DEVICE");
    return named != nullptr ? std::filesystem::path(named) : std::filesystem::path();
}

// The usblp devices, lp2 before lp10.
std::vector<std::filesystem::path> PrinterDevices() {
    std::vector<std::string> devices;
    glob_t found{};
    if (glob("/dev/usb/lp*", 0, nullptr, &found) == 0) {
        devices.assign(found.gl_pathv, found.gl_pathv + found.gl_pathc);
    }
    globfree(&found);
    std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return {devices.begin(), devices.end()};
}

int32_t OpenForWriting(const std::filesystem::path& device) {
    return open(device.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
}

size_t WriteSome(int32_t handle, const uint8_t* bytes, size_t length) {
    for (;;) {
        const ssize_t count = write(handle, bytes, length);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        return count > 0 ? static_cast<size_t>(count) : 0;
    }
}

void Close(int32_t handle) {
    close(handle);
}

}  // namespace kx::usb
