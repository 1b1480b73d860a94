#include <QGuiApplication>
#include <QScreen>

#include "InfoTerminalFixture.h"
#include "MemberCardImages.h"
#include "widgets/NumberEdit.h"

using kx::TCardCheck;
using kx::testing::InfoTerminalFixture;
using kx::testing::MemberCardImage;
using kx::testing::TestMember;

Q_DECLARE_METATYPE(kx::TCardCheck)

namespace {

// The previous card on screen, and the next one: every field differs.
TestMember FirstMember() {
    return {};
}

TestMember SecondMember() {
    TestMember member;
    member.serial = 0x00ABCDEF;
    member.cerNO = "C2";
    member.name = "李四";
    member.cerType = 4;
    member.sex = 2;
    member.address = "上海";
    member.phoneDigits = "0000013900000001";
    member.birthday = "19900615";
    member.points = 7;
    member.cents = 500;
    return member;
}

// The controls a read may change, by the part of the card they come from.
const QStringList kSector2Controls{"etCerNO", "etMemberName", "cbcCerTypeName", "cbMemberSex"};
const QStringList kSector4Controls{"etCerNewAddr", "etMobilePhone", "dtMemBirthday",
                                   "dtMemBirthdaySum"};
const QStringList kValueControls{"etCurPaySum", "suiCurStoreMoney"};

QString Shown(const InfoTerminalFixture& f, const QString& name) {
    const QByteArray latin = name.toLatin1();
    if (auto* list = f.Find<QComboBox>(latin.constData())) {
        return QString::number(list->currentIndex());
    }
    return f.Text(latin.constData());
}

QStringList ShownFields(const InfoTerminalFixture& f) {
    QStringList shown;
    for (const QString& name : kSector2Controls + kSector4Controls + kValueControls) {
        shown << name + "=" + Shown(f, name);
    }
    return shown;
}

}  // namespace

class InfoTerminalWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void startState();
    void resultTableDecidesWhatChanges_data();
    void resultTableDecidesWhatChanges();
    void numbersShownUnsigned_data();
    void numbersShownUnsigned();
    void eachReadPathReadsWithTheListsSelection_data();
    void eachReadPathReadsWithTheListsSelection();
    void f5DoesNothing();
    void escapeTogglesTheConnection();
    void connectWithoutAutoReadReadsOnce();
    void connectTakesIntervalFromSpinBoxAtThatMoment();
    void checkBoxWhileConnectedChangesNothing();
    void readDisablesItsActionsAndPausesTheTimer();
    void timerReadsAgainAfterItsInterval();
    void invalidBirthdayOnF10RestoresActionsAndTimer();
    void invalidBirthdayOnConnectStaysNotConnected();
    void closeAndMinimiseButtons();
};

void InfoTerminalWindowTest::initTestCase() {
    QGuiApplication::setApplicationDisplayName(kx::kInfoTerminalTitle);
}

