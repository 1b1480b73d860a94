#pragma once
// KXNetPayTerminal's window: the money window with the keypad, the balance test and a click in
// the amount field selecting the whole amount.

#include "payterminal/Keypad.h"
#include "payterminal/MoneyWindow.h"

namespace kx {

class TKxNetPayTerminalMainForm : public MoneyWindow {
    Q_OBJECT
  public:
    TKxNetPayTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                              std::filesystem::path programFolder);

  private:
    void suiPayMoneyClick();
    // spK0MouseDown ... spK9MouseDown, spKDotMouseDown
    void spKeyMouseDown(const KeypadKey& key);
    void spKEnterMouseDown();
    // spK1 and spKDot
    void spK1MouseUp();
    void spKEnterMouseUp();

    bool keypadReachesField() const;
    void postKey(int qtKey, Qt::KeyboardModifiers modifiers, const char* typed);

    int32_t FKeyCaretPos = 0;
};

}  // namespace kx
