#pragma once

// The reports of the work database as the rest of the program uses them: their names, one
// report written to a PDF or HTML file, printed on the default printer, or prepared for the
// preview window. Every function needs a QGuiApplication (fonts); failures are host errors with
// a Japanese description, and a file is either written whole or not at all.
//
// Reports may be written to files on several threads at once, each with its own work database
// connection and its own file; the application stays on the main thread.

#include <QDateTime>
#include <QList>
#include <QPrinterInfo>
#include <QSizeF>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_content.h"

class QPrinter;

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::report {

struct Document;

namespace err {
// Access's number for a report name that names no report.
inline constexpr int kNoSuchReport = 2103;
// VB's path/file access error: the output file cannot be written.
inline constexpr int kCannotWriteFile = 75;
// No QGuiApplication: reports cannot measure text without one.
inline constexpr int kNoApplication = 30040;
}  // namespace err

// The report names, in the order of the work database's index.
std::vector<std::string> ReportNames();

enum class OutputFormat { Pdf, Html };

struct RenderOptions {
    // The date and time printed on every page; now when not valid.
    QDateTime printDate;
};

// A report read from the work database, ready to lay out for any paper size.
class PreparedReport {
public:
    const ReportContent& content() const { return *content_; }
    QString title() const { return content_->fullTitle(); }
    Orientation orientation() const { return content_->orientation; }
    // The pages for a paper size in twips; laid out once per size.
    const Document& layout(QSizeF pageSize) const;

private:
    friend PreparedReport PrepareReport(const workdb::WorkDatabase&, std::string_view,
                                        const RenderOptions&);
    struct Cache;
    std::shared_ptr<const ReportContent> content_;
    std::shared_ptr<Cache> cache_;
};

PreparedReport PrepareReport(const workdb::WorkDatabase& db, std::string_view name,
                             const RenderOptions& options = {});

void SaveReport(const PreparedReport& report, const std::filesystem::path& file,
                OutputFormat format);

// Streams the report from the work database to the file page by page: what it holds does not
// grow with the report.
void RenderReportToFile(const workdb::WorkDatabase& db, std::string_view name,
                        const std::filesystem::path& file, OutputFormat format,
                        const RenderOptions& options = {});

// Lays the report out for the printer's paper and prints the printer's page range.
void PaintReport(const PreparedReport& report, QPrinter& printer);

using PrinterList = std::function<QList<QPrinterInfo>()>;

// Host error 2202 when the list names no printer.
void RequirePrinter(const PrinterList& printers);

// Prints on the default printer (the first one when none is the default).
void PrintReport(const workdb::WorkDatabase& db, std::string_view name,
                 const PrinterList& printers = QPrinterInfo::availablePrinters,
                 const RenderOptions& options = {});

}  // namespace zanfor::report
