#pragma once
// The few operating-system calls of KXPrintIF, one implementation file per platform.

#include <cstdint>

namespace kx {

// Blocks the calling thread (Sleep on Windows).
void SleepMilliseconds(uint32_t milliseconds);

// inet_addr: the IPv4 address of dotted text in network byte order, INADDR_NONE when invalid.
uint32_t Ipv4AddressFromText(const char* text);

// htons.
uint16_t HostToNetwork16(uint16_t value);

// Discards what is pending on a USB printer handle (PurgeComm with PURGE_TXCLEAR |
// PURGE_RXCLEAR on Windows); quietly does nothing where the handle has no such queue.
void PurgePrinterPort(int32_t handle);

}  // namespace kx
