// JsUsbDll on Linux: the stand-in file named by KXPRINTIF_USB_DEVICE, and its write rules.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "printertransports/JsUsbDll.h"

namespace {

namespace fs = std::filesystem;

class JsUsbDllTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() / ("jsusb-" + std::to_string(getpid()) + ".bin");
        std::ofstream(path_) << "kept|";
        setenv("KXPRINTIF_USB_DEVICE", path_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KXPRINTIF_USB_DEVICE");
        fs::remove(path_);
    }
    std::string Contents() const {
        std::ifstream file(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    fs::path path_;
};

TEST_F(JsUsbDllTest, WritesAppendToTheNamedFile) {
    const int32_t handle = JsUsbOpen();
    ASSERT_GE(handle, 0);
    const uint8_t bytes[] = {0x1B, 0x40, 0x0A};
    uint32_t written = 99;
    EXPECT_EQ(JsUsbWrite(handle, bytes, 3, &written), 1);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(JsUsbWrite(handle, bytes, 0, &written), 1);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(JsUsbClose(handle), 0);
    EXPECT_EQ(Contents(), "kept|\x1B\x40\x0A");
}

TEST_F(JsUsbDllTest, MissingFileIsNoPrinterAndIsNotCreated) {
    const std::string missing = path_.string() + ".missing";
    setenv("KXPRINTIF_USB_DEVICE", missing.c_str(), 1);
    EXPECT_EQ(JsUsbOpen(), -1);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(JsUsbDllTest, FailedWritesReportZero) {
    const uint8_t bytes[] = {0x0A};
    uint32_t written = 99;
    EXPECT_EQ(JsUsbWrite(-1, bytes, 1, &written), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(JsUsbWrite(0, nullptr, 1, &written), 0);
    EXPECT_EQ(JsUsbWrite(0, bytes, -1, &written), 0);
    EXPECT_EQ(JsUsbWrite(0, bytes, 1, nullptr), 0);

    setenv("KXPRINTIF_USB_DEVICE", "/dev/full", 1);  // opens, but every write fails
    const int32_t handle = JsUsbOpen();
    ASSERT_GE(handle, 0);
    EXPECT_EQ(JsUsbWrite(handle, bytes, 1, &written), 0);
    EXPECT_EQ(written, 0u);
    JsUsbClose(handle);
    EXPECT_EQ(JsUsbClose(-1), 0);
}

}  // namespace
