#include "cli/report_output.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "cli/reports/gui_application.h"
#include "host/error.h"
#include "report/report_catalog.h"
#include "workdb/work_database.h"

namespace zanfor::cli {

namespace {

// A file already there is written over only when it is an earlier report of the same kind: a
// mistyped --out must not destroy the work database, a target or anything else.
void requireReplaceable(const std::filesystem::path& file,
                        const std::filesystem::path& workDatabase, std::string_view magic) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status))
        return;
    if (std::filesystem::is_regular_file(status) &&
        !std::filesystem::equivalent(file, workDatabase, ec)) {
        std::string start(magic.size(), '\0');
        std::ifstream in(file, std::ios::binary);
        in.read(start.data(), static_cast<std::streamsize>(start.size()));
        if (std::filesystem::file_size(file, ec) == 0 || (in && start == magic))
            return;
    }
    throw host::Error(
        host::err::kFileAlreadyExists,
        "ファイル '" + file.string() + "' は既にあり、帳票ではないので上書きしません。");
}

std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

void RenderReportFile(const std::filesystem::path& workDatabase, std::string_view name,
                      const std::filesystem::path& file) {
    EnsureGuiApplication();
    const auto extension = LowerExtension(file);
    const bool html = extension == ".html";
    if (!html && extension != ".pdf") {
        throw host::Error(host::err::kInvalidProcedureCall,
                          "帳票の出力先 '" + file.string() + "' は .pdf か .html にして下さい。");
    }
    const auto db = workdb::WorkDatabase::openForReading(workDatabase);
    requireReplaceable(file, workDatabase, html ? "<!DOCTYPE html" : "%PDF-");
    const auto format = html ? report::OutputFormat::Html : report::OutputFormat::Pdf;
    report::RenderReportToFile(db, name, file, format);
}

}  // namespace zanfor::cli
