#include "widgets/PictureWindow.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>

#include "widgets/Fonts.h"

namespace kx {

PictureWindow::PictureWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), picture_(new ImageForm(this)) {
    setFixedSize(ImageForm::kWidth, ImageForm::kHeight);
    setFont(SongFont());
}

void PictureWindow::showEvent(QShowEvent* event) {
    // Restoring from the task bar is a spontaneous show: the operator's position is kept then.
    if (!event->spontaneous()) {
        if (const QScreen* desktop = screen()) {
            QRect centred(QPoint(), size());
            centred.moveCenter(desktop->availableGeometry().center());
            move(centred.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void PictureWindow::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace kx
