// The reference of the start-up benchmark: a bare frameless Qt window of the terminal's size.

#include <QApplication>
#include <QWidget>

#include "widgets/ExitWhenShown.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(1028, 734);
    kx::ExitWhenShownIfAsked(window);
    window.show();
    return QApplication::exec();
}
