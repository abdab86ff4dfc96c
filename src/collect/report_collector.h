#pragma once

// Reports (cmdReport "コントロール一覧"): one row per report with its settings and first four
// event procedures (T_AcRepInfo), one row per shown property of each control (T_AcRepItem) and
// one row per sorting and grouping level (T_AcRepGrp); report R_AcRepCntl. Options:
// ctx.state.options.report (1 simple, 2 detailed listing) and rselect (1 all reports, 2 the
// report of ctx.state.pickers.reportText).

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunReportCollection(RunContext& ctx);

// The collected group levels with their settings in the words of Access's sorting and grouping
// box (SortName, GroupOnName, KeepName), for every view of them.
inline constexpr const char kGroupLevelsSql[] = R"sql(
SELECT objectNo, GroupNo, ControlSource, GroupHeader, GroupFooter, GroupInterval,
  CASE WHEN SortOrder THEN '降順' ELSE '昇順' END AS SortName,
  CASE GroupOn WHEN 0 THEN '各値' WHEN 1 THEN '前方一致文字' WHEN 2 THEN '年'
    WHEN 3 THEN '四半期' WHEN 4 THEN '月' WHEN 5 THEN '週' WHEN 6 THEN '日' WHEN 7 THEN '時'
    WHEN 8 THEN '分' WHEN 9 THEN '間隔' ELSE GroupOn END AS GroupOnName,
  CASE KeepTogether WHEN 0 THEN 'しない' WHEN 1 THEN 'グループ全体'
    WHEN 2 THEN '先頭の詳細行' ELSE KeepTogether END AS KeepName
FROM T_AcRepGrp ORDER BY objectNo, GroupNo, rowid)sql";

}  // namespace zanfor::collect
