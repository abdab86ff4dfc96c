#pragma once

// The procedure table of the developer support window: every procedure of the modules of the
// target's "Modules" container with the module that holds it. The reference tools look for
// these names in code to recognise calls of the target's own procedures.

#include <string>
#include <vector>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "host/access/module_model.h"

namespace zanfor::vba {

// The entries one module gives: from its first line after the declarations, a new entry at
// every change of the owning procedure (names compared exactly, so a Property Get and Let of one
// name that follow each other are one entry, and a procedure split by another's lines is
// entered once per run of lines). A module of declarations alone gives none.
void AppendProcedures(const host::ModuleModel& model, const std::string& moduleName,
                      std::vector<app::ProcedureEntry>& table);

// Opens every module of the "Modules" container in container order in ctx.access, closes each
// again, and gives the table. Needs ctx.access with the target open.
std::vector<app::ProcedureEntry> BuildProcedureTable(collect::RunContext& ctx);

}  // namespace zanfor::vba
