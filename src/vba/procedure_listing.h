#pragma once

// The procedure listing (cmdProc "プロシージャ一覧") over the code of every form, report and
// module: per module a row for its declarations section, one per Declare statement and one per
// procedure heading in T_AcProcName; in the detailed variant (ctx.state.options.proc 2) also
// one T_AcDimCall row per declaration or call statement. Headings are the procedures the module
// model knows, each continued over all its lines.

#include <string_view>

#include "collect/collector_run.h"
#include "core/app_state.h"

namespace zanfor::vba {

// Collects unless the tables already hold the listing of this variant, then previews
// R_AcProcName or R_AcProcName50 (chkProc50 on) and enables cmdPPre. Needs ctx.access.
collect::RunResult RunProcedureListing(collect::RunContext& ctx);

std::string_view ProcedureListingReport(const app::OptionSettings& options);

}  // namespace zanfor::vba
