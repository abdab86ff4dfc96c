#pragma once

// A property or field value as DAO and Access handed it out: a Variant that is Null, a yes/no,
// a whole number, a floating-point number, text or a date.

#include <concepts>
#include <cstdint>
#include <string>
#include <variant>

namespace zanfor::host {

// A Jet date: days since 1899-12-30 (see util/jet_date.h).
struct Date {
    double value = 0;
    friend bool operator==(Date, Date) = default;
};

class Value {
public:
    enum class Kind { Null, Bool, Integer, Double, Text, Date };

    Value() = default;
    Value(bool b) : v_(b) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) Value(T n) : v_(static_cast<std::int64_t>(n)) {}
    Value(double d) : v_(d) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(Date d) : v_(d) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // VB's conversions: CBool, CLng, CDbl. Text "True"/"False" and numeric text convert;
    // Null and other text give false / 0.
    bool toBool() const;
    std::int64_t toInteger() const;
    double toDouble() const;
    // VB's CStr on a Japanese system: "True"/"False", shortest decimals, dates as
    // "yyyy/mm/dd hh:nn:ss". Null gives "".
    std::string toText() const;
    // The text this value holds, read in place; nullptr unless it is text.
    const std::string* heldText() const { return std::get_if<std::string>(&v_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Date> v_;
};

// VB's CStr of a Double: up to 15 significant digits, no trailing zeros.
std::string FormatVbNumber(double d);

}  // namespace zanfor::host