void InfoTerminalWindowTest::controlsAtTheirPlaces_data() {
    QTest::addColumn<QRect>("geometry");  // an empty size: a label, placed by its top left
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, QRect geometry, const QString& text = {}) {
        QTest::newRow(name) << geometry << text;
    };
    row("SpeedButton5", {962, 2, 34, 18});
    row("SpeedButton4", {996, 2, 31, 18});
    row("Label6", {418, 64, 0, 0}, "澜禾会员信息查询");
    row("lbVersison", {623, 52, 0, 0}, "V1");
    row("LB1", {314, 151, 0, 0}, "会员编号：");
    row("etMemberCode", {382, 147, 281, 21});
    row("LB2", {314, 194, 0, 0}, "会员名称：");
    row("etMemberName", {382, 190, 281, 21});
    row("LB3", {314, 237, 0, 0}, "会员性别：");
    row("cbMemberSex", {382, 233, 115, 21});
    row("Label5", {512, 237, 0, 0}, "会员积分：");
    row("etCurPaySum", {583, 233, 80, 21});
    row("LB4", {314, 281, 0, 0}, "会员生日：");
    row("dtMemBirthday", {382, 277, 115, 21});
    row("Label4", {512, 281, 0, 0}, "会员年龄：");
    row("dtMemBirthdaySum", {583, 277, 80, 21});
    row("LB12", {314, 324, 0, 0}, "移动电话：");
    row("etMobilePhone", {382, 320, 281, 21});
    row("LB6", {314, 368, 0, 0}, "证件名称:");
    row("cbcCerTypeName", {382, 364, 281, 21});
    row("LB17", {314, 411, 0, 0}, "证件编码:");
    row("etCerNO", {382, 407, 281, 21});
    row("LB9", {314, 455, 0, 0}, "现在住址:");
    row("etCerNewAddr", {382, 451, 281, 21});
    row("Label14", {314, 494, 0, 0}, "可用金额：");
    row("suiCurStoreMoney", {382, 487, 282, 27}, "0.00");
    row("lbMessageInfo", {319, 543, 0, 0}, "");
    row("spReadCard", {355, 578, 318, 79}, "读取卡中会员信息");
    row("chAutoReaderCard", {14, 706, 73, 17}, "自动读卡");
    row("spAutoReadTime", {86, 703, 43, 22});
    row("Label3", {141, 708, 0, 0}, "秒扫描一次");
    row("Label1", {222, 708, 0, 0}, "选择端口");
    row("cbReaderIF", {282, 704, 63, 21});
    row("Label2", {349, 708, 0, 0}, "设备型号");
    row("cbReaderType", {404, 704, 69, 21});
    row("fcConnection", {483, 700, 67, 28}, "连接[F5]");
    row("fcImageForm1", {0, 0, 1028, 734});
}

void InfoTerminalWindowTest::controlsAtTheirPlaces() {
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    InfoTerminalFixture f;
    const QWidget* control = f.Find<QWidget>(QTest::currentDataTag());
    QVERIFY(control);
    if (geometry.size().isEmpty()) {
        QCOMPARE(control->pos(), geometry.topLeft());
        QCOMPARE(qobject_cast<const QLabel*>(control)->text(), text);
        return;
    }
    QCOMPARE(control->geometry(), geometry);
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        QCOMPARE(button->text(), text);
    } else if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        QCOMPARE(edit->text(), text);
    }
}

