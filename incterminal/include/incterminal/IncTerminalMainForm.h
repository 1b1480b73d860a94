#pragma once
// KXNetIncTerminal's window: the money window crediting the card, without keypad and balance
// test.

#include "payterminal/MoneyWindow.h"

namespace kx {

class TKxNetIncTerminalMainForm : public MoneyWindow {
    Q_OBJECT
  public:
    TKxNetIncTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                              std::filesystem::path programFolder);
};

}  // namespace kx
