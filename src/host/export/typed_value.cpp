#include "host/export/typed_value.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>

#include "host/dao.h"
#include "util/jet_date.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

struct TypeName {
    std::string_view name;
    int type;
};

constexpr auto kTypeNames = std::to_array<TypeName>({
    {"dbBoolean", dao::dbBoolean},
    {"dbByte", dao::dbByte},
    {"dbInteger", dao::dbInteger},
    {"dbLong", dao::dbLong},
    {"dbCurrency", dao::dbCurrency},
    {"dbSingle", dao::dbSingle},
    {"dbDouble", dao::dbDouble},
    {"dbDate", dao::dbDate},
    {"dbBinary", dao::dbBinary},
    {"dbText", dao::dbText},
    {"dbLongBinary", dao::dbLongBinary},
    {"dbMemo", dao::dbMemo},
    {"dbGUID", dao::dbGUID},
    {"dbBigInt", dao::dbBigInt},
    {"dbDecimal", dao::dbDecimal},
});

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    const std::string t = util::Trim(text);
    std::int64_t n = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty())
        return std::nullopt;
    return n;
}

std::optional<double> realNumber(std::string_view text) {
    const std::string t = util::Trim(text);
    double d = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty())
        return std::nullopt;
    return d;
}

}  // namespace

int DaoTypeOfName(std::string_view typeName) {
    for (const auto& row : kTypeNames) {
        if (util::EqualsIgnoreCase(row.name, typeName))
            return row.type;
    }
    return 0;
}

Value DaoTypedValue(int daoType, std::string_view text) {
    switch (daoType) {
        case dao::dbBoolean:
            if (util::EqualsIgnoreCase(text, "True") || util::EqualsIgnoreCase(text, "Yes"))
                return true;
            if (util::EqualsIgnoreCase(text, "False") || util::EqualsIgnoreCase(text, "No"))
                return false;
            if (auto n = wholeNumber(text))
                return *n != 0;
            break;
        case dao::dbByte:
        case dao::dbInteger:
        case dao::dbLong:
        case dao::dbBigInt:
            if (auto n = wholeNumber(text))
                return *n;
            break;
        case dao::dbCurrency:
        case dao::dbSingle:
        case dao::dbDouble:
        case dao::dbDecimal:
            if (auto d = realNumber(text))
                return *d;
            break;
        case dao::dbDate:
            if (auto d = util::ParseVbDate(text))
                return Date{*d};
            break;
        default:
            break;
    }
    return std::string(text);
}

Value DaoTypedValue(int daoType, const JsonValue& value) {
    switch (value.kind) {
        case JsonValue::Kind::Null:
            return {};
        case JsonValue::Kind::Bool:
            return daoType == 0 || daoType == dao::dbBoolean ? Value(value.boolean)
                                                             : Value(value.boolean ? -1 : 0);
        case JsonValue::Kind::Number:
            if (daoType == 0)
                return value.isIntegral() ? Value(value.asInteger()) : Value(value.asDouble());
            return DaoTypedValue(daoType, value.text);
        case JsonValue::Kind::String:
            return daoType == 0 ? Value(value.text) : DaoTypedValue(daoType, value.text);
        default:
            return value.asText();
    }
}

}  // namespace zanfor::host::exports
