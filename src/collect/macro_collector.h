#pragma once

// Macros (cmdMacro "マクロ一覧"): each macro converted to a VBA module by Access's conversion
// and read back statement by statement, one T_AcMacro row per action and, in the detailed
// list, one T_AcMacro2 row per argument; report R_AcMacro. Options: ctx.state.options.macro
// (1 simple, 2 detailed) and mcselect (1 all macros, 2 the macro of
// ctx.state.pickers.macroText). The converted module is read where the conversion hands it
// over and is never added to the target.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunMacroCollection(RunContext& ctx);

// Access's Japanese name of the action a converted macro statement is recorded as, by the number
// the collection gives it ("アクション N" for a number it never gives).
std::string MacroActionName(std::int64_t actionNo);

// The collection's own lines for 2046 (no conversion), 2516 (a file older than Access 2000)
// and 2544 (hidden macros); nothing for any other error.
std::optional<std::vector<std::string>> MacroErrorLines(const host::Error& e);

}  // namespace zanfor::collect
