#pragma once

// A work database filled for the reports: representative rows in every table a report reads
// (Japanese names, long SQL, a module of 2,000 lines, a form with 200 controls), shared by the
// report tests, the report images and the report benchmark. Also the PDF text tools the tests
// read the output with.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::test {

// The T_AcTitle line the fixture prints on every report.
inline constexpr char kFixtureFileLine[] = "\\\\fileserver\\業務\\販売管理_本番.mdb";

using Row = std::vector<host::Value>;

// Writes each row's values into the comma-separated `columns` of `table`, in order.
void AddRows(workdb::WorkDatabase& db, std::string_view table, std::string_view columns,
             const std::vector<Row>& rows);

// Rows for every report, written into an empty work database.
void FillReportFixture(workdb::WorkDatabase& db);

// T_AcModule holding about `lines` lines of code in modules of at most 5,000 lines.
void FillModuleListing(workdb::WorkDatabase& db, int lines);

// The text of pages [first, last] of a PDF as pdftotext reads it (all pages when 0), with its
// layout kept; empty when pdftotext cannot read the file.
std::string PdfText(const std::filesystem::path& pdf, int first = 0, int last = 0);
int PdfPageCount(const std::filesystem::path& pdf);

}  // namespace zanfor::test
