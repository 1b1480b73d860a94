#include "gbk/Gbk.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>

namespace kx {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

#ifdef _WIN32
constexpr UINT kGbkCodePage = 936;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), n);
    return wide;
}

std::optional<std::string> FromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    BOOL lossy = FALSE;
    BOOL* lossyOut = codePage == CP_UTF8 ? nullptr : &lossy;
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy) {
        return std::nullopt;
    }
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// Converts one GBK character (one or two bytes) at a time so that a bad byte costs only itself.
std::optional<std::string> ConvertChunk(std::string_view chunk) {
    const auto wide = ToWide(kGbkCodePage, chunk);
    return wide ? FromWide(CP_UTF8, *wide) : std::nullopt;
}
#else
// iconv descriptors are not thread-safe; one per call keeps the functions reentrant.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; stops at the first byte it cannot take and leaves in/left there.
    void Convert(const char*& in, size_t& left, std::string& out) {
        char buffer[256];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t r = iconv(cd_, const_cast<char**>(&in), &left, &dst, &room);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                return;
            }
        }
    }

  private:
    iconv_t cd_;
};
#endif

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
#ifdef _WIN32
    size_t i = 0;
    while (i < gbk.size()) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        const size_t width = (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        const auto converted = ConvertChunk(gbk.substr(i, width));
        if (width == 2 && converted) {
            out += *converted;
            i += 2;
        } else {
            out += kReplacement;
            ++i;
        }
    }
#else
    Iconv cd("UTF-8", "GBK");
    if (!cd.ok()) {
        for (char c : gbk) {
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c)
                                                        : std::string(kReplacement);
        }
        return out;
    }
    const char* in = gbk.data();
    size_t left = gbk.size();
    while (left > 0) {
        cd.Convert(in, left, out);
        if (left > 0) {  // a byte iconv refused
            out += kReplacement;
            ++in;
            --left;
        }
    }
#endif
    return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
#ifdef _WIN32
    const auto wide = ToWide(CP_UTF8, utf8);
    return wide ? FromWide(kGbkCodePage, *wide) : std::nullopt;
#else
    Iconv cd("GBK", "UTF-8");
    if (!cd.ok()) {
        return std::nullopt;
    }
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    cd.Convert(in, left, out);
    if (left > 0) {
        return std::nullopt;
    }
    return out;
#endif
}

}  // namespace kx
