#pragma once

// Reports (cmdReport "コントロール一覧"): one row per report with its settings and first four
// event procedures (T_AcRepInfo), one row per shown property of each control (T_AcRepItem) and
// one row per sorting and grouping level (T_AcRepGrp); report R_AcRepCntl. Options:
// ctx.state.options.report (1 simple, 2 detailed listing) and rselect (1 all reports, 2 the
// report of ctx.state.pickers.reportText).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunReportCollection(RunContext& ctx);

}  // namespace zanfor::collect
