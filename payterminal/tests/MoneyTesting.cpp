#include "MoneyTesting.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include "SampleCard.h"
#include "card/CardDump.h"
#include "incterminal/IncTerminalMainForm.h"
#include "payterminal/PayTerminalMainForm.h"

namespace kx::test {

int FakeCard::Read(int portIndex, std::string_view model, TMemberCardImage& image) {
    calls.push_back({"read", portIndex, std::string(model), 0});
    if (!onReader) {
        return -1;
    }
    image = *onReader;
    return 0;
}

int FakeCard::Debit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
    return write("debit", portIndex, model, cents, serial, true);
}

int FakeCard::Credit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) {
    return write("credit", portIndex, model, cents, serial, false);
}

int FakeCard::write(const char* operation, int portIndex, std::string_view model, uint32_t cents,
                    uint32_t& serial, bool debit) {
    calls.push_back({operation, portIndex, std::string(model), cents});
    if (!onReader || writeResult != 0) {
        return -1;
    }
    serial = onReader->Serial;
    onReader->Values[0] += debit ? -cents : cents;  // a value block wraps like this
    return 0;
}

std::vector<std::string> FakeCard::operations() const {
    std::vector<std::string> names;
    for (const Call& call : calls) {
        names.push_back(call.operation);
    }
    return names;
}

TMemberCardImage MemberCard(uint32_t balanceCents, uint32_t serial) {
    SampleCard card = GoodSampleCard();
    card.SetValue(12, balanceCents);
    TMemberCardImage image = MemberCardImageFromDump(card.dump);
    image.Serial = serial;
    return image;
}

TMemberCardImage CardFailing(TCardCheck check, uint32_t balanceCents) {
    SampleCard card = GoodSampleCard();
    card.SetValue(12, balanceCents);
    switch (check) {
        case TCardCheck::ccNotShopMember:
            card.Sector0()[8] = 0;
            break;
        case TCardCheck::ccNotSchemeCard:
            card.Sector2()[43] = kExpectedSchemeCode + 1;
            break;
        case TCardCheck::ccSector4Crc:
            card.Sector4()[47] ^= 0xFF;
            break;
        default:
            qFatal("no sample card for this check");
    }
    if (check != TCardCheck::ccSector4Crc) {
        card.Seal();
    }
    TMemberCardImage image = MemberCardImageFromDump(card.dump);
    TMemberRecord record;
    if (DecodeMemberCard(image, kExpectedSchemeCode, record) != check) {
        qFatal("the sample card does not fail as asked");
    }
    return image;
}

void WriteSettingsFile(const QString& programFolder, const QByteArray& text) {
    QDir(programFolder).mkpath("DataBase");
    QFile file(programFolder + "/DataBase/KXConF.ini");
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        qFatal("cannot write the settings file");
    }
}

const TerminalTexts& TextsOf(Terminal terminal) {
    static const TerminalTexts pay{"suiPayMoney", "atDec", "成功支付：",
                                   "支付失败，请检查是否正确放卡", "debit"};
    static const TerminalTexts inc{"suiStoreMoney", "atInc", "成功充值：",
                                   "充值失败，请检查是否正确放卡", "credit"};
    return terminal == Terminal::Pay ? pay : inc;
}

namespace {

std::unique_ptr<QWidget> ShowWindow(Terminal terminal, CardAccess& cardLayer, MessageBoxes& boxes,
                                    const QString& folder) {
    std::unique_ptr<QWidget> window;
    if (terminal == Terminal::Pay) {
        window =
            std::make_unique<TKxNetPayTerminalMainForm>(cardLayer, boxes, folder.toStdString());
    } else {
        window =
            std::make_unique<TKxNetIncTerminalMainForm>(cardLayer, boxes, folder.toStdString());
    }
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qFatal("the window did not become active");
    }
    return window;
}

// What a label, edit, button or drop-down list shows.
QString TextOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        return list->currentText();
    }
    return {};
}

}  // namespace

ShownWindow::ShownWindow(Terminal terminal, const QByteArray& settings) : texts(TextsOf(terminal)) {
    if (!settings.isEmpty()) {
        WriteSettingsFile(programFolder.path(), settings);
    }
    window = ShowWindow(terminal, card, boxes, programFolder.path());
}

ShownWindow::ShownWindow(Terminal terminal, CardAccess& cardLayer, const QString& folder)
    : window(ShowWindow(terminal, cardLayer, boxes, folder)), texts(TextsOf(terminal)) {}

void ShownWindow::read(const TMemberCardImage& image) {
    card.onReader = image;
    key(Qt::Key_F10);
}

void ShownWindow::pay(const TMemberCardImage& image, const QString& amountText) {
    read(image);
    amount()->setText(amountText);
    key(Qt::Key_F5);
}

QStringList ShownWindow::tabOrderOf(const QStringList& names) const {
    QStringList order;
    QWidget* const first = find<QWidget>(qPrintable(names.front()));
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName())) {
            order.append(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return order;
}

void ComparePlaceAndText(QWidget* widget, const QRect& place, const QString& text) {
    QCOMPARE(widget->pos(), place.topLeft());
    if (!place.size().isEmpty()) {
        QCOMPARE(widget->size(), place.size());
    }
    QCOMPARE(TextOf(widget), text);
}

}  // namespace kx::test
