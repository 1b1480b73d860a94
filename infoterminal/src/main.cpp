#include <memory>

#include "FmKxNetInfoTerminalMain.h"
#include "widgets/ProgramFontConfig.h"
#include "widgets/TerminalStart.h"

int main(int argc, char** argv) {
    kx::UseProgramFontConfig();
    kx::CardAccess cardAccess;
    kx::QtMessageBoxes boxes;
    kx::TerminalApplication app(argc, argv, boxes);
    return kx::RunTerminal(app, {kx::kInfoTerminalTitle, kx::kInfoTerminalOps,
                                 [&cardAccess](kx::MessageBoxes& windowBoxes) {
                                     return std::make_unique<kx::TKxNetInfoTerminalMainForm>(
                                         cardAccess, windowBoxes);
                                 }});
}
