#include "FmKxNetInfoTerminalMain.h"

#include <QAction>
#include <QCheckBox>
#include <QShortcut>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>

#include "CardReadDisplay.h"
#include "card/ReaderSdk.h"
#include "widgets/ActionButton.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"
#include "widgets/ErrorBox.h"
#include "widgets/ImageButton.h"
#include "widgets/NumberEdit.h"
#include "widgets/SpeedButton.h"

namespace kx {

namespace {

const QStringList kPortNames{"USB", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6"};
const QStringList kSexNames{"男", "女"};
const QStringList kCerTypeNames{"身份证", "军官证", "护照", "入境证", "临时身份证", "其他"};
constexpr int kMinAutoReadSeconds = 2;
constexpr int kMaxAutoReadSeconds = 30;

QStringList ModelNames() {
    QStringList names;
    for (const std::string_view name : kReaderModelNames) {
        names << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    return names;
}

QLineEdit* AddReadOnlyEdit(QWidget* parent, const char* name, const QRect& geometry) {
    QLineEdit* edit = AddFlatEdit(parent, name, geometry);
    edit->setReadOnly(true);
    return edit;
}

void SetText(QLineEdit* edit, const std::optional<std::string>& text) {
    if (text) {
        edit->setText(QString::fromStdString(*text));
    }
}

void SetItem(QComboBox* list, const std::optional<int>& item) {
    if (item) {
        list->setCurrentIndex(*item);
    }
}

}  // namespace

TKxNetInfoTerminalMainForm::TKxNetInfoTerminalMainForm(CardAccess& card, MessageBoxes& boxes,
                                                       std::filesystem::path programFolder,
                                                       QWidget* parent)
    : PictureWindow(parent), card_(card), boxes_(boxes), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("KxNetInfoTerminalMainForm"));
    setWindowTitle(kInfoTerminalCaption);
    CreateControls();
    CreateActions();
    FormCreate();
}

void TKxNetInfoTerminalMainForm::CreateControls() {
    SpeedButton5 = Place<SpeedButton>(this, "SpeedButton5", {962, 2, 34, 18});
    SpeedButton4 = Place<SpeedButton>(this, "SpeedButton4", {996, 2, 31, 18});
    AddLabel(this, "Label6", kInfoTerminalTitle, {418, 64}, 24);
    AddLabel(this, "lbVersison", QStringLiteral("V1"), {623, 52}, 37, Qt::red);

    AddLabel(this, "LB1", QStringLiteral("会员编号："), {314, 151});
    etMemberCode = AddReadOnlyEdit(this, "etMemberCode", {382, 147, 281, 21});
    AddLabel(this, "LB2", QStringLiteral("会员名称："), {314, 194});
    etMemberName = AddReadOnlyEdit(this, "etMemberName", {382, 190, 281, 21});
    AddLabel(this, "LB3", QStringLiteral("会员性别："), {314, 237});
    cbMemberSex = AddDropDownList(this, "cbMemberSex", {382, 233, 115, 21}, kSexNames);
    cbMemberSex->setEnabled(false);
    KeepReadableWhenDisabled(cbMemberSex);
    AddLabel(this, "Label5", QStringLiteral("会员积分："), {512, 237});
    // Editable, though nothing uses what is typed into it.
    etCurPaySum = AddFlatEdit(this, "etCurPaySum", {583, 233, 80, 21});
    AddLabel(this, "LB4", QStringLiteral("会员生日："), {314, 281});
    dtMemBirthday = AddReadOnlyEdit(this, "dtMemBirthday", {382, 277, 115, 21});
    AddLabel(this, "Label4", QStringLiteral("会员年龄："), {512, 281});
    dtMemBirthdaySum = AddReadOnlyEdit(this, "dtMemBirthdaySum", {583, 277, 80, 21});
    AddLabel(this, "LB12", QStringLiteral("移动电话："), {314, 324});
    etMobilePhone = AddReadOnlyEdit(this, "etMobilePhone", {382, 320, 281, 21});
    AddLabel(this, "LB6", QStringLiteral("证件名称:"), {314, 368});
    cbcCerTypeName = AddDropDownList(this, "cbcCerTypeName", {382, 364, 281, 21}, kCerTypeNames);
    cbcCerTypeName->setEnabled(false);
    KeepReadableWhenDisabled(cbcCerTypeName);
    AddLabel(this, "LB17", QStringLiteral("证件编码:"), {314, 411});
    etCerNO = AddReadOnlyEdit(this, "etCerNO", {382, 407, 281, 21});
    AddLabel(this, "LB9", QStringLiteral("现在住址:"), {314, 455});
    etCerNewAddr = AddReadOnlyEdit(this, "etCerNewAddr", {382, 451, 281, 21});

    AddLabel(this, "Label14", QStringLiteral("可用金额："), {314, 494});
    suiCurStoreMoney = Place<NumberEdit>(this, "suiCurStoreMoney", {382, 487, 282, 27});
    suiCurStoreMoney->setReadOnly(true);
    suiCurStoreMoney->setEnabled(false);
    SetPixelSize(suiCurStoreMoney, 24);
    KeepReadableWhenDisabled(suiCurStoreMoney);
    QPalette money = suiCurStoreMoney->palette();
    money.setColor(QPalette::Disabled, QPalette::Base, Qt::yellow);
    suiCurStoreMoney->setPalette(money);

    lbMessageInfo =
        AddLabel(this, "lbMessageInfo", QString(), {319, 543}, kDefaultFontPixels, Qt::red);
    spReadCard = Place<ImageButton>(this, "spReadCard", {355, 578, 318, 79});
    spReadCard->setText(QStringLiteral("读取卡中会员信息"));

    chAutoReaderCard = Place<QCheckBox>(this, "chAutoReaderCard", {14, 706, 73, 17});
    chAutoReaderCard->setText(QStringLiteral("自动读卡"));
    spAutoReadTime = Place<QSpinBox>(this, "spAutoReadTime", {86, 703, 43, 22});
    spAutoReadTime->setRange(kMinAutoReadSeconds, kMaxAutoReadSeconds);
    spAutoReadTime->setValue(5);
    AddLabel(this, "Label3", QStringLiteral("秒扫描一次"), {141, 708});
    AddLabel(this, "Label1", QStringLiteral("选择端口"), {222, 708});
    cbReaderIF = AddDropDownList(this, "cbReaderIF", {282, 704, 63, 21}, kPortNames);
    cbReaderIF->setCurrentIndex(0);
    AddLabel(this, "Label2", QStringLiteral("设备型号"), {349, 708});
    cbReaderType = AddDropDownList(this, "cbReaderType", {404, 704, 69, 21}, ModelNames());
    cbReaderType->setCurrentText(QStringLiteral("KXD103"));
    fcConnection = Place<ImageButton>(this, "fcConnection", {483, 700, 67, 28});
    fcConnection->setText(kConnectCaption);
}

void TKxNetInfoTerminalMainForm::CreateActions() {
    const auto newAction = [this](const char* name, const QString& caption) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        addAction(action);  // its shortcut works anywhere in the window
        return action;
    };
    atReaderCard = newAction("atReaderCard", QStringLiteral("读取卡中会员信息"));
    atReaderCard->setShortcut(Qt::Key_F10);
    atConnection = newAction("atConnection", kConnectCaption);  // no key: F5 does nothing
    atClose = newAction("atClose", QString());
    atMinimize = newAction("atMinimize", QString());
    connect(atReaderCard, &QAction::triggered, this, [this] { atReaderCardExecute(); });
    connect(atConnection, &QAction::triggered, this, [this] { atConnectionExecute(); });
    connect(atClose, &QAction::triggered, this, [this] { atCloseExecute(); });
    connect(atMinimize, &QAction::triggered, this, [this] { atMinimizeExecute(); });

