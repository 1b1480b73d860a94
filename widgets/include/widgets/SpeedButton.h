#pragma once
// A flat button without caption that lies over a glyph of the picture beneath it; it only
// shades itself while the pointer is over it or it is pressed.

#include <QAbstractButton>

namespace kx {

class SpeedButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit SpeedButton(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kx
