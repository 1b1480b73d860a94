// Both money windows over the real card layer and the simulated reader: the card dump's balance
// after each payment or recharge, and a fault at each step of the transaction.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>

#include "MoneyTesting.h"
#include "card/CardDump.h"
#include "card/SdkBinding.h"

namespace kx::test {
namespace {

// Before the transaction at hand, writes a fault into the simulated reader's script, so that it
// hits that transaction's calls and not the read before it.
class FaultingCardLayer : public CardAccess {
  public:
    explicit FaultingCardLayer(QString faultsFile) : faultsFile_(std::move(faultsFile)) {}

    QByteArray readFault;   // for the read at the start of the action (the second read)
    QByteArray writeFault;  // for the debit or credit

    int Read(int portIndex, std::string_view model, TMemberCardImage& image) override {
        if (++reads_ == 2) {
            script(readFault);
        }
        return CardAccess::Read(portIndex, model, image);
    }
    int Debit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) override {
        script(writeFault);
        return CardAccess::Debit(portIndex, model, cents, serial);
    }
    int Credit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) override {
        script(writeFault);
        return CardAccess::Credit(portIndex, model, cents, serial);
    }

  private:
    void script(const QByteArray& fault) const {
        QFile file(faultsFile_);
        if (!fault.isEmpty() && (!file.open(QIODevice::WriteOnly) || file.write(fault) < 0)) {
            qFatal("cannot write the faults file");
        }
    }

    QString faultsFile_;
    int reads_ = 0;
};

class SimReaderEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void balanceOnTheCardMovesByExactlyTheAmount_data();
    void balanceOnTheCardMovesByExactlyTheAmount();
    void faultAtEachStepChangesTheCardOnceOrNotAtAll_data();
    void faultAtEachStepChangesTheCardOnceOrNotAtAll();

  private:
    QString dumpPath() const { return installation_.filePath("card.mfd"); }
    QString faultsFile() const { return installation_.filePath("LibaryDir/SimReader/faults"); }
    uint32_t balanceOnCard() const;
    void kxcard(const QStringList& arguments) const;

    QTemporaryDir installation_;
};

constexpr uint32_t kOpeningCents = 25000;

void SimReaderEndToEndTest::initTestCase() {
    QVERIFY(installation_.isValid());
    QVERIFY(QDir(installation_.path()).mkpath("LibaryDir"));
    for (const char* library :
         {KX_SIM_KXD100, KX_SIM_KXD101, KX_SIM_KXD102, KX_SIM_KXD103, KX_SIM_KXD104}) {
        const QString name = QFileInfo(library).fileName();
        QVERIFY(QFile::copy(library, installation_.filePath("LibaryDir/" + name)));
    }
    // One process tries both programs, so it binds what both use.
    BindReaderSdk(installation_.path().toStdString(), kPayTerminalOps | kIncTerminalOps);
}

void SimReaderEndToEndTest::init() {
    QFile::remove(faultsFile());
    QFile::remove(dumpPath());
    kxcard({"issue", dumpPath(), "--name", "李四", "--balance", "250.00", "--points", "12",
            "--serial", "0A0B0C0D"});
    kxcard({"place", dumpPath(), "--dist", installation_.path()});
    QCOMPARE(balanceOnCard(), kOpeningCents);
}

void SimReaderEndToEndTest::kxcard(const QStringList& arguments) const {
    QProcess tool;
    tool.start(KX_KXCARD, arguments);
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0) {
        qFatal("kxcard %s failed: %s", qPrintable(arguments.join(' ')),
               tool.readAllStandardError().constData());
    }
}

uint32_t SimReaderEndToEndTest::balanceOnCard() const {
    std::ifstream file(dumpPath().toStdString(), std::ios::binary);
    CardDump dump{};
    file.read(reinterpret_cast<char*>(dump.data()), dump.size());
    if (file.gcount() != static_cast<std::streamsize>(dump.size())) {
        qFatal("the card dump cannot be read");
    }
    return MemberCardImageFromDump(dump).Values[0];
}

constexpr Terminal kTerminals[] = {Terminal::Pay, Terminal::Inc};

QTestData& NewRow(Terminal terminal, const QString& name) {
    const QString prefix = terminal == Terminal::Pay ? "pay " : "recharge ";
    return QTest::newRow(qPrintable(prefix + name)) << terminal;
}

void SimReaderEndToEndTest::balanceOnTheCardMovesByExactlyTheAmount_data() {
    QTest::addColumn<Terminal>("terminal");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<std::vector<uint32_t>>("cents");
    for (const Terminal terminal : kTerminals) {
        NewRow(terminal, "one after another")
            << QStringList{"0.29", "1.15", "100.00", "12.345", "0"}
            << std::vector<uint32_t>{29, 115, 10000, 1234, 0};
    }
}

