#pragma once

// The comparison of two versions written out: as text for the terminal, as one self-contained
// HTML page, or as JSON for scripts. `before` and `after` are the names the two versions were
// given by (file or folder paths); every name and value is escaped where the format needs it.

#include <iosfwd>
#include <string_view>

#include "diff/analysis_diff.h"
#include "util/html_escape.h"

namespace zanfor::diff {

void WriteDiffText(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out);
void WriteDiffHtml(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out);
void WriteDiffJson(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out);

using util::HtmlEscape;

}  // namespace zanfor::diff
