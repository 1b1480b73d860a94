#include "KxcardProgramTest.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kx::test {

namespace {

std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

KxcardProgramTest::KxcardProgramTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps builds whose tests run at the same time out of each other's folders.
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("kxcard_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" +
               test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

KxcardProgramTest::~KxcardProgramTest() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

Outcome KxcardProgramTest::Run(const std::vector<std::string>& args) const {
    std::string command = Quote(KX_KXCARD);
    for (const std::string& arg : args) {
        command += " " + Quote(arg);
    }
    const auto out = folder_ / "stdout";
    const auto err = folder_ / "stderr";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(out), Contents(err)};
}

}  // namespace kx::test
