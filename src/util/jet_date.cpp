#include "util/jet_date.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "util/vb_string.h"

namespace zanfor::util {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

// Howard Hinnant's days_from_civil: days since 1970-01-01 in the proleptic Gregorian calendar.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, DateTime& dt) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    dt.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    dt.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    dt.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (dt.month <= 2));
}

constexpr std::int64_t kJetEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kMinSecond = (DaysFromCivil(kMinYear, 1, 1) - kJetEpoch) * kSecondsPerDay;
constexpr std::int64_t kMaxSecond =
    (DaysFromCivil(kMaxYear, 12, 31) - kJetEpoch + 1) * kSecondsPerDay - 1;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

bool IsValidDate(int y, int m, int d) {
    return y >= kMinYear && y <= kMaxYear && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

bool IsValidTime(int h, int mi, int s) {
    return h >= 0 && h <= 23 && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

// `linear` counts seconds straight through from 1899-12-30 00:00:00; a Jet value before that
// day keeps its time of day positive, so the time is subtracted from a negative day.
double LinearToJet(std::int64_t linear) {
    const std::int64_t day = FloorDiv(linear, kSecondsPerDay);
    const double time = static_cast<double>(linear - day * kSecondsPerDay) / kSecondsPerDay;
    return day < 0 ? static_cast<double>(day) - time : static_cast<double>(day) + time;
}

std::int64_t JetToLinear(double value) {
    if (std::isnan(value))
        return 0;
    // Anything beyond the clamp limits is far outside years 100..9999 and clamps the same.
    value = std::clamp(value, -1e7, 1e7);
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    const auto day = static_cast<std::int64_t>(whole);
    const std::int64_t second = std::llround(fraction * kSecondsPerDay);
    return day * kSecondsPerDay + second;
}

bool ReadNumber(std::string_view& text, std::size_t minWidth, std::size_t maxWidth, int& out) {
    std::size_t n = 0;
    while (n < text.size() && n < maxWidth && text[n] >= '0' && text[n] <= '9')
        ++n;
    if (n < minWidth)
        return false;
    std::from_chars(text.data(), text.data() + n, out);
    text.remove_prefix(n);
    return true;
}

bool ReadChar(std::string_view& text, char c) {
    if (!text.starts_with(c))
        return false;
    text.remove_prefix(1);
    return true;
}

std::optional<double> ToJetIfValid(const DateTime& dt) {
    if (!IsValidDate(dt.year, dt.month, dt.day))
        return std::nullopt;
    if (!IsValidTime(dt.hour, dt.minute, dt.second))
        return std::nullopt;
    return ToJetDate(dt);
}

bool ParseVbTime(std::string_view text, DateTime& dt) {
    if (!ReadNumber(text, 1, 2, dt.hour) || !ReadChar(text, ':'))
        return false;
    if (!ReadNumber(text, 2, 2, dt.minute))
        return false;
    if (ReadChar(text, ':') && !ReadNumber(text, 2, 2, dt.second))
        return false;
    return text.empty();
}

}  // namespace

// Like VB's DateSerial and TimeSerial, fields beyond their range carry into the next larger
// one (month 13 is January of the next year); the result is clamped to years 100..9999.
double ToJetDate(const DateTime& dt) {
    const std::int64_t months = static_cast<std::int64_t>(dt.month) - 1;
    const std::int64_t year = std::clamp<std::int64_t>(dt.year + FloorDiv(months, 12), -1, 10000);
    const auto month = static_cast<unsigned>(months - FloorDiv(months, 12) * 12 + 1);
    const std::int64_t day = DaysFromCivil(year, month, 1) - kJetEpoch + dt.day - 1;
    const std::int64_t second = day * kSecondsPerDay + std::int64_t{dt.hour} * 3600 +
                                std::int64_t{dt.minute} * 60 + dt.second;
    return LinearToJet(std::clamp(second, kMinSecond, kMaxSecond));
}

// Values outside years 100..9999 give the nearest end of that range; NaN gives day 0.
DateTime FromJetDate(double value) {
    const std::int64_t linear = std::clamp(JetToLinear(value), kMinSecond, kMaxSecond);
    const std::int64_t day = FloorDiv(linear, kSecondsPerDay);
    const std::int64_t second = linear - day * kSecondsPerDay;
    DateTime dt;
    CivilFromDays(day + kJetEpoch, dt);
    dt.hour = static_cast<int>(second / 3600);
    dt.minute = static_cast<int>(second / 60 % 60);
    dt.second = static_cast<int>(second % 60);
    return dt;
}

std::string FormatWorkDbDate(double value) {
    const DateTime dt = FromJetDate(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.year, dt.month, dt.day,
                  dt.hour, dt.minute, dt.second);
    return buffer;
}

std::optional<double> ParseWorkDbDate(std::string_view text) {
    DateTime dt;
    if (!ReadNumber(text, 4, 4, dt.year) || !ReadChar(text, '-') ||
        !ReadNumber(text, 2, 2, dt.month) || !ReadChar(text, '-') ||
        !ReadNumber(text, 2, 2, dt.day)) {
        return std::nullopt;
    }
    if (!text.empty()) {
        if (!ReadChar(text, ' ') || !ReadNumber(text, 2, 2, dt.hour) || !ReadChar(text, ':') ||
            !ReadNumber(text, 2, 2, dt.minute) || !ReadChar(text, ':') ||
            !ReadNumber(text, 2, 2, dt.second) || !text.empty()) {
            return std::nullopt;
        }
    }
    return ToJetIfValid(dt);
}

std::string FormatVbDate(double value) {
    const DateTime dt = FromJetDate(value);
    const bool dayZero = dt.year == 1899 && dt.month == 12 && dt.day == 30;
    const bool midnight = dt.hour == 0 && dt.minute == 0 && dt.second == 0;
    char buffer[32];
    if (dayZero) {
        std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", dt.hour, dt.minute, dt.second);
    } else if (midnight) {
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", dt.year, dt.month, dt.day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %d:%02d:%02d", dt.year, dt.month,
                      dt.day, dt.hour, dt.minute, dt.second);
    }
    return buffer;
}

std::optional<double> ParseVbDate(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::string_view rest = trimmed;
    DateTime dt;
    if (!ReadNumber(rest, 3, 4, dt.year) || rest.empty())
        return std::nullopt;
    const char separator = rest.front();
    if ((separator != '/' && separator != '-') || !ReadChar(rest, separator) ||
        !ReadNumber(rest, 1, 2, dt.month) || !ReadChar(rest, separator) ||
        !ReadNumber(rest, 1, 2, dt.day)) {
        return std::nullopt;
    }
    if (!rest.empty()) {
        const std::size_t blanks = rest.find_first_not_of(' ');
        if (blanks == 0 || blanks == std::string_view::npos)
            return std::nullopt;
        if (!ParseVbTime(rest.substr(blanks), dt))
            return std::nullopt;
    }
    return ToJetIfValid(dt);
}

double NowAsJetDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ToJetDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec == 60 ? 59 : local.tm_sec});
}

}  // namespace zanfor::util
