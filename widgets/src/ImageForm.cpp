#include "widgets/ImageForm.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace kx {

namespace {

const QColor kHeaderTop(0xd6, 0xec, 0xdb);
const QColor kHeaderBottom(0xa8, 0xd2, 0xb2);
const QColor kBody(0xf5, 0xf8, 0xf4);
const QColor kFooter(0xe4, 0xea, 0xe3);
const QColor kRule(0x8c, 0xa8, 0x92);
const QColor kGlyph(0x2f, 0x4a, 0x36);

void PaintGlyphs(QPainter& painter) {
    painter.setPen(QPen(kGlyph, 2));
    const QRect minimize = ImageForm::kMinimizeGlyph;
    const int lineY = minimize.bottom() - 4;
    painter.drawLine(minimize.center().x() - 6, lineY, minimize.center().x() + 6, lineY);

    const QPoint c = ImageForm::kCloseGlyph.center();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(c + QPoint(-5, -5), c + QPoint(5, 5));
    painter.drawLine(c + QPoint(-5, 5), c + QPoint(5, -5));
}

}  // namespace

ImageForm::ImageForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fcImageForm1"));
    setGeometry(0, 0, kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBody);

    QLinearGradient header(0, 0, 0, kHeaderHeight);
    header.setColorAt(0, kHeaderTop);
    header.setColorAt(1, kHeaderBottom);
    painter.fillRect(QRect(0, 0, width(), kHeaderHeight), header);

    painter.fillRect(QRect(0, kFooterTop, width(), height() - kFooterTop), kFooter);
    painter.setPen(kRule);
    painter.drawLine(0, kFooterTop, width(), kFooterTop);

    PaintGlyphs(painter);
}

void ImageForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    dragging_ = false;
    pressGlobal_ = event->globalPosition().toPoint();
    windowAtPress_ = window()->pos();
}

void ImageForm::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) {
        return;
    }
    const QPoint moved = event->globalPosition().toPoint() - pressGlobal_;
    if (!dragging_ && std::abs(moved.x()) <= kDragTolerance &&
        std::abs(moved.y()) <= kDragTolerance) {
        return;
    }
    dragging_ = true;
    window()->move(windowAtPress_ + moved);
}

void ImageForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
        dragging_ = false;
    }
}

}  // namespace kx
