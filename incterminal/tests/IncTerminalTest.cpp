// What only the recharge window does: no balance test but the card's limit, a click placing the
// caret only, an editable points field, and its controls.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "MoneyTesting.h"

namespace kx::test {
namespace {

using Operations = std::vector<std::string>;

class IncTerminalTest : public QObject {
    Q_OBJECT

  private slots:
    void creditStopsAtTheCardLimit_data();
    void creditStopsAtTheCardLimit();
    void anyAmountIsCreditedWithoutBalanceTest();
    void clickPlacesTheCaretAndTabSelectsAll();
    void pointsTypedAreOnlyShown();
    void controlsArePlacedAndNamed_data();
    void controlsArePlacedAndNamed();
    void tabOrderStartsAtTheMemberNumber();
};

void IncTerminalTest::creditStopsAtTheCardLimit_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("credited");
    QTest::newRow("up to 42949672.95") << "0.95" << true;
    QTest::newRow("one cent beyond") << "0.96" << false;
    QTest::newRow("far beyond") << "1000" << false;
}

void IncTerminalTest::creditStopsAtTheCardLimit() {
    QFETCH(QString, amount);
    QFETCH(bool, credited);
    ShownWindow w(Terminal::Inc);
    w.pay(MemberCard(4294967200u), amount);
    if (credited) {
        QCOMPARE(w.operations(), (Operations{"read", "read", "credit"}));
        QCOMPARE(w.card.balance(), 4294967295u);
        QCOMPARE(w.balance()->text(), "42949672.95");
        return;
    }
    QCOMPARE(w.operations(), (Operations{"read", "read"}));
    QCOMPARE(w.card.balance(), 4294967200u);
    QCOMPARE(w.message()->text(), "充值后余额将超过 42949672.95 元，不能完成充值操作！");
    QCOMPARE(w.amount()->text(), amount);
    QCOMPARE(w.balance()->text(), "42949672.00");
    QVERIFY(w.boxes.shown.isEmpty());
    QVERIFY(w.moneyAction()->isEnabled());
}

void IncTerminalTest::anyAmountIsCreditedWithoutBalanceTest() {
    ShownWindow w(Terminal::Inc);
    w.pay(MemberCard(100), "500");
    QCOMPARE(w.operations(), (Operations{"read", "read", "credit"}));
    QCOMPARE(w.balance()->text(), "501.00");
    QCOMPARE(w.message()->text(), "成功充值：500 元");
}

void IncTerminalTest::clickPlacesTheCaretAndTabSelectsAll() {
    ShownWindow w(Terminal::Inc);
    w.amount()->setText("50.00");
    QTest::mouseClick(w.amount(), Qt::LeftButton, {}, QPoint(w.amount()->width() - 3, 5));
    QVERIFY(w.amount()->hasFocus());
    QVERIFY(!w.amount()->hasSelectedText());

    w.find<QLineEdit>("etCurPaySum")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(w.amount()->hasFocus());
    QCOMPARE(w.amount()->selectedText(), "50.00");
}

void IncTerminalTest::pointsTypedAreOnlyShown() {
    ShownWindow w(Terminal::Inc);
    w.read(MemberCard(2000));
    auto* points = w.find<QLineEdit>("etCurPaySum");
    points->setFocus();
    points->selectAll();
    QTest::keyClicks(points, "999");
    QCOMPARE(points->text(), "999");
    w.amount()->setText("1");
    w.key(Qt::Key_F5);
    QCOMPARE(w.card.onReader->Values[1], 678u);
    QCOMPARE(w.card.balance(), 2100u);
    QCOMPARE(points->text(), "678");
}

void IncTerminalTest::controlsArePlacedAndNamed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");  // an empty size: only the top-left corner is given
    QTest::addColumn<QString>("text");
    const QSize any;
    QTest::newRow("Label6") << "Label6" << QRect({418, 64}, any) << "澜禾会员充值终端";
    QTest::newRow("lbVersison") << "lbVersison" << QRect({623, 52}, any) << "V1";
    QTest::newRow("LB1") << "LB1" << QRect({317, 151}, any) << "会员编号：";
    QTest::newRow("etMemberCode") << "etMemberCode" << QRect(382, 144, 281, 27) << "";
    QTest::newRow("LB2") << "LB2" << QRect({317, 201}, any) << "会员名称：";
    QTest::newRow("etMemberName") << "etMemberName" << QRect(382, 194, 281, 27) << "";
    QTest::newRow("Label5") << "Label5" << QRect({317, 252}, any) << "会员积分：";
    QTest::newRow("etCurPaySum") << "etCurPaySum" << QRect(382, 245, 282, 27) << "";
    QTest::newRow("Label14") << "Label14" << QRect({317, 302}, any) << "可用金额：";
    QTest::newRow("suiCurStoreMoney") << "suiCurStoreMoney" << QRect(382, 295, 282, 27) << "0.00";
    QTest::newRow("Label15") << "Label15" << QRect({317, 353}, any) << "充值金额：";
    QTest::newRow("suiStoreMoney") << "suiStoreMoney" << QRect(382, 346, 282, 27) << "0.00";
    QTest::newRow("lbMessageInfo") << "lbMessageInfo" << QRect({320, 416}, any) << "";
    QTest::newRow("Label16") << "Label16" << QRect({357, 447}, any) << "常用:";
    QTest::newRow("Label3") << "Label3" << QRect({408, 448}, any) << "50元";
    QTest::newRow("Label17") << "Label17" << QRect({455, 448}, any) << "100元";
    QTest::newRow("Label18") << "Label18" << QRect({502, 448}, any) << "200元";
    QTest::newRow("Label19") << "Label19" << QRect({549, 448}, any) << "500元";
    QTest::newRow("Label20") << "Label20" << QRect({597, 448}, any) << "1000元";
    QTest::newRow("btReadCard") << "btReadCard" << QRect(368, 499, 100, 42) << "读卡[F10]";
    QTest::newRow("btOK") << "btOK" << QRect(547, 499, 100, 42) << "充值[F5]";
    QTest::newRow("Label1") << "Label1" << QRect({14, 708}, any) << "选择端口";
    QTest::newRow("cbReaderIF") << "cbReaderIF" << QRect(74, 704, 63, 21) << "USB";
    QTest::newRow("Label2") << "Label2" << QRect({141, 708}, any) << "设备型号";
    QTest::newRow("cbReaderType") << "cbReaderType" << QRect(196, 704, 69, 21) << "KXD103";
}

