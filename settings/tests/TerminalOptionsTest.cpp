#include "settings/TerminalOptions.h"

#include "settings/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct DefaultKey {
    const char* section;
    const char* key;
    const char* text;
};

// The 24 keys as the terminals spell them, with their defaults, in record order.
const DefaultKey kDefaultKeys[] = {
    {"KXV", "KXQJV", "1.0.0.0"},
    {"KXOption", "LanguageID", "CN"},
    {"KXOption", "ShopID", "9999"},
    {"KXOption", "FrontID", "1111"},
    {"KXOption", "SIPOrName", "127.0.0.1"},
    {"KXOption", "DBName", "KXQJDB"},
    {"KXOption", "DBUserName", "sa"},
    {"KXOption", "DBUserPWD", ""},
    {"KXOption", "DataServerIP", "127.0.0.1"},
    {"KXOption", "DataServerPort", "6800"},
    {"KXOption", "DataServerUser_Pass", "Tiger#908070"},
    {"PrintIF", "PrinterHostIP", "127.0.0.1"},
    {"PrintIF", "FPrinter1Name", "前后打印机"},
    {"PrintIF", "FPrinter1IP", "127.0.0.1"},
    {"PrintIF", "FPrinter1Port", "9100"},
    {"PrintIF", "BPrinter1Name", "后厨打印机"},
    {"PrintIF", "BPrinter1IP", "127.0.0.1"},
    {"PrintIF", "BPrinter1Port", "9100"},
    {"KXNetDevice", "KXDCOMM ", "0"},
    {"KXNetDevice", "KXDTypeID", "KXD101"},
    {"KXNetDevice", "ReadCardTime", "5"},
    {"KXNetDevice", "IsAutoReaderCard", "0"},
    {"KXNetDevice", "WinX", "1024"},
    {"KXNetDevice", "WinY ", "180"},
};

TQJOption DefaultOptions() {
    TQJOption o;
    o.KXQJV = "1.0.0.0";
    o.LanguageID = "CN";
    o.ShopID = "9999";
    o.FrontID = "1111";
    o.SIPOrName = "127.0.0.1";
    o.DBName = "KXQJDB";
    o.DBUserName = "sa";
    o.DataServerIP = "127.0.0.1";
    o.DataServerPort = "6800";
    o.DataServerUser_Pass = "Tiger#908070";
    o.PrinterHostIP = "127.0.0.1";
    o.FPrinter1Name = "前后打印机";
    o.FPrinter1IP = "127.0.0.1";
    o.FPrinter1Port = "9100";
    o.BPrinter1Name = "后厨打印机";
    o.BPrinter1IP = "127.0.0.1";
    o.BPrinter1Port = "9100";
    o.KXDTypeID = "KXD101";
    o.ReadCardTime = 5;
    o.WinX = 1024;
    o.WinY = 180;
    return o;
}

// A program folder whose settings file holds `contents`.
struct Installation {
    TempFolder folder;
    fs::path file = SettingsFilePath(folder.path());
    explicit Installation(std::string_view contents) { WriteBytes(file, contents); }
};

ReaderControlValues LoadAndApply(const fs::path& programFolder) {
    TQJOption option;
    LoadTerminalOptions(programFolder, option);
    ReaderControlValues controls;
    ApplyTerminalOptions(option, controls);
    return controls;
}

void ExpectControls(const ReaderControlValues& c, int port, const std::string& model, int seconds,
                    bool autoRead, const std::string& what) {
    EXPECT_EQ(c.portIndex, port) << what;
    EXPECT_EQ(c.model, model) << what;
    EXPECT_EQ(c.autoReadSeconds, seconds) << what;
    EXPECT_EQ(c.autoRead, autoRead) << what;
}

TEST(SettingsFilePath, IsDataBaseKXConFIniInTheProgramFolder) {
    EXPECT_EQ(SettingsFilePath("/opt/kx/"), fs::path("/opt/kx/DataBase/KXConF.ini"));
}

TEST(LoadTerminalOptions, WithoutAFileNothingIsReadAndNothingCreated) {
    TempFolder folder;
    TQJOption option;
    option.KXDTypeID = "held";
    option.ReadCardTime = 77;
    const TQJOption held = option;
    LoadTerminalOptions(folder.path(), option);
    EXPECT_EQ(option, held);

    ReaderControlValues controls;
    ApplyTerminalOptions(TQJOption{}, controls);
    ExpectControls(controls, 0, "KXD103", 2, false, "empty record: USB, design model, minimum");

    WriteReaderSettings(folder.path(), controls, true);
    EXPECT_EQ(folder.Listing(), "");
}

TEST(LoadTerminalOptions, EmptyFileOrMissingKeysGiveEveryDefault) {
    for (const char* contents : {"", "; nothing here\r\n[KXV]\r\n[Other]\r\nKXDCOMM=3\r\n"}) {
        Installation installation(contents);
        TQJOption option;
        option.WinX = 1;
        LoadTerminalOptions(installation.folder.path(), option);
        EXPECT_EQ(option, DefaultOptions()) << contents;
        ExpectControls(LoadAndApply(installation.folder.path()), 0, "KXD101", 5, false, contents);
    }
}

