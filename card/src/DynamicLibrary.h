#pragma once
// Loading a shared library and finding its functions, on POSIX and Windows alike.

#include <filesystem>
#include <string>

namespace kx {

// Any function; the caller casts it to the real type it knows.
using RawFunction = void (*)();

// Loads the library for the life of the process (it is never unloaded). Returns nullptr and
// sets error to the system's reason when it cannot be loaded.
void* LoadLibraryForever(const std::filesystem::path& path, std::string& error);

// nullptr when the library has no such function.
RawFunction FindLibraryFunction(void* library, const char* name);

}  // namespace kx
