#include "incterminal/IncTerminalMainForm.h"

#include "widgets/Controls.h"

namespace kx {

namespace {

const MoneyWindowKind kIncWindow{
    MoneyWindowKind::Credit,
    "澜禾一卡通会员充值终端",
    "澜禾会员充值终端",
    "atInc",
    "充值[F5]",
    "成功充值：",
    "充值失败，请检查是否正确放卡",
    QPoint(192, -24),
    true,
    "suiStoreMoney",
    QRect(382, 346, 282, 27),
    24,
    Qt::black,
};

}  // namespace

TKxNetIncTerminalMainForm::TKxNetIncTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                                                     std::filesystem::path programFolder)
    : MoneyWindow(kIncWindow, card, boxes, std::move(programFolder)) {
    AddLabel(this, "Label15", QStringLiteral("充值金额："), {317, 353});
    SetTabOrder({etMemberCode, etMemberName, etCurPaySum, suiCurStoreMoney, amountField, btReadCard,
                 btOK, cbReaderIF, cbReaderType});
}

}  // namespace kx
