#include "settings/TerminalOptions.h"

#include "settings/IniFile.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <variant>

namespace kx {
namespace {

namespace fs = std::filesystem;

struct TextKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
    std::string TQJOption::*field;
};

struct IntegerKey {
    std::string_view section;
    std::string_view key;
    int32_t defaultValue;
    int32_t TQJOption::*field;
};

// In record order, which is also the order of reading. "KXDCOMM " and "WinY " end in a blank,
// as the terminals have always spelled them; the lookup ignores it.
const std::array<std::variant<TextKey, IntegerKey>, 24> kOptionKeys{{
    TextKey{"KXV", "KXQJV", "1.0.0.0", &TQJOption::KXQJV},
    TextKey{"KXOption", "LanguageID", "CN", &TQJOption::LanguageID},
    TextKey{"KXOption", "ShopID", "9999", &TQJOption::ShopID},
    TextKey{"KXOption", "FrontID", "1111", &TQJOption::FrontID},
    TextKey{"KXOption", "SIPOrName", "127.0.0.1", &TQJOption::SIPOrName},
    TextKey{"KXOption", "DBName", "KXQJDB", &TQJOption::DBName},
    TextKey{"KXOption", "DBUserName", "sa", &TQJOption::DBUserName},
    TextKey{"KXOption", "DBUserPWD", "", &TQJOption::DBUserPWD},
    TextKey{"KXOption", "DataServerIP", "127.0.0.1", &TQJOption::DataServerIP},
    TextKey{"KXOption", "DataServerPort", "6800", &TQJOption::DataServerPort},
    TextKey{"KXOption", "DataServerUser_Pass", "Tiger#908070", &TQJOption::DataServerUser_Pass},
    TextKey{"PrintIF", "PrinterHostIP", "127.0.0.1", &TQJOption::PrinterHostIP},
    TextKey{"PrintIF", "FPrinter1Name", "前后打印机", &TQJOption::FPrinter1Name},
    TextKey{"PrintIF", "FPrinter1IP", "127.0.0.1", &TQJOption::FPrinter1IP},
    TextKey{"PrintIF", "FPrinter1Port", "9100", &TQJOption::FPrinter1Port},
    TextKey{"PrintIF", "BPrinter1Name", "后厨打印机", &TQJOption::BPrinter1Name},
    TextKey{"PrintIF", "BPrinter1IP", "127.0.0.1", &TQJOption::BPrinter1IP},
    TextKey{"PrintIF", "BPrinter1Port", "9100", &TQJOption::BPrinter1Port},
    IntegerKey{"KXNetDevice", "KXDCOMM ", 0, &TQJOption::KXDCOMM},
    TextKey{"KXNetDevice", "KXDTypeID", "KXD101", &TQJOption::KXDTypeID},
    IntegerKey{"KXNetDevice", "ReadCardTime", 5, &TQJOption::ReadCardTime},
    IntegerKey{"KXNetDevice", "IsAutoReaderCard", 0, &TQJOption::IsAutoReaderCard},
    IntegerKey{"KXNetDevice", "WinX", 1024, &TQJOption::WinX},
    IntegerKey{"KXNetDevice", "WinY ", 180, &TQJOption::WinY},
}};

constexpr std::string_view kReaderSection = "KXNetDevice";

// The model list's items, compared with letter case significant.
constexpr std::array<std::string_view, 5> kModelNames{"KXD100", "KXD101", "KXD102", "KXD103",
                                                      "KXD104"};
constexpr int kPortCount = 7;  // "USB", "COM1".."COM6"
constexpr int kMinAutoReadSeconds = 2;
constexpr int kMaxAutoReadSeconds = 30;

bool FileExists(const fs::path& file) {
    std::error_code error;
    return fs::exists(file, error);
}

}  // namespace

fs::path SettingsFilePath(const fs::path& programFolder) {
    return programFolder / "DataBase" / "KXConF.ini";
}

void LoadTerminalOptions(const fs::path& programFolder, TQJOption& option) {
    const fs::path file = SettingsFilePath(programFolder);
    if (!FileExists(file)) {
        return;
    }
    const IniValues ini = IniFile(file).Read();
    for (const auto& entry : kOptionKeys) {
        std::visit(
            [&](const auto& k) {
                using Key = std::decay_t<decltype(k)>;
                if constexpr (std::is_same_v<Key, TextKey>) {
                    option.*k.field = ini.ReadString(k.section, k.key, k.defaultValue);
                } else {
                    option.*k.field = ini.ReadInteger(k.section, k.key, k.defaultValue);
                }
            },
            entry);
    }
}

void ApplyTerminalOptions(const TQJOption& option, ReaderControlValues& controls) {
    controls.portIndex = option.KXDCOMM >= 0 && option.KXDCOMM < kPortCount ? option.KXDCOMM : -1;
    if (std::find(kModelNames.begin(), kModelNames.end(), option.KXDTypeID) != kModelNames.end()) {
        controls.model = option.KXDTypeID;
    }
    controls.autoReadSeconds =
        std::clamp<int>(option.ReadCardTime, kMinAutoReadSeconds, kMaxAutoReadSeconds);
    controls.autoRead = option.IsAutoReaderCard == 1;
}

void WriteReaderSettings(const fs::path& programFolder, const ReaderControlValues& controls,
                         bool withAutoRead) {
    const fs::path file = SettingsFilePath(programFolder);
    if (!FileExists(file)) {
        return;
    }
    IniFile ini(file);
    ini.WriteInteger(kReaderSection, "KXDCOMM ", controls.portIndex);
    ini.WriteString(kReaderSection, "KXDTypeID", controls.model);
    if (withAutoRead) {
        ini.WriteInteger(kReaderSection, "ReadCardTime", controls.autoReadSeconds);
        ini.WriteInteger(kReaderSection, "IsAutoReaderCard", controls.autoRead ? 1 : 0);
    }
}

}  // namespace kx
