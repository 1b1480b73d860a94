#pragma once
// The socket calls of JsPrinterDll, one implementation file per platform (BSD sockets, Winsock).

#include <cstddef>
#include <cstdint>

namespace kx::sockets {

// Starts and releases the platform's socket layer (WSAStartup and WSACleanup on Windows).
bool Startup();
void Cleanup();

// A TCP socket connected to a sockaddr_in within the given time, with TCP_NODELAY and back in
// blocking mode; -1 when the connect failed or did not finish in time.
int32_t ConnectWithin(const void* address, int32_t seconds, int32_t microseconds);

// Sends every byte, resuming after partial sends and interruptions; false on failure.
bool SendAll(int32_t socket, const uint8_t* bytes, size_t length);

void Close(int32_t socket);

}  // namespace kx::sockets
