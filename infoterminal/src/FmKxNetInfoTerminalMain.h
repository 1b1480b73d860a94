#pragma once
// The window of the information terminal: reads a member card on demand, once on connecting and
// then on a timer while connected, and shows the member's record, age, points and balance.

#include <QString>
#include <cstdint>
#include <filesystem>

#include "card/CardTransactions.h"
#include "settings/TerminalOptions.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PictureWindow.h"
#include "widgets/ProgramFolder.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;

namespace kx {

class ImageButton;
class NumberEdit;
class SpeedButton;
struct CardReadDisplay;

inline const QString kInfoTerminalTitle = QStringLiteral("澜禾会员信息查询");
inline const QString kInfoTerminalCaption = QStringLiteral("澜禾一卡通会员信息终端");
inline const QString kConnectCaption = QStringLiteral("连接[F5]");
inline const QString kDisconnectCaption = QStringLiteral("断开[F5]");

class TKxNetInfoTerminalMainForm : public PictureWindow {
    Q_OBJECT
  public:
    // programFolder holds "DataBase/KXConF.ini".
    TKxNetInfoTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                               std::filesystem::path programFolder = ProgramFolder(),
                               QWidget* parent = nullptr);

    uint32_t lastSerial() const { return FLastSerial; }
    uint8_t expectedScheme() const { return FExpectedScheme; }

    // One read: the controls show its outcome. Throws DateError for a birthday that is not a
    // date, after showing the fields up to the birthday.
    void ReadAndShowCard();

  protected:
    void showEvent(QShowEvent* event) override;
    bool FormCloseQuery() override;

  private:
    void CreateControls();
    void CreateActions();
    void FormCreate();
    void FormShow();
    void SaveReaderSettings();
    ReaderControlValues ReaderControls() const;
    void ShowCardRead(const CardReadDisplay& display);

    void atReaderCardExecute();
    void atConnectionExecute();
    void AutoReadTimeTimer();
    void atCloseExecute();
    void atMinimizeExecute();
    // Reads with the timer stopped and both read actions disabled, then restarts and enables.
    void ReadWithTimerPaused();
    // Runs ReadAndShowCard; an error it ends with is shown in the error box. False then.
    bool ReadReportingErrors();

    CardAccess& card_;
    MessageBoxes& boxes_;
    const std::filesystem::path programFolder_;

    uint32_t FLastSerial = 0;
    uint8_t FExpectedScheme = 0;

    QAction* atReaderCard = nullptr;
    QAction* atConnection = nullptr;
    QAction* atClose = nullptr;
    QAction* atMinimize = nullptr;
    QTimer* AutoReadTime = nullptr;

    SpeedButton* SpeedButton5 = nullptr;
    SpeedButton* SpeedButton4 = nullptr;
    QLineEdit* etMemberCode = nullptr;
    QLineEdit* etMemberName = nullptr;
    QComboBox* cbMemberSex = nullptr;
    QLineEdit* etCurPaySum = nullptr;
    QLineEdit* dtMemBirthday = nullptr;
    QLineEdit* dtMemBirthdaySum = nullptr;
    QLineEdit* etMobilePhone = nullptr;
    QComboBox* cbcCerTypeName = nullptr;
    QLineEdit* etCerNO = nullptr;
    QLineEdit* etCerNewAddr = nullptr;
    NumberEdit* suiCurStoreMoney = nullptr;
    QLabel* lbMessageInfo = nullptr;
    ImageButton* spReadCard = nullptr;
    QCheckBox* chAutoReaderCard = nullptr;
    QSpinBox* spAutoReadTime = nullptr;
    QComboBox* cbReaderIF = nullptr;
    QComboBox* cbReaderType = nullptr;
    ImageButton* fcConnection = nullptr;
};

}  // namespace kx
