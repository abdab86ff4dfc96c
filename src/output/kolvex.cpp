#include "output/kolvex.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <system_error>
#include <vector>

#include "core/run_ui.h"
#include "host/error.h"
#include "output/xlsx_workbook.h"
#include "workdb/work_database.h"

namespace zanfor::output {

namespace {

namespace fs = std::filesystem;
using app::MsgButtons;
using app::MsgIcon;

int YesNo(int value) { return value == 1 ? 1 : 0; }

// A pivot field argument: a whole number other than 0, blanks around it allowed.
int FieldNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code code;
    if (fs::equivalent(a, b, code))
        return true;
    return fs::weakly_canonical(a, code) == fs::weakly_canonical(b, code) && !code;
}

void Show(app::RunUi& ui, std::string_view text, MsgIcon icon) {
    ui.messageBox(text, kKolvexTitle, MsgButtons::Ok, icon);
}

struct Records {
    std::vector<std::string> names;
    std::vector<std::vector<host::Value>> rows;
};

Records ReadSource(const workdb::WorkDatabase& work, std::string_view source) {
    std::string quoted = "\"";
    for (char c : source)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    workdb::Query query(work, "SELECT * FROM " + quoted + "\"");
    Records records;
    const int fields = std::min(query.columnCount(), kMaxKolvexColumn);
    for (int k = 0; k < fields; ++k)
        records.names.push_back(query.columnName(k));
    while (query.next()) {
        auto& row = records.rows.emplace_back();
        for (int k = 0; k < fields; ++k)
            row.push_back(query.value(k));
    }
    return records;
}

// Steps 7 to 16 on a workbook that exists and is not open elsewhere.
void Fill(const KolvexArguments& a, const Records& records, app::RunUi& ui,
          const OpenDocument& openDocument) {
    const fs::path output = fs::path(a.outputFile);
    auto book = XlsxWorkbook::open(output);
    const int sheet = book.sheetIndex(a.sheet);
    const int fieldCount = static_cast<int>(records.names.size());
    const int recordCount = static_cast<int>(records.rows.size());
    const int firstRow = static_cast<int>(a.startRow);
    const int firstColumn = static_cast<int>(a.startColumn);
    const int lastColumn = firstColumn + fieldCount - 1;
    const int lastRow = firstRow + a.fieldNameRow + recordCount - 1;
    if (lastRow > kMaxRows)
        throw host::Error(kWorkbookLimit, "シートの行数を超えます。");

    // Every row an earlier, longer output left is cleared, not only the rows asked for: a
    // shorter export must not end above the tail of the one before.
    const long asked = a.clearRows > 0 ? a.clearRows : recordCount;
    const long clearEnd = std::min<long>(firstRow + a.fieldNameRow + asked - 1, kMaxRows);
    book.clearContents(
        sheet,
        {firstRow, firstColumn,
         std::max({static_cast<int>(clearEnd), book.lastUsedRow(sheet), firstRow}), lastColumn});

    if (a.fieldNameRow == 1)
        for (int k = 0; k < fieldCount; ++k)
            book.setValue(sheet, firstRow, firstColumn + k,
                          records.names[static_cast<std::size_t>(k)]);
    for (int r = 0; r < recordCount; ++r)
        for (int k = 0; k < fieldCount; ++k)
            book.setValue(sheet, firstRow + a.fieldNameRow + r, firstColumn + k,
                          records.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)]);

    const CellRange area{firstRow, firstColumn, lastRow, lastColumn};
    // A filter or pivot table takes the first row of its range as the headings. Without a
    // field-name row the headings are the row above the output (the template's), not the
    // first record.
    CellRange table = area;
    if (a.fieldNameRow == 0 && firstRow > 1)
        table.firstRow = firstRow - 1;

    if (a.borders == 1)
        book.drawThinBorders(sheet, area);
    if (a.autoFilter == 1)
        book.setAutoFilter(sheet, table);
    if (a.autoFit == 1 || a.autoFit == 2)
        book.autoFitRows(sheet, area.firstRow, area.lastRow);
    if (a.autoFit == 1 || a.autoFit == 3)
        book.autoFitColumns(sheet, firstColumn, lastColumn);
    if (a.pivotName != "0")
        book.addPivotTable(sheet, table, a.pivotName, FieldNumber(a.pivotRowField),
                           FieldNumber(a.pivotColumnField), FieldNumber(a.pivotDataField));

    book.activate(book.sheetIndex(a.finalSheet), firstRow, firstColumn, a.finalView == 1);
    book.save(output);
    if (a.keepClosed == 0 && openDocument)
        openDocument(output);
    if (a.countMessage == 1)
        Show(ui, std::to_string(recordCount) + " 件のレコードが出力されました。",
             MsgIcon::Information);
}

}  // namespace

