#include "CardReadDisplay.h"

namespace kx {

namespace {

std::optional<int> ItemIndex(int item, int itemCount) {
    return item >= 0 && item < itemCount ? item : -1;
}

}  // namespace

CardReadDisplay DisplayOfCardRead(int readResult, const TMemberCardImage& image,
                                  uint8_t expectedScheme, CivilDate today) {
    CardReadDisplay display;
    if (readResult != 0) {
        display.message = kReadFailedMessage;
        return display;
    }
    TMemberRecord record;
    const TCardCheck check = DecodeMemberCard(image, expectedScheme, record);
    display.memberCode = record.MemberCode;
    if (ReachedSector2Fields(check)) {
        display.cerNO = record.CerNO;
        display.memberName = record.MemberName;
        display.cerTypeIndex = ItemIndex(record.CerType, kCerTypeCount);
        display.sexIndex = ItemIndex(record.MemberSex - 1, kSexCount);
    }
    if (ReachedSector4Fields(check)) {
        display.address = record.CerNewAddr;
        display.mobilePhone = record.MobilePhone;
        display.birthday = record.MemBirthday;
        try {
            display.age = std::to_string(AgeFromBirthday(record.MemBirthday, today));
        } catch (const DateError& error) {
            display.invalidBirthdayError = error.what();
            return display;
        }
    }
    if (ReachedValueFields(check)) {
        display.points = std::to_string(record.MemberPoints);
        display.storeMoneyCents = record.StoreMoney;
    }
    display.message = CardCheckMessage(check);
    return display;
}

}  // namespace kx
