#include "settings/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kx {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Comments, odd letter case, blanks, quotes, an unknown section, GBK text, CRLF, and a last line
// without a line end, as an installer or a technician leaves such a file.
const std::string kHandWritten =
    "; Settings of the counter terminals\r\n"
    "; edited by hand\r\n"
    "[kxv]\r\n"
    "kxqjv = \"2.1.0.3\"\r\n"
    "\r\n"
    "[Custom]\r\n"
    "Colour=blue\r\n"
    "\r\n"
    "[kxNetDevice]\r\n"
    "  kxdcomm = 2 \r\n"
    "# the model below\r\n"
    "KXDTypeId='KXD100'\r\n"
    "WinX=0x400\r\n"
    "\r\n"
    "[PrintIF]\r\n"
    "FPrinter1Name=\xC7\xB0\xCC\xA8\xB4\xF2\xD3\xA1\xBB\xFA\r\n"  // 前台打印机
    "BPrinter1Port=9100";

TEST(IniFile, HandWrittenFileKeepsEveryByteButTheChangedLines) {
    TempFolder folder;
    const fs::path file = folder.path() / "KXConF.ini";
    WriteBytes(file, kHandWritten);
    IniFile ini(file);

    EXPECT_EQ(ini.ReadString("KXV", "KXQJV", "-"), "2.1.0.3");
    EXPECT_EQ(ini.ReadString("PrintIF", "FPrinter1Name", "-"), "前台打印机");
    EXPECT_EQ(ini.ReadInteger("KXNetDevice", "KXDCOMM ", -1), 2);
    EXPECT_EQ(ini.ReadInteger("KXNetDevice", "WinX", -1), 1024);

    ini.WriteInteger("KXNetDevice", "KXDCOMM ", 4);
    ini.WriteString("KXNetDevice", "KXDTypeID", "KXD103");
    ini.WriteInteger("KXNetDevice", "ReadCardTime", 10);
    ini.WriteString("PrintIF", "BPrinter1Port", "9101");

    std::string expected = kHandWritten;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        expected.replace(expected.find(from), from.size(), to);
    };
    replace("  kxdcomm = 2 \r\n", "kxdcomm=4\r\n");
    replace("KXDTypeId='KXD100'\r\n", "KXDTypeId=KXD103\r\n");
    replace("WinX=0x400\r\n", "WinX=0x400\r\nReadCardTime=10\r\n");
    replace("BPrinter1Port=9100", "BPrinter1Port=9101");
    EXPECT_EQ(ReadBytes(file), expected);
}

TEST(IniFile, TextIsUtf8InTheProgramAndGbkOnDisk) {
    TempFolder folder;
    const fs::path file = folder.path() / "KXConF.ini";
    WriteBytes(file, "[PrintIF]\r\n");
    IniFile ini(file);

    ini.WriteString("PrintIF", "BPrinter1Name", "后厨打印机");
    EXPECT_EQ(ReadBytes(file),
              "[PrintIF]\r\nBPrinter1Name=\xBA\xF3\xB3\xF8\xB4\xF2\xD3\xA1\xBB\xFA\r\n");
    EXPECT_EQ(ini.ReadString("PrintIF", "BPrinter1Name", ""), "后厨打印机");

    // A character GBK lacks can't be stored: the write fails and the file stays.
    EXPECT_THROW(ini.WriteString("PrintIF", "BPrinter1Name", "\xF0\x9F\x98\x80"), IniWriteError);
    EXPECT_THROW(ini.WriteString("PrintIF", "line\nbreak", "1"), IniWriteError);
    EXPECT_EQ(ini.ReadString("PrintIF", "BPrinter1Name", ""), "后厨打印机");
}

TEST(IniFile, MissingFileReadsDefaultsAndIsNotCreatedByReading) {
    TempFolder folder;
    const IniFile ini(folder.path() / "KXConF.ini");
    EXPECT_EQ(ini.ReadString("KXNetDevice", "KXDTypeID", "KXD101"), "KXD101");
    EXPECT_EQ(ini.ReadInteger("KXNetDevice", "ReadCardTime", 5), 5);
    EXPECT_EQ(folder.Listing(), "");
}

TEST(IniFile, EmptyAndUnconvertibleIntegersGiveTheDefault) {
    TempFolder folder;
    const fs::path file = folder.path() / "KXConF.ini";
    WriteBytes(file, "[S]\nempty=\nword=abc\nbig=4294967296\nhex=0x3\nquoted=\"-12\"\n");
    const IniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "word", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 5), 3);
    EXPECT_EQ(ini.ReadInteger("S", "quoted", 5), -12);
    EXPECT_EQ(ini.ReadString("S", "empty", "x"), "");
}

TEST(IniFile, WritingAMissingFileCreatesIt) {
    TempFolder folder;
    const fs::path file = folder.path() / "new.ini";
    IniFile(file).WriteInteger("S", "k", 1);
    EXPECT_EQ(ReadBytes(file), "[S]\r\nk=1\r\n");
}

TEST(IniFile, ReadOnlyFileOrFolderFailsEvenForRootAndChangesNothing) {
    struct Case {
        const char* what;
        fs::perms file;
        fs::perms folder;
    };
    const Case cases[] = {
        {"file without write bits", fs::perms(0444), fs::perms(0755)},
        {"file with only execute bits", fs::perms(0111), fs::perms(0755)},
        {"folder without write bits", fs::perms(0644), fs::perms(0555)},
    };
    for (const auto& c : cases) {
        TempFolder root;
        const fs::path folder = root.path() / "DataBase";
        const fs::path file = folder / "KXConF.ini";
        WriteBytes(file, "[KXNetDevice]\r\nKXDCOMM=2\r\n");
        fs::permissions(file, c.file);
        fs::permissions(folder, c.folder);

        try {
            IniFile(file).WriteInteger("KXNetDevice", "KXDCOMM ", 3);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const IniWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + file.string() + ".") << c.what;
        }
        fs::permissions(file, fs::perms(0644));
        EXPECT_EQ(ReadBytes(file), "[KXNetDevice]\r\nKXDCOMM=2\r\n") << c.what;
        EXPECT_EQ(root.Listing("DataBase"), "KXConF.ini ") << c.what;
    }
}

TEST(IniFile, ErrorNamesTheFullPathOfARelativeFile) {
    TempFolder folder;
    WriteBytes(folder.path() / "DataBase" / "KXConF.ini", "");
    fs::permissions(folder.path() / "DataBase" / "KXConF.ini", fs::perms(0444));
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    std::string message;
    try {
        IniFile("DataBase/KXConF.ini").WriteInteger("S", "k", 1);
    } catch (const IniWriteError& e) {
        message = e.what();
    }
    fs::current_path(before);
    EXPECT_EQ(message,
              "Unable to write to " + (folder.path() / "DataBase/KXConF.ini").string() + ".");
}

TEST(IniFile, WriteKeepsPermissionBitsAndSymbolicLinks) {
    TempFolder folder;
    const fs::path real = folder.path() / "real.ini";
    const fs::path link = folder.path() / "KXConF.ini";
    WriteBytes(real, "[S]\nk=1\n");
    fs::permissions(real, fs::perms(0640));
    fs::create_symlink(real, link);

    IniFile(link).WriteInteger("S", "k", 2);

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
}

}  // namespace
}  // namespace kx