void InfoTerminalWindowTest::startState() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    QCOMPARE(f.form->windowTitle(), QStringLiteral("澜禾一卡通会员信息终端"));
    QVERIFY(f.form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(f.form->size(), QSize(1028, 734));
    QCOMPARE(f.form->frameGeometry().center(), f.form->screen()->availableGeometry().center());
    QCOMPARE(f.form->expectedScheme(), uint8_t{100});

    QCOMPARE(f.Find<QLabel>("Label6")->font().pixelSize(), 24);
    QCOMPARE(f.Find<QLabel>("lbVersison")->font().pixelSize(), 37);
    QCOMPARE(f.Find<QLabel>("lbVersison")->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(f.Find<QLabel>("lbMessageInfo")->palette().color(QPalette::WindowText),
             QColor(Qt::red));
    QCOMPARE(f.Find<QLabel>("LB1")->font().pixelSize(), 13);
    QCOMPARE(f.Find<QWidget>("suiCurStoreMoney")->font().pixelSize(), 24);

    for (const char* list : {"cbMemberSex", "cbcCerTypeName"}) {
        QCOMPARE(f.Find<QComboBox>(list)->currentIndex(), -1);
        QVERIFY(!f.Find<QComboBox>(list)->isEnabled());
    }
    QCOMPARE(f.Find<QComboBox>("cbMemberSex")->count(), 2);
    QCOMPARE(f.Find<QComboBox>("cbcCerTypeName")->itemText(4), QStringLiteral("临时身份证"));
    for (const char* edit : {"etMemberCode", "etMemberName", "dtMemBirthday", "dtMemBirthdaySum",
                             "etMobilePhone", "etCerNO", "etCerNewAddr", "suiCurStoreMoney"}) {
        QVERIFY2(f.Find<QLineEdit>(edit)->isReadOnly(), edit);
    }
    QVERIFY(!f.Find<QLineEdit>("etCurPaySum")->isReadOnly());
    QVERIFY(!f.Find<QLineEdit>("suiCurStoreMoney")->isEnabled());

    // No settings file: the reader lists keep their design values, the interval clamps to 2.
    QCOMPARE(f.Find<QComboBox>("cbReaderIF")->currentText(), QStringLiteral("USB"));
    QCOMPARE(f.Find<QComboBox>("cbReaderIF")->count(), 7);
    QCOMPARE(f.Find<QComboBox>("cbReaderType")->currentText(), QStringLiteral("KXD103"));
    QCOMPARE(f.Find<QComboBox>("cbReaderType")->count(), 5);
    QCOMPARE(f.Find<QSpinBox>("spAutoReadTime")->minimum(), 2);
    QCOMPARE(f.Find<QSpinBox>("spAutoReadTime")->maximum(), 30);
    QVERIFY(!f.Find<QCheckBox>("chAutoReaderCard")->isChecked());

    QVERIFY(!f.Timer()->isActive());
    QCOMPARE(f.Action("atReaderCard")->shortcut(), QKeySequence(Qt::Key_F10));
    QVERIFY(f.Action("atConnection")->shortcut().isEmpty());
    QVERIFY(f.card.reads.empty());
}

void InfoTerminalWindowTest::resultTableDecidesWhatChanges_data() {
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<TCardCheck>("check");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("changed");
    QTest::newRow("read fails") << true << TCardCheck::ccOk << "读卡失败，请确认是否正确放卡！"
                                << QStringList();
    QTest::newRow("ccNotShopMember")
        << false << TCardCheck::ccNotShopMember << "不是本店一卡通会员！" << QStringList();
    QTest::newRow("ccSector0Crc") << false << TCardCheck::ccSector0Crc << "0015数据错误！"
                                  << QStringList();
    QTest::newRow("ccNotSchemeCard") << false << TCardCheck::ccNotSchemeCard
                                     << "不是岳泓会员一卡通发出数据！" << kSector2Controls;
    QTest::newRow("ccIssuerCode") << false << TCardCheck::ccIssuerCode << "发卡方编码数据错误！"
                                  << kSector2Controls;
    QTest::newRow("ccSector2Crc") << false << TCardCheck::ccSector2Crc << "0016数据错误！"
                                  << kSector2Controls;
    QTest::newRow("ccSector4Crc") << false << TCardCheck::ccSector4Crc << "0020数据错误！"
                                  << kSector2Controls + kSector4Controls;
    QTest::newRow("ccOk") << false << TCardCheck::ccOk << "读取会员数据成功！"
                          << kSector2Controls + kSector4Controls + kValueControls;
}

void InfoTerminalWindowTest::resultTableDecidesWhatChanges() {
    QFETCH(bool, readFails);
    QFETCH(TCardCheck, check);
    QFETCH(QString, message);
    QFETCH(QStringList, changed);
    InfoTerminalFixture f;
    QVERIFY(f.Show());

    f.card.card = MemberCardImage(FirstMember());
    f.Click("spReadCard");
    const QStringList first = ShownFields(f);
    f.card.card = MemberCardImage(SecondMember());
    f.Click("spReadCard");
    const QStringList second = ShownFields(f);
    QCOMPARE(f.Text("etMemberCode"), QStringLiteral("00ABCDEF"));
    QCOMPARE(second.filter("suiCurStoreMoney").front(), QStringLiteral("suiCurStoreMoney=5.00"));

    f.card.card = MemberCardImage(FirstMember());
    f.Click("spReadCard");  // the first member again
    f.card.result = readFails ? -1 : 0;
    f.card.card = MemberCardImage(SecondMember(), check);
    f.Click("spReadCard");

    QCOMPARE(f.Message(), message);
    QCOMPARE(f.Text("etMemberCode"), QString(readFails ? "1A2B3C4D" : "00ABCDEF"));
    QCOMPARE(f.form->lastSerial(), readFails ? 0x1A2B3C4Du : 0x00ABCDEFu);
    const QStringList shown = ShownFields(f);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QString name = shown[i].section('=', 0, 0);
        QCOMPARE(shown[i], changed.contains(name) ? second[i] : first[i]);
    }
    QVERIFY(f.boxes.shown.isEmpty());
}

