#pragma once

// The step count listing (cmdModStep "ステップ数一覧"): one T_AcProcCount row per section of every
// module of the chosen kinds (ctx.state.options.modstep: 1 forms, 2 reports, 3 modules, 4 all),
// the declarations section named "(Declations)", with its comment, blank, code and total lines.

#include "collect/collector_run.h"

namespace zanfor::vba {

// Collects unless the table already holds the counts of the chosen kinds, then previews
// R_AcModStep and enables cmdMsPre. Needs ctx.access.
collect::RunResult RunStepCounts(collect::RunContext& ctx);

}  // namespace zanfor::vba
