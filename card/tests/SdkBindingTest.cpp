#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "card/ReaderDriver.h"
#include "card/ReaderSdk.h"
#include "card/SdkBinding.h"

namespace kx::test {
namespace {

namespace fs = std::filesystem;

fs::path FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

// A program folder of its own per test: the loader would hand back an already loaded library
// for a path it has seen.
class SdkBindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path standIn = FromEnvironment("KX_STAND_IN_PROGRAM");
        ASSERT_TRUE(fs::is_directory(standIn / "LibaryDir"))
            << "KX_STAND_IN_PROGRAM names no folder with LibaryDir (run through ctest): "
            << standIn;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        program_ = fs::temp_directory_path() /
                   ("kx-card-binding-" + std::to_string(::getpid()) + "-" + test->name());
        fs::remove_all(program_);
        fs::create_directories(program_);
        fs::copy(standIn / "LibaryDir", program_ / "LibaryDir", fs::copy_options::recursive);
    }
    void TearDown() override {
        ClearReaderSdk();
        fs::remove_all(program_);
    }

    // The bind's error text; empty when it bound.
    std::string BindError(ReaderOps ops) {
        try {
            BindReaderSdk(program_, ops);
        } catch (const SdkBindError& error) {
            return error.what();
        }
        return {};
    }

    fs::path program_;
};

TEST_F(SdkBindingTest, EachModelIsBoundToItsOwnLibrary) {
    ASSERT_EQ(BindError(kReadOps), "");
    for (const int id : {100, 101, 102, 103, 104}) {
        EXPECT_EQ(ReaderExit(0, "KXD" + std::to_string(id)), id);
    }
    EXPECT_EQ(ReaderInit(0, "KXD101"), 101);
    EXPECT_EQ(ReaderInit(0, "KXD103"), 103);
    uint8_t block[16];
    EXPECT_EQ(ReaderRead("KXD103", 0, 1, block), 103);
}

TEST_F(SdkBindingTest, OnlyTheFunctionsOfTheProgramsOperationsAreBound) {
    const struct {
        ReaderOps ops;
        int32_t decrement, increment, halt;
    } cases[] = {
        {kReadOps, -1, -1, -1},
        {kPayTerminalOps, 103, -1, 103},
        {kIncTerminalOps, -1, 103, 103},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(BindError(c.ops), "");
        EXPECT_EQ(ReaderDecrement("KXD103", 0, 12, 1), c.decrement);
        EXPECT_EQ(ReaderIncrement("KXD103", 0, 12, 1), c.increment);
        EXPECT_EQ(ReaderHalt("KXD103", 0), c.halt);
    }
    // Models that can only beep and close get nothing else.
    const ModelSdk& kxd100 = ReaderSdkOf(ReaderModel::KXD100);
    EXPECT_NE(kxd100.beep, nullptr);
    EXPECT_NE(kxd100.exit, nullptr);
    EXPECT_EQ(kxd100.rf_init, nullptr);
    EXPECT_EQ(kxd100.load_key, nullptr);
}

TEST_F(SdkBindingTest, MissingFunctionIsNamedWithItsLibrary) {
    fs::copy_file(FromEnvironment("KX_STAND_IN_PARTIAL_KXD103"), program_ / "LibaryDir/KXD103.so",
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(BindError(kReadOps), "");
    ClearReaderSdk();
    const std::string error = BindError(kPayTerminalOps);
    EXPECT_NE(error.find("dc_decrement"), std::string::npos) << error;
    EXPECT_NE(error.find((program_ / "LibaryDir/KXD103.so").string()), std::string::npos) << error;
    EXPECT_EQ(ReaderSdkOf(ReaderModel::KXD100).exit, nullptr) << "a failed bind installs nothing";
}

TEST_F(SdkBindingTest, MissingOrBrokenLibraryIsNamedWithTheReason) {
    const struct {
        const char* library;
        bool replaceWithText;
        const char* reason;
    } cases[] = {
        {"KXD102.so", false, "No such file"},
        {"KXD104.so", true, "too short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        const fs::path library = program_ / "LibaryDir" / c.library;
        fs::remove(library);
        if (c.replaceWithText) {
            std::ofstream(library) << "not a library\n";
        }
        const std::string error = BindError(kReadOps);
        EXPECT_NE(error.find(library.string() + "\": "), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason, error.find("\": ")), std::string::npos) << error;
        fs::copy_file(FromEnvironment("KX_STAND_IN_PROGRAM") / "LibaryDir" / c.library, library,
                      fs::copy_options::overwrite_existing);
    }
}

TEST_F(SdkBindingTest, ProgramWithoutLibraryFolderNamesTheFirstLibrary) {
    fs::remove_all(program_ / "LibaryDir");
    const std::string error = BindError(kReadOps);
    EXPECT_NE(error.find((program_ / "LibaryDir/KXD100.so").string()), std::string::npos) << error;
}

}  // namespace
}  // namespace kx::test
