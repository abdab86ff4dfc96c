#pragma once

// Access 2000's "convert macros to Visual Basic" (RunCommand 279): the module text it wrote for
// a macro. The macro collector reads that text back line by line, so every statement form,
// comment and condition layout matters.

#include <string>

#include "host/access/macro_definition.h"

namespace zanfor::host::access {

// The module's text, lines joined with CR LF; its name is kConvertedMacroPrefix + macro name.
std::string ConvertMacro(const MacroDefinition& macro);

}  // namespace zanfor::host::access
