#pragma once
// A fresh folder per test, removed afterwards even when a test took its write bits away.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace kx::testing {

class TempFolder {
  public:
    TempFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("kx-settings-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directories(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

    // Names of everything in the folder, for spotting a temporary file left behind.
    std::string Listing(const std::filesystem::path& sub = {}) const {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / sub)) {
            names += entry.path().filename().string() + " ";
        }
        return names;
    }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace kx::testing
