#pragma once
// The PC/SC KXD103 library loaded as the card layer loads it: by file, each dc_ function by name
// with the card layer's function type.

#include <dlfcn.h>

#include <stdexcept>
#include <string>

#include "card/ReaderSdk.h"

namespace kx::pcsc::testing {

struct Kxd103Library {
    DcInitFn init;
    BeepFn beep;
    DcCardFn card;
    LoadKeyFn load_key;
    AuthenticationFn authentication;
    ReadFn read;
    ReadValFn readval;
    ValueFn decrement;
    ValueFn increment;
    HandleFn halt;
    HandleFn exit;
};

// Loaded once for the test process; throws when the file or a function is missing.
inline const Kxd103Library& Kxd103() {
    static const Kxd103Library library = [] {
        void* handle = dlopen(KX_PCSC_KXD103_FILE, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            throw std::runtime_error(dlerror());
        }
        const auto bind = [handle]<typename Function>(Function& slot, const char* name) {
            slot = reinterpret_cast<Function>(dlsym(handle, name));
            if (!slot) {
                throw std::runtime_error(std::string("KXD103 lacks ") + name);
            }
        };
        Kxd103Library bound{};
        bind(bound.init, "dc_init");
        bind(bound.beep, "dc_beep");
        bind(bound.card, "dc_card");
        bind(bound.load_key, "dc_load_key");
        bind(bound.authentication, "dc_authentication");
        bind(bound.read, "dc_read");
        bind(bound.readval, "dc_readval");
        bind(bound.decrement, "dc_decrement");
        bind(bound.increment, "dc_increment");
        bind(bound.halt, "dc_halt");
        bind(bound.exit, "dc_exit");
        return bound;
    }();
    return library;
}

}  // namespace kx::pcsc::testing
