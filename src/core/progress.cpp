#include "core/progress.h"

#include <algorithm>
#include <cmath>

namespace zanfor::app {

using util::Currency;

double RoundHalfUp(Currency value, std::int16_t digits) {
    const std::int64_t p = static_cast<std::int64_t>(std::pow(10, std::abs(digits)));
    if (digits > 0) {
        const Currency scaled = (value * p + Currency::FromTicks(Currency::kScale / 2)).Floor();
        return scaled.ToDouble() / static_cast<double>(p);
    }
    // Currency ÷ Integer is a Double in VB, so this branch leaves fixed point.
    return std::floor(value.ToDouble() / static_cast<double>(p) + 0.5) * static_cast<double>(p);
}

double RoundHalfUp(double value, std::int16_t digits) {
    return RoundHalfUp(Currency::FromDouble(value), digits);
}

std::int16_t ProgressPercent(long done, long total) {
    if (total <= 0)
        return 0;
    const double rounded = RoundHalfUp(100.0 / static_cast<double>(total) * done, 0);
    // More objects than counted at opening (the target changed meanwhile) must not push the
    // gauge past its end or overflow the 16-bit percentage.
    return static_cast<std::int16_t>(std::clamp(rounded, 0.0, 100.0));
}

ProgressView SetProgress(std::int16_t percent, double fullLength) {
    if (percent == 100)
        return {"100%", fullLength, false};
    return {std::to_string(percent) + "%", fullLength / 100 * percent, true};
}

}  // namespace zanfor::app
