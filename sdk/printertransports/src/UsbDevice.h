#pragma once
// The device calls of JsUsbDll, one implementation file per platform (usblp, usbprint.sys).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kx::usb {

// The device or stand-in file named by KXPRINTIF_USB_DEVICE; empty when unset or empty.
std::filesystem::path NamedDevice();

// The USB printers present, in the order to try them.
std::vector<std::filesystem::path> PrinterDevices();

// Opens an existing device or file for writing at its end (never creates it): a non-negative
// handle, or -1.
int32_t OpenForWriting(const std::filesystem::path& device);

// Writes some of the bytes, resuming after interruptions: the count written, 0 on failure.
size_t WriteSome(int32_t handle, const uint8_t* bytes, size_t length);

void Close(int32_t handle);

}  // namespace kx::usb
