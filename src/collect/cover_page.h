#pragma once

// The cover page (cmdHyousi): the report-header texts of the main window as the one row of
// T_AcHyousi, printed as the cover sheet R_AcHyousi, the portrait labels R_AcHyousiH or the
// landscape labels R_AcHyousiW. Every press writes the row again; there is no skip test, no
// last-run option and no preview button.

#include <string_view>

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunCoverSheet(RunContext& ctx);
RunResult RunCoverLabelPortrait(RunContext& ctx);
RunResult RunCoverLabelLandscape(RunContext& ctx);

inline constexpr std::string_view kCoverDateMissing = "作成日に日付を入力して下さい。";

}  // namespace zanfor::collect
