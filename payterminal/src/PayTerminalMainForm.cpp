#include "payterminal/PayTerminalMainForm.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "widgets/Controls.h"
#include "widgets/SpeedButton.h"

namespace kx {

namespace {

const MoneyWindowKind kPayWindow{
    MoneyWindowKind::Debit,
    "澜禾一卡通会员支付终端",
    "澜禾会员消费终端",
    "atDec",
    "支付[F5]",
    "成功支付：",
    "支付失败，请检查是否正确放卡",
    QPoint(0, 0),
    false,
    "suiPayMoney",
    QRect(190, 370, 282, 50),
    48,
    Qt::red,
};

}  // namespace

TKxNetPayTerminalMainForm::TKxNetPayTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                                                     std::filesystem::path programFolder)
    : MoneyWindow(kPayWindow, card, boxes, std::move(programFolder)) {
    AddLabel(this, "Label15", QStringLiteral("消费"), {132, 370}, 24, Qt::red);
    AddLabel(this, "Label4", QStringLiteral("金额"), {132, 396}, 24, Qt::red);
    connect(amountField, &NumberEdit::clicked, this, &TKxNetPayTerminalMainForm::suiPayMoneyClick);

    new KeypadPicture(this);
    for (const KeypadKey& key : kKeypadKeys) {
        auto* button = Place<SpeedButton>(this, key.name, key.place);
        button->setToolTip(QString::fromUtf8(key.tip));
        const bool isEnter = key.qtKey == Qt::Key_Backspace;
        if (isEnter) {
            connect(button, &QAbstractButton::pressed, this,
                    &TKxNetPayTerminalMainForm::spKEnterMouseDown);
            connect(button, &QAbstractButton::released, this,
                    &TKxNetPayTerminalMainForm::spKEnterMouseUp);
        } else {
            connect(button, &QAbstractButton::pressed, this, [this, &key] { spKeyMouseDown(key); });
        }
        if (key.qtKey == Qt::Key_1 || key.qtKey == Qt::Key_Period) {
            connect(button, &QAbstractButton::released, this,
                    &TKxNetPayTerminalMainForm::spK1MouseUp);
        }
    }

    SetTabOrder({btReadCard, amountField, etMemberCode, btOK, cbReaderIF, cbReaderType,
                 etMemberName, etCurPaySum, suiCurStoreMoney});
}

void TKxNetPayTerminalMainForm::suiPayMoneyClick() {
    amountField->selectAll();
}

bool TKxNetPayTerminalMainForm::keypadReachesField() const {
    return amountField->isVisible() && amountField->isEnabled();
}

void TKxNetPayTerminalMainForm::postKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                        const char* typed) {
    // Queued like a key-down message: the field takes it after this press handler returns and
    // before the release of the same press, whichever control has the focus.
    QCoreApplication::postEvent(
        amountField, new QKeyEvent(QEvent::KeyPress, qtKey, modifiers, QString::fromLatin1(typed)));
}

void TKxNetPayTerminalMainForm::spKeyMouseDown(const KeypadKey& key) {
    if (!keypadReachesField()) {
        return;
    }
    FKeyCaretPos = amountField->hasSelectedText() ? amountField->selectionStart()
                                                  : amountField->cursorPosition();
    postKey(key.qtKey, Qt::KeypadModifier, key.typed);
}

void TKxNetPayTerminalMainForm::spKEnterMouseDown() {
    if (!keypadReachesField()) {
        return;
    }
    // Entering the field selects the whole amount, so from another control "#" clears it.
    amountField->setFocus(Qt::OtherFocusReason);
    postKey(Qt::Key_Backspace, Qt::NoModifier, "\b");
}

void TKxNetPayTerminalMainForm::spK1MouseUp() {
    amountField->setCursorPosition(FKeyCaretPos + 1);
}

void TKxNetPayTerminalMainForm::spKEnterMouseUp() {
    amountField->setFocus(Qt::OtherFocusReason);
}

}  // namespace kx
