#pragma once

// The five object pickers: the drop-down lists of the target's tables, queries, forms, reports
// and macros, their counts, the linked-table count and the AutoExec flag. An empty kind gets
// the last-run option 9, which keeps its command disabled.

#include <functional>

#include "core/app_state.h"
#include "core/run_ui.h"
#include "host/dao.h"

namespace zanfor::target {

void FillTablePicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui);
void FillQueryPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui);
void FillFormPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui);
void FillReportPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui);
void FillMacroPicker(host::dao::Database& target, app::AppState& state, app::RunUi& ui);

// All five in their order; `afterEach` is told 0 to 4 as each one finishes.
void FillPickers(host::dao::Database& target, app::AppState& state, app::RunUi& ui,
                 const std::function<void(int)>& afterEach = {});

}  // namespace zanfor::target
