#include "settings/AtomicFile.h"

#include "settings/IniFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ReplaceFileAtomically, NewContentsWaitCompleteBesideTheFileUntilTheRename) {
    TempFolder folder;
    const fs::path file = folder.path() / "KXConF.ini";
    WriteBytes(file, "old");
    fs::permissions(file, fs::perms(0604));

    fs::path seen;
    ReplaceFileAtomically(file, "new contents", [&](const fs::path& temporary) {
        seen = temporary;
        EXPECT_EQ(temporary.parent_path(), folder.path());
        EXPECT_EQ(ReadBytes(temporary), "new contents");
        EXPECT_EQ(fs::status(temporary).permissions(), fs::perms(0604));
        EXPECT_EQ(ReadBytes(file), "old");
    });

    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(ReadBytes(file), "new contents");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0604));
    EXPECT_EQ(folder.Listing(), "KXConF.ini ");
}

TEST(ReplaceFileAtomically, WriteInterruptedBeforeTheRenameLeavesTheOldFileWhole) {
    TempFolder folder;
    const fs::path file = folder.path() / "KXConF.ini";
    WriteBytes(file, "[KXNetDevice]\r\nKXDCOMM=2\r\n");

    const auto powerCut = [](const fs::path&) { throw std::runtime_error("power cut"); };
    EXPECT_THROW(ReplaceFileAtomically(file, "[KXNetDevice]\r\nKXDCOMM=5\r\n", powerCut),
                 std::runtime_error);

    EXPECT_EQ(ReadBytes(file), "[KXNetDevice]\r\nKXDCOMM=2\r\n");
    EXPECT_EQ(folder.Listing(), "KXConF.ini ");
}

TEST(ReplaceFileAtomically, WhatCannotTakeAFileFailsWithTheWriteError) {
    TempFolder folder;
    fs::create_directory(folder.path() / "folder.ini");
    for (const fs::path& file :
         {folder.path() / "missing" / "KXConF.ini", folder.path() / "folder.ini"}) {
        EXPECT_THROW(ReplaceFileAtomically(file, "x"), IniWriteError) << file;
    }
    EXPECT_EQ(folder.Listing(), "folder.ini ");
}

}  // namespace
}  // namespace kx
