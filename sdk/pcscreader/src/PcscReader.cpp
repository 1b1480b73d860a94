#include "PcscReader.h"

#include <array>
#include <vector>

#ifndef _WIN32
#include <reader.h>  // SCARD_CTL_CODE
#endif

namespace kx::pcsc {

namespace {

// The escape control code through which ACS readers take their pseudo-APDUs without a card.
constexpr DWORD kEscapeControlCode = SCARD_CTL_CODE(3500);
constexpr DWORD kBothProtocols = SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1;
// Short APDU answer: 256 data bytes and the status word.
constexpr std::size_t kMaxAnswer = 258;

DcStatus StatusOf(LONG result) {
    switch (result) {
        case SCARD_S_SUCCESS:
            return kOk;
        case SCARD_E_NO_SMARTCARD:
            return kNoCard;
        case SCARD_W_REMOVED_CARD:
        case SCARD_W_RESET_CARD:
        case SCARD_W_UNPOWERED_CARD:
        case SCARD_W_UNRESPONSIVE_CARD:
        case SCARD_E_NOT_TRANSACTED:
            return kCardLost;
        case SCARD_E_NO_SERVICE:
        case SCARD_E_SERVICE_STOPPED:
        case SCARD_E_NO_READERS_AVAILABLE:
        case SCARD_E_READER_UNAVAILABLE:
        case SCARD_E_UNKNOWN_READER:
            return kNoReader;
        default:
            return kTransportError;
    }
}

// The reader names of a context, in the order PC/SC lists them.
LONG ListReaders(SCARDCONTEXT context, std::vector<std::string>& names) {
    DWORD length = 0;
    LONG result = SCardListReaders(context, nullptr, nullptr, &length);
    std::vector<char> buffer;
    // A reader plugged in between the two calls makes the first length too short: ask again.
    for (int attempt = 0; attempt < 3 && result == SCARD_S_SUCCESS; ++attempt) {
        buffer.assign(length, '\0');
        result = SCardListReaders(context, nullptr, buffer.data(), &length);
        if (result != SCARD_E_INSUFFICIENT_BUFFER) {
            break;
        }
        result = SCardListReaders(context, nullptr, nullptr, &length);
    }
    if (result != SCARD_S_SUCCESS) {
        return result;
    }
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
        names.emplace_back(&buffer[at]);
        at += names.back().size() + 1;
    }
    return SCARD_S_SUCCESS;
}

const SCARD_IO_REQUEST* PciOf(DWORD protocol) {
    return protocol == SCARD_PROTOCOL_T1 ? SCARD_PCI_T1 : SCARD_PCI_T0;
}

DcStatus TransmitOn(SCARDHANDLE card, DWORD protocol, std::span<const uint8_t> command,
                    Answer& answer) {
    std::array<uint8_t, kMaxAnswer> response{};
    auto length = static_cast<DWORD>(response.size());
    const LONG result =
        SCardTransmit(card, PciOf(protocol), command.data(), static_cast<DWORD>(command.size()),
                      nullptr, response.data(), &length);
    if (result != SCARD_S_SUCCESS) {
        return StatusOf(result);
    }
    return ParseResponse(std::span(response.data(), length), answer) ? kOk : kBadAnswer;
}

DcStatus ReaderStatusOf(DcStatus transport, const Answer& answer) {
    if (transport != kOk) {
        return transport;
    }
    return answer.statusWord >> 8 == 0x90 ? kOk : kCardRefused;
}

DcStatus EscapeOn(SCARDHANDLE reader, std::span<const uint8_t> command) {
    std::array<uint8_t, kMaxAnswer> response{};
    DWORD length = 0;
    const LONG result =
        SCardControl(reader, kEscapeControlCode, command.data(), static_cast<DWORD>(command.size()),
                     response.data(), static_cast<DWORD>(response.size()), &length);
    if (result != SCARD_S_SUCCESS) {
        return StatusOf(result);
    }
    Answer answer;
    return ReaderStatusOf(
        ParseResponse(std::span(response.data(), length), answer) ? kOk : kBadAnswer, answer);
}

}  // namespace

