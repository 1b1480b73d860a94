#pragma once
// Runs the built kxcard as a child process, in a fresh folder of the running test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kx::test {

struct Outcome {
    int exitCode = -1;  // -1 when kxcard did not exit normally
    std::string out;
    std::string err;
};

// The whole file, empty when it cannot be read.
std::string Contents(const std::filesystem::path& path);

class KxcardProgramTest : public ::testing::Test {
  protected:
    KxcardProgramTest();
    ~KxcardProgramTest() override;

    // Runs kxcard with the arguments, each passed as one word.
    Outcome Run(const std::vector<std::string>& args) const;
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

}  // namespace kx::test
