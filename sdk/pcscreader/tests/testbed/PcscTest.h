#pragma once
// Base fixture of the tests that need the private pcscd: the daemon runs for the whole suite, and
// every test is skipped, with the reason, where it cannot run.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PrivatePcscd.h"
#include "VpcdCard.h"

namespace kx::pcsc::testing {

// ctest matches this text to report the tests as skipped.
inline constexpr const char* kUnavailableMark = "pcsc fixture unavailable: ";

class PcscTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static bool DaemonRunning() { return state_ == PrivatePcscd::State::Running; }
    // Puts the card on the reader slot and waits until pcscd has seen it.
    static ::testing::AssertionResult Present(VpcdCard& card, int slot = 0);
    // Waits until pcscd sees no card on the slot (after TakeAway or a scripted removal).
    static ::testing::AssertionResult WaitUntilEmpty(int slot = 0);
    // Stops the daemon as if the reader went away, and brings it back.
    static void StopDaemon();
    static ::testing::AssertionResult RestartDaemon();

  private:
    static ::testing::AssertionResult WaitForCard(int slot, bool present);

    static inline std::unique_ptr<PrivatePcscd> daemon_;
    static inline PrivatePcscd::State state_ = PrivatePcscd::State::Failed;
    static inline std::string reason_;
};

}  // namespace kx::pcsc::testing
