#include "PcscTest.h"

#include <winscard.h>

namespace kx::pcsc::testing {

void PcscTest::SetUpTestSuite() {
    daemon_ = std::make_unique<PrivatePcscd>();
    state_ = daemon_->Start(reason_);
}

void PcscTest::TearDownTestSuite() {
    daemon_.reset();
}

void PcscTest::SetUp() {
    if (state_ == PrivatePcscd::State::Unavailable) {
        GTEST_SKIP() << kUnavailableMark << reason_;
    }
    ASSERT_EQ(state_, PrivatePcscd::State::Running) << reason_;
}

void PcscTest::TearDown() {
    // The next test starts with both readers empty as pcscd sees them.
    if (state_ == PrivatePcscd::State::Running) {
        for (int slot = 0; slot < 2; ++slot) {
            EXPECT_TRUE(WaitUntilEmpty(slot));
        }
    }
}

::testing::AssertionResult PcscTest::Present(VpcdCard& card, int slot) {
    // pcscd notices a card that left only at its next poll: until then it would pass for this one.
    if (::testing::AssertionResult empty = WaitForCard(slot, false); !empty) {
        return empty;
    }
    if (const std::string failure = card.Present(slot); !failure.empty()) {
        return ::testing::AssertionFailure() << failure;
    }
    return WaitForCard(slot, true);
}

::testing::AssertionResult PcscTest::WaitUntilEmpty(int slot) {
    return WaitForCard(slot, false);
}

void PcscTest::StopDaemon() {
    daemon_->Stop();
}

::testing::AssertionResult PcscTest::RestartDaemon() {
    state_ = daemon_->Start(reason_);
    if (state_ != PrivatePcscd::State::Running) {
        return ::testing::AssertionFailure() << reason_;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PcscTest::WaitForCard(int slot, bool present) {
    SCARDCONTEXT context = 0;
    if (const LONG result = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
        result != SCARD_S_SUCCESS) {
        return ::testing::AssertionFailure() << "SCardEstablishContext: " << result;
    }
    SCARD_READERSTATE state{};
    state.szReader = kVpcdReaderNames[slot];
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    LONG result = SCARD_S_SUCCESS;
    bool reached = false;
    // Each wait returns on a change; a card is seen within about half a second.
    for (int changes = 0; changes < 10 && result == SCARD_S_SUCCESS && !reached; ++changes) {
        result = SCardGetStatusChange(context, 5000, &state, 1);
        const bool cardThere = (state.dwEventState & SCARD_STATE_PRESENT) && state.cbAtr > 0;
        const bool empty = (state.dwEventState & SCARD_STATE_EMPTY) != 0;
        reached = present ? cardThere : empty;
        state.dwCurrentState = state.dwEventState & ~SCARD_STATE_CHANGED;
    }
    SCardReleaseContext(context);
    if (!reached) {
        return ::testing::AssertionFailure()
               << kVpcdReaderNames[slot] << (present ? " saw no card" : " still sees a card")
               << " (SCardGetStatusChange " << result << ")";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kx::pcsc::testing
