#pragma once

// The arithmetic of the progress display, kept apart from the windows that draw it.

#include <cstdint>
#include <string>

#include "util/currency.h"

namespace zanfor::app {

// Rounds half up in Currency arithmetic: for digits above 0, Int(value × 10^digits + 0.5)
// ÷ 10^digits; otherwise Int(value ÷ 10^|digits| + 0.5) × 10^|digits|.
double RoundHalfUp(util::Currency value, std::int16_t digits);
// The usual call: the double is first held as Currency (four decimals, half to even), as VB
// converted the argument.
double RoundHalfUp(double value, std::int16_t digits);

// The percentage the collectors show: RoundHalfUp(100 ÷ total × done, 0) as an integer.
// A total of 0 gives 0 instead of a division error; the result stays within 0..100.
std::int16_t ProgressPercent(long done, long total);

// What SetProgress puts on screen: the label's caption and where the gauge line ends, in
// twips of a gauge `fullLength` long (2400 in the main window).
struct ProgressView {
    std::string caption;
    double gaugeEnd = 0;
    bool repaintNow = false;
};
ProgressView SetProgress(std::int16_t percent, double fullLength = 2400);

}  // namespace zanfor::app
