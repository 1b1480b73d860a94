#include <QTest>

#include "CardReadDisplay.h"
#include "MemberCardImages.h"

using kx::CivilDate;
using kx::DisplayOfCardRead;
using kx::testing::MemberCardImage;
using kx::testing::TestMember;

class CardReadDisplayTest : public QObject {
    Q_OBJECT
  private slots:
    void listItemsOfTheCodes_data();
    void listItemsOfTheCodes();
    void ageCountsToTheGivenDay();
    void invalidBirthdayEndsAfterTheBirthday();
};

void CardReadDisplayTest::listItemsOfTheCodes_data() {
    QTest::addColumn<int>("cerType");
    QTest::addColumn<int>("sex");
    QTest::addColumn<int>("cerTypeItem");
    QTest::addColumn<int>("sexItem");
    QTest::newRow("first items") << 0 << 1 << 0 << 0;
    QTest::newRow("last items") << 5 << 2 << 5 << 1;
    QTest::newRow("beyond the lists") << 6 << 3 << -1 << -1;
    QTest::newRow("sex zero, type 255") << 255 << 0 << -1 << -1;
}

void CardReadDisplayTest::listItemsOfTheCodes() {
    QFETCH(int, cerType);
    QFETCH(int, sex);
    QFETCH(int, cerTypeItem);
    QFETCH(int, sexItem);
    TestMember member;
    member.cerType = static_cast<uint8_t>(cerType);
    member.sex = static_cast<uint8_t>(sex);
    const auto display = DisplayOfCardRead(0, MemberCardImage(member), 100, {2023, 12, 27});
    QCOMPARE(display.cerTypeIndex, std::optional(cerTypeItem));
    QCOMPARE(display.sexIndex, std::optional(sexItem));
}

void CardReadDisplayTest::ageCountsToTheGivenDay() {
    const auto image = MemberCardImage(TestMember{});  // born 2000-01-01
    QCOMPARE(DisplayOfCardRead(0, image, 100, {2023, 12, 27}).age,
             std::optional<std::string>("24"));
    QCOMPARE(DisplayOfCardRead(0, image, 100, {2023, 12, 20}).age,
             std::optional<std::string>("23"));
}

void CardReadDisplayTest::invalidBirthdayEndsAfterTheBirthday() {
    TestMember member;
    member.birthday = "20230229";
    const auto display = DisplayOfCardRead(0, MemberCardImage(member), 100, {2024, 1, 1});
    QCOMPARE(display.invalidBirthdayError,
             std::optional<std::string>("'2023-02-29' is not a valid date."));
    QCOMPARE(display.birthday, std::optional<std::string>("2023-02-29"));
    QCOMPARE(display.mobilePhone, std::optional<std::string>("013812345678"));
    QVERIFY(display.memberCode && display.cerNO && display.address);
    QVERIFY(!display.age && !display.points && !display.storeMoneyCents && !display.message);
}

QTEST_GUILESS_MAIN(CardReadDisplayTest)
#include "tst_card_read_display.moc"
