#pragma once

// The HTML rendering of a report, for browsing: one self-contained page (styles embedded, no
// outside resources) with the same data as the printed pages in semantic markup: headings for
// groups, tables with column headings and row labels, program text in fixed-width cells.

#include <QByteArray>

#include "report/report_content.h"

namespace zanfor::report {

QByteArray WriteHtml(const ReportContent& content);

}  // namespace zanfor::report
