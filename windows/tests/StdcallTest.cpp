// On 32-bit Windows every export of KXPrintIF, of its transports and of the reader libraries
// must remove exactly its own arguments from the stack (__stdcall): a caller that declares them
// so would otherwise run with a corrupted stack. Measured around a real call, not assumed.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "DistFolder.h"

extern "C" uint32_t kx_callee_pops(const void* function, const uint32_t* words, uint32_t count,
                                   uint32_t* result);

namespace kx::wintest {
namespace {

uint32_t Word(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// Buffers that every call may read or write without going out of bounds.
struct Buffers {
    unsigned char in[16] = {0x61, 0x62, 0x63};
    unsigned char out[32] = {};
    unsigned char key[16] = {};
    unsigned char iv[8] = {};
    uint32_t count = 0;
    int32_t socket = -1;
    unsigned char address[16] = {};  // family 0: every connect fails at once
    int32_t wait[2] = {1, 0};
};

struct Export {
    const char* dll;                            // under dist/
    std::variant<const char*, uint16_t> which;  // name or ordinal
    std::vector<uint32_t> words;                // the documented arguments, one word each
};

std::string Describe(const Export& e) {
    if (const auto* name = std::get_if<const char*>(&e.which)) {
        return std::string(e.dll) + " " + *name;
    }
    return std::string(e.dll) + " ordinal " + std::to_string(std::get<uint16_t>(e.which));
}

// Every call is harmless with no printer open and no card on the reader; the USB printer is a
// file that does not exist.
std::vector<Export> AllExports(Buffers& b) {
    const uint32_t none = static_cast<uint32_t>(-1);
    const std::vector<uint32_t> noPrinter(6, 0);  // PrinterParam by value: mode 0, 24 bytes
    std::vector<uint32_t> socketTest = noPrinter;
    socketTest.insert(socketTest.end(), {0, 0});  // a null text does nothing
    const uint32_t in = Word(b.in), out = Word(b.out), key = Word(b.key);
    std::vector<Export> all{
        {"KXPrintIF.dll", "KXOpenPrinter", noPrinter},
        {"KXPrintIF.dll", "KXClosePrinter", {}},
        {"KXPrintIF.dll", "KXSocketPrinterTest", socketTest},
        {"KXPrintIF.dll", "KXPrinterInit", {}},
        {"KXPrintIF.dll", "KXPrinterLF", {}},
        {"KXPrintIF.dll", "KXPrinterNLine", {1}},
        {"KXPrintIF.dll", "KXPrinterAlign", {1}},
        {"KXPrintIF.dll", "KXPrinterBold", {1}},
        {"KXPrintIF.dll", "KXPrinterFontSize", {1, 1}},
        {"KXPrintIF.dll", "KXPrinterCutPaper", {1}},
        {"KXPrintIF.dll", "KXPrinterCtrMoneyBox", {0, 25, 250}},
        {"KXPrintIF.dll", "KXPrinterInfo", {in, 3}},
        {"KXPrintIF.dll", "KXReadPrinterInfo", {0, 0}},
        {"KXPrintIF.dll", "SEC_DES_Calc", {in, out, key, 1}},
        {"KXPrintIF.dll", "SEC_3DES_Calc", {in, out, key, 0}},
        {"KXPrintIF.dll", "SEC_3DES_ECB_Calc", {in, 16, out, key, 1}},
        {"KXPrintIF.dll", "SEC_3DES_CBC_Calc", {Word(b.iv), in, 16, out, key, 0}},
        {"KXPrintIF.dll", "SEC_MD5_Calcu", {in, 3, out}},
        {"KXPrintIF.dll", "SEC_Padding_With_80", {in, 3, out, Word(&b.count), 1}},
        {"KXPrintIF.dll", "SEC_Padding_With_Len", {in, 3, out, Word(&b.count), 1}},
        {"JsUsbDll.dll", uint16_t{1}, {}},
        {"JsUsbDll.dll", uint16_t{3}, {none, in, 3, Word(&b.count)}},
        {"JsUsbDll.dll", uint16_t{5}, {none}},
        {"JsPrinterDll.dll", uint16_t{14}, {}},
        {"JsPrinterDll.dll", uint16_t{15}, {Word(&b.socket), Word(b.address), Word(b.wait)}},
        {"JsPrinterDll.dll", uint16_t{16}, {Word(&b.socket), in, 3}},
        {"JsPrinterDll.dll", uint16_t{18}, {Word(&b.socket)}},
        {"JsPrinterDll.dll", uint16_t{19}, {}},
        {"LibaryDir/KXD102.dll", "qz_beep", {none, 30}},
        {"LibaryDir/KXD102.dll", "qz_exit", {none}},
        {"LibaryDir/KXD103.dll", "dc_init", {100, 0}},
        {"LibaryDir/KXD103.dll", "dc_beep", {none, 30}},
        {"LibaryDir/KXD103.dll", "dc_card", {none, 0, Word(&b.count)}},
        {"LibaryDir/KXD103.dll", "dc_load_key", {none, 0, 3, key}},
        {"LibaryDir/KXD103.dll", "dc_authentication", {none, 0, 3}},
        {"LibaryDir/KXD103.dll", "dc_read", {none, 12, out}},
        {"LibaryDir/KXD103.dll", "dc_readval", {none, 12, Word(&b.count)}},
        {"LibaryDir/KXD103.dll", "dc_decrement", {none, 12, 1}},
        {"LibaryDir/KXD103.dll", "dc_increment", {none, 12, 1}},
        {"LibaryDir/KXD103.dll", "dc_halt", {none}},
        {"LibaryDir/KXD103.dll", "dc_exit", {none}},
    };
    for (const char* rf :
         {"LibaryDir/KXD100.dll", "LibaryDir/KXD101.dll", "LibaryDir/KXD104.dll"}) {
        all.insert(all.end(), {
                                  {rf, "rf_init", {0, 9600}},
                                  {rf, "rf_beep", {none, 30}},
                                  {rf, "rf_request", {none, 1, Word(&b.count)}},
                                  {rf, "rf_anticoll", {none, 0, Word(&b.count)}},
                                  {rf, "rf_select", {none, 0, Word(&b.count)}},
                                  {rf, "rf_load_key", {none, 1, 3, key}},
                                  {rf, "rf_authentication", {none, 1, 3}},
                                  {rf, "rf_read", {none, 12, out}},
                                  {rf, "rf_readval", {none, 12, Word(&b.count)}},
                                  {rf, "rf_decrement", {none, 12, 1}},
                                  {rf, "rf_increment", {none, 12, 1}},
                                  {rf, "rf_halt", {none}},
                                  {rf, "rf_exit", {none}},
                              });
    }
    return all;
}

class Dll {
  public:
    explicit Dll(const std::filesystem::path& file)
        // The folder of the DLL first, so that KXPrintIF finds its transports beside it.
        : module_(LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
    ~Dll() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    Dll(const Dll&) = delete;
    Dll& operator=(const Dll&) = delete;

    HMODULE get() const { return module_; }

  private:
    HMODULE module_;
};

const void* Find(HMODULE module, const Export& e) {
    const char* which = std::holds_alternative<const char*>(e.which)
                            ? std::get<const char*>(e.which)
                            : MAKEINTRESOURCEA(std::get<uint16_t>(e.which));
    return reinterpret_cast<const void*>(GetProcAddress(module, which));
}

TEST(Stdcall, EveryExportRemovesExactlyItsArguments) {
    SetEnvironmentVariableA("KXPRINTIF_USB_DEVICE", "no-such-printer");
    Buffers buffers;
    for (const auto& e : AllExports(buffers)) {
        SCOPED_TRACE(Describe(e));
        const Dll dll(DistFolder() / std::filesystem::path(e.dll).make_preferred());
        ASSERT_NE(dll.get(), nullptr) << "not loaded, error " << GetLastError();
        const void* function = Find(dll.get(), e);
        ASSERT_NE(function, nullptr) << "not exported";
        uint32_t result = 0;
        const uint32_t popped = kx_callee_pops(function, e.words.data(),
                                               static_cast<uint32_t>(e.words.size()), &result);
        EXPECT_EQ(popped, 4 * e.words.size());
    }
}

// The measurement itself: a __cdecl function leaves its arguments, a __stdcall one removes them.
int __cdecl CdeclAdd(int a, int b) {
    return a + b;
}
int __stdcall StdcallAdd(int a, int b) {
    return a + b;
}

TEST(Stdcall, MeasurementTellsTheConventionsApart) {
    const uint32_t words[] = {2, 3};
    uint32_t result = 0;
    EXPECT_EQ(kx_callee_pops(reinterpret_cast<const void*>(&CdeclAdd), words, 2, &result), 0u);
    EXPECT_EQ(result, 5u);
    EXPECT_EQ(kx_callee_pops(reinterpret_cast<const void*>(&StdcallAdd), words, 2, &result), 8u);
    EXPECT_EQ(result, 5u);
}

}  // namespace
}  // namespace kx::wintest
