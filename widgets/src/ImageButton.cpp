#include "widgets/ImageButton.h"

#include <QPainter>

namespace kx {

const QColor ImageButton::kFaceUp(0x3c, 0xa4, 0x5a);
const QColor ImageButton::kFaceDown(0x23, 0x6e, 0x3a);

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize ImageButton::sizeHint() const {
    return {130, 45};  // the size of the face pictures
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor face = isDown() ? kFaceDown : kFaceUp;
    if (!isEnabled()) {
        face = QColor::fromHsv(face.hsvHue(), face.hsvSaturation() / 4, face.value());
    }
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(face.darker(130));
    painter.setBrush(face);
    painter.drawRoundedRect(bounds, 4, 4);

    painter.setPen(isEnabled() ? Qt::white : QColor(0xee, 0xee, 0xee));
    const QPoint pressedShift = isDown() ? QPoint(1, 1) : QPoint();
    painter.drawText(rect().translated(pressedShift), Qt::AlignCenter, text());
    if (hasFocus()) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(3, 3, -3, -3), 3, 3);
    }
}

}  // namespace kx
