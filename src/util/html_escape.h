#pragma once

// Text placed in HTML as data: the five characters that could start markup or end an
// attribute become entities, everything else passes as it is.

#include <string>
#include <string_view>

namespace zanfor::util {

// Text made safe inside an HTML element or a quoted attribute.
std::string HtmlEscape(std::string_view text);
// The same, appended to `out`: pages of many thousand lines are built without a string each.
void AppendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace zanfor::util
