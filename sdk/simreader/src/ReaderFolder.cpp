#include "simreader/ReaderFolder.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "simreader/DumpFile.h"

namespace kx::sim {

ReaderFolder ReaderFolder::OfInstallation(const std::filesystem::path& installation) {
    return ReaderFolder(installation / "LibaryDir" / "SimReader");
}

std::optional<Presentation> ReaderFolder::CardOnReader() const {
    std::ifstream in(CardFile(), std::ios::binary);
    std::string dump;
    if (!in || !std::getline(in, dump) || dump.empty()) {
        return std::nullopt;
    }
    std::string stamp;
    std::getline(in, stamp);
    const std::u8string dumpUtf8(dump.begin(), dump.end());
    return Presentation{std::filesystem::path(dumpUtf8), stamp};
}

void ReaderFolder::PlaceCard(const std::filesystem::path& dump) const {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    const std::u8string dumpUtf8 = std::filesystem::absolute(dump).lexically_normal().u8string();
    // Nanoseconds of the wall clock: two placings never share a stamp, even across programs.
    const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
    std::string text(dumpUtf8.begin(), dumpUtf8.end());
    text += "\n" + std::to_string(stamp) + "\n";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (!WriteFileAtomically(CardFile(), {bytes, text.size()})) {
        const std::u8string folder = folder_.u8string();
        throw std::runtime_error("cannot write the reader state in " +
                                 std::string(folder.begin(), folder.end()));
    }
}

bool ReaderFolder::RemoveCard() const {
    std::error_code error;
    return std::filesystem::remove(CardFile(), error);
}

void ReaderFolder::AppendTraceLine(std::string_view line) const {
    std::error_code error;
    if (!std::filesystem::exists(TraceFile(), error)) {
        return;
    }
    std::ofstream out(TraceFile(), std::ios::binary | std::ios::app);
    out << line << '\n';
}

}  // namespace kx::sim
