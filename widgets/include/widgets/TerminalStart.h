#pragma once
// The program start shared by the three terminals: title, SDK binding, window, event loop.

#include <QString>
#include <functional>
#include <memory>

#include "card/SdkBinding.h"
#include "widgets/TerminalApplication.h"

namespace kx {

struct TerminalProgram {
    QString title;  // the program's title: task-bar text and caption of its message boxes
    ReaderOps ops;  // the reader operations the program uses; only their functions are bound
    std::function<std::unique_ptr<QWidget>(MessageBoxes&)> createWindow;
};

// Sets the title and the font, binds the reader SDK beside the program, then creates, shows and
// runs the window. A library or function that cannot be bound is reported in the error box and
// on stderr, and the program ends with 1 without showing its window.
int RunTerminal(TerminalApplication& app, const TerminalProgram& program);

}  // namespace kx
