// The two money programs as started from the installation: they bind their reader libraries and
// show their window, or say which library is missing.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ProgramStartTest : public QObject {
    Q_OBJECT

  private slots:
    void showsItsWindowFromTheInstallation_data();
    void showsItsWindowFromTheInstallation();
    void saysWhichReaderLibraryIsMissing_data();
    void saysWhichReaderLibraryIsMissing();
};

void AddPrograms() {
    QTest::addColumn<QString>("program");
    QTest::newRow("KXNetPayTerminal") << KX_PAY_TERMINAL;
    QTest::newRow("KXNetIncTerminal") << KX_INC_TERMINAL;
}

QProcessEnvironment Offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    return environment;
}

void ProgramStartTest::showsItsWindowFromTheInstallation_data() {
    AddPrograms();
}

void ProgramStartTest::showsItsWindowFromTheInstallation() {
    QFETCH(QString, program);
    QProcess terminal;
    QProcessEnvironment environment = Offscreen();
    environment.insert("KX_EXIT_WHEN_SHOWN", "1");
    terminal.setProcessEnvironment(environment);
    terminal.start(program);
    QVERIFY(terminal.waitForFinished(30000));
    QCOMPARE(terminal.exitStatus(), QProcess::NormalExit);
    QCOMPARE(terminal.exitCode(), 0);
}

void ProgramStartTest::saysWhichReaderLibraryIsMissing_data() {
    AddPrograms();
}

void ProgramStartTest::saysWhichReaderLibraryIsMissing() {
    QFETCH(QString, program);
    QTemporaryDir installation;
    const QString copy = installation.filePath(QFileInfo(program).fileName());
    QVERIFY(QFile::copy(program, copy));
    QProcess terminal;
    terminal.setProcessEnvironment(Offscreen());
    terminal.setReadChannel(QProcess::StandardError);
    terminal.start(copy);
    QVERIFY(terminal.waitForStarted());
    // The same text waits in an error box, which nobody here answers.
    QByteArray said;
    while (!said.contains("KXD100") && terminal.waitForReadyRead(30000)) {
        said += terminal.readAllStandardError();
    }
    terminal.kill();
    terminal.waitForFinished();
    QVERIFY2(said.contains("Cannot load the reader library"), said.constData());
    terminal.waitForFinished();
}

}  // namespace

QTEST_GUILESS_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
