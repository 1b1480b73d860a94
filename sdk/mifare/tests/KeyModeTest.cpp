#include "mifare/KeyMode.h"

#include <gtest/gtest.h>

namespace kx::mifare {
namespace {

TEST(KeyModes, DcAndRfModesMeanTheSameKeyForTheSameCallerMode) {
    EXPECT_EQ(KeyTypeOfDcMode(0), KeyType::A);
    EXPECT_EQ(KeyTypeOfDcMode(1), KeyType::B);
    EXPECT_EQ(KeyTypeOfDcMode(2), std::nullopt);
    EXPECT_EQ(KeyTypeOfRfMode(0), std::nullopt);
    EXPECT_EQ(KeyTypeOfRfMode(1), KeyType::A);
    EXPECT_EQ(KeyTypeOfRfMode(2), KeyType::B);
}

}  // namespace
}  // namespace kx::mifare
