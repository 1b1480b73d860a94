#include "widgets/NumberEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "widgets/ErrorBox.h"
#include "widgets/NumberEditRules.h"

namespace kx {

namespace {

// Keys with a character that the field filters; shortcuts (Ctrl+V, ...) and keys without a
// character (arrows, Delete, F5, ...) keep their usual meaning.
bool TypesCharacter(const QKeyEvent& event) {
    const auto commandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !event.text().isEmpty() && event.key() != Qt::Key_Delete &&
           !(event.modifiers() & commandModifiers);
}

// Switching windows or opening a context menu is not entering or leaving the field.
bool MovesFocusToOrFromField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

MessageBoxes& DefaultMessageBoxes() {
    static QtMessageBoxes boxes;
    return boxes;
}

}  // namespace

QString FormatAmount(double value) {
    // Two decimals never show a negative zero.
    const QString text = QString::number(value, 'f', 2);
    return text == u"-0.00" ? QStringLiteral("0.00") : text;
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, &NumberEdit::readText);
    setValue(0.0);
}

void NumberEdit::setValue(double value) {
    setText(FormatAmount(value));
    // An unchanged text emits no change: read it here so the value always follows the text.
    readText();
}

void NumberEdit::readText() {
    const QString shown = text();
    const NumberReading reading = ReadNumberText(shown);
    if (reading.kind == NumberReading::Number) {
        value_ = reading.value;
    } else if (reading.kind == NumberReading::Invalid) {
        setText(FormatAmount(value_));
        ShowErrorBox(boxes_ ? *boxes_ : DefaultMessageBoxes(), window(),
                     InvalidNumberMessage(shown));
    }
}

void NumberEdit::formatText() {
    setText(TextOnLeaving(text()));
    setValue(value_);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    if (TypesCharacter(*event)) {
        const QChar typed = event->text().front();
        if (!AcceptsTypedCharacter(text(), typed)) {
            event->accept();
            QApplication::beep();
            emit characterRefused(typed);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason && MovesFocusToOrFromField(event->reason())) {
        selectAll();
    }
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    if (MovesFocusToOrFromField(event->reason())) {
        formatText();
    }
    QLineEdit::focusOutEvent(event);
}

void NumberEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace kx
