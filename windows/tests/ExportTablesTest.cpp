// What a Windows loader sees in the DLLs of dist/: exactly the documented exports, KXPrintIF's
// transports imported by ordinal, and nothing needed beside them but system DLLs.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DistFolder.h"
#include "PeImage.h"

namespace kx::wintest {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kReaderRf{
    "rf_init",      "rf_beep",           "rf_request", "rf_anticoll", "rf_select",
    "rf_load_key",  "rf_authentication", "rf_read",    "rf_readval",  "rf_decrement",
    "rf_increment", "rf_halt",           "rf_exit"};
const std::set<std::string> kReaderDc{"dc_init",           "dc_beep", "dc_card",    "dc_load_key",
                                      "dc_authentication", "dc_read", "dc_readval", "dc_decrement",
                                      "dc_increment",      "dc_halt", "dc_exit"};

struct ExpectedExports {
    const char* file;  // under dist/
    std::set<std::string> names;
    std::set<uint16_t> unnamedOrdinals;
};

const ExpectedExports kExpectedExports[] = {
    {"KXPrintIF.dll",
     {"KXOpenPrinter",     "KXClosePrinter",    "KXSocketPrinterTest",  "KXPrinterInit",
      "KXPrinterLF",       "KXPrinterNLine",    "KXPrinterAlign",       "KXPrinterBold",
      "KXPrinterFontSize", "KXPrinterCutPaper", "KXPrinterCtrMoneyBox", "KXPrinterInfo",
      "KXReadPrinterInfo", "SEC_DES_Calc",      "SEC_3DES_Calc",        "SEC_3DES_ECB_Calc",
      "SEC_3DES_CBC_Calc", "SEC_MD5_Calcu",     "SEC_Padding_With_80",  "SEC_Padding_With_Len"},
     {}},
    {"JsUsbDll.dll", {}, {1, 3, 5}},
    {"JsPrinterDll.dll", {}, {14, 15, 16, 18, 19}},
    {"LibaryDir/KXD100.dll", kReaderRf, {}},
    {"LibaryDir/KXD101.dll", kReaderRf, {}},
    {"LibaryDir/KXD102.dll", {"qz_beep", "qz_exit"}, {}},
    {"LibaryDir/KXD103.dll", kReaderDc, {}},
    {"LibaryDir/KXD104.dll", kReaderRf, {}},
};

TEST(ExportTables, HoldExactlyTheDocumentedNamesAndOrdinals) {
    for (const auto& expected : kExpectedExports) {
        SCOPED_TRACE(expected.file);
        const PeImage image = ReadPeImage(DistFolder() / fs::path(expected.file).make_preferred());
        EXPECT_EQ(image.is64, sizeof(void*) == 8);
        EXPECT_EQ(image.exportNames, expected.names);
        EXPECT_EQ(image.unnamedExportOrdinals, expected.unnamedOrdinals);
    }
}

TEST(ExportTables, KXPrintIFImportsItsTransportsByOrdinalOnly) {
    const PeImage image = ReadPeImage(DistFolder() / "KXPrintIF.dll");
    const std::map<std::string, std::set<uint16_t>> expected{
        {"JsUsbDll.dll", {1, 3, 5}}, {"JsPrinterDll.dll", {14, 15, 16, 18, 19}}};
    std::map<std::string, std::set<uint16_t>> transports;
    for (const auto& imports : image.imports) {
        if (expected.contains(imports.dll)) {
            EXPECT_TRUE(imports.names.empty()) << imports.dll << " imported by name";
            transports[imports.dll] = imports.ordinals;
        }
    }
    EXPECT_EQ(transports, expected);
}

// Our own DLLs that a file may import; everything else must come with Windows.
std::set<std::string> OwnDllsImportedBy(const fs::path& file) {
    if (file.filename() == "KXPrintIF.dll") {
        return {"JsUsbDll.dll", "JsPrinterDll.dll"};
    }
    return {};
}

fs::path SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return fs::path(std::wstring(folder, length));
}

TEST(ExportTables, EveryProgramAndDllNeedsOnlySystemDlls) {
    // The compiler runtime is linked in: a libstdc++-6.dll or libwinpthread-1.dll import would
    // make the program fail to start on a machine without mingw.
    const fs::path system = SystemFolder();
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(DistFolder())) {
        const auto extension = entry.path().extension();
        if (extension != ".dll" && extension != ".exe") {
            continue;
        }
        ++checked;
        const auto own = OwnDllsImportedBy(entry.path());
        for (const auto& imports : ReadPeImage(entry.path()).imports) {
            EXPECT_TRUE(own.contains(imports.dll) || fs::exists(system / imports.dll))
                << entry.path().string() << " needs " << imports.dll;
        }
    }
    EXPECT_GE(checked, 8) << "dist/ lacks the DLLs";
}

}  // namespace
}  // namespace kx::wintest
