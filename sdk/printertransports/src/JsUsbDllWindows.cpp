#include <windows.h>
// After windows.h, which it builds on.
#include <setupapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "printertransports/JsUsbDll.h"

namespace {

constexpr const wchar_t* kDeviceVariable = L"KXPRINTIF_USB_DEVICE";

// The device interface class of USB printers (usbprint.sys).
constexpr GUID kUsbPrintInterface = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

// A handle fits in 32 bits on 64-bit Windows too.
int32_t ToHandle(HANDLE file) {
    return file == INVALID_HANDLE_VALUE ? -1
                                        : static_cast<int32_t>(reinterpret_cast<intptr_t>(file));
}

HANDLE FromHandle(int32_t handle) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle));
}

int32_t OpenForWriting(const wchar_t* path) {
    // Never created: a missing device is a missing printer, not a new file. FILE_APPEND_DATA
    // makes a stand-in file grow at its end, as the device does.
    return ToHandle(CreateFileW(path, FILE_APPEND_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring NamedDevice() {
    const DWORD size = GetEnvironmentVariableW(kDeviceVariable, nullptr, 0);
    if (size <= 1) {
        return {};
    }
    std::wstring name(size, L'\0');
    name.resize(GetEnvironmentVariableW(kDeviceVariable, name.data(), size));
    return name;
}

// The device paths of the USB printers present, in the order Windows lists them.
std::vector<std::wstring> PrinterDevices() {
    std::vector<std::wstring> devices;
    HDEVINFO set = SetupDiGetClassDevsW(&kUsbPrintInterface, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return devices;
    }
    SP_DEVICE_INTERFACE_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterface, i, &device);
         ++i) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &device, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        std::vector<uint8_t> buffer(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (SetupDiGetDeviceInterfaceDetailW(set, &device, detail, size, nullptr, nullptr)) {
            devices.emplace_back(detail->DevicePath);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

}  // namespace

extern "C" {

JS_API int32_t JS_CALL JsUsbOpen(void) {
    try {
        const std::wstring named = NamedDevice();
        if (!named.empty()) {
            return OpenForWriting(named.c_str());
        }
        for (const std::wstring& device : PrinterDevices()) {
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
    if (handle == -1 || bytes == nullptr || length < 0) {
        return 0;
    }
    DWORD left = static_cast<DWORD>(length);
    while (left > 0) {
        DWORD count = 0;
        if (!WriteFile(FromHandle(handle), bytes + *written, left, &count, nullptr) || count == 0) {
            return 0;
        }
        *written += count;
        left -= count;
    }
    return 1;
}

JS_API int32_t JS_CALL JsUsbClose(int32_t handle) {
    if (handle != -1) {
        CloseHandle(FromHandle(handle));
    }
    return 0;
}

}  // extern "C"
