#pragma once

// The core's text is UTF-8 in std::string; this is where it crosses into Qt, for the report
// engine and everything above it.

#include <QString>
#include <string_view>

namespace zanfor::report {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zanfor::report