void InfoTerminalWindowTest::numbersShownUnsigned_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<QString>("balance");
    QTest::newRow("cents") << 12345u << "123.45";
    QTest::newRow("zero") << 0u << "0.00";
    QTest::newRow("all bits") << 0xFFFFFFFFu << "42949672.95";
}

void InfoTerminalWindowTest::numbersShownUnsigned() {
    QFETCH(uint, value);
    QFETCH(QString, balance);
    InfoTerminalFixture f;
    TestMember member;
    member.serial = 0xABCD;
    member.cents = value;
    member.points = value;
    f.card.card = MemberCardImage(member);
    f.Click("spReadCard");
    QCOMPARE(f.Text("etMemberCode"), QStringLiteral("0000ABCD"));
    QCOMPARE(f.Text("suiCurStoreMoney"), balance);
    QCOMPARE(f.Find<kx::NumberEdit>("suiCurStoreMoney")->value(), value / 100.0);
    QCOMPARE(f.Text("etCurPaySum"), QString::number(value));
}

void InfoTerminalWindowTest::eachReadPathReadsWithTheListsSelection_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("F10") << "F10";
    QTest::newRow("read button") << "spReadCard";
    QTest::newRow("connect button") << "fcConnection";
    QTest::newRow("Escape") << "Escape";
}

void InfoTerminalWindowTest::eachReadPathReadsWithTheListsSelection() {
    QFETCH(QString, path);
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    f.card.card = MemberCardImage(TestMember());
    f.Find<QComboBox>("cbReaderIF")->setCurrentIndex(2);
    f.Find<QComboBox>("cbReaderType")->setCurrentIndex(1);
    if (path == "F10") {
        QTest::keyClick(f.form.get(), Qt::Key_F10);
    } else if (path == "Escape") {
        QTest::keyClick(f.form.get(), Qt::Key_Escape);
    } else {
        f.Click(path.toLatin1().constData());
    }
    QCOMPARE(f.card.reads.size(), 1u);
    QCOMPARE(f.card.reads[0].portIndex, 2);
    QCOMPARE(f.card.reads[0].model, std::string("KXD101"));
    QCOMPARE(f.Message(), QStringLiteral("读取会员数据成功！"));

    // A list without a selection reads as port -1 and an empty model.
    f.Find<QComboBox>("cbReaderIF")->setCurrentIndex(-1);
    f.Find<QComboBox>("cbReaderType")->setCurrentIndex(-1);
    f.Click("spReadCard");
    QCOMPARE(f.card.reads.back().portIndex, -1);
    QCOMPARE(f.card.reads.back().model, std::string());
}

void InfoTerminalWindowTest::f5DoesNothing() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    QTest::keyClick(f.form.get(), Qt::Key_F5);
    QVERIFY(f.card.reads.empty());
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
}

void InfoTerminalWindowTest::escapeTogglesTheConnection() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    QTest::keyClick(f.form.get(), Qt::Key_Escape);
    QCOMPARE(f.Caption(), QStringLiteral("断开[F5]"));
    QTest::keyClick(f.form.get(), Qt::Key_Escape);
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
    QTest::keyClick(f.form.get(), Qt::Key_Escape, Qt::ShiftModifier);
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
    QCOMPARE(f.card.reads.size(), 1u);

    // An open drop-down list takes Escape for itself: it closes, and nothing connects.
    QComboBox* ports = f.Find<QComboBox>("cbReaderIF");
    ports->showPopup();
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));

    // From an edit, Escape still reaches the connect button.
    f.Find<QLineEdit>("etCurPaySum")->setFocus();
    QTest::keyClick(f.Find<QLineEdit>("etCurPaySum"), Qt::Key_Escape);
    QCOMPARE(f.Caption(), QStringLiteral("断开[F5]"));
    QCOMPARE(f.card.reads.size(), 2u);
}

