#include "output/workbook_export.h"

#include <array>
#include <system_error>

#include "output/kolvex.h"
#include "output/template_workbook.h"
#include "util/vb_string.h"

namespace zanfor::output {

namespace {

struct WorkbookButton {
    WorkbookKind kind;
    std::string_view source;
    std::string_view sheet;
    long clearRows;
};

constexpr std::array kButtons = {
    WorkbookButton{WorkbookKind::Object, "QE_AcObject", "Object", 200},
    WorkbookButton{WorkbookKind::Table, "QE_AcTable", "Table", 2000},
    WorkbookButton{WorkbookKind::Query, "QE_AcQuery", "Query", 2000},
};

}  // namespace

std::filesystem::path WorkbookPathFor(const std::filesystem::path& targetPath) {
    std::string path = targetPath.string();
    if (path.size() >= 4 && util::UCase(path.substr(path.size() - 4)) == ".MDB")
        path.resize(path.size() - 4);
    return std::filesystem::path(path + ".xlsx");
}

void EnsureTemplate(const std::filesystem::path& programFolder) {
    const auto path = programFolder / std::string(kTemplateFileName);
    std::error_code code;
    if (!std::filesystem::exists(path, code))
        WriteTemplateWorkbook(path);
}

bool ExportWorkbook(WorkbookKind kind, const workdb::WorkDatabase& work,
                    const std::filesystem::path& targetPath,
                    const std::filesystem::path& programFolder, app::RunUi& ui, bool openAfterwards,
                    const OpenDocument& openDocument) {
    const auto& button = kButtons[static_cast<std::size_t>(kind)];
    const auto output = WorkbookPathFor(targetPath);
    try {
        EnsureTemplate(programFolder);
    } catch (const std::exception&) {
        // Without a template the routine says the workbook is not found; nothing more to add.
    }
    KolvexArguments a;
    a.source = std::string(button.source);
    a.outputFile = output.string();
    a.sheet = std::string(button.sheet);
    a.startRow = 4;
    a.startColumn = 1;
    a.clearRows = button.clearRows;
    a.fieldNameRow = 0;
    a.keepClosed = openAfterwards ? 0 : 1;
    a.borders = 1;
    a.autoFilter = 1;
    a.autoFit = 2;
    a.countMessage = 0;
    // A workbook written before is filled again in place, keeping the sheets the other buttons
    // filled; only a new one starts as a copy of the template.
    std::error_code code;
    a.templateFile = std::filesystem::exists(output, code)
                         ? std::string("0")
                         : (programFolder / std::string(kTemplateFileName)).string();
    return Kolvex(a, work, ui, openDocument) == KolvexEnd::Written;
}

}  // namespace zanfor::output
