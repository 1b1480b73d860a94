#pragma once
// The application object of the terminals: an exception that no event handler caught ends that
// event and is shown in the error box (the program's title as caption) instead of ending the
// program.

#include <QApplication>

#include "widgets/MessageBoxes.h"

namespace kx {

class TerminalApplication : public QApplication {
    Q_OBJECT
  public:
    TerminalApplication(int& argc, char** argv, MessageBoxes& boxes);

    MessageBoxes& messageBoxes() const { return boxes_; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    MessageBoxes& boxes_;
};

}  // namespace kx
