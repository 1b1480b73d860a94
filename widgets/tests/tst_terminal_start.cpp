// The program start and the application object, run inside a TerminalApplication whose
// message boxes are recorded.

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "widgets/TerminalStart.h"
#include "widgets/testing/RecordingMessageBoxes.h"

namespace {

kx::testing::RecordingMessageBoxes boxes;

// Throws from its handler of a user event.
class ThrowingWidget : public QWidget {
  public:
    static constexpr QEvent::Type kThrow = QEvent::User;
    bool event(QEvent* event) override {
        if (event->type() == kThrow) {
            throw std::runtime_error("'1999-13-01' is not a valid date.");
        }
        return QWidget::event(event);
    }
};

// Captures std::cerr while alive.
class CapturedStderr {
  public:
    CapturedStderr() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedStderr() { std::cerr.rdbuf(old_); }
    std::string Text() const { return text_.str(); }

  private:
    std::ostringstream text_;
    std::streambuf* old_;
};

QDir LibraryFolder() {
    return QDir(QCoreApplication::applicationDirPath() + "/LibaryDir");
}

}  // namespace

class TerminalStartTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { boxes.shown.clear(); }
    void uncaughtErrorEndsTheEventWithTheErrorBox();
    void missingReaderLibraryStopsTheStart();
    void startShowsTheWindowAndRunsUntilItCloses();
    void cleanupTestCase() { LibraryFolder().removeRecursively(); }
};

void TerminalStartTest::uncaughtErrorEndsTheEventWithTheErrorBox() {
    QCoreApplication::setApplicationName("terminal_start_test");
    QGuiApplication::setApplicationDisplayName(QStringLiteral("澜禾会员信息查询"));
    ThrowingWidget widget;
    QEvent event(ThrowingWidget::kThrow);
    QCoreApplication::sendEvent(&widget, &event);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].request.caption, QStringLiteral("澜禾会员信息查询"));
    QCOMPARE(boxes.shown[0].request.text, QStringLiteral("'1999-13-01' is not a valid date."));
    QCOMPARE(boxes.shown[0].request.icon, QMessageBox::Critical);

    // The application goes on delivering events.
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    QTRY_VERIFY(delivered);
}

void TerminalStartTest::missingReaderLibraryStopsTheStart() {
    LibraryFolder().removeRecursively();
    bool created = false;
    CapturedStderr stderrText;
    const int exitCode = kx::RunTerminal(
        *static_cast<kx::TerminalApplication*>(qApp),
        {QStringLiteral("澜禾会员消费终端"), kx::kPayTerminalOps, [&](kx::MessageBoxes&) {
             created = true;
             return std::make_unique<QWidget>();
         }});
    QCOMPARE(exitCode, 1);
    QVERIFY(!created);
    QCOMPARE(boxes.shown.size(), 1);
    const kx::MessageBoxRequest& box = boxes.shown[0].request;
    QCOMPARE(box.caption, QStringLiteral("澜禾会员消费终端"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.contains("KXD100"), qPrintable(box.text));
    QVERIFY(stderrText.Text().find(box.text.toStdString()) != std::string::npos);
}

void TerminalStartTest::startShowsTheWindowAndRunsUntilItCloses() {
    QVERIFY(LibraryFolder().mkpath("."));
    for (const QString& library : QString(KX_SIM_LIBRARIES).split(',')) {
        QVERIFY(QFile::copy(library, LibraryFolder().filePath(QFileInfo(library).fileName())));
    }
    QWidget* shown = nullptr;
    const int exitCode = kx::RunTerminal(
        *static_cast<kx::TerminalApplication*>(qApp),
        {QStringLiteral("澜禾会员信息查询"), kx::kInfoTerminalOps, [&](kx::MessageBoxes& given) {
             auto window = std::make_unique<QWidget>();
             shown = window.get();
             QTimer::singleShot(0, window.get(), [&given, window = window.get()] {
                 QVERIFY(window->isVisible());
                 QCOMPARE(&given, static_cast<kx::MessageBoxes*>(&boxes));
                 window->close();
             });
             return window;
         }});
    QCOMPARE(exitCode, 0);
    QVERIFY(shown);
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("澜禾会员信息查询"));
    QCOMPARE(QApplication::font().family(), QStringLiteral("宋体"));
}

int main(int argc, char** argv) {
    kx::TerminalApplication app(argc, argv, boxes);
    TerminalStartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_terminal_start.moc"
