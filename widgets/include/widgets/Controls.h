#pragma once
// Places the plain controls of a terminal window, each named after its control and at its
// place: labels lying transparently on the picture, flat edits and drop-down lists.

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QSpinBox>
#include <QStringList>

#include "widgets/Fonts.h"

namespace kx {

// Creates a child of type W with the given object name and geometry.
template <class W>
W* Place(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

// Sizes itself to its text. Mouse presses fall through to the picture, so the window can be
// dragged by its labels too.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QPoint topLeft,
                 int pixelSize = kDefaultFontPixels, const QColor& colour = Qt::black);

// A borderless edit on a white ground.
QLineEdit* AddFlatEdit(QWidget* parent, const char* name, const QRect& geometry);

// A drop-down list (no typing) with its items, nothing selected.
QComboBox* AddDropDownList(QWidget* parent, const char* name, const QRect& geometry,
                           const QStringList& items);

// The number a spin box shows, kept within its range; text that is not a number (the operator
// may have emptied the box) reads as the minimum.
int ShownValue(const QSpinBox* spinBox);

// For controls disabled only because they show what the card holds: their text stays dark.
void KeepReadableWhenDisabled(QWidget* widget);

void SetPixelSize(QWidget* widget, int pixelSize);
void SetTextColour(QWidget* widget, const QColor& colour);

}  // namespace kx
