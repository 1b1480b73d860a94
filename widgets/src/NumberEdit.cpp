#include "widgets/NumberEdit.h"

namespace kx {

QString FormatAmount(double value) {
    return QString::number(value, 'f', 2);
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValue(0.0);
}

void NumberEdit::setValue(double value) {
    value_ = value;
    setText(FormatAmount(value));
}

}  // namespace kx