TEST(SampleSettingsFile, HoldsEveryKeyAtItsDefaultInGbkWithCrlf) {
    const IniFile sample(KX_SETTINGS_SAMPLE);
    for (const auto& k : kDefaultKeys) {
        EXPECT_EQ(sample.ReadString(k.section, k.key, "<missing>"), k.text) << k.key;
    }
    const std::string bytes = ReadBytes(KX_SETTINGS_SAMPLE);
    EXPECT_NE(bytes.find("FPrinter1Name=\xC7\xB0\xBA\xF3\xB4\xF2\xD3\xA1\xBB\xFA\r\n"),
              std::string::npos);
    for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        ASSERT_EQ(bytes[i - 1], '\r') << "line end at byte " << i;
    }

    Installation installation(bytes);
    TQJOption option;
    LoadTerminalOptions(installation.folder.path(), option);
    EXPECT_EQ(option, DefaultOptions());
}

TEST(ApplyTerminalOptions, FollowsTheWindowRules) {
    struct Case {
        const char* device;  // body of [KXNetDevice]
        int port;
        const char* model;
        int seconds;
        bool autoRead;
    };
    const Case cases[] = {
        {"KXDCOMM=0x3", 3, "KXD101", 5, false},
        {"KXDCOMM=6", 6, "KXD101", 5, false},
        {"KXDCOMM=9", -1, "KXD101", 5, false},
        {"KXDCOMM=-1", -1, "KXD101", 5, false},
        {"KXDCOMM=abc", 0, "KXD101", 5, false},
        {"ReadCardTime=abc", 0, "KXD101", 5, false},
        {"ReadCardTime=", 0, "KXD101", 5, false},
        {"ReadCardTime=1", 0, "KXD101", 2, false},
        {"ReadCardTime=45", 0, "KXD101", 30, false},
        {"ReadCardTime=-2147483648", 0, "KXD101", 2, false},
        {"ReadCardTime=17", 0, "KXD101", 17, false},
        {"KXDTypeID=", 0, "KXD103", 5, false},
        {"KXDTypeID=kxd102", 0, "KXD103", 5, false},
        {"KXDTypeID=KXD102 ", 0, "KXD102", 5, false},
        {"KXDTypeID=KXD105", 0, "KXD103", 5, false},
        {"KXDTypeID=\"KXD104\"", 0, "KXD104", 5, false},
        {"IsAutoReaderCard=2", 0, "KXD101", 5, false},
        {"IsAutoReaderCard=1", 0, "KXD101", 5, true},
        {"IsAutoReaderCard=0x1", 0, "KXD101", 5, true},
    };
    for (const auto& c : cases) {
        Installation installation(std::string("[KXNetDevice]\r\n") + c.device + "\r\n");
        ExpectControls(LoadAndApply(installation.folder.path()), c.port, c.model, c.seconds,
                       c.autoRead, c.device);
    }
}

TEST(WriteReaderSettings, HandWrittenPortIsFoundAndWrittenBackInPlace) {
    Installation installation(
        "[KXV]\r\nKXQJV=1.0.0.0\r\n\r\n[kxnetdevice]\r\nkxdcomm=2\r\nWinX=5\r\n");
    ReaderControlValues controls = LoadAndApply(installation.folder.path());
    ASSERT_EQ(controls.portIndex, 2);

    controls.portIndex = 4;
    WriteReaderSettings(installation.folder.path(), controls, false);
    EXPECT_EQ(ReadBytes(installation.file),
              "[KXV]\r\nKXQJV=1.0.0.0\r\n\r\n[kxnetdevice]\r\nkxdcomm=4\r\nWinX=5\r\n"
              "KXDTypeID=KXD101\r\n");
}

TEST(WriteReaderSettings, WritesTwoKeysOrFourInOrder) {
    struct Case {
        bool withAutoRead;
        ReaderControlValues controls;
        const char* written;
    };
    const Case cases[] = {
        {false, {-1, "", 9, true}, "KXDCOMM=-1\r\nKXDTypeID=\r\n"},
        {true,
         {3, "KXD104", 12, true},
         "KXDCOMM=3\r\nKXDTypeID=KXD104\r\nReadCardTime=12\r\nIsAutoReaderCard=1\r\n"},
        {true,
         {0, "KXD100", 2, false},
         "KXDCOMM=0\r\nKXDTypeID=KXD100\r\nReadCardTime=2\r\nIsAutoReaderCard=0\r\n"},
    };
    for (const auto& c : cases) {
        Installation installation("[KXNetDevice]\r\n\r\n[PrintIF]\r\nFPrinter1Port=9100\r\n");
        WriteReaderSettings(installation.folder.path(), c.controls, c.withAutoRead);
        EXPECT_EQ(ReadBytes(installation.file), std::string("[KXNetDevice]\r\n") + c.written +
                                                    "\r\n[PrintIF]\r\nFPrinter1Port=9100\r\n")
            << c.written;
    }
}

TEST(WriteReaderSettings, ReadOnlyFileFailsWithItsFullPathAndStaysAsItWas) {
    Installation installation("[KXNetDevice]\r\nKXDCOMM=2\r\n");
    fs::permissions(installation.file, fs::perms(0444));
    try {
        WriteReaderSettings(installation.folder.path(), ReaderControlValues{}, true);
        ADD_FAILURE() << "no error";
    } catch (const IniWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + installation.file.string() + ".");
    }
    EXPECT_EQ(ReadBytes(installation.file), "[KXNetDevice]\r\nKXDCOMM=2\r\n");
}

}  // namespace
}  // namespace kx
