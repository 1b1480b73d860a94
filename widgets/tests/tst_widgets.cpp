#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>

#include "widgets/ActionButton.h"
#include "widgets/BusyCursor.h"
#include "widgets/Controls.h"
#include "widgets/ErrorBox.h"
#include "widgets/Fonts.h"
#include "widgets/ImageButton.h"
#include "widgets/PictureWindow.h"
#include "widgets/testing/RecordingMessageBoxes.h"

using kx::testing::RecordingMessageBoxes;

class WidgetsTest : public QObject {
    Q_OBJECT
  private slots:
    void pictureWindowIsBorderlessFixedAndCentred();
    void dragMovesWindowOnlyBeyondTolerance_data();
    void dragMovesWindowOnlyBeyondTolerance();
    void labelsLetTheWindowBeDragged();
    void imageButtonDarkerWhilePressed();
    void buttonFollowsItsAction();
    void songFontResolvesToInstalledSongFace();
    void busyCursorWhileAlive();
    void errorBoxCarriesProgramTitle();
    void runReportingErrorsShowsWhatWasThrown();
};

void WidgetsTest::pictureWindowIsBorderlessFixedAndCentred() {
    kx::PictureWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window.size(), QSize(1028, 734));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.frameGeometry().center(), window.screen()->availableGeometry().center());
    QCOMPARE(window.picture()->objectName(), QStringLiteral("fcImageForm1"));
    QCOMPARE(window.picture()->geometry(), QRect(0, 0, 1028, 734));

    // The header band, body and footer are painted by us: check a pixel of each.
    const QImage image = window.grab().toImage();
    QVERIFY(image.pixelColor(500, 50) != image.pixelColor(500, 300));
    QVERIFY(image.pixelColor(500, 300) != image.pixelColor(500, 720));
}

void WidgetsTest::dragMovesWindowOnlyBeyondTolerance_data() {
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<QPoint>("expectedMove");
    QTest::newRow("within tolerance") << QPoint(5, -5) << QPoint(0, 0);
    QTest::newRow("beyond on x") << QPoint(6, 0) << QPoint(6, 0);
    QTest::newRow("beyond on y") << QPoint(2, -8) << QPoint(2, -8);
}

void WidgetsTest::dragMovesWindowOnlyBeyondTolerance() {
    QFETCH(QPoint, step);
    QFETCH(QPoint, expectedMove);
    kx::PictureWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    const QPoint grip(500, 300);

    QTest::mousePress(window.picture(), Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + step),
                     QPointF(window.picture()->mapToGlobal(grip + step)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.picture(), &move);
    QTest::mouseRelease(window.picture(), Qt::LeftButton, {}, grip + step);
    QCOMPARE(window.pos() - start, expectedMove);
}

void WidgetsTest::labelsLetTheWindowBeDragged() {
    kx::PictureWindow window;
    const QLabel* label = kx::AddLabel(&window, "LB1", QStringLiteral("会员编号："), {314, 151});
    QCOMPARE(label->objectName(), QStringLiteral("LB1"));
    QCOMPARE(label->pos(), QPoint(314, 151));
    QVERIFY(!label->autoFillBackground());
    QCOMPARE(window.childAt(label->geometry().center()), window.picture());
}

void WidgetsTest::imageButtonDarkerWhilePressed() {
    kx::ImageButton button;
    button.setText(QStringLiteral("连接[F5]"));
    button.resize(67, 28);
    const QPoint face(4, 4);  // clear of the caption
    const QColor up = button.grab().toImage().pixelColor(face);
    button.setDown(true);
    const QColor down = button.grab().toImage().pixelColor(face);
    QCOMPARE(up, kx::ImageButton::kFaceUp);
    QCOMPARE(down, kx::ImageButton::kFaceDown);
    QVERIFY(down.lightness() < up.lightness());
}

void WidgetsTest::buttonFollowsItsAction() {
    QWidget window;
    auto* action = new QAction(&window);
    action->setShortcut(Qt::Key_F10);
    window.addAction(action);
    auto* button = new kx::ImageButton(&window);
    kx::BindButtonToAction(button, action);
    QSignalSpy triggered(action, &QAction::triggered);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    button->click();
    QTest::keyClick(&window, Qt::Key_F10);
    QCOMPARE(triggered.count(), 2);

    action->setEnabled(false);
    QVERIFY(!button->isEnabled());
    button->click();
    QTest::keyClick(&window, Qt::Key_F10);
    QCOMPARE(triggered.count(), 2);

    action->setEnabled(true);
    QVERIFY(button->isEnabled());
}

void WidgetsTest::songFontResolvesToInstalledSongFace() {
    const QFont font = kx::SongFont();
    QCOMPARE(font.family(), QStringLiteral("宋体"));
    QCOMPARE(font.pixelSize(), 13);
    QVERIFY2(QFontInfo(font).family().contains(QStringLiteral("UMing")),
             qPrintable(QFontInfo(font).family()));
    QVERIFY(QFontInfo(kx::SongFont(24)).family().contains(QStringLiteral("UMing")));
    // The face itself draws both scripts: no fallback font is needed for either.
    const QFontMetrics metrics(font);
    QVERIFY(metrics.inFontUcs4(U'A'));
    QVERIFY(metrics.inFontUcs4(U'会'));
    QVERIFY(QFontInfo(kx::PictureWindow().font()).family().contains(QStringLiteral("UMing")));
}

void WidgetsTest::busyCursorWhileAlive() {
    QVERIFY(!QGuiApplication::overrideCursor());
    {
        kx::BusyCursor busy;
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

void WidgetsTest::errorBoxCarriesProgramTitle() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("程序标题"));
    RecordingMessageBoxes boxes;
    kx::ShowErrorBox(boxes, nullptr, QStringLiteral("text"));
    QCOMPARE(boxes.shown.size(), 1);
    const auto& request = boxes.shown.front().request;
    QCOMPARE(request.caption, QStringLiteral("程序标题"));
    QCOMPARE(request.text, QStringLiteral("text"));
    QCOMPARE(request.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(request.icon, QMessageBox::Critical);
}

void WidgetsTest::runReportingErrorsShowsWhatWasThrown() {
    RecordingMessageBoxes boxes;
    QVERIFY(kx::RunReportingErrors(boxes, nullptr, [] {}));
    QVERIFY(boxes.shown.isEmpty());

    QVERIFY(!kx::RunReportingErrors(boxes, nullptr,
                                    [] { throw std::runtime_error("'2023-02-30' 错"); }));
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.front().request.text, QStringLiteral("'2023-02-30' 错"));
}

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
