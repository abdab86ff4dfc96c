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
        {12.4999, 0, 12},
        {1250, -2, 1300},
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
    // 12.49999 becomes 12.5000 as Currency, so it rounds up where plain doubles would not.
    EXPECT_DOUBLE_EQ(RoundHalfUp(12.49999, 0), 13);
}

TEST(ProgressPercent, isTheRoundedShareAndStaysWithinTheGauge) {
    EXPECT_EQ(ProgressPercent(2, 3), 67);
    EXPECT_EQ(ProgressPercent(1, 8), 13);  // 12.5 rounds up
    EXPECT_EQ(ProgressPercent(1, 0), 0);
    EXPECT_EQ(ProgressPercent(500, 1), 100);
}

TEST(SetProgress, captionGaugeEndAndRepaint) {
    struct Case {
        std::int16_t percent;
        double gaugeLength;
        const char* caption;
        double gaugeEnd;
        bool repaintNow;
    };
    const Case cases[] = {
        {45, 2400, "45%", 1080, true},
        {100, 2400, "100%", 2400, false},
        {50, 2350, "50%", 1175, true},  // the batch window's gauge
    };
    for (const auto& c : cases) {
        const auto p = SetProgress(c.percent, c.gaugeLength);
        EXPECT_EQ(p.caption, c.caption);
        EXPECT_DOUBLE_EQ(p.gaugeEnd, c.gaugeEnd) << c.percent;
        EXPECT_EQ(p.repaintNow, c.repaintNow) << c.percent;
    }
}

}  // namespace