void SimReaderEndToEndTest::balanceOnTheCardMovesByExactlyTheAmount() {
    QFETCH(Terminal, terminal);
    QFETCH(QStringList, amounts);
    QFETCH(std::vector<uint32_t>, cents);
    CardAccess cardLayer;
    ShownWindow w(terminal, cardLayer, installation_.path());
    uint32_t expected = kOpeningCents;
    for (qsizetype i = 0; i < amounts.size(); ++i) {
        w.key(Qt::Key_F10);
        QCOMPARE(w.message()->text(), "读取会员数据成功！");
        QCOMPARE(w.find<QLineEdit>("etMemberName")->text(), "李四");
        w.amount()->setText(amounts[i]);
        const QString amountText = w.amount()->text();
        w.key(Qt::Key_F5);
        expected = terminal == Terminal::Pay ? expected - cents[i] : expected + cents[i];
        QCOMPARE(balanceOnCard(), expected);
        QCOMPARE(w.message()->text(),
                 QString::fromUtf8(w.texts.successPrefix) + amountText + " 元");
        QCOMPARE(w.balance()->text(), QString::number(expected / 100.0, 'f', 2));
        // The card was halted: it answers again only once it is presented anew.
        kxcard({"place", dumpPath(), "--dist", installation_.path()});
    }
}

void SimReaderEndToEndTest::faultAtEachStepChangesTheCardOnceOrNotAtAll_data() {
    QTest::addColumn<Terminal>("terminal");
    QTest::addColumn<QByteArray>("readFault");
    QTest::addColumn<QByteArray>("writeFault");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("message");  // empty: the window's own failure or success text
    const QString readFailed = QString::fromUtf8(kReadFailedMessage);
    for (const Terminal terminal : kTerminals) {
        const QByteArray value = terminal == Terminal::Pay ? "dc_decrement" : "dc_increment";
        const auto row = [&](const QByteArray& name) -> QTestData& {
            return NewRow(terminal, QString::fromLatin1(name));
        };
        row("no fault") << QByteArray() << QByteArray() << true << QString();
        // the read at the start of the action
        for (const QByteArray& call :
             QByteArrayList{"dc_card", "dc_authentication", "dc_read", "dc_readval"}) {
            row("read: " + call + " fails") << "fail " + call + " 1\n"
                                            << QByteArray() << false << readFailed;
        }
        row("read: card leaves after dc_card")
            << QByteArray("leave dc_card\n") << QByteArray() << false << readFailed;
        // the debit or credit
        for (const QByteArray& call :
             QByteArrayList{"dc_card", "dc_load_key", "dc_authentication", value}) {
            row("write: " + call + " fails") << QByteArray() << "fail " + call + " 1\n"
                                             << false << QString();
        }
        for (const QByteArray& call : QByteArrayList{"dc_halt", "dc_beep", "dc_exit"}) {
            row("write: " + call + " fails") << QByteArray() << "fail " + call + " 1\n"
                                             << true << QString();
        }
        row("write: card leaves after dc_card")
            << QByteArray() << QByteArray("leave dc_card\n") << false << QString();
        row("write: card leaves after dc_authentication")
            << QByteArray() << QByteArray("leave dc_authentication\n") << false << QString();
        row("write: card leaves after " + value) << QByteArray() << "leave " + value + "\n"
                                                 << true << QString();
    }
}

void SimReaderEndToEndTest::faultAtEachStepChangesTheCardOnceOrNotAtAll() {
    QFETCH(Terminal, terminal);
    QFETCH(QByteArray, readFault);
    QFETCH(QByteArray, writeFault);
    QFETCH(bool, changed);
    QFETCH(QString, message);
    FaultingCardLayer cardLayer(faultsFile());
    cardLayer.readFault = readFault;
    cardLayer.writeFault = writeFault;
    ShownWindow w(terminal, cardLayer, installation_.path());
    w.key(Qt::Key_F10);
    QCOMPARE(w.message()->text(), "读取会员数据成功！");
    QTest::mouseClick(w.find<QLabel>("Label3"), Qt::LeftButton);  // 50元
    w.key(Qt::Key_F5);

    const uint32_t moved = changed ? 5000 : 0;
    QCOMPARE(balanceOnCard(),
             terminal == Terminal::Pay ? kOpeningCents - moved : kOpeningCents + moved);
    const QString said = changed ? QString::fromUtf8(w.texts.successPrefix) + "50.00 元"
                         : message.isEmpty() ? QString::fromUtf8(w.texts.failureMessage)
                                             : message;
    QCOMPARE(w.message()->text(), said);
    QCOMPARE(w.balance()->text(),
             changed ? (terminal == Terminal::Pay ? "200.00" : "300.00") : "250.00");
    QVERIFY(!w.moneyAction()->isEnabled());
}

}  // namespace
}  // namespace kx::test

QTEST_MAIN(kx::test::SimReaderEndToEndTest)
#include "SimReaderEndToEndTest.moc"
