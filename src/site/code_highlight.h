#pragma once

// SQL and VBA shown in the site's pages with their words told apart: keywords, quoted strings,
// bracketed names and comments each in a span of their own class ("k", "s", "n", "c"), all text
// escaped. A string or bracket left open runs to the end of the text and is still closed in
// the markup, so damaged code never breaks the page around it.

#include <string>
#include <string_view>

namespace zanfor::site {

// Jet SQL: keywords, '...' and "..." strings, [bracketed names].
std::string HighlightSql(std::string_view sql);
// One line of VBA: keywords, "..." strings, the comment from ' or Rem to the end of the line.
std::string HighlightCode(std::string_view line);

}  // namespace zanfor::site
