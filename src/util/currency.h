#pragma once

// VB's Currency: a fixed-point number with four decimals held in 64 bits. Converting a double
// rounds half to even at the fourth decimal, as VB's CCur did; arithmetic on it is exact.

#include <cstdint>

namespace zanfor::util {

class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency FromTicks(std::int64_t ticks) { return Currency(ticks); }
    // Throws std::overflow_error outside Currency's range (VB's error 6).
    static Currency FromDouble(double value);

    constexpr std::int64_t ticks() const { return ticks_; }
    double ToDouble() const { return static_cast<double>(ticks_) / kScale; }

    // Throws std::overflow_error when the product leaves the range.
    Currency operator*(std::int64_t factor) const;
    Currency operator+(Currency other) const;
    // VB's Int: the largest whole number not above the value.
    Currency Floor() const;

    friend constexpr bool operator==(Currency, Currency) = default;

    static constexpr std::int64_t kScale = 10000;

private:
    constexpr explicit Currency(std::int64_t ticks) : ticks_(ticks) {}
    std::int64_t ticks_ = 0;
};

}  // namespace zanfor::util
