#include "widgets/TerminalApplication.h"

#include "widgets/ErrorBox.h"

namespace kx {

TerminalApplication::TerminalApplication(int& argc, char** argv, MessageBoxes& boxes)
    : QApplication(argc, argv), boxes_(boxes) {}

bool TerminalApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = true;
    RunReportingErrors(boxes_, activeWindow(),
                       [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace kx
