#include "payterminal/MoneyWindow.h"

#include <QShowEvent>

#include "payterminal/Cents.h"
#include "payterminal/CommonAmounts.h"
#include "settings/TerminalOptions.h"
#include "widgets/ActionButton.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"
#include "widgets/ErrorBox.h"
#include "widgets/NumberEditRules.h"
#include "widgets/SpeedButton.h"

namespace kx {

namespace {

const QString kBoxCaption = QStringLiteral(" 提示");
const QString kReadOkMessage = QStringLiteral("读取会员数据成功！");
const QString kNegativeAmountMessage = QStringLiteral("金额不能为负数，请重新输入！");
const QString kAmountTooLargeMessage =
    QStringLiteral("金额超出范围，不能超过 42949672.95 元，请重新输入！");
const QString kBalanceTooLargeMessage =
    QStringLiteral("充值后余额将超过 42949672.95 元，不能完成充值操作！");
const QString kBalanceTooLowMessage = QStringLiteral("可用金额不够，不能完成支付操作！");
constexpr int kFieldPixels = 24;

QLineEdit* AddMemberEdit(QWidget* window, const char* name, const QRect& place, bool enabled) {
    QLineEdit* edit = AddFlatEdit(window, name, place);
    SetPixelSize(edit, kFieldPixels);
    KeepReadableWhenDisabled(edit);
    edit->setEnabled(enabled);
    return edit;
}

NumberEdit* AddNumberEdit(QWidget* window, const char* name, const QRect& place, int pixels) {
    auto* field = Place<NumberEdit>(window, name, place);
    field->setFrame(false);
    SetPixelSize(field, pixels);
    return field;
}

ImageButton* AddButton(QWidget* window, const char* name, const QRect& place, QAction* action) {
    auto* button = Place<ImageButton>(window, name, place);
    button->setText(action->text());
    // A click moves the focus to the button, so a money field being left formats first.
    button->setFocusPolicy(Qt::StrongFocus);
    BindButtonToAction(button, action);
    return button;
}

QAction* AddAction(QWidget* window, const char* name, const QString& caption,
                   const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    window->addAction(action);
    return action;
}

void AddTitleButton(QWidget* window, const char* name, const QRect& place, QAction* action,
                    const QString& tip) {
    auto* button = Place<SpeedButton>(window, name, place);
    button->setToolTip(tip);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

}  // namespace

MoneyWindow::MoneyWindow(const MoneyWindowKind& kind, CardAccess& card, MessageBoxes& boxes,
                         std::filesystem::path programFolder)
    : kind_(kind), card_(card), boxes_(boxes), programFolder_(std::move(programFolder)) {
    setWindowTitle(QString::fromUtf8(kind.caption));
    const QPoint shift = kind.shift;

    atReaderCard = AddAction(this, "atReaderCard", QStringLiteral("读卡[F10]"), Qt::Key_F10);
    moneyAction =
        AddAction(this, kind.actionName, QString::fromUtf8(kind.actionCaption), Qt::Key_F5);
    moneyAction->setEnabled(false);
    atClose = AddAction(this, "atClose", QString());
    atMinimize = AddAction(this, "atMinimize", QString());
    connect(atReaderCard, &QAction::triggered, this, &MoneyWindow::atReaderCardExecute);
    connect(moneyAction, &QAction::triggered, this, &MoneyWindow::MoneyActionExecute);
    connect(atClose, &QAction::triggered, this, &QWidget::close);
    connect(atMinimize, &QAction::triggered, this, &QWidget::showMinimized);

    AddTitleButton(this, "SpeedButton5", {962, 2, 34, 19}, atMinimize, QStringLiteral("最小化"));
    AddTitleButton(this, "SpeedButton4", {996, 2, 31, 19}, atClose, QStringLiteral("关闭"));
    AddLabel(this, "Label6", QString::fromUtf8(kind.heading), {418, 64}, kFieldPixels);
    AddLabel(this, "lbVersison", QStringLiteral("V1"), {623, 52}, 37, Qt::red);

    AddLabel(this, "LB1", QStringLiteral("会员编号："), QPoint(125, 175) + shift);
    etMemberCode = AddMemberEdit(this, "etMemberCode", QRect(190, 168, 281, 27).translated(shift),
                                 kind.memberFieldsEnabled);
    etMemberCode->setReadOnly(true);
    AddLabel(this, "LB2", QStringLiteral("会员名称："), QPoint(125, 225) + shift);
    etMemberName = AddMemberEdit(this, "etMemberName", QRect(190, 218, 281, 27).translated(shift),
                                 kind.memberFieldsEnabled);
    etMemberName->setReadOnly(true);
    AddLabel(this, "Label5", QStringLiteral("会员积分："), QPoint(125, 276) + shift);
    etCurPaySum = AddMemberEdit(this, "etCurPaySum", QRect(190, 269, 282, 27).translated(shift),
                                kind.memberFieldsEnabled);
    AddLabel(this, "Label14", QStringLiteral("可用金额："), QPoint(125, 326) + shift);
    suiCurStoreMoney = AddNumberEdit(this, "suiCurStoreMoney",
                                     QRect(190, 319, 282, 27).translated(shift), kFieldPixels);
    QPalette yellow = suiCurStoreMoney->palette();
    yellow.setColor(QPalette::Base, Qt::yellow);
    suiCurStoreMoney->setPalette(yellow);
    KeepReadableWhenDisabled(suiCurStoreMoney);
    suiCurStoreMoney->setReadOnly(true);
    suiCurStoreMoney->setEnabled(false);

    amountField = AddNumberEdit(this, kind.amountName, kind.amountPlace, kind.amountPixels);
    SetTextColour(amountField, kind.amountColour);
    amountField->setMessageBoxes(boxes);
    suiCurStoreMoney->setMessageBoxes(boxes);

    lbMessageInfo = AddLabel(this, "lbMessageInfo", QString(), QPoint(128, 440) + shift,
                             kDefaultFontPixels, Qt::red);
    AddCommonAmounts(this, QPoint(165, 471) + shift, QPoint(216, 472) + shift, amountField);
    btReadCard =
        AddButton(this, "btReadCard", QRect(176, 523, 100, 42).translated(shift), atReaderCard);
    btOK = AddButton(this, "btOK", QRect(355, 523, 100, 42).translated(shift), moneyAction);

    AddLabel(this, "Label1", QStringLiteral("选择端口"), {14, 708});
    cbReaderIF = AddDropDownList(this, "cbReaderIF", {74, 704, 63, 21},
                                 {"USB", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6"});
    cbReaderIF->setCurrentIndex(0);
    AddLabel(this, "Label2", QStringLiteral("设备型号"), {141, 708});
    cbReaderType = AddDropDownList(this, "cbReaderType", {196, 704, 69, 21},
                                   {"KXD100", "KXD101", "KXD102", "KXD103", "KXD104"});
    cbReaderType->setCurrentIndex(3);

    FormCreate();
}

void MoneyWindow::SetTabOrder(const QList<QWidget*>& order) {
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    order.front()->setFocus();
}

void MoneyWindow::FormCreate() {
    FExpectedScheme = kExpectedSchemeCode;
}

void MoneyWindow::showEvent(QShowEvent* event) {
    PictureWindow::showEvent(event);
    // Restoring from the task bar is no new showing of the window.
    if (!event->spontaneous()) {
        FormShow();
    }
}

ReaderControlValues MoneyWindow::readerControls() const {
    ReaderControlValues controls;
    controls.portIndex = portIndex();
    controls.model = model();
    return controls;
}

void MoneyWindow::FormShow() {
    TQJOption option;
    LoadTerminalOptions(programFolder_, option);
    ReaderControlValues controls = readerControls();
    ApplyTerminalOptions(option, controls);
    cbReaderIF->setCurrentIndex(controls.portIndex);
    cbReaderType->setCurrentIndex(cbReaderType->findText(QString::fromStdString(controls.model)));
}

bool MoneyWindow::FormCloseQuery() {
    return RunReportingErrors(
        boxes_, this, [this] { WriteReaderSettings(programFolder_, readerControls(), false); });
}

void MoneyWindow::atReaderCardExecute() {
    ReadAndShowCard();
}

MoneyWindow::ReadOutcome MoneyWindow::ReadAndShowCard() {
    TMemberCardImage image;
    int result = 0;
    {
        BusyCursor busy;
        result = card_.Read(portIndex(), model(), image);
    }
    if (result != 0) {
        showMessage(QString::fromUtf8(kReadFailedMessage));
        moneyAction->setEnabled(false);
        return {};
    }
    moneyAction->setEnabled(true);
    FLastSerial = image.Serial;
    TMemberRecord record;
    const TCardCheck check = DecodeMemberCard(image, FExpectedScheme, record);
    etMemberCode->setText(QString::fromStdString(record.MemberCode));
    if (ReachedSector2Fields(check)) {
        etMemberName->setText(QString::fromStdString(record.MemberName));
    }
    if (check != TCardCheck::ccOk) {
        showMessage(QString::fromUtf8(CardCheckMessage(check)));
        return {true, check, 0};
    }
    showMessage(kReadOkMessage);
    etCurPaySum->setText(QString::number(record.MemberPoints));
    suiCurStoreMoney->setValue(record.StoreMoney / 100.0);
    return {true, check, record.StoreMoney};
}

void MoneyWindow::MoneyActionExecute() {
    // An emptied field keeps its earlier value: the amount is the one shown, 0.
    if (ReadNumberText(amountField->text()).kind == NumberReading::Unfinished) {
        amountField->formatText();
    }
    // Checked before any card call: the card holds 32-bit cents and no negative amount.
    const double amount = amountField->value();
    const CentsConversion conversion = YuanToCents(amount);
    if (conversion.refusal == CentsConversion::Negative) {
        showMessage(kNegativeAmountMessage);
        return;
    }
    if (conversion.refusal == CentsConversion::TooLarge) {
        showMessage(kAmountTooLargeMessage);
        return;
    }

    const ReadOutcome read = ReadAndShowCard();
    // A card that failed its checks is never written: its message stands.
    if (read.readOk && read.check != TCardCheck::ccOk) {
        return;
    }
    // After a failed read this compares the balance still shown, and only ever refuses.
    if (kind_.direction == MoneyWindowKind::Debit && !(suiCurStoreMoney->value() >= amount)) {
        moneyAction->setEnabled(false);
        showResultBox(kBalanceTooLowMessage,
                      QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                      QMessageBox::NoIcon);
        return;
    }
    if (!read.readOk) {
        return;
    }
    uint32_t balanceAfter = 0;
    if (kind_.direction == MoneyWindowKind::Credit) {
        const auto credited = BalanceAfterCredit(read.balanceCents, conversion.cents);
        if (!credited) {
            showMessage(kBalanceTooLargeMessage);
            return;
        }
        balanceAfter = *credited;
    } else {
        balanceAfter = read.balanceCents - conversion.cents;
    }

    int result = 0;
    {
        BusyCursor busy;
        result = kind_.direction == MoneyWindowKind::Debit
                     ? card_.Debit(portIndex(), model(), conversion.cents, FLastSerial)
                     : card_.Credit(portIndex(), model(), conversion.cents, FLastSerial);
    }
    moneyAction->setEnabled(false);
    if (result != 0) {
        const QString failure = QString::fromUtf8(kind_.failureMessage);
        showMessage(failure);
        amountField->setValue(0);
        showResultBox(failure, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                      QMessageBox::NoIcon);
        return;
    }
    const QString done =
        QString::fromUtf8(kind_.successPrefix) + amountField->text() + QStringLiteral(" 元");
    showMessage(done);
    suiCurStoreMoney->setValue(balanceAfter / 100.0);
    amountField->setValue(0);
    showResultBox(done, QMessageBox::Ok, QMessageBox::Question);
}

void MoneyWindow::showMessage(const QString& text) {
    lbMessageInfo->setText(text);
    lbMessageInfo->adjustSize();
}

void MoneyWindow::showResultBox(const QString& text, QMessageBox::StandardButtons buttons,
                                QMessageBox::Icon icon) {
    boxes_.show(this, {kBoxCaption, text, buttons, icon});
}

}  // namespace kx
