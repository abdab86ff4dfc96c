#include "host/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "util/jet_date.h"
#include "util/vb_string.h"

namespace zanfor::host {

namespace {

std::optional<double> parseNumber(const std::string& text) {
    const std::string t = util::Trim(text);
    if (t.empty())
        return std::nullopt;
    double d = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (ec != std::errc() || end != t.data() + t.size())
        return std::nullopt;
    return d;
}

}  // namespace

bool Value::toBool() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(v_);
        case Kind::Integer:
            return std::get<std::int64_t>(v_) != 0;
        case Kind::Double:
            return std::get<double>(v_) != 0;
        case Kind::Date:
            return std::get<Date>(v_).value != 0;
        case Kind::Text: {
            const auto& s = std::get<std::string>(v_);
            if (util::EqualsIgnoreCase(s, "True"))
                return true;
            if (auto d = parseNumber(s))
                return *d != 0;
            return false;
        }
        case Kind::Null:
            return false;
    }
    return false;
}

double Value::toDouble() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(v_) ? -1 : 0;  // VB's True is -1
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(v_));
        case Kind::Double:
            return std::get<double>(v_);
        case Kind::Date:
            return std::get<Date>(v_).value;
        case Kind::Text:
            return parseNumber(std::get<std::string>(v_)).value_or(0);
        case Kind::Null:
            return 0;
    }
    return 0;
}

std::int64_t Value::toInteger() const {
    if (kind() == Kind::Integer)
        return std::get<std::int64_t>(v_);
    const double d = toDouble();
    if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
        return 0;
    return static_cast<std::int64_t>(std::nearbyint(d));  // CLng rounds half to even
}

std::string Value::toText() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(v_) ? "True" : "False";
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(v_));
        case Kind::Double:
            return FormatVbNumber(std::get<double>(v_));
        case Kind::Date:
            return util::FormatVbDate(std::get<Date>(v_).value);
        case Kind::Text:
            return std::get<std::string>(v_);
        case Kind::Null:
            return {};
    }
    return {};
}

std::string FormatVbNumber(double d) {
    if (d == 0)
        return "0";
    if (!std::isfinite(d))
        return std::isnan(d) ? "NaN" : (d > 0 ? "1.#INF" : "-1.#INF");
    // printf's "%.15G" in the C locale, whatever locale the program runs in: VB wrote a dot.
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
    std::string s(buf, written.ptr);
    for (char& c : s) {
        if (c == 'e')
            c = 'E';
    }
    // %G keeps trailing zeros of the mantissa only with '#'; it also writes "E+20" where VB
    // writes "E+20", so only a mantissa's trailing dot needs care.
    const auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    const std::string exponent = e == std::string::npos ? "" : s.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    return mantissa + exponent;
}

}  // namespace zanfor::host
