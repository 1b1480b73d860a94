#pragma once
// The fontconfig set-up shipped beside the terminals ("fonts.conf"): it spares each start the
// parsing of the system's many rule files. Must be chosen before QApplication exists.

#include <filesystem>

namespace kx {

inline constexpr const char* kProgramFontConfigName = "fonts.conf";

// Makes fontconfig read folder/"fonts.conf" when that file exists, unless FONTCONFIG_FILE is set
// already: a set-up the user chose wins.
void UseFontConfigIn(const std::filesystem::path& folder);

// UseFontConfigIn the folder of the running program file.
void UseProgramFontConfig();

}  // namespace kx
