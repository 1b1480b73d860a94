#include "widgets/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>

namespace kx {

std::filesystem::path ProgramFolder() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace kx
