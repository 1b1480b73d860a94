#include "simreader/SimReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "TestFolder.h"
#include "mifare/ValueBlock.h"
#include "simreader/DumpFile.h"

namespace kx::sim {
namespace {

constexpr Key kTransportKey{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

CardBytes TransportCard(uint32_t serial, int32_t balance) {
    CardBytes bytes{};
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(serial >> (8 * i));
    }
    for (int sector = 0; sector < kSectorCount; ++sector) {
        const int trailer = TrailerOfSector(sector) * kBlockSize;
        std::fill_n(bytes.begin() + trailer, 6, 0xFF);
        bytes[trailer + 6] = 0xFF;
        bytes[trailer + 7] = 0x07;
        bytes[trailer + 8] = 0x80;
        bytes[trailer + 9] = 0x69;
        std::fill_n(bytes.begin() + trailer + 10, 6, 0xFF);
    }
    const Block value = mifare::EncodeValueBlock({balance, 12});
    std::copy(value.begin(), value.end(), bytes.begin() + 12 * kBlockSize);
    return bytes;
}

class SimReaderTest : public ::testing::Test {
  protected:
    SimReaderTest() : reader_(ReaderFolder(folder_.Path() / "SimReader")) {}

    std::filesystem::path WriteCard(const std::string& name, uint32_t serial, int32_t balance) {
        const auto path = folder_.Path() / name;
        EXPECT_TRUE(WriteFileAtomically(path, TransportCard(serial, balance)));
        return path;
    }

    std::filesystem::path PlaceCard(uint32_t serial = 0x1A2B3C4D, int32_t balance = 1000) {
        const auto path = WriteCard("card.mfd", serial, balance);
        reader_.Folder().PlaceCard(path);
        return path;
    }

    // Selects the card and opens sector 3 with the transport key A.
    SimStatus OpenSector3(int32_t handle) {
        uint32_t serial = 0;
        SimStatus status = reader_.SelectCard(handle, serial);
        if (status == kOk) {
            status = reader_.LoadKey(handle, KeyType::A, 3, kTransportKey);
        }
        return status == kOk ? reader_.Authenticate(handle, KeyType::A, 3) : status;
    }

    int32_t BalanceOnDisk(const std::filesystem::path& dump) {
        const auto bytes = ReadDump(dump);
        return mifare::DecodeValueBlock(std::span<const uint8_t, kBlockSize>(
                                            bytes->data() + 12 * kBlockSize, kBlockSize))
            ->value;
    }

