#include "RecordJson.h"

#include <cstdio>

namespace kx {

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[7];
                    std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
                    quoted += escaped;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

namespace {

class JsonObject {
  public:
    void Add(std::string_view name, const std::string& jsonValue) {
        text_ += text_.empty() ? "{" : ",";
        text_ += JsonString(name) + ":" + jsonValue;
    }
    void AddText(std::string_view name, std::string_view value) { Add(name, JsonString(value)); }
    void AddNumber(std::string_view name, long long value) { Add(name, std::to_string(value)); }
    std::string Close() const { return text_ + "}"; }

  private:
    std::string text_;
};

std::string AgeJson(const std::string& birthday, CivilDate today) {
    try {
        return std::to_string(AgeFromBirthday(birthday, today));
    } catch (const DateError&) {
        return "null";
    }
}

}  // namespace

std::string RecordJson(TCardCheck check, const TMemberRecord& record, CivilDate today) {
    JsonObject json;
    json.AddText("check", CardCheckName(check));
    json.AddText("message", CardCheckMessage(check));
    json.AddText("MemberCode", record.MemberCode);
    if (ReachedSector2Fields(check)) {
        json.AddText("CerNO", record.CerNO);
        json.AddText("MemberName", record.MemberName);
        json.AddNumber("CerType", record.CerType);
        json.AddNumber("MemberSex", record.MemberSex);
    }
    if (ReachedSector4Fields(check)) {
        json.AddText("CerNewAddr", record.CerNewAddr);
        json.AddText("MobilePhone", record.MobilePhone);
        json.AddText("MemBirthday", record.MemBirthday);
        json.Add("MemberAge", AgeJson(record.MemBirthday, today));
    }
    if (ReachedValueFields(check)) {
        json.AddNumber("MemberPoints", record.MemberPoints);
        json.AddNumber("StoreMoney", record.StoreMoney);
    }
    return json.Close();
}

}  // namespace kx
