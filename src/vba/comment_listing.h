#pragma once

// The comment listing (cmdComment "コメント一覧"): every whole-line comment inside a procedure of
// every form, report and module, from its heading to its last line, in T_AcComment. Comments
// above a heading and in the declarations section are not listed.

#include "collect/collector_run.h"

namespace zanfor::vba {

// Collects at every call (the listing has no last-run option), then previews R_AcComment and
// enables cmdCmPre. Needs ctx.access.
collect::RunResult RunCommentListing(collect::RunContext& ctx);

}  // namespace zanfor::vba
