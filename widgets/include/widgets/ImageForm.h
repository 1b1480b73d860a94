#pragma once
// The picture that fills a borderless terminal window: paints the background (header band with
// the minimise and close glyphs at the top right, pale body, footer strip under a thin rule) and
// moves the window when dragged by its surface.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace kx {

class ImageForm : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 1028;
    static constexpr int kHeight = 734;
    static constexpr int kHeaderHeight = 100;
    static constexpr int kFooterTop = 694;
    // The pointer must move more than this many pixels (on either axis) before a drag starts.
    static constexpr int kDragTolerance = 5;
    // Where the glyphs lie; the window puts its minimise and close buttons over them.
    static constexpr QRect kMinimizeGlyph{962, 2, 34, 18};
    static constexpr QRect kCloseGlyph{996, 2, 31, 18};

    explicit ImageForm(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressGlobal_;
    QPoint windowAtPress_;
};

}  // namespace kx