    TestFolder folder_;
    SimReader reader_;
};

TEST_F(SimReaderTest, HandlesCountFromOneAndCloseOnce) {
    const int32_t first = reader_.Open();
    const int32_t second = reader_.Open();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(reader_.Close(first), kOk);
    EXPECT_EQ(reader_.Close(first), kBadHandle);
    EXPECT_EQ(reader_.Beep(first), kBadHandle);
    EXPECT_EQ(reader_.Open(), 1);
}

TEST_F(SimReaderTest, NoCardMeansNoSelection) {
    const int32_t handle = reader_.Open();
    uint32_t serial = 7;
    EXPECT_EQ(reader_.SelectCard(handle, serial), kNoCard);
    EXPECT_EQ(serial, 7u);

    // A placed dump that is gone or not 1024 bytes answers no more than an empty field.
    reader_.Folder().PlaceCard(folder_.Path() / "missing.mfd");
    EXPECT_EQ(reader_.SelectCard(handle, serial), kNoCard);
    std::ofstream(folder_.Path() / "short.mfd") << "short";
    reader_.Folder().PlaceCard(folder_.Path() / "short.mfd");
    EXPECT_EQ(reader_.SelectCard(handle, serial), kNoCard);
}

TEST_F(SimReaderTest, ThreeStepSelectionNeedsTheRightSerial) {
    PlaceCard(0x1A2B3C4D);
    const int32_t handle = reader_.Open();
    uint32_t serial = 0;
    EXPECT_EQ(reader_.Anticollision(handle, serial), kNotSelected);
    ASSERT_EQ(reader_.Request(handle), kOk);
    ASSERT_EQ(reader_.Anticollision(handle, serial), kOk);
    EXPECT_EQ(serial, 0x1A2B3C4Du);
    EXPECT_EQ(reader_.Select(handle, serial + 1), kNoCard);
    EXPECT_EQ(reader_.Select(handle, serial), kOk);
}

TEST_F(SimReaderTest, AuthenticationNeedsALoadedKeyAndAFreshSelectionAfterFailing) {
    PlaceCard();
    const int32_t handle = reader_.Open();
    uint32_t serial = 0;
    EXPECT_EQ(reader_.Authenticate(handle, KeyType::A, 3), kNotSelected);
    ASSERT_EQ(reader_.SelectCard(handle, serial), kOk);
    EXPECT_EQ(reader_.Authenticate(handle, KeyType::A, 3), kNoKey);
    EXPECT_EQ(reader_.LoadKey(handle, std::nullopt, 3, kTransportKey), kBadArgument);
    ASSERT_EQ(reader_.LoadKey(handle, KeyType::A, 3, Key{1, 2, 3, 4, 5, 6}), kOk);
    EXPECT_EQ(reader_.Authenticate(handle, KeyType::A, 3), kAuthFailed);

    ASSERT_EQ(reader_.LoadKey(handle, KeyType::A, 3, kTransportKey), kOk);
    EXPECT_EQ(reader_.Authenticate(handle, KeyType::A, 3), kNotSelected);
    ASSERT_EQ(reader_.SelectCard(handle, serial), kOk);
    EXPECT_EQ(reader_.Authenticate(handle, KeyType::A, 3), kOk);
}

TEST_F(SimReaderTest, ValueChangesReachTheDumpAtOnce) {
    const auto dump = PlaceCard(0x1A2B3C4D, 1000);
    const int32_t handle = reader_.Open();
    ASSERT_EQ(OpenSector3(handle), kOk);
    ASSERT_EQ(reader_.Decrement(handle, 12, 1250), kOk);
    EXPECT_EQ(BalanceOnDisk(dump), -250);
    ASSERT_EQ(reader_.Increment(handle, 12, 300), kOk);
    EXPECT_EQ(BalanceOnDisk(dump), 50);
    uint32_t value = 0;
    ASSERT_EQ(reader_.ReadValue(handle, 12, value), kOk);
    EXPECT_EQ(value, 50u);
    EXPECT_FALSE(std::filesystem::exists(dump.string() + ".tmp"));
}

TEST_F(SimReaderTest, ADumpThatCannotBeWrittenLeavesTheCardAsItWas) {
    const auto dump = PlaceCard(0x1A2B3C4D, 1000);
    const int32_t handle = reader_.Open();
    ASSERT_EQ(OpenSector3(handle), kOk);
    std::filesystem::create_directory(dump.string() + ".tmp");  // the temporary file is blocked
    EXPECT_EQ(reader_.Decrement(handle, 12, 10), kStorageError);
    EXPECT_EQ(BalanceOnDisk(dump), 1000);
    uint32_t value = 0;
    ASSERT_EQ(reader_.ReadValue(handle, 12, value), kOk);
    EXPECT_EQ(value, 1000u);
}

TEST_F(SimReaderTest, HaltedCardSleepsUntilPlacedAgainOrTheReaderCloses) {
    const auto dump = PlaceCard();
    int32_t handle = reader_.Open();
    uint32_t serial = 0;
    EXPECT_EQ(reader_.Halt(handle), kNotSelected);
    ASSERT_EQ(reader_.SelectCard(handle, serial), kOk);
    ASSERT_EQ(reader_.Halt(handle), kOk);
    EXPECT_EQ(reader_.SelectCard(handle, serial), kNoCard);
    EXPECT_EQ(reader_.SelectCard(handle, serial), kNoCard);

    reader_.Folder().PlaceCard(dump);  // presented again
    ASSERT_EQ(reader_.SelectCard(handle, serial), kOk);
    ASSERT_EQ(reader_.Halt(handle), kOk);

    ASSERT_EQ(reader_.Close(handle), kOk);  // the field goes off, the card wakes idle
    handle = reader_.Open();
    EXPECT_EQ(reader_.SelectCard(handle, serial), kOk);
}

TEST_F(SimReaderTest, ACardThatLeavesAnswersNothingMore) {
    const auto dump = PlaceCard(0x1A2B3C4D, 1000);
    const int32_t handle = reader_.Open();
    ASSERT_EQ(OpenSector3(handle), kOk);
    ASSERT_TRUE(reader_.Folder().RemoveCard());
    EXPECT_FALSE(reader_.Folder().RemoveCard());
    EXPECT_EQ(reader_.Decrement(handle, 12, 10), kNoCard);
    EXPECT_EQ(BalanceOnDisk(dump), 1000);

    // Placing it again is a new presentation: it must be selected and authenticated anew.
    reader_.Folder().PlaceCard(dump);
    EXPECT_EQ(reader_.Decrement(handle, 12, 10), kNotSelected);
    ASSERT_EQ(OpenSector3(handle), kOk);
    EXPECT_EQ(reader_.Decrement(handle, 12, 10), kOk);
    EXPECT_EQ(BalanceOnDisk(dump), 990);
}

TEST_F(SimReaderTest, ReadsWhatTheDumpHoldsNow) {
    const auto dump = PlaceCard(0x1A2B3C4D, 1000);
    const int32_t handle = reader_.Open();
    ASSERT_EQ(OpenSector3(handle), kOk);
    ASSERT_TRUE(WriteFileAtomically(dump, TransportCard(0x1A2B3C4D, 77)));
    uint32_t value = 0;
    ASSERT_EQ(reader_.ReadValue(handle, 12, value), kOk);
    EXPECT_EQ(value, 77u);
}

}  // namespace
}  // namespace kx::sim
