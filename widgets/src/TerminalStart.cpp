#include "widgets/TerminalStart.h"

#include <QWidget>
#include <iostream>

#include "widgets/ErrorBox.h"
#include "widgets/ExitWhenShown.h"
#include "widgets/Fonts.h"
#include "widgets/ProgramFolder.h"

namespace kx {

int RunTerminal(TerminalApplication& app, const TerminalProgram& program) {
    QApplication::setApplicationDisplayName(program.title);
    InstallSongFont();
    try {
        BindReaderSdk(ProgramFolder(), program.ops);
    } catch (const SdkBindError& error) {
        std::cerr << QApplication::applicationName().toStdString() << ": " << error.what()
                  << std::endl;
        ShowErrorBox(app.messageBoxes(), nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    const std::unique_ptr<QWidget> window = program.createWindow(app.messageBoxes());
    ExitWhenShownIfAsked(*window);
    window->show();
    return QApplication::exec();
}

}  // namespace kx
