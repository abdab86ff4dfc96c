#pragma once

// Forms (cmdForm "コントロール一覧"): one row per form with its settings and first four event
// procedures (T_AcFrmInfo) and one row per shown property of each control (T_AcFrmItem);
// report R_AcFrmCntl. Options: ctx.state.options.form (1 simple, 2 detailed listing) and
// fselect (1 all forms, 2 the form of ctx.state.pickers.formText).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunFormCollection(RunContext& ctx);

}  // namespace zanfor::collect
