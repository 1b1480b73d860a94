#pragma once
// Every SDK call of a simulated reader library passes through here: one call at a time, scripted
// faults first, then the reader, then the trace line; no exception leaves.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "simreader/FaultScript.h"
#include "simreader/SimReader.h"
#include "simreader/TraceLine.h"

namespace kx::sim {

enum class TraceResult { Shown, Hidden };

class SdkGate {
  public:
    explicit SdkGate(const ReaderFolder& folder) : reader_(folder), faults_(folder.FaultsFile()) {}

    template <typename R, typename Op>
    R Call(std::string_view function, const std::string& arguments, TraceResult shown, Op op) {
        std::lock_guard lock(mutex_);
        R result = static_cast<R>(kInternalError);
        if (const auto status = faults_.TakeFailure(function)) {
            result = static_cast<R>(*status);
        } else {
            result = op(reader_);
            if (faults_.TakeLeave(function)) {
                reader_.Folder().RemoveCard();
            }
        }
        const auto traced =
            shown == TraceResult::Shown ? std::optional<int64_t>(result) : std::nullopt;
        reader_.Folder().AppendTraceLine(TraceLine(function, arguments, traced));
        return result;
    }

  private:
    std::mutex mutex_;
    SimReader reader_;
    FaultScript faults_;
};

// The gate of the library this code is linked into, its state in "SimReader/" beside it.
SdkGate& ThisLibraryGate();

// Runs one SDK call through this library's gate, traced with the given input arguments; any
// exception becomes kInternalError.
template <typename R, typename Op, typename... Args>
R SdkCall(std::string_view function, TraceResult shown, Op op, const Args&... arguments) noexcept {
    try {
        return ThisLibraryGate().Call<R>(function, TraceArguments(arguments...), shown, op);
    } catch (...) {
        return static_cast<R>(kInternalError);
    }
}

}  // namespace kx::sim
