#include "util/currency.h"

#include <cfenv>
#include <cmath>
#include <stdexcept>

namespace zanfor::util {

namespace {
// Currency spans about ±922,337,203,685,477.58.
constexpr double kLimit = 9.2233720368547758e18;

[[noreturn]] void overflow() { throw std::overflow_error("Currency overflow"); }
}  // namespace

Currency Currency::FromDouble(double value) {
    const double scaled = value * static_cast<double>(kScale);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kLimit)
        overflow();
    // nearbyint rounds half to even in the default rounding mode, matching CCur.
    return Currency(static_cast<std::int64_t>(std::nearbyint(scaled)));
}

Currency Currency::operator*(std::int64_t factor) const {
    std::int64_t result = 0;
    if (__builtin_mul_overflow(ticks_, factor, &result))
        overflow();
    return Currency(result);
}

Currency Currency::operator+(Currency other) const {
    std::int64_t result = 0;
    if (__builtin_add_overflow(ticks_, other.ticks_, &result))
        overflow();
    return Currency(result);
}

Currency Currency::Floor() const {
    std::int64_t whole = ticks_ / kScale;
    if (ticks_ % kScale != 0 && ticks_ < 0)
        --whole;
    return Currency(whole * kScale);
}

}  // namespace zanfor::util
