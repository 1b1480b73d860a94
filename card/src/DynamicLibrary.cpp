#include "DynamicLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kx {

#ifdef _WIN32

void* LoadLibraryForever(const std::filesystem::path& path, std::string& error) {
    HMODULE library = LoadLibraryW(path.c_str());
    if (library == nullptr) {
        error = "Windows error " + std::to_string(GetLastError());
    }
    return reinterpret_cast<void*>(library);
}

RawFunction FindLibraryFunction(void* library, const char* name) {
    return reinterpret_cast<RawFunction>(GetProcAddress(static_cast<HMODULE>(library), name));
}

#else

void* LoadLibraryForever(const std::filesystem::path& path, std::string& error) {
    // RTLD_LOCAL: three libraries export the same rf_ names, each must keep its own.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "unknown reason";
    }
    return library;
}

RawFunction FindLibraryFunction(void* library, const char* name) {
    return reinterpret_cast<RawFunction>(dlsym(library, name));
}

#endif

}  // namespace kx
