#pragma once
// The simulated reader's state in "LibaryDir/SimReader/", shared by every program of one
// installation: which card lies on the reader, the trace switch and the scripted faults.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kx::sim {

// One placing of a card on the reader. Placing the same dump again is a new presentation, which
// wakes a card that was halted.
struct Presentation {
    std::filesystem::path dump;
    std::string stamp;
    bool operator==(const Presentation&) const = default;
};

class ReaderFolder {
  public:
    explicit ReaderFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // "<installation>/LibaryDir/SimReader".
    static ReaderFolder OfInstallation(const std::filesystem::path& installation);

    const std::filesystem::path& Path() const { return folder_; }
    std::filesystem::path CardFile() const { return folder_ / "card"; }
    std::filesystem::path TraceFile() const { return folder_ / "trace.log"; }
    std::filesystem::path FaultsFile() const { return folder_ / "faults"; }

    // The card file holds the dump's absolute path on its first line and a stamp unique to
    // this presentation on its second.
    std::optional<Presentation> CardOnReader() const;
    // Creates the folder when needed. Throws std::runtime_error when the card file cannot be
    // written.
    void PlaceCard(const std::filesystem::path& dump) const;
    // False when no card was on the reader.
    bool RemoveCard() const;

    // Appends one line while the trace file exists; never creates it.
    void AppendTraceLine(std::string_view line) const;

  private:
    std::filesystem::path folder_;
};

}  // namespace kx::sim
