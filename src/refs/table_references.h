#pragma once

// The table references (cmdLinkTable "テーブル引用先情報" of the developer support window): where
// the table named in cboTable is used. It looks in the SQL of the saved queries (not the system
// ones, nor the hidden "~sq_" queries Access keeps behind record and row sources), in the record
// source of every form and report, and in the source object of their subforms and the row
// source of their combo and list boxes; one T_AcLinkObject row per text that names the table,
// then R_AcLinkTable is previewed. The table is named by its whole name (see NamesWhole), so a
// table Item is not found in "ItemPrice". A form bound through a saved query is not listed: the
// query is, when its SQL names the table.
//
// Everything is read from the designs Access has open; the target is not reopened and nothing
// of it is changed. A design that does not open, a query whose SQL does not read (other than
// Jet's 3258, which is passed over) and a searched property whose value the design does not tell
// cost that object alone: the search goes on and the run ends naming them.

#include "collect/collector_run.h"

namespace zanfor::refs {

collect::RunResult RunTableReferences(collect::RunContext& ctx);

}  // namespace zanfor::refs