void IncTerminalTest::controlsArePlacedAndNamed() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    ShownWindow w(Terminal::Inc);
    QCOMPARE(w.window->windowTitle(), "澜禾一卡通会员充值终端");
    QVERIFY(!w.window->findChild<QWidget*>("Image1"));
    QVERIFY(!w.window->findChild<QWidget*>("spK1"));
    ComparePlaceAndText(w.find<QWidget>(qPrintable(name)), place, text);
}

void IncTerminalTest::tabOrderStartsAtTheMemberNumber() {
    ShownWindow w(Terminal::Inc);
    const QStringList order{"etMemberCode",  "etMemberName", "etCurPaySum", "suiCurStoreMoney",
                            "suiStoreMoney", "btReadCard",   "btOK",        "cbReaderIF",
                            "cbReaderType"};
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    QCOMPARE(w.tabOrderOf(order), order);
    QVERIFY(w.find<QLineEdit>("etMemberCode")->isReadOnly());
    QVERIFY(w.find<QLineEdit>("etMemberName")->isReadOnly());
    QVERIFY(!w.find<QLineEdit>("etCurPaySum")->isReadOnly());
    QVERIFY(!w.balance()->isEnabled());
}

}  // namespace
}  // namespace kx::test

QTEST_MAIN(kx::test::IncTerminalTest)
#include "IncTerminalTest.moc"
