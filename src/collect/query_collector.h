#pragma once

// Queries (cmdQuery "クエリー一覧"): the SQL list (T_AcQeryInfo, report R_AcQerySql) or the
// query lists with their output fields (T_AcQeryInfo and T_AcQeryItem, report R_AcQeryAll).
// Options: ctx.state.options.query (1 SQL, 2 simple, 3 detailed) and qselect (1 all, 2 the query
// of ctx.state.pickers.queryText; the SQL list always covers every query).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunQueryCollection(RunContext& ctx);

inline constexpr std::string_view kAmbiguousOuterJoins = "あいまいな外部結合のため開けません。";

}  // namespace zanfor::collect
