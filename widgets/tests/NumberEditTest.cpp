// The money field: its text rules on their own, then the widget that applies them.

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "widgets/NumberEdit.h"
#include "widgets/NumberEditRules.h"
#include "widgets/testing/RecordingMessageBoxes.h"

namespace kx {
namespace {

class NumberEditTest : public QObject {
    Q_OBJECT

  private slots:
    void readsText_data();
    void readsText();
    void filtersTypedCharacters_data();
    void filtersTypedCharacters();
    void leavingTurnsUnfinishedTextIntoZero();

    void formatsValue_data();
    void formatsValue();
    void valueFollowsEveryTextChange();
    void invalidTextPutsPreviousValueBackAndReportsIt();
    void typingTakesDigitsAndOneSeparator();
    void typingRefusesOtherCharactersWithoutChange_data();
    void typingRefusesOtherCharactersWithoutChange();
    void leavingFormats_data();
    void leavingFormats();
    void enteringSelectsAllExceptByClick();
    void clickIsSignalled();

  private:
    // A shown window holding the field and a button to move the focus to.
    struct Window {
        QWidget top;
        NumberEdit* field = new NumberEdit(&top);
        QLineEdit* other = new QLineEdit(&top);
        testing::RecordingMessageBoxes boxes;
        Window() {
            auto* layout = new QVBoxLayout(&top);
            layout->addWidget(field);
            layout->addWidget(other);
            field->setMessageBoxes(boxes);
            top.show();
            QVERIFY(QTest::qWaitForWindowActive(&top));
        }
    };
};

void NumberEditTest::readsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("value");
    const int number = NumberReading::Number;
    const int unfinished = NumberReading::Unfinished;
    const int invalid = NumberReading::Invalid;
    QTest::newRow("integer") << "12" << number << 12.0;
    QTest::newRow("decimals") << "12.5" << number << 12.5;
    QTest::newRow("thousands separators") << "1,234,567.89" << number << 1234567.89;
    QTest::newRow("blanks around") << " 7 " << number << 7.0;
    QTest::newRow("leading separator") << ".5" << number << 0.5;
    QTest::newRow("trailing separator") << "5." << number << 5.0;
    QTest::newRow("negative, pasted") << "-3.25" << number << -3.25;
    QTest::newRow("empty") << "" << unfinished << 0.0;
    QTest::newRow("lone minus") << "-" << unfinished << 0.0;
    QTest::newRow("lone separator") << "." << unfinished << 0.0;
    QTest::newRow("letters") << "abc" << invalid << 0.0;
    QTest::newRow("two separators") << "1.2.3" << invalid << 0.0;
    QTest::newRow("exponent") << "1e3" << invalid << 0.0;
    QTest::newRow("with unit") << "12元" << invalid << 0.0;
    QTest::newRow("sign inside") << "1-2" << invalid << 0.0;
    QTest::newRow("beyond a double") << QString(400, u'9') << invalid << 0.0;
}

void NumberEditTest::readsText() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(double, value);
    const NumberReading reading = ReadNumberText(text);
    QCOMPARE(reading.kind, kind);
    if (kind == NumberReading::Number) {
        QCOMPARE(reading.value, value);
    }
}

void NumberEditTest::filtersTypedCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << "12" << QChar(u'3') << true;
    QTest::newRow("first separator") << "12" << QChar(u'.') << true;
    QTest::newRow("second separator") << "12.5" << QChar(u'.') << false;
    QTest::newRow("separator over a selected amount") << "50.00" << QChar(u'.') << false;
    QTest::newRow("backspace") << "12.5" << QChar(u'\b') << true;
    QTest::newRow("minus") << "" << QChar(u'-') << false;
    QTest::newRow("letter") << "1" << QChar(u'a') << false;
    QTest::newRow("comma") << "1" << QChar(u',') << false;
    QTest::newRow("blank") << "1" << QChar(u' ') << false;
    QTest::newRow("enter") << "1" << QChar(u'\r') << false;
    QTest::newRow("full-width digit") << "1" << QChar(u'１') << false;
}

void NumberEditTest::filtersTypedCharacters() {
    QFETCH(QString, text);
    QFETCH(QChar, typed);
    QFETCH(bool, accepted);
    QCOMPARE(AcceptsTypedCharacter(text, typed), accepted);
}

void NumberEditTest::leavingTurnsUnfinishedTextIntoZero() {
    QCOMPARE(TextOnLeaving(""), "0");
    QCOMPARE(TextOnLeaving("-"), "0");
    QCOMPARE(TextOnLeaving("."), "0");
    QCOMPARE(TextOnLeaving("12"), "12");
}

void NumberEditTest::formatsValue_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("below one") << 0.1 << "0.10";
    QTest::newRow("whole") << 50.0 << "50.00";
    QTest::newRow("rounded up") << 1234.567 << "1234.57";
    QTest::newRow("rounded down") << 9.991 << "9.99";
    QTest::newRow("largest balance") << 42949672.95 << "42949672.95";
    QTest::newRow("no negative zero") << -0.001 << "0.00";
}

