#pragma once

#include <QLineEdit>

namespace kx {

// Money field: a double value in yuan kept beside the text, shown with the mask "0.00".
class NumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberEdit(QWidget* parent = nullptr);

    double value() const { return value_; }
    // Shows the value rounded to two decimals, at least one digit before the point.
    void setValue(double value);

  private:
    double value_ = 0.0;
};

// The text setValue shows for a value.
QString FormatAmount(double value);

}  // namespace kx
