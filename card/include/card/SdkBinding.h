#pragma once
// Binds the reader SDK libraries "LibaryDir/KXD100.so" ... "KXD104.so" ("LibaryDir\KXD100.dll" on
// Windows) beside a program, only the functions of the operations that program uses.

#include <filesystem>
#include <stdexcept>

namespace kx {

enum ReaderOp : unsigned {
    opInit = 1u << 0,
    opBeep = 1u << 1,
    opCard = 1u << 2,
    opLoadKey = 1u << 3,
    opAuthentication = 1u << 4,
    opRead = 1u << 5,
    opReadVal = 1u << 6,
    opDecrement = 1u << 7,
    opIncrement = 1u << 8,
    opHalt = 1u << 9,
    opExit = 1u << 10,
};
using ReaderOps = unsigned;

inline constexpr ReaderOps kReadOps =
    opInit | opBeep | opCard | opLoadKey | opAuthentication | opRead | opReadVal | opExit;
inline constexpr ReaderOps kInfoTerminalOps = kReadOps;
inline constexpr ReaderOps kPayTerminalOps = kReadOps | opDecrement | opHalt;
inline constexpr ReaderOps kIncTerminalOps = kReadOps | opIncrement | opHalt;

// A library or function that could not be bound; what() names it.
class SdkBindError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Loads the five libraries from programFolder/LibaryDir and installs the functions that ops
// need for every model. Throws SdkBindError on the first missing library or function.
void BindReaderSdk(const std::filesystem::path& programFolder, ReaderOps ops);

}  // namespace kx
