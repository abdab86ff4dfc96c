#pragma once

// Jet (and VB) dates are doubles: whole days since 1899-12-30, the fraction the time of day.
// Before that day the whole part counts backwards while the fraction still counts forwards
// (-1.25 is 1899-12-29 06:00). The work database stores dates as "YYYY-MM-DD HH:MM:SS".

#include <optional>
#include <string>
#include <string_view>

namespace zanfor::util {

struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

double ToJetDate(const DateTime& dt);
// Rounded to the nearest second.
DateTime FromJetDate(double value);

// "YYYY-MM-DD HH:MM:SS", the work database's form.
std::string FormatWorkDbDate(double value);
std::optional<double> ParseWorkDbDate(std::string_view text);

// A date as VB's CStr showed it on a Japanese system: "yyyy/mm/dd hh:nn:ss", only the date
// when the time is midnight, only the time ("h:nn:ss") when the date is day 0.
std::string FormatVbDate(double value);
// VB's IsDate/CDate for the forms users type: "yyyy/m/d", "yyyy-m-d", "yyyy/m/d h:nn[:ss]".
// Years 100..9999, real calendar days only.
std::optional<double> ParseVbDate(std::string_view text);

// The current local date and time as a Jet date.
double NowAsJetDate();

}  // namespace zanfor::util
