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
    // Asked on every request to close the window (close button, system close, logging off);
    // false keeps the window open.
    virtual bool FormCloseQuery() { return true; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    ImageForm* picture_;
};

}  // namespace kx
