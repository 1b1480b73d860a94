#pragma once
// The statuses the simulated reader answers: 0 is success, every failure has its own value.

#include <cstdint>

namespace kx::sim {

enum SimStatus : int16_t {
    kOk = 0,
    kNoCard = 1,            // no card in the field, or it sleeps, or it left the reader
    kBadHandle = 2,         // the handle is not an open reader
    kBadArgument = 3,       // key mode, sector or block out of range, or a null pointer
    kNotSelected = 4,       // the card was not selected (request, anticollision, select)
    kNoKey = 5,             // no key loaded for this key mode and sector
    kAuthFailed = 6,        // the key does not match the sector trailer
    kNotAuthenticated = 7,  // the block's sector is not the authenticated one
    kAccessDenied = 8,      // the access bits refuse the operation with this key
    kNotValueBlock = 9,     // the block is not in value-block format
    kStorageError = 10,     // the dump could not be read or written
    kInternalError = 11,    // anything unexpected inside the library
};

}  // namespace kx::sim
