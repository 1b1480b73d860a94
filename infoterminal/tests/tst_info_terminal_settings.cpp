#include <QFile>
#include <fstream>
#include <sstream>

#include "InfoTerminalFixture.h"

using kx::testing::InfoTerminalFixture;

namespace {

std::filesystem::path SettingsFile(const InfoTerminalFixture& f) {
    return f.Folder() / "DataBase" / "KXConF.ini";
}

void WriteSettings(const InfoTerminalFixture& f, const std::string& text) {
    std::filesystem::create_directories(f.Folder() / "DataBase");
    std::ofstream(SettingsFile(f), std::ios::binary) << text;
}

std::string ReadSettings(const InfoTerminalFixture& f) {
    std::ifstream file(SettingsFile(f), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

class InfoTerminalSettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void settingsAppliedAtShow_data();
    void settingsAppliedAtShow();
    void settingsWrittenBackAtClose();
    void emptiedSpinBoxWrittenAsItsMinimum();
    void noFileNeitherReadNorCreated();
    void readOnlyFileKeepsTheWindowOpen();
};

void InfoTerminalSettingsTest::initTestCase() {
    QGuiApplication::setApplicationDisplayName(kx::kInfoTerminalTitle);
}

void InfoTerminalSettingsTest::settingsAppliedAtShow_data() {
    QTest::addColumn<QString>("device");  // the KXNetDevice section
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("autoRead");
    QTest::newRow("all set") << "KXDCOMM=0x3\nKXDTypeID=KXD102\nReadCardTime=9\n"
                                "IsAutoReaderCard=1\n"
                             << "COM3"
                             << "KXD102" << 9 << true;
    QTest::newRow("empty section") << ""
                                   << "USB"
                                   << "KXD101" << 5 << false;
    QTest::newRow("out of range") << "KXDCOMM=9\nKXDTypeID=kxd102\nReadCardTime=45\n"
                                     "IsAutoReaderCard=2\n"
                                  << ""
                                  << "KXD103" << 30 << false;
    QTest::newRow("below range, empty model") << "KXDCOMM=2\nKXDTypeID=\nReadCardTime=1\n"
                                              << "COM2"
                                              << "KXD103" << 2 << false;
}

void InfoTerminalSettingsTest::settingsAppliedAtShow() {
    QFETCH(QString, device);
    QFETCH(QString, port);
    QFETCH(QString, model);
    QFETCH(int, seconds);
    QFETCH(bool, autoRead);
    InfoTerminalFixture f;
    WriteSettings(f, "[KXNetDevice]\n" + device.toStdString());
    QVERIFY(f.Show());
    QCOMPARE(f.Find<QComboBox>("cbReaderIF")->currentText(), port);
    QCOMPARE(f.Find<QComboBox>("cbReaderType")->currentText(), model);
    QCOMPARE(f.Find<QSpinBox>("spAutoReadTime")->value(), seconds);
    QCOMPARE(f.Find<QCheckBox>("chAutoReaderCard")->isChecked(), autoRead);
    QVERIFY(f.card.reads.empty());
}

void InfoTerminalSettingsTest::settingsWrittenBackAtClose() {
    InfoTerminalFixture f;
    WriteSettings(f, "[KXOption]\r\nShopID=12\r\n[KXNetDevice]\r\nKXDCOMM=2\r\nWinY=180\r\n");
    QVERIFY(f.Show());
    f.Find<QComboBox>("cbReaderIF")->setCurrentIndex(-1);
    f.Find<QComboBox>("cbReaderType")->setCurrentText("KXD104");
    f.SetAutoRead(true, 12);

    QVERIFY(f.form->close());
    QVERIFY(f.boxes.shown.isEmpty());
    QCOMPARE(ReadSettings(f),
             "[KXOption]\r\nShopID=12\r\n[KXNetDevice]\r\nKXDCOMM=-1\r\nWinY=180\r\n"
             "KXDTypeID=KXD104\r\nReadCardTime=12\r\nIsAutoReaderCard=1\r\n");
}

void InfoTerminalSettingsTest::emptiedSpinBoxWrittenAsItsMinimum() {
    InfoTerminalFixture f;
    WriteSettings(f, "[KXNetDevice]\nReadCardTime=9\n");
    QVERIFY(f.Show());
    f.Find<QSpinBox>("spAutoReadTime")->findChild<QLineEdit*>()->setText("");
    QVERIFY(f.form->close());
    QVERIFY(ReadSettings(f).find("ReadCardTime=2\n") != std::string::npos);
}

void InfoTerminalSettingsTest::noFileNeitherReadNorCreated() {
    InfoTerminalFixture f;
    QVERIFY(f.Show());
    QCOMPARE(f.Find<QComboBox>("cbReaderIF")->currentText(), QStringLiteral("USB"));
    QCOMPARE(f.Find<QComboBox>("cbReaderType")->currentText(), QStringLiteral("KXD103"));
    QCOMPARE(f.Find<QSpinBox>("spAutoReadTime")->value(), 2);
    QVERIFY(!f.Find<QCheckBox>("chAutoReaderCard")->isChecked());
    QVERIFY(f.form->close());
    QVERIFY(!std::filesystem::exists(f.Folder() / "DataBase"));
}

void InfoTerminalSettingsTest::readOnlyFileKeepsTheWindowOpen() {
    InfoTerminalFixture f;
    WriteSettings(f, "[KXNetDevice]\nKXDCOMM=1\n");
    namespace fs = std::filesystem;
    fs::permissions(SettingsFile(f),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    QVERIFY(f.Show());
    f.Find<QComboBox>("cbReaderIF")->setCurrentIndex(4);

    QVERIFY(!f.form->close());
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.boxes.shown.size(), 1);
    const kx::MessageBoxRequest& box = f.boxes.shown[0].request;
    QCOMPARE(box.caption, QStringLiteral("澜禾会员信息查询"));
    QCOMPARE(box.text,
             "Unable to write to " + QString::fromStdString(SettingsFile(f).string()) + ".");
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(ReadSettings(f), "[KXNetDevice]\nKXDCOMM=1\n");

    // Each further request to close writes again; once the file can be written, it closes.
    fs::permissions(SettingsFile(f), fs::perms::owner_write, fs::perm_options::add);
    QVERIFY(f.form->close());
    QCOMPARE(f.boxes.shown.size(), 1);
    QVERIFY(ReadSettings(f).find("KXDCOMM=4") != std::string::npos);
}

QTEST_MAIN(InfoTerminalSettingsTest)
#include "tst_info_terminal_settings.moc"
