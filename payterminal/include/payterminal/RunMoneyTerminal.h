#pragma once
// The start of the two money programs: the terminal start with their window, the real card
// layer and the program's folder for the settings.

#include <QApplication>
#include <memory>

#include "card/CardTransactions.h"
#include "card/SdkBinding.h"
#include "widgets/ProgramFontConfig.h"
#include "widgets/TerminalStart.h"

namespace kx {

template <class Window>
int RunMoneyTerminal(int argc, char** argv, const QString& title, ReaderOps ops) {
    UseProgramFontConfig();
    QtMessageBoxes boxes;
    TerminalApplication app(argc, argv, boxes);
    static CardAccess card;
    return RunTerminal(app, {title, ops, [](MessageBoxes& shown) {
                                 return std::make_unique<Window>(
                                     card, shown, QApplication::applicationDirPath().toStdString());
                             }});
}

}  // namespace kx
