#include "widgets/ProgramFontConfig.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QtGlobal>
#include <memory>
#include <system_error>

namespace kx {

namespace {

struct ConfigRelease {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};

}  // namespace

bool UseFontConfigIn(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / kProgramFontConfigName;
    std::error_code error;
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE") ||
        qEnvironmentVariableIsSet("FONTCONFIG_PATH") ||
        !std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const std::unique_ptr<FcConfig, ConfigRelease> config(FcConfigCreate());
    const auto* name = reinterpret_cast<const FcChar8*>(file.c_str());
    if (!config || !FcConfigParseAndLoad(config.get(), name, FcTrue) ||
        !FcConfigBuildFonts(config.get()) || !FcConfigSetCurrent(config.get())) {
        return false;
    }
    qputenv("FONTCONFIG_FILE", QByteArray(file.c_str()));
    return true;  // the current set-up holds its own reference
}

bool UseProgramFontConfig() {
    // QCoreApplication::applicationDirPath() needs the application object, which is too late.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return !error && UseFontConfigIn(program.parent_path());
}

}  // namespace kx