void InfoTerminalWindowTest::connectWithoutAutoReadReadsOnce() {
    InfoTerminalFixture f;
    f.card.result = -1;  // connected whatever the read's outcome
    f.Click("fcConnection");
    QCOMPARE(f.card.reads.size(), 1u);
    QCOMPARE(f.Caption(), QStringLiteral("断开[F5]"));
    QVERIFY(!f.Timer()->isActive());

    f.Click("fcConnection");
    QCOMPARE(f.card.reads.size(), 1u);
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
}

void InfoTerminalWindowTest::connectTakesIntervalFromSpinBoxAtThatMoment() {
    InfoTerminalFixture f;
    f.SetAutoRead(true, 7);
    f.Click("fcConnection");
    QCOMPARE(f.card.reads.size(), 1u);
    QVERIFY(f.Timer()->isActive());
    QCOMPARE(f.Timer()->interval(), 7000);

    f.Find<QSpinBox>("spAutoReadTime")->setValue(3);
    f.Click("spReadCard");
    QCOMPARE(f.Timer()->interval(), 7000);

    f.Click("fcConnection");
    QVERIFY(!f.Timer()->isActive());
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
    f.Click("fcConnection");
    QCOMPARE(f.Timer()->interval(), 3000);

    // An emptied spin box reads as its minimum.
    f.Click("fcConnection");
    f.Find<QSpinBox>("spAutoReadTime")->findChild<QLineEdit*>()->setText("");
    f.Click("fcConnection");
    QCOMPARE(f.Timer()->interval(), 2000);
}

void InfoTerminalWindowTest::checkBoxWhileConnectedChangesNothing() {
    InfoTerminalFixture f;
    f.Click("fcConnection");
    f.Find<QCheckBox>("chAutoReaderCard")->setChecked(true);
    QVERIFY(!f.Timer()->isActive());
    f.Click("fcConnection");

    f.Click("fcConnection");  // connected again, now with the box ticked
    QVERIFY(f.Timer()->isActive());
    f.Find<QCheckBox>("chAutoReaderCard")->setChecked(false);
    QVERIFY(f.Timer()->isActive());
    QCOMPARE(f.card.reads.size(), 2u);
}

void InfoTerminalWindowTest::readDisablesItsActionsAndPausesTheTimer() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    struct During {
        bool timerActive, readEnabled, connectEnabled, readButtonEnabled, connectButtonEnabled;
    };
    std::vector<During> during;
    f.card.duringRead = [&] {
        during.push_back({f.Timer()->isActive(), f.Action("atReaderCard")->isEnabled(),
                          f.Action("atConnection")->isEnabled(),
                          f.Find<QWidget>("spReadCard")->isEnabled(),
                          f.Find<QWidget>("fcConnection")->isEnabled()});
    };

    // Not connected: only the read action is held.
    QTest::keyClick(f.form.get(), Qt::Key_F10);
    QCOMPARE(during.size(), 1u);
    QVERIFY(!during[0].readEnabled && !during[0].readButtonEnabled);
    QVERIFY(during[0].connectEnabled && during[0].connectButtonEnabled);
    QVERIFY(!f.Timer()->isActive());

    // Connected with auto-read: both actions are held and the timer stops, then all resume.
    f.SetAutoRead(true, 5);
    f.Click("fcConnection");
    QTest::qWait(1000);
    QTest::keyClick(f.form.get(), Qt::Key_F10);
    QCOMPARE(during.size(), 3u);
    QVERIFY(!during[2].timerActive);
    QVERIFY(!during[2].readEnabled && !during[2].connectEnabled);
    QVERIFY(!during[2].readButtonEnabled && !during[2].connectButtonEnabled);
    QVERIFY(f.Timer()->isActive());
    // The interval counts from the end of this read, not from the connect a second ago.
    QVERIFY2(f.Timer()->remainingTime() > 4500,
             qPrintable(QString::number(f.Timer()->remainingTime())));
    QVERIFY(f.Action("atReaderCard")->isEnabled() && f.Action("atConnection")->isEnabled());

    // A disabled action ignores its shortcut.
    f.Action("atReaderCard")->setEnabled(false);
    QTest::keyClick(f.form.get(), Qt::Key_F10);
    QCOMPARE(during.size(), 3u);
}

