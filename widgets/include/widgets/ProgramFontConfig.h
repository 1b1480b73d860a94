#pragma once
// The fontconfig set-up shipped beside the terminals ("fonts.conf"). Loading it directly spares
// each start fontconfig's own initialisation, which parses the system's rule files and all of
// its sample rules (about 4 ms of a 20 ms start). Must run before QApplication exists.

#include <filesystem>

namespace kx {

inline constexpr const char* kProgramFontConfigName = "fonts.conf";

// Makes folder/"fonts.conf" fontconfig's current set-up, and FONTCONFIG_FILE name it for any
// later reinitialisation. Does nothing when FONTCONFIG_FILE or FONTCONFIG_PATH is set (a set-up
// the user chose wins) or when the file is missing or unreadable (the system's set-up stays).
// Returns whether the shipped set-up is in use.
bool UseFontConfigIn(const std::filesystem::path& folder);

// UseFontConfigIn the folder of the running program file.
bool UseProgramFontConfig();

}  // namespace kx
