#pragma once

// Runs a report definition over the work database: its queries, the syllabary sort, the
// variant that was collected (Midasi), the groups with their headings, settings grids and small
// tables, the detail rows, totals and the file-name line of T_AcTitle.

#include <QDateTime>
#include <memory>

#include "report/block_stream.h"
#include "report/report_content.h"
#include "report/report_definition.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::report {

// The report's blocks as the query yields its rows: one top-level group (or a few hundred
// rows) at a time, so that a long report is never held whole. The syllabary order, which needs
// every row before the first, keeps the rows in a temporary file.
class ReportStream : public BlockStream {
public:
    // Work database errors arrive as the host errors of the work database layer.
    ReportStream(const workdb::WorkDatabase& db, const ReportDef& def, const QDateTime& printDate);
    ~ReportStream() override;

    // Everything but the blocks: titles, the file-name line, the tables, the cover texts.
    const ReportContent& head() const;
    bool next(std::vector<Block>& out) override;

private:
    class Builder;
    std::unique_ptr<Builder> builder_;
};

// The whole report: the head with every block.
ReportContent BuildReport(const workdb::WorkDatabase& db, const ReportDef& def,
                          const QDateTime& printDate);

}  // namespace zanfor::report
