#include "cli/reports/report_file.h"

#include <algorithm>
#include <memory>

#include "cli/reports/output_file.h"
#include "host/error.h"
#include "report/report_catalog.h"
#include "workdb/work_database.h"

namespace zanfor::cli::reports {

namespace {

std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

void WriteReportFile(const workdb::WorkDatabase& db, const std::filesystem::path& dbFile,
                     std::string_view name, const std::filesystem::path& file) {
    const auto extension = LowerExtension(file);
    const bool html = extension == ".html";
    if (!html && extension != ".pdf") {
        throw host::Error(host::err::kInvalidProcedureCall,
                          "帳票の出力先 '" + file.string() + "' は .pdf か .html にして下さい。");
    }
    RequireReplaceable(file, html ? "<!DOCTYPE html" : "%PDF-", "帳票", dbFile);
    const auto format = html ? report::OutputFormat::Html : report::OutputFormat::Pdf;
    report::RenderReportToFile(db, name, file, format);
}

}  // namespace zanfor::cli::reports
