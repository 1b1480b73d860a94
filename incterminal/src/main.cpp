// KXNetIncTerminal: the recharge terminal.

#include "incterminal/IncTerminalMainForm.h"
#include "payterminal/RunMoneyTerminal.h"

int main(int argc, char** argv) {
    return kx::RunMoneyTerminal<kx::TKxNetIncTerminalMainForm>(
        argc, argv, QStringLiteral("澜禾会员充值终端"), kx::kIncTerminalOps);
}
