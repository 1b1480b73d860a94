#include "widgets/SpeedButton.h"

#include <QPainter>

namespace kx {

SpeedButton::SpeedButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
    setAttribute(Qt::WA_Hover);
}

void SpeedButton::paintEvent(QPaintEvent*) {
    if (!isEnabled() || !(isDown() || underMouse())) {
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, isDown() ? 60 : 25));
}

}  // namespace kx