void InfoTerminalWindowTest::timerReadsAgainAfterItsInterval() {
    InfoTerminalFixture f;
    f.SetAutoRead(true, 2);
    bool pausedDuringTimedRead = false;
    f.card.duringRead = [&] {
        pausedDuringTimedRead = !f.Timer()->isActive() && !f.Action("atReaderCard")->isEnabled() &&
                                !f.Action("atConnection")->isEnabled();
    };
    f.Click("fcConnection");
    QCOMPARE(f.card.reads.size(), 1u);
    QTRY_COMPARE_WITH_TIMEOUT(f.card.reads.size(), 2u, 4000);
    QVERIFY(pausedDuringTimedRead);
    QVERIFY(f.Timer()->isActive());
    QVERIFY(f.Action("atReaderCard")->isEnabled() && f.Action("atConnection")->isEnabled());

    f.Click("fcConnection");  // disconnected: no more timed reads
    QTest::qWait(2300);
    QCOMPARE(f.card.reads.size(), 2u);
}

void InfoTerminalWindowTest::invalidBirthdayOnF10RestoresActionsAndTimer() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    f.card.card = MemberCardImage(FirstMember());
    f.SetAutoRead(true, 5);
    f.Click("fcConnection");
    const QStringList before = ShownFields(f);

    TestMember bad = SecondMember();
    bad.birthday = "20230230";
    f.card.card = MemberCardImage(bad);
    bool timerStoppedWhileBoxOpen = false;
    f.boxes.onShow = [&](const kx::MessageBoxRequest&) {
        timerStoppedWhileBoxOpen = !f.Timer()->isActive();
    };
    QTest::keyClick(f.form.get(), Qt::Key_F10);

    QCOMPARE(f.boxes.shown.size(), 1);
    const kx::MessageBoxRequest& box = f.boxes.shown[0].request;
    QCOMPARE(box.caption, QStringLiteral("澜禾会员信息查询"));
    QCOMPARE(box.text, QStringLiteral("'2023-02-30' is not a valid date."));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(timerStoppedWhileBoxOpen);

    QCOMPARE(f.Message(), QStringLiteral("读取会员数据成功！"));  // from the earlier read
    QCOMPARE(f.Text("etCerNO"), QStringLiteral("C2"));
    QCOMPARE(f.Text("dtMemBirthday"), QStringLiteral("2023-02-30"));
    const QStringList after = ShownFields(f);
    for (const char* kept : {"dtMemBirthdaySum", "etCurPaySum", "suiCurStoreMoney"}) {
        QCOMPARE(after.filter(kept), before.filter(kept));
    }
    QVERIFY(f.Timer()->isActive());
    QVERIFY(f.Action("atReaderCard")->isEnabled() && f.Action("atConnection")->isEnabled());
    QCOMPARE(f.Caption(), QStringLiteral("断开[F5]"));
}

void InfoTerminalWindowTest::invalidBirthdayOnConnectStaysNotConnected() {
    InfoTerminalFixture f;
    TestMember bad;
    bad.birthday = "19991301";
    f.card.card = MemberCardImage(bad);
    f.SetAutoRead(true, 5);
    f.Click("fcConnection");
    QCOMPARE(f.boxes.shown.size(), 1);
    QCOMPARE(f.boxes.shown[0].request.text, QStringLiteral("'1999-13-01' is not a valid date."));
    QCOMPARE(f.Caption(), QStringLiteral("连接[F5]"));
    QVERIFY(!f.Timer()->isActive());
    QVERIFY(f.Action("atReaderCard")->isEnabled() && f.Action("atConnection")->isEnabled());
}

void InfoTerminalWindowTest::closeAndMinimiseButtons() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    f.Click("SpeedButton5");
    QTRY_VERIFY(f.form->isMinimized());
    f.form->showNormal();
    f.Click("SpeedButton4");
    QVERIFY(!f.form->isVisible());
}

QTEST_MAIN(InfoTerminalWindowTest)
#include "tst_info_terminal_window.moc"
