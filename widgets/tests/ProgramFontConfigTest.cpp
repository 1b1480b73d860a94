#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "widgets/ProgramFontConfig.h"

namespace {

namespace fs = std::filesystem;

const char* const kValidSetUp =
    "<?xml version=\"1.0\"?>\n<fontconfig><dir>/nonexistent</dir></fontconfig>\n";

struct Case {
    const char* name;
    std::optional<std::string> besideProgram;  // content of fonts.conf, if there is one
    const char* userVariable;                  // FONTCONFIG_FILE or FONTCONFIG_PATH
    std::optional<std::string> userChoice;     // its value before the call
    bool expectShipped;                        // else the user's choice or nothing stays
};

bool CurrentSetUpRead(const fs::path& file) {
    FcStrList* files = FcConfigGetConfigFiles(nullptr);
    bool found = false;
    while (const FcChar8* name = FcStrListNext(files)) {
        found = found || file == reinterpret_cast<const char*>(name);
    }
    FcStrListDone(files);
    return found;
}

class ProgramFontConfigTest : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / (std::string("kx_fontconfig_") + GetParam().name +
                                               std::to_string(QCoreApplication::applicationPid()));
        fs::create_directories(folder_);
        qunsetenv("FONTCONFIG_FILE");
        qunsetenv("FONTCONFIG_PATH");
    }
    void TearDown() override {
        qunsetenv("FONTCONFIG_FILE");
        qunsetenv("FONTCONFIG_PATH");
        fs::remove_all(folder_);
    }
    fs::path folder_;
};

TEST_P(ProgramFontConfigTest, ShippedSetUpOnlyWhenReadableAndNotOverridden) {
    const Case& c = GetParam();
    const fs::path shipped = folder_ / kx::kProgramFontConfigName;
    if (c.besideProgram) {
        std::ofstream(shipped) << *c.besideProgram;
    }
    if (c.userChoice) {
        qputenv(c.userVariable, QByteArray::fromStdString(*c.userChoice));
    }

    EXPECT_EQ(kx::UseFontConfigIn(folder_), c.expectShipped);

    if (c.expectShipped) {
        EXPECT_EQ(qgetenv("FONTCONFIG_FILE").toStdString(), shipped.string());
        EXPECT_TRUE(CurrentSetUpRead(shipped));
    } else if (c.userChoice) {
        EXPECT_EQ(qgetenv(c.userVariable).toStdString(), *c.userChoice);
    } else {
        EXPECT_FALSE(qEnvironmentVariableIsSet("FONTCONFIG_FILE"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramFontConfigTest,
    ::testing::Values(
        Case{"shipped", kValidSetUp, "FONTCONFIG_FILE", std::nullopt, true},
        Case{"userFileWins", kValidSetUp, "FONTCONFIG_FILE", "/home/op/my-fonts.conf", false},
        Case{"userPathWins", kValidSetUp, "FONTCONFIG_PATH", "/home/op/fontconfig", false},
        Case{"missingFile", std::nullopt, "FONTCONFIG_FILE", std::nullopt, false},
        Case{"missingFileUserKept", std::nullopt, "FONTCONFIG_FILE", "/etc/fonts/fonts.conf",
             false},
        Case{"brokenFile", "<fontconfig><dir>", "FONTCONFIG_FILE", std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFontConfig, FolderNamedLikeTheSetUpIsIgnored) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("kx_fontconfig_folder" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(folder / kx::kProgramFontConfigName);
    qunsetenv("FONTCONFIG_FILE");
    EXPECT_FALSE(kx::UseFontConfigIn(folder));
    EXPECT_FALSE(qEnvironmentVariableIsSet("FONTCONFIG_FILE"));
    fs::remove_all(folder);
}

}  // namespace
