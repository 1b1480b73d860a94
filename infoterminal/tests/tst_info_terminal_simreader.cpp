// The information terminal end to end: the real card layer, the simulated reader's libraries
// bound from a temporary installation, and cards issued and placed with kxcard.

#include <QProcess>
#include <QStringList>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "FmKxNetInfoTerminalMain.h"
#include "card/ReaderSdk.h"
#include "card/SdkBinding.h"
#include "widgets/testing/RecordingMessageBoxes.h"

class InfoTerminalSimReaderTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachReadPathShowsTheCardOnTheReader_data();
    void eachReadPathShowsTheCardOnTheReader();
    void failedReadOnlyChangesTheMessage_data();
    void failedReadOnlyChangesTheMessage();

  private:
    // Runs kxcard with the installation of this test; false (and a warning) on failure.
    bool KxCard(QStringList arguments);
    bool IssueAndPlace(const QString& name, const QString& serial, const QString& balance);
    std::filesystem::path Folder() const;
    // A window whose program folder is the installation (it has no settings file).
    std::unique_ptr<kx::TKxNetInfoTerminalMainForm> NewWindow();

    QTemporaryDir installation_;
    kx::CardAccess card_;
    kx::testing::RecordingMessageBoxes boxes_;
};

void InfoTerminalSimReaderTest::initTestCase() {
    QGuiApplication::setApplicationDisplayName(kx::kInfoTerminalTitle);
    const QDir libraries(installation_.filePath("LibaryDir"));
    QVERIFY(libraries.mkpath("."));
    for (const QString& library : QString(KX_SIM_LIBRARIES).split(',')) {
        QVERIFY2(QFile::copy(library, libraries.filePath(QFileInfo(library).fileName())),
                 qPrintable(library));
    }
    kx::BindReaderSdk(Folder(), kx::kInfoTerminalOps);
}

std::filesystem::path InfoTerminalSimReaderTest::Folder() const {
    return QFile::encodeName(installation_.path()).toStdString();
}

std::unique_ptr<kx::TKxNetInfoTerminalMainForm> InfoTerminalSimReaderTest::NewWindow() {
    return std::make_unique<kx::TKxNetInfoTerminalMainForm>(card_, boxes_, Folder());
}

void InfoTerminalSimReaderTest::cleanupTestCase() {
    kx::ClearReaderSdk();
}

bool InfoTerminalSimReaderTest::KxCard(QStringList arguments) {
    QProcess kxcard;
    kxcard.start(KX_KXCARD, arguments << "--dist" << installation_.path());
    if (!kxcard.waitForFinished() || kxcard.exitCode() != 0) {
        qWarning() << "kxcard" << arguments << kxcard.readAllStandardError();
        return false;
    }
    return true;
}

bool InfoTerminalSimReaderTest::IssueAndPlace(const QString& name, const QString& serial,
                                              const QString& balance) {
    const QString dump = installation_.filePath(serial + ".mfd");
    QProcess issue;
    issue.start(KX_KXCARD,
                {"issue",      dump,          "--name",     name,        "--serial",  serial,
                 "--balance",  balance,       "--points",   "321",       "--sex",     "2",
                 "--cer-type", "2",           "--cer-no",   "E12345678", "--address", "杭州西湖区",
                 "--phone",    "13812345678", "--birthday", "1985-03-04"});
    if (!issue.waitForFinished() || issue.exitCode() != 0) {
        qWarning() << "kxcard issue" << issue.readAllStandardError();
        return false;
    }
    return KxCard({"place", dump});
}

void InfoTerminalSimReaderTest::eachReadPathShowsTheCardOnTheReader_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("model");
    // The two models that do card work.
    QTest::newRow("F10, KXD101") << "F10"
                                 << "KXD101";
    QTest::newRow("read button, KXD103") << "spReadCard"
                                         << "KXD103";
    QTest::newRow("connect, KXD101") << "fcConnection"
                                     << "KXD101";
    QTest::newRow("timer, KXD103") << "timer"
                                   << "KXD103";
}

