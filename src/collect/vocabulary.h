#pragma once

// Pure lookups from a code of the target (as decimal text) or a keyword to the Japanese text
// the printed reports show. Each is a chain of comparisons in the order of its table, first
// match wins, with the fallback of its table when nothing matches.

#include <cstdint>
#include <string>
#include <string_view>

namespace zanfor::collect {

std::string QueryTypeName(std::string_view code);        // fallback "System"
std::string ControlTypeName(std::string_view code);      // fallback "?"
std::string ControlTypeLabel(std::string_view name);     // fallback "?"
std::string FieldTypeName(std::string_view code);        // fallback "?"
std::string EventPropertyLabel(std::string_view name);   // fallback "?"
std::string LineStyleName(std::string_view code);        // fallback "?"
std::string ImeModeName(std::string_view code);          // fallback "?"
std::string RowSourceTypeName(std::string_view text);    // fallback "?"
std::string OleTypeName(std::string_view code);          // fallback "?"
std::string SizeModeName(std::string_view code);         // fallback "?"
std::string YesNoName(std::string_view text);            // fallback "?"
std::int16_t MacroActionNo(std::string_view prefix);     // fallback 99
std::string AccessConstantLabel(std::string_view word);  // fallback: the argument itself

}  // namespace zanfor::collect
