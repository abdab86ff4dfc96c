#pragma once

// The import/export specification list (cmdTeigi "変換定義一覧"): the saved text import and
// export specifications Access keeps in the target's MSysIMEXSpecs and MSysIMEXColumns, copied
// row for row into T_AcTeigi and T_AcTeigiItem, and R_AcTextTeigi previewed.

#include <string_view>

#include "collect/collector_run.h"

namespace zanfor::collect {

inline constexpr std::string_view kNoSpecifications = "変換定義がありません。";

// A target that never saved a specification has no MSysIMEXSpecs: the message alone, and the
// result tables keep what they hold.
RunResult RunImportSpecList(RunContext& ctx);

}  // namespace zanfor::collect
