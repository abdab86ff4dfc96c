#include "util/jet_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace zanfor::util {
namespace {

constexpr double kSecond = 1.0 / 86400;

TEST(JetDate, convertsBothWaysRoundingToTheSecondWithForwardTimeOnNegativeDays) {
    const std::vector<std::pair<DateTime, double>> cases = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},
        {{1899, 12, 29, 6, 0, 0}, -1.25},
        {{2003, 1, 5, 9, 5, 3}, 37626 + (9 * 3600 + 5 * 60 + 3) * kSecond},
        {{100, 1, 1, 12, 0, 0}, -657434.5},
        {{9999, 12, 31, 23, 59, 59}, 2958465 + 86399 * kSecond},
    };
    for (const auto& [dt, value] : cases) {
        EXPECT_NEAR(ToJetDate(dt), value, 1e-9) << value;
        EXPECT_EQ(FromJetDate(value), dt) << value;
    }
    EXPECT_EQ(FromJetDate(-0.5), (DateTime{1899, 12, 30, 12, 0, 0}));
    // Fractions of a second round to the nearest, across midnight too.
    EXPECT_EQ(FromJetDate(37626 + 86399.6 * kSecond), (DateTime{2003, 1, 6, 0, 0, 0}));
    EXPECT_EQ(FromJetDate(37626 + 86399.4 * kSecond), (DateTime{2003, 1, 5, 23, 59, 59}));
    EXPECT_EQ(FromJetDate(-1.9999999), (DateTime{1899, 12, 30, 0, 0, 0}));
}

TEST(JetDate, outOfRangeValuesClampToYears100To9999) {
    const DateTime first{100, 1, 1, 0, 0, 0};
    const DateTime last{9999, 12, 31, 23, 59, 59};
    EXPECT_EQ(FromJetDate(std::numeric_limits<double>::infinity()), last);
    EXPECT_EQ(FromJetDate(-657435.5), first);
    EXPECT_EQ(FromJetDate(std::nan("")), DateTime{});
    EXPECT_EQ(FromJetDate(ToJetDate({20000, 1, 1, 0, 0, 0})), last);
    EXPECT_EQ(FromJetDate(ToJetDate({2003, 13, 32, 24, 0, 0})), (DateTime{2004, 2, 2, 0, 0, 0}));
}

TEST(JetDate, workDbFormRoundTripsAndRejectsEverythingElse) {
    EXPECT_EQ(FormatWorkDbDate(-657434.0), "0100-01-01 00:00:00");
    const auto leapDay = ParseWorkDbDate("2024-02-29 23:59:59");
    ASSERT_TRUE(leapDay);
    EXPECT_EQ(FormatWorkDbDate(*leapDay), "2024-02-29 23:59:59");
    EXPECT_EQ(ParseWorkDbDate("2024-02-29"), 45351.0);
    for (const std::string text :
         {"", "2023-02-29", "2003-1-5", "2003-01-05T09:05:03", "0099-12-31", "2003-01-05 24:00:00"})
        EXPECT_FALSE(ParseWorkDbDate(text)) << text;
}

TEST(JetDate, formatVbDateShowsDateTimeOrBothAsJapaneseCStr) {
    const std::vector<std::pair<double, std::string>> cases = {
        {37626.0, "2003/01/05"},
        {37626 + (9 * 3600 + 5 * 60 + 3) * kSecond, "2003/01/05 9:05:03"},
        {-0.5, "12:00:00"},
        {-1.0, "1899/12/29"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatVbDate(value), text) << value;
}

TEST(JetDate, parseVbDateAcceptsTypedDatesAndRejectsImpossibleOnes) {
    const double day = 37626.0;
    const std::vector<std::pair<std::string, double>> valid = {
        {"2003-01-05", day},
        {" 2003/1/5  9:05 ", day + (9 * 3600 + 5 * 60) * kSecond},
        {"2003/1/5 19:05:03", day + (19 * 3600 + 5 * 60 + 3) * kSecond},
    };
    for (const auto& [text, value] : valid) {
        const auto parsed = ParseVbDate(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_NEAR(*parsed, value, 1e-9) << text;
    }
    for (const std::string text : {"", "abc", "2023/2/29", "2023/13/1", "2003/1-5", "2003/1/5 9:5",
                                   "2003/1/5 24:00", "2003/1/5x", "99/1/5", "2003/1/5 9:05:"})
        EXPECT_FALSE(ParseVbDate(text)) << text;
}

}  // namespace
}  // namespace zanfor::util
