#include "collect/import_specs.h"

#include <array>

#include "core/program_files.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

constexpr std::string_view kSpecTable = "MSysIMEXSpecs";
constexpr std::string_view kColumnTable = "MSysIMEXColumns";

constexpr std::array<std::string_view, 13> kSpecFields{
    "DateDelim",      "DateFourDigitYear", "DateLeadingZeros", "DateOrder", "DecimalPoint",
    "FieldSeparator", "FileType",          "SpecID",           "SpecName",  "SpecType",
    "StartRow",       "TextDelim",         "TimeDelim"};
constexpr std::array<std::string_view, 8> kColumnFields{
    "Attributes", "dataType", "FieldName", "IndexType", "SkipColumn", "SpecID", "Start", "Width"};

// Copies every row as the target delivers it, the values unchanged.
template <std::size_t N>
void Copy(RunContext& ctx, std::string_view from, workdb::RowWriter& rows,
          const std::array<std::string_view, N>& fields) {
    for (auto source = ctx.target.openRecordset(from); !source->eof(); source->moveNext()) {
        rows.addNew();
        for (const auto field : fields)
            rows.set(field, source->field(field));
        rows.update();
    }
}

}  // namespace

RunResult RunImportSpecList(RunContext& ctx) {
    long specTables = 0;
    for (const auto& table : ctx.target.tableDefs())
        if (util::Left(table.name, kSpecTable.size()) == kSpecTable)
            ++specTables;
    if (specTables == 0) {
        ctx.ui.messageBox(kNoSpecifications, app::kProductTitle, app::MsgButtons::Ok,
                          app::MsgIcon::None);
        return RunResult::EndedWithoutReport;
    }
    const CollectorRun run{.place = "場所:変換定義情報",
                           .report = "R_AcTextTeigi",
                           .window = app::WindowKind::DeveloperSupport,
                           .finished = [](RunContext& c) { c.ui.showMessage(kPrintThenClose); }};
    return RunCollection(ctx, run, [](RunContext& c) {
        c.ui.showMessage("変換定義情報　取得中");
        // Both emptied first: specifications never stand beside another run's columns.
        auto specs = OpenEmptied(c, "T_AcTeigi");
        auto columns = OpenEmptied(c, "T_AcTeigiItem");
        Copy(c, kSpecTable, specs, kSpecFields);
        Copy(c, kColumnTable, columns, kColumnFields);
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
