#pragma once

// The HTML rendering of a report, for browsing: one self-contained page (styles embedded, no
// outside resources) with the same data as the printed pages in semantic markup: headings for
// groups, tables with column headings and row labels, program text in fixed-width cells.

#include <QByteArray>

#include "report/block_stream.h"
#include "report/report_content.h"

class QIODevice;

namespace zanfor::report {

QByteArray WriteHtml(const ReportContent& content);

// The page of a report whose blocks come from `blocks`, written to `out` as they come; `head`
// is the report without its blocks. False when `out` refused a write.
bool WriteHtml(const ReportContent& head, BlockStream& blocks, QIODevice& out);

}  // namespace zanfor::report
