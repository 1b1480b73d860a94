#pragma once
// The window the payment and the recharge terminal share: member fields, balance, amount field
// with its common amounts, message line, read and money actions, reader lists, settings at show
// and close. The payment window adds the keypad and the balance test.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <filesystem>

#include "card/CardTransactions.h"
#include "card/MemberCard.h"
#include "settings/TerminalOptions.h"
#include "widgets/ImageButton.h"
#include "widgets/MessageBoxes.h"
#include "widgets/NumberEdit.h"
#include "widgets/PictureWindow.h"

namespace kx {

// What tells the two money windows apart.
struct MoneyWindowKind {
    enum Direction { Debit, Credit };
    Direction direction;
    const char* caption;         // window caption (not drawn)
    const char* heading;         // Label6
    const char* actionName;      // "atDec" / "atInc"
    const char* actionCaption;   // "支付[F5]" / "充值[F5]"
    const char* successPrefix;   // "成功支付：" / "成功充值："
    const char* failureMessage;  // "支付失败，请检查是否正确放卡" / ...
    // The member fields, message line, common amounts and buttons lie this far from where the
    // payment window has them.
    QPoint shift;
    bool memberFieldsEnabled;  // the recharge window's are enabled, its points editable
    // The amount field: name, place, font pixels, text colour.
    const char* amountName;
    QRect amountPlace;
    int amountPixels;
    QColor amountColour;
};

class MoneyWindow : public PictureWindow {
    Q_OBJECT
  protected:
    uint32_t FLastSerial = 0;
    uint8_t FExpectedScheme = 0;

    QLineEdit* etMemberCode;
    QLineEdit* etMemberName;
    QLineEdit* etCurPaySum;
    NumberEdit* suiCurStoreMoney;
    NumberEdit* amountField;  // suiPayMoney / suiStoreMoney
    QLabel* lbMessageInfo;
    ImageButton* btReadCard;
    ImageButton* btOK;
    QComboBox* cbReaderIF;
    QComboBox* cbReaderType;
    QAction* atReaderCard;
    QAction* moneyAction;  // atDec / atInc
    QAction* atClose;
    QAction* atMinimize;

    MoneyWindow(const MoneyWindowKind& kind, CardAccess& card, MessageBoxes& boxes,
                std::filesystem::path programFolder);

    // Tab order, the first control taking the focus at start.
    void SetTabOrder(const QList<QWidget*>& order);

    void showEvent(QShowEvent* event) override;

  private:
    struct ReadOutcome {
        bool readOk = false;
        TCardCheck check = TCardCheck::ccOk;
        uint32_t balanceCents = 0;  // when check is ccOk
    };

    void FormCreate();
    void FormShow();
    bool FormCloseQuery() override;
    void atReaderCardExecute();
    // atDecExecute / atIncExecute: the pay or recharge action.
    void MoneyActionExecute();
    ReadOutcome ReadAndShowCard();

    void showMessage(const QString& text);
    void showResultBox(const QString& text, QMessageBox::StandardButtons buttons,
                       QMessageBox::Icon icon);
    // What the reader lists hold: every card call and the settings take them from here.
    ReaderControlValues readerControls() const;
    int portIndex() const { return cbReaderIF->currentIndex(); }
    std::string model() const { return cbReaderType->currentText().toStdString(); }

    const MoneyWindowKind& kind_;
    CardAccess& card_;
    MessageBoxes& boxes_;
    const std::filesystem::path programFolder_;
};

}  // namespace kx