void NumberEditTest::formatsValue() {
    QFETCH(double, value);
    QFETCH(QString, text);
    NumberEdit field;
    field.setValue(value);
    QCOMPARE(field.text(), text);
    QCOMPARE(field.value(), text.toDouble());
    QCOMPARE(field.alignment(), Qt::AlignRight | Qt::AlignVCenter);
}

void NumberEditTest::valueFollowsEveryTextChange() {
    NumberEdit field;
    testing::RecordingMessageBoxes boxes;
    field.setMessageBoxes(boxes);
    QCOMPARE(field.text(), "0.00");
    field.setText("1,000.50");
    QCOMPARE(field.value(), 1000.5);
    field.setText("");
    QCOMPARE(field.value(), 1000.5);
    field.setText("-");
    QCOMPARE(field.value(), 1000.5);
    field.setText("7");
    QCOMPARE(field.value(), 7.0);
    QVERIFY(boxes.shown.isEmpty());
}

void NumberEditTest::invalidTextPutsPreviousValueBackAndReportsIt() {
    QApplication::setApplicationDisplayName("Till");
    NumberEdit field;
    testing::RecordingMessageBoxes boxes;
    field.setMessageBoxes(boxes);
    field.setText("12.5");
    boxes.onShow = [&](const MessageBoxRequest&) { QCOMPARE(field.text(), "12.50"); };
    field.setText("12x");
    QCOMPARE(field.text(), "12.50");
    QCOMPARE(field.value(), 12.5);
    QCOMPARE(boxes.shown.size(), 1);
    const MessageBoxRequest& box = boxes.shown.front().request;
    QCOMPARE(box.text, "'12x' is not a valid floating point value");
    QCOMPARE(box.caption, "Till");
    QCOMPARE(box.icon, QMessageBox::Critical);
}

void NumberEditTest::typingTakesDigitsAndOneSeparator() {
    Window w;
    w.field->setFocus();
    w.field->clear();
    QTest::keyClicks(w.field, "12.5.");
    QCOMPARE(w.field->text(), "12.5");
    QCOMPARE(w.field->value(), 12.5);
    QTest::keyClick(w.field, Qt::Key_Backspace);
    QTest::keyClick(w.field, Qt::Key_Backspace);
    QCOMPARE(w.field->text(), "12");
    QCOMPARE(w.field->value(), 12.0);
    QVERIFY(w.boxes.shown.isEmpty());
}

void NumberEditTest::typingRefusesOtherCharactersWithoutChange_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("minus") << "-";
    QTest::newRow("letter") << "a";
    QTest::newRow("plus") << "+";
    QTest::newRow("comma") << ",";
}

void NumberEditTest::typingRefusesOtherCharactersWithoutChange() {
    QFETCH(QString, typed);
    Window w;
    w.field->setFocus();
    w.field->setText("30");
    w.field->setCursorPosition(1);
    QSignalSpy refused(w.field, &NumberEdit::characterRefused);
    QTest::keyClicks(w.field, typed);
    QCOMPARE(refused.size(), 1);
    QCOMPARE(w.field->text(), "30");
    QCOMPARE(w.field->value(), 30.0);
}

void NumberEditTest::leavingFormats_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("whole number") << "12"
                                  << "12.00" << 12.0;
    QTest::newRow("one decimal") << "3.5"
                                 << "3.50" << 3.5;
    QTest::newRow("nothing") << ""
                             << "0.00" << 0.0;
    QTest::newRow("lone separator") << "."
                                    << "0.00" << 0.0;
}

void NumberEditTest::leavingFormats() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);
    Window w;
    w.field->setValue(99);
    w.other->setFocus();
    w.field->setFocus();
    QTest::keyClick(w.field, Qt::Key_Backspace);  // all selected on entering: clears
    QTest::keyClicks(w.field, typed);
    QCOMPARE(w.field->text(), typed);
    w.other->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.field->text(), shown);
    QCOMPARE(w.field->value(), value);
    QVERIFY(w.boxes.shown.isEmpty());
}

void NumberEditTest::enteringSelectsAllExceptByClick() {
    Window w;
    w.field->setValue(50);
    w.other->setFocus();
    w.field->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.field->selectedText(), "50.00");
    w.other->setFocus();
    w.field->setFocus(Qt::OtherFocusReason);
    QCOMPARE(w.field->selectedText(), "50.00");
    QTest::keyClick(w.field, Qt::Key_7);
    QCOMPARE(w.field->text(), "7");

    w.field->setValue(50);
    w.other->setFocus();
    QTest::mouseClick(w.field, Qt::LeftButton, {}, QPoint(w.field->width() - 4, 5));
    QVERIFY(w.field->hasFocus());
    QCOMPARE(w.field->selectedText(), "");
}

void NumberEditTest::clickIsSignalled() {
    Window w;
    QSignalSpy clicked(w.field, &NumberEdit::clicked);
    QTest::mouseClick(w.field, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QTest::mouseClick(w.field, Qt::RightButton);
    QCOMPARE(clicked.size(), 1);
}

}  // namespace
}  // namespace kx

QTEST_MAIN(kx::NumberEditTest)
#include "NumberEditTest.moc"
