#pragma once

// The macro sheet a macro's sub-storage stores ("Scripts/<n>/Blob"): a header with the columns
// shown and the sheet's version, then one record per non-empty row with its action code, its
// row number and the offsets of its strings (comment, condition, macro name, arguments).

#include <string>
#include <string_view>

#include "host/access/macro_definition.h"

namespace zanfor::host::access {

// The action's name as SaveAsText writes it ("OpenForm"); empty for a code no table knows.
std::string_view MacroActionName(int code);

// `codePage` decodes the single-byte strings of sheets carried over from older versions; `what`
// names the macro in errors. Throws host::Error 30010 naming it and the offset for a sheet
// version that is not known, an action code that is not known, a string offset outside its
// row, a string without its terminator, or a row that runs past the end.
MacroDefinition DecodeMacroSheet(std::string_view bytes, std::string name, int codePage,
                                 std::string_view what);

}  // namespace zanfor::host::access
