#include "core/progress.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::app;

TEST(RoundHalfUp, roundsHalfUpAtTheRequestedDigits) {
    struct Case {
        double value;
        std::int16_t digits;
        double expected;
    };
    const Case cases[] = {
        {12.5, 0, 13},
        {12.4999, 0, 12},
        {1234, -2, 1200},
        {1250, -2, 1300},
        {1.23456, 3, 1.235},
        {1.2344, 3, 1.234},
        {0.0005, 3, 0.001},
        {-12.5, 0, -12},
        // Twips to centimetres as the control lists compute them.
        {850.0 / 567, 3, 1.499},
        {1701.0 / 567, 3, 3},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(RoundHalfUp(c.value, c.digits), c.expected)
            << c.value << " digits " << c.digits;
    }
}

TEST(RoundHalfUp, theArgumentIsFirstHeldAsCurrency) {
    // 12.49999 becomes 12.5000 as Currency, so it rounds up where plain doubles would not.
    EXPECT_DOUBLE_EQ(RoundHalfUp(12.49999, 0), 13);
    EXPECT_DOUBLE_EQ(RoundHalfUp(12.49994, 0), 12);
}

TEST(ProgressPercent, isTheRoundedShareAndStaysWithinTheGauge) {
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 67);
    EXPECT_EQ(ProgressPercent(1, 8), 13);  // 12.5 rounds up
    EXPECT_EQ(ProgressPercent(3, 3), 100);
    EXPECT_EQ(ProgressPercent(1, 0), 0);
    EXPECT_EQ(ProgressPercent(500, 1), 100);
}

TEST(SetProgress, captionAndGaugeEnd) {
    const auto p45 = SetProgress(45);
    EXPECT_EQ(p45.caption, "45%");
    EXPECT_DOUBLE_EQ(p45.gaugeEnd, 1080);
    EXPECT_TRUE(p45.repaintNow);

    const auto p100 = SetProgress(100);
    EXPECT_EQ(p100.caption, "100%");
    EXPECT_DOUBLE_EQ(p100.gaugeEnd, 2400);
    EXPECT_FALSE(p100.repaintNow);

    const auto p0 = SetProgress(0);
    EXPECT_EQ(p0.caption, "0%");
    EXPECT_DOUBLE_EQ(p0.gaugeEnd, 0);

    // The batch window's gauge is 2350 twips long.
    EXPECT_DOUBLE_EQ(SetProgress(50, 2350).gaugeEnd, 1175);
}

}  // namespace
