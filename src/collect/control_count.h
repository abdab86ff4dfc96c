#pragma once

// Control counts (cmdControl "ｺﾝﾄﾛｰﾙ数一覧"): one T_AcControlCount row per form and/or report
// with how many controls of each type its design holds; report R_AcControlCount. Option
// ctx.state.options.control: 1 forms, 2 reports, 3 forms then reports in one numbering.

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunControlCount(RunContext& ctx);

}  // namespace zanfor::collect
