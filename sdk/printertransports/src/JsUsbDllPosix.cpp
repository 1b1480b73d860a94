#include <fcntl.h>
#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "printertransports/JsUsbDll.h"

namespace {

constexpr const char* kDeviceVariable = "KXPRINTIF_USB_DEVICE";
constexpr const char* kDevicePattern = "/dev/usb/lp*";

// The usblp devices, lp2 before lp10.
std::vector<std::string> PrinterDevices() {
    std::vector<std::string> devices;
    glob_t found{};
    if (glob(kDevicePattern, 0, nullptr, &found) == 0) {
        devices.assign(found.gl_pathv, found.gl_pathv + found.gl_pathc);
    }
    globfree(&found);
    std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return devices;
}

int32_t OpenForWriting(const char* path) {
    // Never created: a missing device is a missing printer, not a new file.
    return open(path, O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
}

}  // namespace

extern "C" {

JS_API int32_t JS_CALL JsUsbOpen(void) {
    try {
        const char* named = std::getenv(kDeviceVariable);
        if (named != nullptr && *named != '\0') {
            return OpenForWriting(named);
        }
        for (const std::string& device : PrinterDevices()) {
            const int32_t handle = OpenForWriting(device.c_str());
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
        const ssize_t count = write(handle, bytes + *written, left);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return 0;
        }
        *written += static_cast<uint32_t>(count);
        left -= static_cast<size_t>(count);
    }
    return 1;
}

JS_API int32_t JS_CALL JsUsbClose(int32_t handle) {
    if (handle >= 0) {
        close(handle);
    }
    return 0;
}

}  // extern "C"
