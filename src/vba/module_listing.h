#pragma once

// The module listing (cmdModule "モジュールリスト"): every line of code of the chosen kinds
// (ctx.state.options.module: 1 forms, 2 reports, 3 modules, 4 all) in T_AcModule, blank lines
// and option statements left out, printed by one of four reports.

#include <string_view>

#include "collect/collector_run.h"
#include "core/app_state.h"

namespace zanfor::vba {

// Collects unless the tables already hold the listing of the chosen kinds, then previews the
// chosen report and enables cmdMPre. Needs ctx.access.
collect::RunResult RunModuleListing(collect::RunContext& ctx);

// R_AcModule, R_AcModule2 (optMPrint "２列"), R_AcModule50, R_AcModule250 (chkMod50 on).
std::string_view ModuleListingReport(const app::OptionSettings& options);

}  // namespace zanfor::vba
