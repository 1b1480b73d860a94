#include "widgets/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace kx {

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace kx
