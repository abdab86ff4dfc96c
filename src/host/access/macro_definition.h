#pragma once

// A macro as its design holds it: the rows of the macro sheet. A macro group has several named
// macros; a row belongs to the last macro name above it.

#include <string>
#include <vector>

namespace zanfor::host::access {

struct MacroRow {
    std::string macroName;  // the Macro Name column; empty on rows that continue a macro
    std::string condition;  // "..." continues the condition of the row above
    std::string action;     // the action's English name as SaveAsText writes it ("OpenForm")
    std::vector<std::string> arguments;  // as stored, in argument order
    std::string comment;
};

struct MacroDefinition {
    std::string name;
    std::vector<MacroRow> rows;
};

}  // namespace zanfor::host::access