void InfoTerminalSimReaderTest::eachReadPathShowsTheCardOnTheReader() {
    QFETCH(QString, path);
    QFETCH(QString, model);
    const auto form = NewWindow();
    const auto text = [&](const char* edit) { return form->findChild<QLineEdit*>(edit)->text(); };
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->findChild<QComboBox*>("cbReaderType")->setCurrentText(model);
    QVERIFY(IssueAndPlace("王五", "0A0B0C0D", "88.5"));

    if (path == "F10") {
        QTest::keyClick(form.get(), Qt::Key_F10);
    } else if (path == "timer") {
        form->findChild<QCheckBox*>("chAutoReaderCard")->setChecked(true);
        form->findChild<QAbstractButton*>("fcConnection")->click();
        QCOMPARE(text("etMemberName"), QStringLiteral("王五"));
        QVERIFY(IssueAndPlace("赵六", "00C0FFEE", "0.07"));
    } else {
        form->findChild<QAbstractButton*>(path)->click();
    }

    const QString expectedName = path == "timer" ? "赵六" : "王五";
    QTRY_COMPARE_WITH_TIMEOUT(text("etMemberName"), expectedName, 4000);
    QCOMPARE(form->findChild<QLabel*>("lbMessageInfo")->text(),
             QStringLiteral("读取会员数据成功！"));
    QCOMPARE(text("etMemberCode"), path == "timer" ? "00C0FFEE" : "0A0B0C0D");
    QCOMPARE(text("suiCurStoreMoney"), path == "timer" ? "0.07" : "88.50");
    QCOMPARE(text("etCurPaySum"), QStringLiteral("321"));
    QCOMPARE(text("etCerNO"), QStringLiteral("E12345678"));
    QCOMPARE(text("etCerNewAddr"), QStringLiteral("杭州西湖区"));
    QCOMPARE(text("etMobilePhone"), QStringLiteral("013812345678"));
    QCOMPARE(text("dtMemBirthday"), QStringLiteral("1985-03-04"));
    QVERIFY(text("dtMemBirthdaySum").toInt() >= 40);
    QCOMPARE(form->findChild<QComboBox*>("cbMemberSex")->currentText(), QStringLiteral("女"));
    QCOMPARE(form->findChild<QComboBox*>("cbcCerTypeName")->currentText(), QStringLiteral("护照"));
    QVERIFY(boxes_.shown.isEmpty());
}

void InfoTerminalSimReaderTest::failedReadOnlyChangesTheMessage_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("removeCard");
    QTest::newRow("card removed") << "KXD101" << true;
    QTest::newRow("model without card functions") << "KXD102" << false;
}

void InfoTerminalSimReaderTest::failedReadOnlyChangesTheMessage() {
    QFETCH(QString, model);
    QFETCH(bool, removeCard);
    const auto form = NewWindow();
    const auto read = [&] { form->findChild<QAbstractButton*>("spReadCard")->click(); };
    QVERIFY(IssueAndPlace("王五", "0A0B0C0D", "1"));
    form->findChild<QComboBox*>("cbReaderType")->setCurrentText("KXD101");
    read();
    QCOMPARE(form->findChild<QLineEdit*>("etMemberName")->text(), QStringLiteral("王五"));

    if (removeCard) {
        QVERIFY(KxCard({"remove"}));
    }
    form->findChild<QComboBox*>("cbReaderType")->setCurrentText(model);
    read();
    QCOMPARE(form->findChild<QLabel*>("lbMessageInfo")->text(),
             QStringLiteral("读卡失败，请确认是否正确放卡！"));
    QCOMPARE(form->findChild<QLineEdit*>("etMemberName")->text(), QStringLiteral("王五"));
    QCOMPARE(form->findChild<QLineEdit*>("etMemberCode")->text(), QStringLiteral("0A0B0C0D"));
}

QTEST_MAIN(InfoTerminalSimReaderTest)
#include "tst_info_terminal_simreader.moc"