std::unique_ptr<PcscReader> PcscReader::Open(std::size_t index, DcStatus& status) {
    SCARDCONTEXT context = 0;
    LONG result = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context);
    if (result != SCARD_S_SUCCESS) {
        status = StatusOf(result);
        return nullptr;
    }
    std::vector<std::string> names;
    result = ListReaders(context, names);
    if (result != SCARD_S_SUCCESS || index >= names.size()) {
        SCardReleaseContext(context);
        status = result == SCARD_S_SUCCESS ? kNoReader : StatusOf(result);
        return nullptr;
    }
    status = kOk;
    return std::unique_ptr<PcscReader>(new PcscReader(context, std::move(names[index])));
}

PcscReader::~PcscReader() {
    if (connected_) {
        SCardDisconnect(card_, SCARD_LEAVE_CARD);
    }
    SCardReleaseContext(context_);
}

DcStatus PcscReader::CardPresence() const {
    SCARD_READERSTATE state{};
    state.szReader = name_.c_str();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    // Timeout 0: the state as it is now, never a wait for a change.
    const LONG result = SCardGetStatusChange(context_, 0, &state, 1);
    if (result != SCARD_S_SUCCESS && result != SCARD_E_TIMEOUT) {
        return StatusOf(result);
    }
    if (state.dwEventState & (SCARD_STATE_UNKNOWN | SCARD_STATE_UNAVAILABLE)) {
        return kNoReader;
    }
    const bool usable =
        (state.dwEventState & SCARD_STATE_PRESENT) && !(state.dwEventState & SCARD_STATE_MUTE);
    return usable ? kOk : kNoCard;
}

DcStatus PcscReader::ConnectCard() {
    if (connected_) {
        SCardDisconnect(card_, SCARD_LEAVE_CARD);
        connected_ = false;
    }
    if (const DcStatus presence = CardPresence(); presence != kOk) {
        return presence;
    }
    const LONG result = SCardConnect(context_, name_.c_str(), SCARD_SHARE_SHARED, kBothProtocols,
                                     &card_, &protocol_);
    if (result != SCARD_S_SUCCESS) {
        const DcStatus status = StatusOf(result);
        // Gone between the look and the connection: there is no card.
        return status == kCardLost ? kNoCard : status;
    }
    connected_ = true;
    return kOk;
}

DcStatus PcscReader::ResetCard() {
    if (!connected_) {
        return kNoCard;
    }
    connected_ = false;
    return StatusOf(SCardDisconnect(card_, SCARD_RESET_CARD));
}

DcStatus PcscReader::Transmit(std::span<const uint8_t> command, Answer& answer) {
    if (!connected_) {
        return kNoCard;
    }
    return TransmitOn(card_, protocol_, command, answer);
}

DcStatus PcscReader::SendReaderCommand(std::span<const uint8_t> command) {
    Answer answer;
    if (connected_) {
        return ReaderStatusOf(TransmitOn(card_, protocol_, command, answer), answer);
    }
    const bool cardPresent = CardPresence() == kOk;
    SCARDHANDLE handle = 0;
    DWORD protocol = 0;
    const LONG result = cardPresent ? SCardConnect(context_, name_.c_str(), SCARD_SHARE_SHARED,
                                                   kBothProtocols, &handle, &protocol)
                                    : SCardConnect(context_, name_.c_str(), SCARD_SHARE_DIRECT, 0,
                                                   &handle, &protocol);
    if (result != SCARD_S_SUCCESS) {
        return StatusOf(result);
    }
    const DcStatus status =
        cardPresent ? ReaderStatusOf(TransmitOn(handle, protocol, command, answer), answer)
                    : EscapeOn(handle, command);
    SCardDisconnect(handle, SCARD_LEAVE_CARD);
    return status;
}

}  // namespace kx::pcsc
