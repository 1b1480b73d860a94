#include "widgets/Controls.h"

#include <algorithm>

namespace kx {

void SetPixelSize(QWidget* widget, int pixelSize) {
    QFont font = widget->font();
    font.setPixelSize(pixelSize);
    widget->setFont(font);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

int ShownValue(const QSpinBox* spinBox) {
    bool isNumber = false;
    const int shown = spinBox->cleanText().toInt(&isNumber);
    if (!isNumber) {
        return spinBox->minimum();
    }
    return std::clamp(shown, spinBox->minimum(), spinBox->maximum());
}

void KeepReadableWhenDisabled(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x30, 0x30, 0x30));
    widget->setPalette(palette);
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QPoint topLeft,
                 int pixelSize, const QColor& colour) {
    auto* label = Place<QLabel>(parent, name, QRect(topLeft, QSize()));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetPixelSize(label, pixelSize);
    SetTextColour(label, colour);
    label->setText(text);
    label->adjustSize();
    return label;
}

QLineEdit* AddFlatEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = Place<QLineEdit>(parent, name, geometry);
    edit->setFrame(false);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edit->setPalette(palette);
    return edit;
}

QComboBox* AddDropDownList(QWidget* parent, const char* name, const QRect& geometry,
                           const QStringList& items) {
    auto* list = Place<QComboBox>(parent, name, geometry);
    list->addItems(items);
    list->setCurrentIndex(-1);
    return list;
}

}  // namespace kx
