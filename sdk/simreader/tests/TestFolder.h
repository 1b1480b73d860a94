#pragma once
// An empty folder of its own for each test, removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kx::sim {

class TestFolder {
  public:
    TestFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::path(::testing::TempDir()) /
                (std::string("kxsim_") + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace kx::sim
