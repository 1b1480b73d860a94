// KXNetPayTerminal: the payment terminal.

#include "payterminal/PayTerminalMainForm.h"
#include "payterminal/RunMoneyTerminal.h"

int main(int argc, char** argv) {
    return kx::RunMoneyTerminal<kx::TKxNetPayTerminalMainForm>(
        argc, argv, QStringLiteral("澜禾会员消费终端"), kx::kPayTerminalOps);
}
