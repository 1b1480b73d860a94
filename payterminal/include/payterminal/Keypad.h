#pragma once
// The payment window's on-screen keypad: the keys, where they lie, what they type, and the
// picture of a 3 x 4 telephone keypad (1 2 3 / 4 5 6 / 7 8 9 / * 0 #) beneath them.

#include <QRect>
#include <QWidget>
#include <array>

namespace kx {

struct KeypadKey {
    const char* name;   // the speed button lying over the key
    QRect place;        // in the window
    const char* face;   // what the picture shows
    int qtKey;          // the key posted to the amount field
    const char* typed;  // its character
    const char* tip;    // the button's tooltip
};

inline constexpr QRect kKeypadPicturePlace{609, 232, 379, 306};

// In the picture's order; "#" (spKEnter) posts Backspace.
inline const std::array<KeypadKey, 12> kKeypadKeys{{
    {"spK1", {621, 240, 112, 64}, "1", Qt::Key_1, "1", "1"},
    {"spK2", {743, 240, 112, 64}, "2", Qt::Key_2, "2", "2"},
    {"spK3", {865, 240, 112, 64}, "3", Qt::Key_3, "3", "3"},
    {"spK4", {621, 314, 112, 64}, "4", Qt::Key_4, "4", "4"},
    {"spK5", {743, 314, 112, 64}, "5", Qt::Key_5, "5", "5"},
    {"spK6", {865, 314, 112, 64}, "6", Qt::Key_6, "6", "6"},
    {"spK7", {621, 389, 112, 64}, "7", Qt::Key_7, "7", "7"},
    {"spK8", {743, 389, 112, 64}, "8", Qt::Key_8, "8", "8"},
    {"spK9", {865, 389, 112, 64}, "9", Qt::Key_9, "9", "9"},
    {"spKDot", {621, 464, 112, 63}, "*", Qt::Key_Period, ".", "小数点"},
    {"spK0", {743, 463, 112, 64}, "0", Qt::Key_0, "0", "0"},
    {"spKEnter", {865, 463, 112, 64}, "#", Qt::Key_Backspace, "\b", "退格"},
}};

// Image1: paints the keys' faces where the speed buttons lie; takes no mouse input, so the
// window is dragged by it like by its picture.
class KeypadPicture : public QWidget {
  public:
    explicit KeypadPicture(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kx
