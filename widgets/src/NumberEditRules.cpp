#include "widgets/NumberEditRules.h"

#include <cmath>

namespace kx {

namespace {

constexpr QChar kBackspace = u'\b';

bool IsUnfinished(const QString& text) {
    return text.isEmpty() || text == u"-" || text == u"+" || text == QString(kDecimalSeparator);
}

// Digits with at most one decimal separator and at least one digit, after an optional sign.
bool IsDecimal(const QString& text) {
    qsizetype at = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    bool digitSeen = false;
    bool separatorSeen = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c >= u'0' && c <= u'9') {
            digitSeen = true;
        } else if (c == kDecimalSeparator && !separatorSeen) {
            separatorSeen = true;
        } else {
            return false;
        }
    }
    return digitSeen;
}

}  // namespace

NumberReading ReadNumberText(const QString& text) {
    QString plain = text.trimmed();
    plain.remove(kThousandsSeparator);
    if (IsUnfinished(plain)) {
        return {NumberReading::Unfinished, 0.0};
    }
    if (!IsDecimal(plain)) {
        return {NumberReading::Invalid, 0.0};
    }
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return {NumberReading::Invalid, 0.0};
    }
    return {NumberReading::Number, value};
}

QString InvalidNumberMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

bool AcceptsTypedCharacter(const QString& text, QChar typed) {
    if (typed.isDigit() && typed.unicode() < 0x80) {
        return true;
    }
    if (typed == kDecimalSeparator) {
        return !text.contains(kDecimalSeparator);
    }
    return typed == kBackspace;
}

QString TextOnLeaving(const QString& text) {
    return IsUnfinished(text.trimmed()) ? QStringLiteral("0") : text;
}

}  // namespace kx
