#pragma once

// Whether a text names an object: the name as a whole word of the text, so that a table Item
// is found in "[Item]", "Item.ID" and "FROM Item WHERE" but not in "ItemPrice" or "T_Item".
// Letters, digits, "_" and every character beyond ASCII (Japanese names) continue a word;
// anything else (blanks, brackets, dots, operators, quotes) bounds it. Case counts, as Access's
// names in code and SQL are compared here.

#include <string_view>

namespace zanfor::refs {

bool NamesWhole(std::string_view text, std::string_view name);

}  // namespace zanfor::refs
