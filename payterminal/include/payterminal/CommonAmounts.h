#pragma once
// The row of common amounts under a money field: the caption "常用:" and five blue labels whose
// click puts their amount into the field.

#include <QLabel>
#include <QPoint>

namespace kx {

class NumberEdit;

// A label that reports a left click released over it.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Places Label16 ("常用:") at captionAt and Label3, Label17 ... Label20 at firstAmountAt, 47
// pixels apart (the last one 48); each click sets the field's text ("50.00", ...).
void AddCommonAmounts(QWidget* window, QPoint captionAt, QPoint firstAmountAt, NumberEdit* field);

}  // namespace kx
