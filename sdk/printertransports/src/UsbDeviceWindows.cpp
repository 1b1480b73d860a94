#include <windows.h>
// After windows.h, which it builds on.
#include <setupapi.h>

#include <string>

#include "UsbDevice.h"

namespace kx::usb {
namespace {

// The device interface class of USB printers (usbprint.sys).
constexpr GUID kUsbPrintInterface = {
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

// A handle fits in 32 bits on 64-bit Windows too.
HANDLE FromHandle(int32_t handle) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(handle));
}

}  // namespace

std::filesystem::path NamedDevice() {
    const wchar_t* variable = L"KXPRINTIF_USB_DEVICE";
    const DWORD size = GetEnvironmentVariableW(variable, nullptr, 0);
    if (size <= 1) {
        return {};
    }
    std::wstring name(size, L'\0');
    name.resize(GetEnvironmentVariableW(variable, name.data(), size));
    return name;
}

std::vector<std::filesystem::path> PrinterDevices() {
    std::vector<std::filesystem::path> devices;
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

int32_t OpenForWriting(const std::filesystem::path& device) {
    // FILE_APPEND_DATA makes a stand-in file grow at its end, as the device does.
    const HANDLE file = CreateFileW(device.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1
                                        : static_cast<int32_t>(reinterpret_cast<intptr_t>(file));
}

size_t WriteSome(int32_t handle, const uint8_t* bytes, size_t length) {
    DWORD count = 0;
    const DWORD chunk = length > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length);
    return WriteFile(FromHandle(handle), bytes, chunk, &count, nullptr) ? count : 0;
}

void Close(int32_t handle) {
    CloseHandle(FromHandle(handle));
}

}  // namespace kx::usb
