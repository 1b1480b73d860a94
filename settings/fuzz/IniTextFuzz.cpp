// libFuzzer target: any bytes as a settings file. Lookups, integer conversion and a write must
// never crash, hang or read out of bounds, and a written key must read back as written.

#include "gbk/Gbk.h"
#include "settings/IniText.h"

#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view kSections[] = {"KXNetDevice", "KXV", " kxoption ", "\x81\x5D", ""};
constexpr std::string_view kKeys[] = {"KXDCOMM ",     "WinY ",    "KXDTypeID",
                                      "ReadCardTime", "\x81\x41", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    kx::IniText text(bytes);
    for (const auto section : kSections) {
        for (const auto key : kKeys) {
            if (const auto value = text.Find(section, key)) {
                if (value->size() > kx::kMaxProfileValueBytes) {
                    std::abort();
                }
                kx::ParseProfileInteger(*value);
            }
        }
    }
    kx::ParseProfileInteger(bytes);
    kx::GbkToUtf8(bytes);  // what a found value goes through, over every byte at once

    if (!text.Set("KXNetDevice", "KXDCOMM ", "42") || text.Find("kxnetdevice", "KXDCOMM") != "42" ||
        kx::ParseProfileInteger(*text.Find("KXNetDevice", "KXDCOMM")) != 42) {
        std::abort();
    }
    return 0;
}
