#pragma once
// The statuses the PC/SC KXD103 library answers: 0 is success, every failure has its own value.

#include <cstdint>

namespace kx::pcsc {

enum DcStatus : int16_t {
    kOk = 0,
    kNoReader = 1,         // no PC/SC service, no reader at that port, or the reader went away
    kNoCard = 2,           // no card on the reader, or none selected
    kCardLost = 3,         // the card left the reader (or was reset) after it was selected
    kCardRefused = 4,      // the reader or the card answered a failure status word
    kBadAnswer = 5,        // an answer of the wrong length
    kBadHandle = 6,        // the handle is not an open reader
    kBadArgument = 7,      // key mode, sector, block or port out of range, or a null pointer
    kNoKey = 8,            // no key loaded for this key mode and sector
    kNotValueBlock = 9,    // the block is not in value-block format
    kTransportError = 10,  // any other PC/SC failure
    kInternalError = 11,   // anything unexpected inside the library
};

}  // namespace kx::pcsc
