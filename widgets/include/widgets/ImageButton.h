#pragma once
// A button drawn as a green face (a darker green while pressed) with its caption centred.

#include <QAbstractButton>

namespace kx {

class ImageButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit ImageButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    static const QColor kFaceUp;
    static const QColor kFaceDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kx
