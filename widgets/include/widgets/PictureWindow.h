#pragma once
// A borderless, fixed-size terminal window of 1028 x 734 whose background is an ImageForm;
// centred on the desktop each time it is shown; its controls use the terminals' font.

#include <QWidget>

#include "widgets/ImageForm.h"

namespace kx {

class PictureWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PictureWindow(QWidget* parent = nullptr);

    ImageForm* picture() const { return picture_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ImageForm* picture_;
};

}  // namespace kx
