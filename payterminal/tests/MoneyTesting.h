#pragma once
// What the money windows' tests share: a scripted card layer, member cards, and a shown window
// over a program folder of its own.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "card/CardTransactions.h"
#include "card/MemberCard.h"
#include "widgets/NumberEdit.h"
#include "widgets/testing/RecordingMessageBoxes.h"

namespace kx::test {

// The card on the fake reader: Read gives it (or fails without one), Debit and Credit change
// its balance unless told to fail. Every call is recorded.
class FakeCard : public CardAccess {
  public:
    struct Call {
        std::string operation;  // "read", "debit", "credit"
        int port = 0;
        std::string model;
        uint32_t cents = 0;
    };

    int Read(int portIndex, std::string_view model, TMemberCardImage& image) override;
    int Debit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) override;
    int Credit(int portIndex, std::string_view model, uint32_t cents, uint32_t& serial) override;

    std::vector<std::string> operations() const;
    uint32_t balance() const { return onReader->Values[0]; }

    std::optional<TMemberCardImage> onReader;
    int writeResult = 0;
    std::vector<Call> calls;

  private:
    int write(const char* operation, int portIndex, std::string_view model, uint32_t cents,
              uint32_t& serial, bool debit);
};

// A member card passing every check, with this balance in cents.
TMemberCardImage MemberCard(uint32_t balanceCents, uint32_t serial = 0x1A2B3C4D);
// A member card with this balance whose check stops at check (not ccOk).
TMemberCardImage CardFailing(TCardCheck check, uint32_t balanceCents = 100000);

void WriteSettingsFile(const QString& programFolder, const QByteArray& text);

enum class Terminal { Pay, Inc };

// What the tests expect of each window.
struct TerminalTexts {
    const char* amountField;
    const char* moneyAction;
    const char* successPrefix;
    const char* failureMessage;
    const char* writeOperation;  // FakeCard's name of the card write
};
const TerminalTexts& TextsOf(Terminal terminal);

// A money window shown and active, over a fake card and a program folder of its own, recording
// its boxes.
struct ShownWindow {
    FakeCard card;
    testing::RecordingMessageBoxes boxes;
    QTemporaryDir programFolder;
    std::unique_ptr<QWidget> window;
    const TerminalTexts& texts;

    // settings: the text of the program's settings file; none when empty.
    explicit ShownWindow(Terminal terminal, const QByteArray& settings = {});
    // Over another card layer, in the given program folder.
    ShownWindow(Terminal terminal, CardAccess& cardLayer, const QString& folder);

    template <class W>
    W* find(const char* name) const {
        W* child = window->findChild<W*>(QLatin1String(name));
        if (!child) {
            qFatal("no control %s", name);
        }
        return child;
    }
    NumberEdit* amount() const { return find<NumberEdit>(texts.amountField); }
    NumberEdit* balance() const { return find<NumberEdit>("suiCurStoreMoney"); }
    QLabel* message() const { return find<QLabel>("lbMessageInfo"); }
    QAction* moneyAction() const { return find<QAction>(texts.moneyAction); }
    void key(Qt::Key key) const { QTest::keyClick(window.get(), key); }
    // F10 with this card on the reader.
    void read(const TMemberCardImage& image);
    // F10 with this card, the amount typed into the field, then F5.
    void pay(const TMemberCardImage& image, const QString& amount);
    std::vector<std::string> operations() const { return card.operations(); }
    // The controls named, in the order Tab visits them from the first one.
    QStringList tabOrderOf(const QStringList& names) const;
};

// Compares a control's place (only its top-left corner when place has no size) and what it
// shows (label, edit, button or drop-down list text).
void ComparePlaceAndText(QWidget* widget, const QRect& place, const QString& text);

}  // namespace kx::test
