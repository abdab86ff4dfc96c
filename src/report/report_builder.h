#pragma once

// Runs a report definition over the work database: its queries, the syllabary sort, the
// variant that was collected (Midasi), the groups with their headings, settings grids and small
// tables, the detail rows, totals and the file-name line of T_AcTitle.

#include <QDateTime>

#include "report/report_content.h"
#include "report/report_definition.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::report {

// Work database errors arrive as the host errors of the work database layer.
ReportContent BuildReport(const workdb::WorkDatabase& db, const ReportDef& def,
                          const QDateTime& printDate);

}  // namespace zanfor::report
