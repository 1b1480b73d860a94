#pragma once
// The text rules of the money field, free of widgets so that tests drive them directly.

#include <QChar>
#include <QString>

namespace kx {

// The decimal separator of the money field, and the thousands separator ignored when reading.
inline constexpr QChar kDecimalSeparator = u'.';
inline constexpr QChar kThousandsSeparator = u',';

// What a text of the field reads as.
struct NumberReading {
    enum Kind {
        Number,      // value holds the number
        Unfinished,  // empty, a lone sign or a lone decimal separator: the value stays as it was
        Invalid,     // not a number: the previous value is put back and the error is reported
    };
    Kind kind = Unfinished;
    double value = 0.0;
};

// Reads the text as a decimal number (sign, digits, one decimal separator), thousands
// separators and surrounding blanks ignored.
NumberReading ReadNumberText(const QString& text);

// "'<text>' is not a valid floating point value"
QString InvalidNumberMessage(const QString& text);

// Whether a typed character may go into the field holding text: digits always, the decimal
// separator only while the text holds none, Backspace; nothing else.
bool AcceptsTypedCharacter(const QString& text, QChar typed);

// The text the field shows when the focus leaves it with this text, before it is formatted.
QString TextOnLeaving(const QString& text);

}  // namespace kx
