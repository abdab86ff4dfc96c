#pragma once

// Tables and indexes (cmdTable "テーブル一覧"): per table T_AcTblInfo with its fields in
// T_AcTblItem (report R_AcTblTable), or, in index mode, one T_AcIndex row per index field
// (report R_AcTblIndex). Options: ctx.state.options.table (1 indexes, 2 simple, 3 detailed),
// tselect (1 all, 2 the table of ctx.state.pickers.tableText) and link (2 leaves links out).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunTableCollection(RunContext& ctx);

// The data type text of a field: FieldTypeName of its type, with auto-number long and hyperlink
// memo told apart by their attributes.
std::string FieldTypeText(int type, std::int32_t attributes);
// That of a table's field, a calculated field named as one ("集計型").
std::string FieldTypeText(const host::dao::Field& field);

// Whether Access keeps the table for itself: a name beginning "MSys" (later Access versions add
// such tables to old files with ordinary attributes), or the system bit or the hidden-system
// flag set among other flags (the f_…_Data tables of compressed-text indexes carry 0x800C0000).
// Every walk over a target's tables leaves these out by this one rule.
bool IsAccessOwnTable(const host::dao::TableDef& table);

inline constexpr std::int32_t kSystemObjectAttributes = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHiddenObjectAttributes = 2;

}  // namespace zanfor::collect