    BindButtonToAction(spReadCard, atReaderCard);
    BindButtonToAction(fcConnection, atConnection);
    BindButtonToAction(SpeedButton4, atClose);
    BindButtonToAction(SpeedButton5, atMinimize);

    // Both image buttons cancel; Escape clicks the first created, the connect button. An open
    // drop-down list keeps Escape for itself.
    auto* escape = new QShortcut(Qt::Key_Escape, this);
    connect(escape, &QShortcut::activated, fcConnection, &QAbstractButton::click);

    AutoReadTime = new QTimer(this);
    AutoReadTime->setObjectName(QStringLiteral("AutoReadTime"));
    AutoReadTime->setTimerType(Qt::PreciseTimer);  // a full interval, not one rounded down
    connect(AutoReadTime, &QTimer::timeout, this, [this] { AutoReadTimeTimer(); });
}

void TKxNetInfoTerminalMainForm::FormCreate() {
    FExpectedScheme = kExpectedSchemeCode;
}

void TKxNetInfoTerminalMainForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {  // not a restore from the task bar
        FormShow();
    }
    PictureWindow::showEvent(event);
}

void TKxNetInfoTerminalMainForm::FormShow() {
    TQJOption option;
    LoadTerminalOptions(programFolder_, option);
    ReaderControlValues values = ReaderControls();
    ApplyTerminalOptions(option, values);
    cbReaderIF->setCurrentIndex(values.portIndex);
    cbReaderType->setCurrentIndex(cbReaderType->findText(QString::fromStdString(values.model)));
    spAutoReadTime->setValue(values.autoReadSeconds);
    chAutoReaderCard->setChecked(values.autoRead);
}

