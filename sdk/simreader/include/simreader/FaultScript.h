#pragma once
// Faults scripted for tests in "LibaryDir/SimReader/faults", one per line:
//   fail FUNCTION STATUS   the next call of FUNCTION does nothing and returns STATUS (not 0)
//   leave FUNCTION         the card leaves the reader right after the next call of FUNCTION
// Blank lines and lines starting with # are ignored. A fault is removed from the file once it
// fires; lines that do not parse stay and never fire.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kx::sim {

struct Fault {
    enum class Kind { Fail, Leave };
    Kind kind;
    std::string function;
    int16_t status = 0;  // Fail only
};

std::optional<Fault> ParseFault(std::string_view line);

class FaultScript {
  public:
    explicit FaultScript(std::filesystem::path file) : file_(std::move(file)) {}

    // The status a scripted failure of this call returns, consuming that fault.
    std::optional<int16_t> TakeFailure(std::string_view function) const;
    // Whether the card is scripted to leave after this call, consuming that fault.
    bool TakeLeave(std::string_view function) const;

  private:
    std::optional<Fault> Take(Fault::Kind kind, std::string_view function) const;

    std::filesystem::path file_;
};

}  // namespace kx::sim
