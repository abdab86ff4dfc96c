#pragma once

// The object inventory (cmdObject "オブジェクト一覧"): one row describing the target in
// T_DataBase and one row per object of the chosen kinds in T_AcObject; report R_AcObjectAll.
// The kind selection is ctx.state.options.object (1 tables ... 6 modules, 7 all, 8 pages).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunObjectInventory(RunContext& ctx);

// The linked-table class of a connect string ("Link(Access)", "Link(ODBC)", "Link(その他)").
std::string LinkClass(std::string_view connect);
// What a link's connect string says after its first "=": the linked file of an Access link.
std::string LinkTarget(std::string_view connect);
// The value of the last property named exactly "Description" (walked from the last index
// down, as the collectors did), or "" when there is none.
std::string DescriptionOf(const host::Properties& properties);

}  // namespace zanfor::collect