bool TKxNetInfoTerminalMainForm::FormCloseQuery() {
    return RunReportingErrors(boxes_, this, [this] { SaveReaderSettings(); });
}

void TKxNetInfoTerminalMainForm::SaveReaderSettings() {
    WriteReaderSettings(programFolder_, ReaderControls(), /*withAutoRead=*/true);
}

ReaderControlValues TKxNetInfoTerminalMainForm::ReaderControls() const {
    return {cbReaderIF->currentIndex(), cbReaderType->currentText().toStdString(),
            ShownValue(spAutoReadTime), chAutoReaderCard->isChecked()};
}

void TKxNetInfoTerminalMainForm::ReadAndShowCard() {
    TMemberCardImage image;
    int result = 0;
    {
        BusyCursor busy;
        result = card_.Read(cbReaderIF->currentIndex(), cbReaderType->currentText().toStdString(),
                            image);
    }
    if (result == 0) {
        FLastSerial = image.Serial;
    }
    const CardReadDisplay display = DisplayOfCardRead(result, image, FExpectedScheme, LocalToday());
    ShowCardRead(display);
    if (display.invalidBirthdayError) {
        throw DateError(*display.invalidBirthdayError);
    }
}

void TKxNetInfoTerminalMainForm::ShowCardRead(const CardReadDisplay& display) {
    SetText(etMemberCode, display.memberCode);
    SetText(etCerNO, display.cerNO);
    SetText(etMemberName, display.memberName);
    SetItem(cbcCerTypeName, display.cerTypeIndex);
    SetItem(cbMemberSex, display.sexIndex);
    SetText(etCerNewAddr, display.address);
    SetText(etMobilePhone, display.mobilePhone);
    SetText(dtMemBirthday, display.birthday);
    SetText(dtMemBirthdaySum, display.age);
    SetText(etCurPaySum, display.points);
    if (display.storeMoneyCents) {
        suiCurStoreMoney->setValue(*display.storeMoneyCents / 100.0);
    }
    if (display.message) {
        lbMessageInfo->setText(QString::fromStdString(*display.message));
        lbMessageInfo->adjustSize();
    }
}

bool TKxNetInfoTerminalMainForm::ReadReportingErrors() {
    return RunReportingErrors(boxes_, this, [this] { ReadAndShowCard(); });
}

void TKxNetInfoTerminalMainForm::ReadWithTimerPaused() {
    AutoReadTime->stop();
    atReaderCard->setEnabled(false);
    atConnection->setEnabled(false);
    // The error box of a failed read shows before the timer runs again, so that a card that
    // keeps failing cannot stack one box on another.
    ReadReportingErrors();
    AutoReadTime->start();
    atReaderCard->setEnabled(true);
    atConnection->setEnabled(true);
}

void TKxNetInfoTerminalMainForm::atReaderCardExecute() {
    if (AutoReadTime->isActive()) {
        ReadWithTimerPaused();
        return;
    }
    atReaderCard->setEnabled(false);
    ReadReportingErrors();
    atReaderCard->setEnabled(true);
}

void TKxNetInfoTerminalMainForm::atConnectionExecute() {
    if (fcConnection->text() != kConnectCaption) {
        AutoReadTime->stop();
        fcConnection->setText(kConnectCaption);
        return;
    }
    AutoReadTime->setInterval(ShownValue(spAutoReadTime) * 1000);
    if (!ReadReportingErrors()) {
        return;  // the read ended with an error: not connected
    }
    if (chAutoReaderCard->isChecked()) {
        AutoReadTime->start();
    }
    fcConnection->setText(kDisconnectCaption);
}

void TKxNetInfoTerminalMainForm::AutoReadTimeTimer() {
    ReadWithTimerPaused();
}

void TKxNetInfoTerminalMainForm::atCloseExecute() {
    close();
}

void TKxNetInfoTerminalMainForm::atMinimizeExecute() {
    showMinimized();
}

}  // namespace kx
