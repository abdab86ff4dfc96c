#include "util/currency.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using zanfor::util::Currency;

TEST(Currency, fromDoubleRoundsHalfToEvenAtTheFourthDecimal) {
    struct Case {
        double in;
        std::int64_t ticks;
    };
    const Case cases[] = {
        // Halves exact in binary: 1 + 1/32 and 1 + 3/32 sit halfway between two ticks.
        {1.03125, 10312},  {1.09375, 10938},    {-1.03125, -10312}, {1.23456, 12346},
        {12.4999, 124999}, {100.0 / 3, 333333}, {-1.5, -15000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Currency::FromDouble(c.in).ticks(), c.ticks) << c.in;
}

TEST(Currency, floorGoesDownForNegativeFractions) {
    EXPECT_EQ(Currency::FromDouble(2.9999).Floor(), Currency::FromDouble(2));
    EXPECT_EQ(Currency::FromDouble(-0.5).Floor(), Currency::FromDouble(-1));
    EXPECT_EQ(Currency::FromDouble(-3).Floor(), Currency::FromDouble(-3));
}

TEST(Currency, overflowIsAnErrorNotAWrappedValue) {
    EXPECT_THROW(Currency::FromDouble(1e15), std::overflow_error);
    EXPECT_THROW(Currency::FromDouble(1.0 / 0.0), std::overflow_error);
    EXPECT_THROW(Currency::FromDouble(9e14) * 100, std::overflow_error);
}

}  // namespace
