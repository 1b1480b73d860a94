#pragma once
// The JSON form of a decoded member card, as "kxcard decode" and "kxcard read" print it.

#include <string>
#include <string_view>

#include "card/MemberCard.h"

namespace kx {

// text (UTF-8) as a quoted JSON string.
std::string JsonString(std::string_view text);

// One JSON object, no line break: "check", "message", then the record fields the decode
// reached, with "MemberAge" against today (null when the birthday is not a date).
std::string RecordJson(TCardCheck check, const TMemberRecord& record, CivilDate today);

}  // namespace kx
