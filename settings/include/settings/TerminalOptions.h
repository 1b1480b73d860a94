#pragma once
// The settings record of the terminals, read from "DataBase/KXConF.ini" beside the program, and
// the rules by which a window takes its reader settings from it and writes them back.

#include <cstdint>
#include <filesystem>
#include <string>

namespace kx {

// Text fields are UTF-8 (the file is GBK). Empty at the start: texts empty, integers zero.
struct TQJOption {
    std::string KXQJV;
    std::string LanguageID;
    std::string ShopID;
    std::string FrontID;
    std::string SIPOrName;
    std::string DBName;
    std::string DBUserName;
    std::string DBUserPWD;
    std::string DataServerIP;
    std::string DataServerPort;
    std::string DataServerUser_Pass;
    std::string PrinterHostIP;
    std::string FPrinter1Name;
    std::string FPrinter1IP;
    std::string FPrinter1Port;
    std::string BPrinter1Name;
    std::string BPrinter1IP;
    std::string BPrinter1Port;
    int32_t KXDCOMM = 0;
    std::string KXDTypeID;
    int32_t ReadCardTime = 0;
    int32_t IsAutoReaderCard = 0;
    int32_t WinX = 0;
    int32_t WinY = 0;

    bool operator==(const TQJOption&) const = default;
};

// programFolder/DataBase/KXConF.ini
std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder);

// Reads the 24 keys with their defaults; without a file the record keeps what it held.
void LoadTerminalOptions(const std::filesystem::path& programFolder, TQJOption& option);

// What a window's reader controls hold. Start values are the windows' design values.
struct ReaderControlValues {
    int portIndex = 0;             // position in "USB", "COM1".."COM6"; -1 = no selection
    std::string model = "KXD103";  // the model list's text; empty = no selection
    int autoReadSeconds = 5;       // information terminal: spin box, 2..30
    bool autoRead = false;         // information terminal: check box
};

// Applies the record to the controls by the window rules: a port outside 0..6 selects nothing,
// a model name that is not exactly one of the five keeps the list as it was, the interval is
// clamped to 2..30, and only 1 ticks auto-read.
void ApplyTerminalOptions(const TQJOption& option, ReaderControlValues& controls);

// Writes "KXDCOMM ", "KXDTypeID" and, with withAutoRead, "ReadCardTime" and "IsAutoReaderCard"
// in section "KXNetDevice", in that order. Without a file it does nothing (the file is never
// created). Throws IniWriteError ("Unable to write to <path>.") when a write fails.
void WriteReaderSettings(const std::filesystem::path& programFolder,
                         const ReaderControlValues& controls, bool withAutoRead);

}  // namespace kx
