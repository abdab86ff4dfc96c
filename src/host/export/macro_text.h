#pragma once

// A macro in its SaveAsText form: "Version =196611", "ColumnsShown =", then one "Begin" ...
// "End" block per row of the macro sheet with MacroName, Condition, Action, Comment and the
// Argument lines in argument order.

#include <string>

#include "host/access/macro_definition.h"
#include "host/export/saved_text.h"

namespace zanfor::host::exports {

// Later Access versions add rows holding only a comment "_AXL:..." (the macro as XML, cut into
// pieces); they are not rows of the macro sheet and are left out. A macro that has nothing but
// those rows is read from the XML they spell: its actions, their arguments and comments.
// Throws host::Error (err::kExportMalformed) naming `source` for a row block that holds blocks
// of its own, or for XML that does not read.
access::MacroDefinition ReadMacroText(const SavedText& text, std::string name,
                                      const std::string& source);

}  // namespace zanfor::host::exports
