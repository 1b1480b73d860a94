#pragma once

#include <QLineEdit>

namespace kx {

class MessageBoxes;

// Money field: a double value in yuan kept beside the text, shown with the mask "0.00".
// The value follows every change of the text; a text that is not a number puts the previous
// value back and is reported in the error box. Typing takes digits, one decimal separator and
// Backspace only; leaving the field formats it; entering it other than by a click selects all.
class NumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberEdit(QWidget* parent = nullptr);

    double value() const { return value_; }
    // Shows the value rounded to two decimals, at least one digit before the point.
    void setValue(double value);

    // What leaving the field does: an empty text, a lone sign or a lone decimal separator
    // becomes 0, then the value is shown formatted.
    void formatText();

    // Where the error box for a text that is not a number goes (default: a real box).
    void setMessageBoxes(MessageBoxes& boxes) { boxes_ = &boxes; }

  signals:
    // A left click released inside the field.
    void clicked();
    // A typed character was refused (after the beep).
    void characterRefused(QChar typed);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void readText();

    double value_ = 0.0;
    MessageBoxes* boxes_ = nullptr;
};

// The text setValue shows for a value.
QString FormatAmount(double value);

}  // namespace kx
