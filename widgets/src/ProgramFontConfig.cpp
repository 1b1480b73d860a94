#include "widgets/ProgramFontConfig.h"

#include <QFile>
#include <QtGlobal>
#include <system_error>

namespace kx {

void UseFontConfigIn(const std::filesystem::path& folder) {
    const std::filesystem::path config = folder / kProgramFontConfigName;
    std::error_code error;
    if (!qEnvironmentVariableIsSet("FONTCONFIG_FILE") &&
        std::filesystem::is_regular_file(config, error)) {
        qputenv("FONTCONFIG_FILE",
                QFile::encodeName(QString::fromStdU16String(config.u16string())));
    }
}

void UseProgramFontConfig() {
    // QCoreApplication::applicationDirPath() needs the application object, which is too late.
    // Without /proc (Windows, where Qt does not use fontconfig anyway) nothing is chosen.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        UseFontConfigIn(program.parent_path());
    }
}

}  // namespace kx
