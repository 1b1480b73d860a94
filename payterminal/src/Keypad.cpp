#include "payterminal/Keypad.h"

#include <QLinearGradient>
#include <QPainter>

#include "widgets/Fonts.h"

namespace kx {

namespace {

constexpr int kFacePixels = 36;
constexpr int kCornerRadius = 8;

}  // namespace

KeypadPicture::KeypadPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setGeometry(kKeypadPicturePlace);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void KeypadPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xb8, 0xc4, 0xd0));
    painter.setBrush(QColor(0xe4, 0xea, 0xf0));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius,
                            kCornerRadius);

    painter.setFont(SongFont(kFacePixels));
    for (const KeypadKey& key : kKeypadKeys) {
        const QRectF face = QRectF(key.place.translated(-kKeypadPicturePlace.topLeft()))
                                .adjusted(1.5, 1.5, -1.5, -1.5);
        QLinearGradient shade(face.topLeft(), face.bottomLeft());
        shade.setColorAt(0, Qt::white);
        shade.setColorAt(1, QColor(0xd4, 0xdc, 0xe4));
        painter.setPen(QColor(0x90, 0x9c, 0xa8));
        painter.setBrush(shade);
        painter.drawRoundedRect(face, kCornerRadius, kCornerRadius);
        painter.setPen(QColor(0x30, 0x3c, 0x48));
        painter.drawText(face, Qt::AlignCenter, QString::fromUtf8(key.face));
    }
}

}  // namespace kx
