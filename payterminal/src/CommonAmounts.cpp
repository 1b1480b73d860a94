#include "payterminal/CommonAmounts.h"

#include <QMouseEvent>

#include "widgets/Controls.h"
#include "widgets/NumberEdit.h"

namespace kx {

namespace {

struct CommonAmount {
    const char* name;
    int left;  // from the first label
    const char* caption;
    const char* text;
};

constexpr CommonAmount kCommonAmounts[] = {
    {"Label3", 0, "50元", "50.00"},        {"Label17", 47, "100元", "100.00"},
    {"Label18", 94, "200元", "200.00"},    {"Label19", 141, "500元", "500.00"},
    {"Label20", 189, "1000元", "1000.00"},
};

}  // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void AddCommonAmounts(QWidget* window, QPoint captionAt, QPoint firstAmountAt, NumberEdit* field) {
    AddLabel(window, "Label16", QStringLiteral("常用:"), captionAt, kDefaultFontPixels, Qt::blue);
    for (const CommonAmount& amount : kCommonAmounts) {
        auto* label = Place<ClickableLabel>(window, amount.name,
                                            QRect(firstAmountAt + QPoint(amount.left, 0), QSize()));
        SetTextColour(label, Qt::blue);
        label->setCursor(Qt::PointingHandCursor);
        label->setText(QString::fromUtf8(amount.caption));
        label->adjustSize();
        const QString text = QString::fromUtf8(amount.text);
        QObject::connect(label, &ClickableLabel::clicked, field,
                         [field, text] { field->setText(text); });
    }
}

}  // namespace kx
