#include "output/template_workbook.h"

#include <algorithm>
#include <array>

#include "output/output_panel.h"
#include "output/xlsx_workbook.h"

namespace zanfor::output {

namespace {

struct TemplateSheet {
    std::string_view name;
    OutputKind headings;  // the CSV export whose header titles head the sheet's columns
    OutputKind book;      // the Excel button, whose caption titles the sheet
};

constexpr std::array kSheets = {
    TemplateSheet{"Object", OutputKind::ObjectCsv, OutputKind::ObjectBook},
    TemplateSheet{"Table", OutputKind::TableCsv, OutputKind::TableBook},
    TemplateSheet{"Query", OutputKind::QueryCsv, OutputKind::QueryBook},
};

constexpr int kTitleRow = 1;
constexpr int kHeadingRow = 3;
constexpr double kMinimumWidth = 16;

}  // namespace

void WriteTemplateWorkbook(const std::filesystem::path& path) {
    auto book = XlsxWorkbook::create();
    for (const auto& s : kSheets) {
        const int sheet = book.addSheet(s.name);
        book.setValue(sheet, kTitleRow, 1, std::string(Info(s.book).caption));
        book.setStyle(sheet, kTitleRow, 1, TemplateStyle::Title);
        const auto titles = Info(s.headings).titles;
        for (std::size_t k = 0; k < titles.size(); ++k) {
            const int column = static_cast<int>(k) + 1;
            book.setValue(sheet, kHeadingRow, column, std::string(titles[k]));
            book.setStyle(sheet, kHeadingRow, column, TemplateStyle::Heading);
            book.setColumnWidth(sheet, column, std::max(TextWidth(titles[k]) + 4, kMinimumWidth));
        }
    }
    book.activate(0, kHeadingRow + 1, 1, false);
    book.save(path);
}

}  // namespace zanfor::output
