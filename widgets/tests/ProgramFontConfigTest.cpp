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

struct Case {
    const char* name;
    bool fileBesideProgram;
    std::optional<std::string> userChoice;  // FONTCONFIG_FILE before the call
    bool expectShipped;                     // else the user's choice or nothing stays
};

class ProgramFontConfigTest : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("kx_fontconfig_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             GetParam().name);
        fs::create_directories(folder_);
        qunsetenv("FONTCONFIG_FILE");
    }
    void TearDown() override {
        qunsetenv("FONTCONFIG_FILE");
        fs::remove_all(folder_);
    }
    fs::path folder_;
};

TEST_P(ProgramFontConfigTest, ChoosesShippedSetUpOnlyWhenPresentAndNotOverridden) {
    const Case& c = GetParam();
    const fs::path shipped = folder_ / kx::kProgramFontConfigName;
    if (c.fileBesideProgram) {
        std::ofstream(shipped) << "<fontconfig/>\n";
    }
    if (c.userChoice) {
        qputenv("FONTCONFIG_FILE", QByteArray::fromStdString(*c.userChoice));
    }

    kx::UseFontConfigIn(folder_);

    if (c.expectShipped) {
        EXPECT_EQ(qgetenv("FONTCONFIG_FILE").toStdString(), shipped.string());
    } else if (c.userChoice) {
        EXPECT_EQ(qgetenv("FONTCONFIG_FILE").toStdString(), *c.userChoice);
    } else {
        EXPECT_FALSE(qEnvironmentVariableIsSet("FONTCONFIG_FILE"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramFontConfigTest,
                         ::testing::Values(Case{"shipped", true, std::nullopt, true},
                                           Case{"userWins", true,
                                                std::string("/home/op/my-fonts.conf"), false},
                                           Case{"missingFile", false, std::nullopt, false},
                                           Case{"missingFileUserKept", false,
                                                std::string("/etc/fonts/fonts.conf"), false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFontConfig, FolderThatIsAFileNamedLikeTheSetUpIsIgnored) {
    // A folder named fonts.conf beside the program is not a set-up fontconfig could read.
    const fs::path folder =
        fs::temp_directory_path() /
        ("kx_fontconfig_folder" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(folder / kx::kProgramFontConfigName);
    qunsetenv("FONTCONFIG_FILE");
    kx::UseFontConfigIn(folder);
    EXPECT_FALSE(qEnvironmentVariableIsSet("FONTCONFIG_FILE"));
    fs::remove_all(folder);
}

}  // namespace
