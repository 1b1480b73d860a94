#pragma once
// One reader opened over PC/SC (pcsc-lite, or WinSCard on Windows): its context, its name and the
// connection to the card on it. No call waits for a card: absent readers and cards fail at once.

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#ifdef _WIN32
#ifdef UNICODE
#error "Reader names are narrow strings here: build without UNICODE."
#endif
#include <windows.h>
#endif
#include <winscard.h>

#include "pcscreader/DcStatus.h"
#include "pcscreader/MifareSession.h"

namespace kx::pcsc {

class PcscReader final : public CardChannel {
  public:
    // The reader at this position of the PC/SC reader list, counting from 0.
    static std::unique_ptr<PcscReader> Open(std::size_t index, DcStatus& status);
    ~PcscReader() override;
    PcscReader(const PcscReader&) = delete;
    PcscReader& operator=(const PcscReader&) = delete;

    // Connects to the card on the reader now, dropping an earlier connection.
    DcStatus ConnectCard();
    // Ends the card connection with a reset, which puts the card back to sleep.
    DcStatus ResetCard();
    DcStatus Transmit(std::span<const uint8_t> command, Answer& answer) override;
    // A command for the reader itself (its buzzer): over the card connection, a short one when a
    // card lies there, or else the reader's escape channel. Only the status byte 90 is success.
    DcStatus SendReaderCommand(std::span<const uint8_t> command);

  private:
    PcscReader(SCARDCONTEXT context, std::string name)
        : context_(context), name_(std::move(name)) {}
    DcStatus CardPresence() const;

    SCARDCONTEXT context_;
    std::string name_;
    SCARDHANDLE card_ = 0;
    DWORD protocol_ = 0;
    bool connected_ = false;
};

}  // namespace kx::pcsc
