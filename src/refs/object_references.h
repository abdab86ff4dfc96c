#pragma once

// The object reference sources of the developer support window (cmdLinkForm, cmdLinkReport,
// "オブジェクト参照元情報"): for every form (report) of the target, or the one chosen in cboForm
// (cboReport), everything it refers to, one T_AcLinkObject row each: the table, query or SQL
// statement behind its record source, subform and list sources, the macros and event procedures
// of its event properties and of its controls', and the procedures of the procedure table used
// in control sources and default values. The procedure references of the object's own code go
// to T_AcLinkModule. Both tables are emptied first; R_AcLinkObject is previewed at the end.
//
// Everything is read from the designs; the target stays unchanged. A design that does not read
// costs that object alone: its row says so, its code is still scanned, and the run ends
// reporting it.

#include "collect/collector_run.h"

namespace zanfor::refs {

// The forms, with Midasi 1, as state.support.formMode chooses (1 all, 2 formText).
collect::RunResult RunFormReferences(collect::RunContext& ctx);
// The reports, with Midasi 2, as state.support.reportMode chooses (1 all, 2 reportText).
collect::RunResult RunReportReferences(collect::RunContext& ctx);

}  // namespace zanfor::refs
