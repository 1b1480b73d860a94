// What the payment and the recharge window do alike, each case run on both windows.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "MoneyTesting.h"
#include "settings/TerminalOptions.h"

namespace kx::test {
namespace {

using Operations = std::vector<std::string>;

class MoneyWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void readShowsWhatTheChecksReached_data();
    void readShowsWhatTheChecksReached();
    void successShowsTheAmountAndTheNewBalance_data();
    void successShowsTheAmountAndTheNewBalance();
    void convertsTheDecimalAmountToCents_data();
    void convertsTheDecimalAmountToCents();
    void failedWriteResetsTheAmountAndKeepsTheBalance_data();
    void failedWriteResetsTheAmountAndKeepsTheBalance();
    void actionIsDisabledAfterEachAttempt_data();
    void actionIsDisabledAfterEachAttempt();
    void cardFailingItsChecksIsNeverWritten_data();
    void cardFailingItsChecksIsNeverWritten();
    void amountTheCardCannotHoldIsRefusedBeforeAnyCardCall_data();
    void amountTheCardCannotHoldIsRefusedBeforeAnyCardCall();
    void amountTextNotANumberIsReportedInTheErrorBox_data();
    void amountTextNotANumberIsReportedInTheErrorBox();
    void commonAmountsSetTheAmountText_data();
    void commonAmountsSetTheAmountText();
    void readerListsComeFromTheSettingsAndGoBack_data();
    void readerListsComeFromTheSettingsAndGoBack();
    void readerListsChooseThePortAndModelOfEachCall_data();
    void readerListsChooseThePortAndModelOfEachCall();
};

constexpr Terminal kTerminals[] = {Terminal::Pay, Terminal::Inc};

QTestData& NewRow(Terminal terminal, const char* name) {
    const QString prefix = terminal == Terminal::Pay ? "pay, " : "recharge, ";
    return QTest::newRow(qPrintable(prefix + name)) << terminal;
}

void AddTerminalRows(const char* name) {
    for (const Terminal terminal : kTerminals) {
        NewRow(terminal, name);
    }
}

void AddTerminalColumn() {
    QTest::addColumn<Terminal>("terminal");
}

void MoneyWindowTest::readShowsWhatTheChecksReached_data() {
    AddTerminalColumn();
    QTest::addColumn<std::optional<TCardCheck>>("check");  // none: the read fails
    QTest::addColumn<bool>("codeShown");
    QTest::addColumn<bool>("nameShown");
    QTest::addColumn<bool>("valuesShown");
    QTest::addColumn<bool>("actionEnabled");
    for (const Terminal terminal : kTerminals) {
        NewRow(terminal, "ok") << std::optional(TCardCheck::ccOk) << true << true << true << true;
        NewRow(terminal, "not a scheme card")
            << std::optional(TCardCheck::ccNotSchemeCard) << true << true << false << true;
        NewRow(terminal, "sector 4 check byte")
            << std::optional(TCardCheck::ccSector4Crc) << true << true << false << true;
        NewRow(terminal, "not a shop member")
            << std::optional(TCardCheck::ccNotShopMember) << true << false << false << true;
        NewRow(terminal, "read fails")
            << std::optional<TCardCheck>() << false << false << false << false;
    }
}

void MoneyWindowTest::readShowsWhatTheChecksReached() {
    QFETCH(Terminal, terminal);
    QFETCH(std::optional<TCardCheck>, check);
    QFETCH(bool, codeShown);
    QFETCH(bool, nameShown);
    QFETCH(bool, valuesShown);
    QFETCH(bool, actionEnabled);
    ShownWindow w(terminal);
    w.read(MemberCard(50000, 0x0BADF00D));  // an earlier card
    auto* name = w.find<QLineEdit>("etMemberName");
    name->setText("earlier");
    auto* points = w.find<QLineEdit>("etCurPaySum");
    points->setText("earlier");
    QVERIFY(w.moneyAction()->isEnabled());

    if (check) {
        const TMemberCardImage card =
            *check == TCardCheck::ccOk ? MemberCard(12345, 0x1A2B3C4D) : CardFailing(*check, 12345);
        w.read(card);
    } else {
        w.card.onReader.reset();
        w.key(Qt::Key_F10);
    }
    QCOMPARE(w.find<QLineEdit>("etMemberCode")->text(), codeShown ? "1A2B3C4D" : "0BADF00D");
    QCOMPARE(name->text(), nameShown ? "张三" : "earlier");
    QCOMPARE(points->text(), valuesShown ? "678" : "earlier");
    QCOMPARE(w.balance()->text(), valuesShown ? "123.45" : "500.00");
    QCOMPARE(w.moneyAction()->isEnabled(), actionEnabled);
    QCOMPARE(w.find<QAbstractButton>("btOK")->isEnabled(), actionEnabled);
    const QString expected = !check ? QString::fromUtf8(kReadFailedMessage)
                             : *check == TCardCheck::ccOk
                                 ? QStringLiteral("读取会员数据成功！")
                                 : QString::fromUtf8(CardCheckMessage(*check));
    QCOMPARE(w.message()->text(), expected);
    QVERIFY(w.boxes.shown.isEmpty());
}

void MoneyWindowTest::successShowsTheAmountAndTheNewBalance_data() {
    AddTerminalColumn();
    QTest::addColumn<QString>("label");
    QTest::addColumn<uint32_t>("balanceBefore");
    QTest::addColumn<QString>("balanceAfter");
    QTest::newRow("pay 100元 from 250.00") << Terminal::Pay << "Label17" << 25000u << "150.00";
    QTest::newRow("recharge 50元 onto 20.00") << Terminal::Inc << "Label3" << 2000u << "70.00";
}

void MoneyWindowTest::successShowsTheAmountAndTheNewBalance() {
    QFETCH(Terminal, terminal);
    QFETCH(QString, label);
    QFETCH(uint32_t, balanceBefore);
    QFETCH(QString, balanceAfter);
    ShownWindow w(terminal);
    w.read(MemberCard(balanceBefore));
    auto* amountLabel = w.find<QLabel>(qPrintable(label));
    QTest::mouseClick(amountLabel, Qt::LeftButton);
    const QString amountText = w.amount()->text();
    QString messageWhileBoxOpen;
    w.boxes.onShow = [&](const MessageBoxRequest&) { messageWhileBoxOpen = w.message()->text(); };
    w.key(Qt::Key_F5);

    const QString done = QString::fromUtf8(w.texts.successPrefix) + amountText + " 元";
    QCOMPARE(w.message()->text(), done);
    QCOMPARE(messageWhileBoxOpen, done);
    QCOMPARE(w.balance()->text(), balanceAfter);
    QCOMPARE(w.amount()->text(), "0.00");
    QCOMPARE(w.amount()->value(), 0.0);
    QCOMPARE(w.boxes.shown.size(), 1);
    const MessageBoxRequest& box = w.boxes.shown.front().request;
    QCOMPARE(box.caption, " 提示");
    QCOMPARE(box.text, done);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(w.boxes.shown.front().parent, w.window.get());
    QCOMPARE(w.operations(), (Operations{"read", "read", w.texts.writeOperation}));
    QCOMPARE(QString::number(w.card.balance() / 100.0, 'f', 2), balanceAfter);
}

void MoneyWindowTest::convertsTheDecimalAmountToCents_data() {
    AddTerminalColumn();
    QTest::addColumn<QString>("amount");
    QTest::addColumn<uint32_t>("cents");
    const struct {
        const char* amount;
        uint32_t cents;
    } amounts[] = {{"0.29", 29},     {"1.15", 115},     {"4.35", 435},
                   {"12.345", 1234}, {"1,000", 100000}, {"0", 0}};
    for (const Terminal terminal : kTerminals) {
        for (const auto& amount : amounts) {
            NewRow(terminal, amount.amount) << QString(amount.amount) << amount.cents;
        }
    }
}

void MoneyWindowTest::convertsTheDecimalAmountToCents() {
    QFETCH(Terminal, terminal);
    QFETCH(QString, amount);
    QFETCH(uint32_t, cents);
    ShownWindow w(terminal);
    w.pay(MemberCard(200000), amount);
    QCOMPARE(w.operations(), (Operations{"read", "read", w.texts.writeOperation}));
    QCOMPARE(w.card.calls.back().cents, cents);
}

void MoneyWindowTest::failedWriteResetsTheAmountAndKeepsTheBalance_data() {
    AddTerminalColumn();
    AddTerminalRows("card write fails");
}

void MoneyWindowTest::failedWriteResetsTheAmountAndKeepsTheBalance() {
    QFETCH(Terminal, terminal);
    ShownWindow w(terminal);
    w.card.writeResult = -1;
    w.pay(MemberCard(10000), "30");
    const QString failure = QString::fromUtf8(w.texts.failureMessage);
    QCOMPARE(w.message()->text(), failure);
    QCOMPARE(w.amount()->text(), "0.00");
    QCOMPARE(w.amount()->value(), 0.0);
    QCOMPARE(w.balance()->text(), "100.00");
    QCOMPARE(w.boxes.shown.size(), 1);
    const MessageBoxRequest& box = w.boxes.shown.front().request;
    QCOMPARE(box.caption, " 提示");
    QCOMPARE(box.text, failure);
    QCOMPARE(box.buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
}

void MoneyWindowTest::actionIsDisabledAfterEachAttempt_data() {
    AddTerminalColumn();
    QTest::addColumn<int>("writeResult");
    QTest::addColumn<bool>("cardOnReader");
    QTest::addColumn<Operations>("operations");
    for (const Terminal terminal : kTerminals) {
        const std::string write = TextsOf(terminal).writeOperation;
        NewRow(terminal, "written") << 0 << true << Operations{"read", "read", write};
        NewRow(terminal, "write fails") << -1 << true << Operations{"read", "read", write};
        NewRow(terminal, "card gone") << 0 << false << Operations{"read", "read"};
    }
}

void MoneyWindowTest::actionIsDisabledAfterEachAttempt() {
    QFETCH(Terminal, terminal);
    QFETCH(int, writeResult);
    QFETCH(bool, cardOnReader);
    QFETCH(Operations, operations);
    ShownWindow w(terminal);
    w.read(MemberCard(10000));
    w.card.writeResult = writeResult;
    if (!cardOnReader) {
        w.card.onReader.reset();
    }
    w.amount()->setText("5");
    w.key(Qt::Key_F5);
    QVERIFY(!w.moneyAction()->isEnabled());
    auto* button = w.find<QAbstractButton>("btOK");
    QVERIFY(!button->isEnabled());
    w.key(Qt::Key_F5);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(w.operations(), operations);  // only the first read and the one attempt

    w.card.onReader = MemberCard(10000);
    w.key(Qt::Key_F10);
    QVERIFY(w.moneyAction()->isEnabled());
}

void MoneyWindowTest::cardFailingItsChecksIsNeverWritten_data() {
    AddTerminalColumn();
    AddTerminalRows("card changed for one failing its checks");
}

void MoneyWindowTest::cardFailingItsChecksIsNeverWritten() {
    QFETCH(Terminal, terminal);
    ShownWindow w(terminal);
    w.read(MemberCard(100000));  // 1000.00 shown
    const TMemberCardImage failing = CardFailing(TCardCheck::ccNotSchemeCard, 0);
    w.card.onReader = failing;
    w.amount()->setText("50");
    w.key(Qt::Key_F5);
    QCOMPARE(w.operations(), (Operations{"read", "read"}));
    QCOMPARE(w.card.balance(), 0u);
    QCOMPARE(w.message()->text(), QString::fromUtf8(CardCheckMessage(TCardCheck::ccNotSchemeCard)));
    QVERIFY(w.boxes.shown.isEmpty());
    QCOMPARE(w.amount()->text(), "50");
    // The read transaction itself went through: the action stays available.
    QVERIFY(w.moneyAction()->isEnabled());
}

void MoneyWindowTest::amountTheCardCannotHoldIsRefusedBeforeAnyCardCall_data() {
    AddTerminalColumn();
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    const QString negative = "金额不能为负数，请重新输入！";
    const QString tooLarge = "金额超出范围，不能超过 42949672.95 元，请重新输入！";
    for (const Terminal terminal : kTerminals) {
        NewRow(terminal, "pasted -5") << "-5" << negative;
        NewRow(terminal, "pasted -0.01") << "-0.01" << negative;
        NewRow(terminal, "one cent above 32 bits") << "42949672.96" << tooLarge;
        NewRow(terminal, "far above") << "1,000,000,000" << tooLarge;
    }
}

void MoneyWindowTest::amountTheCardCannotHoldIsRefusedBeforeAnyCardCall() {
    QFETCH(Terminal, terminal);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    ShownWindow w(terminal);
    w.read(MemberCard(4294967295u));
    w.card.calls.clear();
    w.amount()->setText(amount);
    w.key(Qt::Key_F5);
    QVERIFY(w.card.calls.empty());
    QCOMPARE(w.message()->text(), message);
    QCOMPARE(w.amount()->text(), amount);
    QVERIFY(w.boxes.shown.isEmpty());
    QVERIFY(w.moneyAction()->isEnabled());
    QCOMPARE(w.card.balance(), 4294967295u);
}

void MoneyWindowTest::amountTextNotANumberIsReportedInTheErrorBox_data() {
    AddTerminalColumn();
    AddTerminalRows("pasted 12元");
}

void MoneyWindowTest::amountTextNotANumberIsReportedInTheErrorBox() {
    QFETCH(Terminal, terminal);
    QApplication::setApplicationDisplayName("Till");
    ShownWindow w(terminal);
    QTest::mouseClick(w.find<QLabel>("Label18"), Qt::LeftButton);  // 200元
    w.amount()->setText("12元");
    QCOMPARE(w.amount()->text(), "200.00");
    QCOMPARE(w.amount()->value(), 200.0);
    QCOMPARE(w.boxes.shown.size(), 1);
    QCOMPARE(w.boxes.shown.front().parent, w.window.get());
    QCOMPARE(w.boxes.shown.front().request.text, "'12元' is not a valid floating point value");
    QCOMPARE(w.boxes.shown.front().request.caption, "Till");
}

void MoneyWindowTest::commonAmountsSetTheAmountText_data() {
    AddTerminalColumn();
    AddTerminalRows("50元 then 1000元");
}

void MoneyWindowTest::commonAmountsSetTheAmountText() {
    QFETCH(Terminal, terminal);
    ShownWindow w(terminal);
    const struct {
        const char* name;
        const char* caption;
        const char* text;
    } labels[] = {{"Label3", "50元", "50.00"},
                  {"Label17", "100元", "100.00"},
                  {"Label18", "200元", "200.00"},
                  {"Label19", "500元", "500.00"},
                  {"Label20", "1000元", "1000.00"}};
    for (const auto& label : labels) {
        auto* widget = w.find<QLabel>(label.name);
        QCOMPARE(widget->text(), QString::fromUtf8(label.caption));
        QTest::mouseClick(widget, Qt::LeftButton);
        QCOMPARE(w.amount()->text(), QString::fromUtf8(label.text));
        QCOMPARE(w.amount()->value(), QString::fromUtf8(label.text).toDouble());
    }
    QCOMPARE(w.find<QLabel>("Label16")->text(), "常用:");
}

void MoneyWindowTest::readerListsComeFromTheSettingsAndGoBack_data() {
    AddTerminalColumn();
    AddTerminalRows("settings file");
}

void MoneyWindowTest::readerListsComeFromTheSettingsAndGoBack() {
    QFETCH(Terminal, terminal);
    ShownWindow w(terminal, "[KXNetDevice]\r\nKXDCOMM=2\r\nKXDTypeID=KXD101\r\n");
    auto* port = w.find<QComboBox>("cbReaderIF");
    auto* model = w.find<QComboBox>("cbReaderType");
    QCOMPARE(port->currentText(), "COM2");
    QCOMPARE(model->currentText(), "KXD101");
    port->setCurrentIndex(5);
    model->setCurrentIndex(3);
    QVERIFY(w.window->close());
    TQJOption option;
    LoadTerminalOptions(w.programFolder.path().toStdString(), option);
    QCOMPARE(option.KXDCOMM, 5);
    QCOMPARE(option.KXDTypeID, std::string("KXD103"));
}

void MoneyWindowTest::readerListsChooseThePortAndModelOfEachCall_data() {
    AddTerminalColumn();
    AddTerminalRows("COM3, KXD101");
}

void MoneyWindowTest::readerListsChooseThePortAndModelOfEachCall() {
    QFETCH(Terminal, terminal);
    ShownWindow w(terminal);
    QCOMPARE(w.find<QComboBox>("cbReaderIF")->currentText(), "USB");
    QCOMPARE(w.find<QComboBox>("cbReaderType")->currentText(), "KXD103");
    w.find<QComboBox>("cbReaderIF")->setCurrentIndex(3);
    w.find<QComboBox>("cbReaderType")->setCurrentIndex(1);
    w.pay(MemberCard(10000), "1");
    QCOMPARE(w.card.calls.size(), std::size_t{3});
    for (const FakeCard::Call& call : w.card.calls) {
        QCOMPARE(call.port, 3);
        QCOMPARE(call.model, std::string("KXD101"));
    }
}

}  // namespace
}  // namespace kx::test

QTEST_MAIN(kx::test::MoneyWindowTest)
#include "MoneyWindowTest.moc"
