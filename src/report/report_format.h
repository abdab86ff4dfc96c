#pragma once

// How the values of the work database read on the page: dates, counts, yes/no marks, codes
// in words, and text made safe to lay out (line ends unified, tabs expanded in program text).

#include <QString>

#include "host/value.h"
#include "report/report_definition.h"

namespace zanfor::report {

QString FormatValue(const host::Value& value, Format format);

// A value inside a heading: dates with minutes, yes/no in words, anything else as stored.
QString FormatForHeading(const host::Value& value);

// Line ends become "\n"; tabs become blanks (to the next multiple of four in program text);
// other control characters become blanks, since no output can show them.
QString CleanText(const QString& text, bool code);

// The name of a macro action number of the macro collector.
QString MacroActionName(std::int64_t actionNo);

}  // namespace zanfor::report
