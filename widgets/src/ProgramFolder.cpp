#include "widgets/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>

namespace kx {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
    // Wide characters: a folder name outside the ANSI code page must survive too.
    return QCoreApplication::applicationDirPath().toStdWString();
#else
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
#endif
}

}  // namespace kx
