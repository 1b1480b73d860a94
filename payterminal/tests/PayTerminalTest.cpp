// What only the payment window does: the balance test, the keypad, a click selecting the whole
// amount, and its controls.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "MoneyTesting.h"
#include "payterminal/Keypad.h"

namespace kx::test {
namespace {

using Operations = std::vector<std::string>;

class PayTerminalTest : public QObject {
    Q_OBJECT

  private slots:
    void balanceTest_data();
    void balanceTest();
    void cardTakenAwayAfterTheRead_data();
    void cardTakenAwayAfterTheRead();
    void typedAmountIsNamedAsShownWhenPaying_data();
    void typedAmountIsNamedAsShownWhenPaying();
    void clickInTheAmountSelectsItAll();
    void emptiedAmountPaysNothingHidden();

    void digitKeysTypeBeforeTheirRelease_data();
    void digitKeysTypeBeforeTheirRelease();
    void keypadNeverTakesTheFocus();
    void hashFromAnotherControlClearsThenErases();
    void refusedDecimalPointStillMovesTheCaret();
    void oneKeyPutsTheCaretAfterWhatItReplaced();

    void controlsArePlacedAndNamed_data();
    void controlsArePlacedAndNamed();
    void tabOrderStartsAtTheReadButton();
};

// A press of a keypad key whose release is queued behind whatever the press posted, as the
// window system delivers it. Returns the amount text at the moment the key is released.
QString PressKey(const ShownWindow& w, const char* name) {
    auto* key = w.find<QAbstractButton>(name);
    QString textAtRelease;
    const auto connection = QObject::connect(key, &QAbstractButton::released, key,
                                             [&] { textAtRelease = w.amount()->text(); });
    const QPoint centre = key->rect().center();
    QTest::mousePress(key, Qt::LeftButton, {}, centre);
    QCoreApplication::postEvent(
        key, new QMouseEvent(QEvent::MouseButtonRelease, centre, key->mapToGlobal(centre),
                             Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::processEvents();
    QObject::disconnect(connection);
    return textAtRelease;
}

void PayTerminalTest::balanceTest_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("paid");
    QTest::newRow("equal to the balance") << "123.45" << true;
    QTest::newRow("one cent above") << "123.46" << false;
    QTest::newRow("a fraction of a cent above") << "123.451" << false;
}

void PayTerminalTest::balanceTest() {
    QFETCH(QString, amount);
    QFETCH(bool, paid);
    ShownWindow w(Terminal::Pay);
    w.pay(MemberCard(12345), amount);
    if (paid) {
        QCOMPARE(w.operations(), (Operations{"read", "read", "debit"}));
        QCOMPARE(w.card.balance(), 0u);
        QCOMPARE(w.balance()->text(), "0.00");
        return;
    }
    QCOMPARE(w.operations(), (Operations{"read", "read"}));
    QCOMPARE(w.card.balance(), 12345u);
    QCOMPARE(w.amount()->text(), amount);
    QVERIFY(!w.moneyAction()->isEnabled());
    QCOMPARE(w.boxes.shown.size(), 1);
    const MessageBoxRequest& box = w.boxes.shown.front().request;
    QCOMPARE(box.caption, " 提示");
    QCOMPARE(box.text, "可用金额不够，不能完成支付操作！");
    QCOMPARE(box.buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(w.message()->text(), "读取会员数据成功！");
}

void PayTerminalTest::cardTakenAwayAfterTheRead_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("balanceBox");
    QTest::newRow("within the balance shown") << "50" << false;
    QTest::newRow("above the balance shown") << "150" << true;
}

void PayTerminalTest::cardTakenAwayAfterTheRead() {
    QFETCH(QString, amount);
    QFETCH(bool, balanceBox);
    ShownWindow w(Terminal::Pay);
    w.read(MemberCard(10000));
    w.card.onReader.reset();
    w.amount()->setText(amount);
    w.key(Qt::Key_F5);
    QCOMPARE(w.operations(), (Operations{"read", "read"}));
    QCOMPARE(w.message()->text(), QString::fromUtf8(kReadFailedMessage));
    QCOMPARE(w.boxes.shown.size(), balanceBox ? 1 : 0);
    if (balanceBox) {
        QCOMPARE(w.boxes.shown.front().request.text, "可用金额不够，不能完成支付操作！");
    }
    QCOMPARE(w.amount()->text(), amount);
    QCOMPARE(w.balance()->text(), "100.00");
    QVERIFY(!w.moneyAction()->isEnabled());
}

void PayTerminalTest::typedAmountIsNamedAsShownWhenPaying_data() {
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<QString>("done");
    QTest::newRow("F5 leaves the focus in the field") << false << "成功支付：12 元";
    QTest::newRow("the button takes the focus first") << true << "成功支付：12.00 元";
}

void PayTerminalTest::typedAmountIsNamedAsShownWhenPaying() {
    QFETCH(bool, byButton);
    QFETCH(QString, done);
    ShownWindow w(Terminal::Pay);
    w.read(MemberCard(10000));
    QTest::mouseClick(w.amount(), Qt::LeftButton);
    QTest::keyClick(w.amount(), Qt::Key_Backspace);
    QTest::keyClicks(w.amount(), "12");
    QCOMPARE(w.amount()->text(), "12");
    if (byButton) {
        QTest::mouseClick(w.find<QAbstractButton>("btOK"), Qt::LeftButton);
    } else {
        w.key(Qt::Key_F5);
    }
    QCOMPARE(w.message()->text(), done);
    QCOMPARE(w.card.calls.back().cents, 1200u);
    QCOMPARE(w.balance()->text(), "88.00");
}

void PayTerminalTest::clickInTheAmountSelectsItAll() {
    ShownWindow w(Terminal::Pay);
    w.amount()->setText("50.00");
    QTest::mouseClick(w.amount(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(w.amount()->selectedText(), "50.00");
    QTest::keyClick(w.amount(), Qt::Key_7);
    QCOMPARE(w.amount()->text(), "7");
}

void PayTerminalTest::emptiedAmountPaysNothingHidden() {
    ShownWindow w(Terminal::Pay);
    w.read(MemberCard(25000));
    QTest::mouseClick(w.find<QLabel>("Label17"), Qt::LeftButton);  // 100元
    PressKey(w, "spKEnter");
    QCOMPARE(w.amount()->text(), "");
    QCOMPARE(w.amount()->value(), 100.0);  // an empty text leaves the value as it was
    w.key(Qt::Key_F5);
    QCOMPARE(w.card.calls.back().cents, 0u);
    QCOMPARE(w.message()->text(), "成功支付：0.00 元");
    QCOMPARE(w.balance()->text(), "250.00");
}

void PayTerminalTest::digitKeysTypeBeforeTheirRelease_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (const char* digit : digits) {
        QTest::newRow(digit) << QString("spK") + digit << QString(digit);
    }
    QTest::newRow("decimal point") << "spKDot"
                                   << ".";
}

void PayTerminalTest::digitKeysTypeBeforeTheirRelease() {
    QFETCH(QString, key);
    QFETCH(QString, typed);
    ShownWindow w(Terminal::Pay);
    w.amount()->setText("4");
    QCOMPARE(PressKey(w, qPrintable(key)), "4" + typed);
    QCOMPARE(w.amount()->text(), "4" + typed);
}

void PayTerminalTest::keypadNeverTakesTheFocus() {
    ShownWindow w(Terminal::Pay);
    auto* readButton = w.find<QAbstractButton>("btReadCard");
    QVERIFY(readButton->hasFocus());
    for (const KeypadKey& key : kKeypadKeys) {
        QCOMPARE(w.find<QAbstractButton>(key.name)->focusPolicy(), Qt::NoFocus);
    }
    w.amount()->setText("");
    PressKey(w, "spK7");
    PressKey(w, "spK5");
    QVERIFY(readButton->hasFocus());
    QCOMPARE(w.amount()->text(), "75");
    QCOMPARE(w.amount()->value(), 75.0);
}

void PayTerminalTest::hashFromAnotherControlClearsThenErases() {
    ShownWindow w(Terminal::Pay);
    w.amount()->setText("50.00");
    QCOMPARE(PressKey(w, "spKEnter"), "");
    QVERIFY(w.amount()->hasFocus());
    PressKey(w, "spK1");
    PressKey(w, "spK2");
    PressKey(w, "spK3");
    QCOMPARE(w.amount()->text(), "123");
    QCOMPARE(PressKey(w, "spKEnter"), "12");
    QCOMPARE(w.amount()->value(), 12.0);
    QVERIFY(w.boxes.shown.isEmpty());
}

void PayTerminalTest::refusedDecimalPointStillMovesTheCaret() {
    ShownWindow w(Terminal::Pay);
    w.amount()->setText("12.5");
    w.amount()->setCursorPosition(1);
    QSignalSpy refused(w.amount(), &NumberEdit::characterRefused);
    PressKey(w, "spKDot");
    QCOMPARE(refused.size(), 1);
    QCOMPARE(w.amount()->text(), "12.5");
    QCOMPARE(w.amount()->cursorPosition(), 2);
}

void PayTerminalTest::oneKeyPutsTheCaretAfterWhatItReplaced() {
    ShownWindow w(Terminal::Pay);
    w.amount()->setText("987");
    w.amount()->setFocus();
    w.amount()->setSelection(1, 2);  // "87"
    PressKey(w, "spK1");
    QCOMPARE(w.amount()->text(), "91");
    QCOMPARE(w.amount()->cursorPosition(), 2);
    QVERIFY(!w.amount()->hasSelectedText());
}

void PayTerminalTest::controlsArePlacedAndNamed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");  // an empty size: only the top-left corner is given
    QTest::addColumn<QString>("text");
    const QSize any;
    QTest::newRow("Label6") << "Label6" << QRect({418, 64}, any) << "澜禾会员消费终端";
    QTest::newRow("lbVersison") << "lbVersison" << QRect({623, 52}, any) << "V1";
    QTest::newRow("LB1") << "LB1" << QRect({125, 175}, any) << "会员编号：";
    QTest::newRow("etMemberCode") << "etMemberCode" << QRect(190, 168, 281, 27) << "";
    QTest::newRow("LB2") << "LB2" << QRect({125, 225}, any) << "会员名称：";
    QTest::newRow("etMemberName") << "etMemberName" << QRect(190, 218, 281, 27) << "";
    QTest::newRow("Label5") << "Label5" << QRect({125, 276}, any) << "会员积分：";
    QTest::newRow("etCurPaySum") << "etCurPaySum" << QRect(190, 269, 282, 27) << "";
    QTest::newRow("Label14") << "Label14" << QRect({125, 326}, any) << "可用金额：";
    QTest::newRow("suiCurStoreMoney") << "suiCurStoreMoney" << QRect(190, 319, 282, 27) << "0.00";
    QTest::newRow("Label15") << "Label15" << QRect({132, 370}, any) << "消费";
    QTest::newRow("Label4") << "Label4" << QRect({132, 396}, any) << "金额";
    QTest::newRow("suiPayMoney") << "suiPayMoney" << QRect(190, 370, 282, 50) << "0.00";
    QTest::newRow("lbMessageInfo") << "lbMessageInfo" << QRect({128, 440}, any) << "";
    QTest::newRow("Label16") << "Label16" << QRect({165, 471}, any) << "常用:";
    QTest::newRow("Label3") << "Label3" << QRect({216, 472}, any) << "50元";
    QTest::newRow("Label17") << "Label17" << QRect({263, 472}, any) << "100元";
    QTest::newRow("Label18") << "Label18" << QRect({310, 472}, any) << "200元";
    QTest::newRow("Label19") << "Label19" << QRect({357, 472}, any) << "500元";
    QTest::newRow("Label20") << "Label20" << QRect({405, 472}, any) << "1000元";
    QTest::newRow("btReadCard") << "btReadCard" << QRect(176, 523, 100, 42) << "读卡[F10]";
    QTest::newRow("btOK") << "btOK" << QRect(355, 523, 100, 42) << "支付[F5]";
    QTest::newRow("Image1") << "Image1" << QRect(609, 232, 379, 306) << "";
    QTest::newRow("Label1") << "Label1" << QRect({14, 708}, any) << "选择端口";
    QTest::newRow("cbReaderIF") << "cbReaderIF" << QRect(74, 704, 63, 21) << "USB";
    QTest::newRow("Label2") << "Label2" << QRect({141, 708}, any) << "设备型号";
    QTest::newRow("cbReaderType") << "cbReaderType" << QRect(196, 704, 69, 21) << "KXD103";
    QTest::newRow("SpeedButton5") << "SpeedButton5" << QRect(962, 2, 34, 19) << "";
    QTest::newRow("SpeedButton4") << "SpeedButton4" << QRect(996, 2, 31, 19) << "";
    for (const KeypadKey& key : kKeypadKeys) {
        QTest::newRow(key.name) << key.name << key.place << "";
    }
}

void PayTerminalTest::controlsArePlacedAndNamed() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    ShownWindow w(Terminal::Pay);
    QCOMPARE(w.window->windowTitle(), "澜禾一卡通会员支付终端");
    QCOMPARE(w.window->size(), QSize(1028, 734));
    ComparePlaceAndText(w.find<QWidget>(qPrintable(name)), place, text);
}

void PayTerminalTest::tabOrderStartsAtTheReadButton() {
    ShownWindow w(Terminal::Pay);
    const QStringList order{"btReadCard",   "suiPayMoney", "etMemberCode",
                            "btOK",         "cbReaderIF",  "cbReaderType",
                            "etMemberName", "etCurPaySum", "suiCurStoreMoney"};
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    QCOMPARE(w.tabOrderOf(order), order);
    // The member fields and the balance are shown only: disabled, so Tab passes them by.
    for (const char* shownOnly :
         {"etMemberCode", "etMemberName", "etCurPaySum", "suiCurStoreMoney"}) {
        QVERIFY(!w.find<QWidget>(shownOnly)->isEnabled());
    }
}

}  // namespace
}  // namespace kx::test

QTEST_MAIN(kx::test::PayTerminalTest)
#include "PayTerminalTest.moc"