bool WorkbookOpenElsewhere(const fs::path& workbook) {
    std::error_code code;
    const auto folder = workbook.parent_path();
    const auto name = workbook.filename().string();
    return fs::exists(folder / (".~lock." + name + "#"), code) ||
           fs::exists(folder / ("~$" + name), code);
}

KolvexEnd Kolvex(KolvexArguments a, const workdb::WorkDatabase& work, app::RunUi& ui,
                 const OpenDocument& openDocument) {
    a.startRow = std::max(a.startRow, 1L);
    a.startColumn = std::max(a.startColumn, 1L);
    for (int* flag :
         {&a.fieldNameRow, &a.keepClosed, &a.borders, &a.autoFilter, &a.countMessage, &a.finalView})
        *flag = YesNo(*flag);
    if (a.autoFit < 0 || a.autoFit > 3)
        a.autoFit = 0;
    if (a.startColumn > kMaxKolvexColumn) {
        Show(ui, "開始位置(列)を７８以内で設定して下さい。", MsgIcon::Warning);
        return KolvexEnd::Refused;
    }
    if (a.pivotName != "0") {
        const std::pair<const std::string*, std::string_view> checks[] = {
            {&a.pivotRowField, "項目名(行)を指定下さい。"},
            {&a.pivotColumnField, "項目名(列)を指定下さい。"},
            {&a.pivotDataField, "集計項目を指定下さい。"}};
        for (const auto& [field, message] : checks)
            if (FieldNumber(*field) == 0) {
                Show(ui, message, MsgIcon::Warning);
                return KolvexEnd::Refused;
            }
    } else {
        a.pivotRowField = a.pivotColumnField = a.pivotDataField = "0";
    }
    if (a.finalSheet == "0")
        a.finalSheet = a.sheet;

    const fs::path output = fs::path(a.outputFile);
    std::error_code code;
    if (fs::exists(output, code) && WorkbookOpenElsewhere(output)) {
        // The program holding it would neither show what is written now nor keep it when it
        // saves its own copy.
        Show(ui,
             "ファイル " + a.outputFile +
                 " は他のプログラムで開かれています。閉じてから、もう一度実行して下さい。",
             MsgIcon::Warning);
        return KolvexEnd::Refused;
    }
    const fs::path templ = fs::path(a.templateFile);
    if (a.templateFile != "0" && SameFile(templ, output)) {
        Show(ui, "テンプレートファイルと出力先ファイルが同じです。違うファイルを指定して下さい。",
             MsgIcon::Warning);
        return KolvexEnd::Refused;
    }
    const auto missing = [&] {
        Show(ui, "ファイル " + a.outputFile + " は見つかりません。", MsgIcon::Warning);
        return KolvexEnd::Refused;
    };
    if (a.templateFile == "0" && !fs::is_regular_file(output, code))
        return missing();

    try {
        // The source is read before the template is copied, so that a refused export leaves
        // the workbook as it was.
        const Records records = ReadSource(work, a.source);
        if (records.rows.empty()) {
            Show(ui, a.source + " にはレコードが 1件もありません。処理を中止します。",
                 MsgIcon::Warning);
            return KolvexEnd::Refused;
        }
        // The column-name table ends at BZ: an output reaching past it is refused as a start
        // column past 78 is.
        if (a.startColumn + static_cast<long>(records.names.size()) - 1 > kMaxKolvexColumn) {
            Show(ui, "開始位置(列)を７８以内で設定して下さい。", MsgIcon::Warning);
            return KolvexEnd::Refused;
        }
        if (a.templateFile != "0") {
            // A copy that fails leaves the output as it was, to be filled if it exists.
            fs::copy_file(templ, output, fs::copy_options::overwrite_existing, code);
            if (!fs::is_regular_file(output, code))
                return missing();
        }
        Fill(a, records, ui, openDocument);
        return KolvexEnd::Written;
    } catch (const host::Error& e) {
        if (e.number() == host::err::kSubscriptOutOfRange)
            Show(ui, "シート名が不正です。\n正しいシート名を設定して下さい。", MsgIcon::Critical);
        else
            Show(ui, "エラーNO:" + std::to_string(e.number()) + "\n" + e.description(),
                 MsgIcon::Critical);
    } catch (const std::bad_alloc&) {
        Show(ui, "エラーNO:7\nメモリが不足しています。", MsgIcon::Critical);
    } catch (const std::exception& e) {
        Show(ui, "エラーNO:5\n" + std::string(e.what()), MsgIcon::Critical);
    }
    return KolvexEnd::Failed;
}

}  // namespace zanfor::output
