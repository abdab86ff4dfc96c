#include "output/kolvex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/run_ui.h"
#include "output/template_workbook.h"
#include "output/xlsx_package.h"
#include "output/xlsx_workbook.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using output::KolvexEnd;
using output::XlsxWorkbook;
namespace fs = std::filesystem;

class KolvexTest : public ::testing::Test {
protected:
    void SetUp() override {
        work.execute(
            "CREATE TABLE src(a TEXT, b INTEGER, c REAL, d TEXT, e TEXT, f TEXT);"
            "INSERT INTO src VALUES ('x', 1, 1.5, 'd', NULL, 'f'), ('y', 2, 2.5, 'd', 'e', 'f'),"
            " ('x', 3, 4, 'd', 'e', 'f');"
            "CREATE VIEW v AS SELECT * FROM src; CREATE TABLE blank_source(a TEXT);");
        output::WriteTemplateWorkbook(templ);
    }
    // The object button's arguments, keeping the workbook closed.
    output::KolvexArguments arguments() const {
        output::KolvexArguments a;
        a.source = "v";
        a.outputFile = book.string();
        a.sheet = "Object";
        a.startRow = 4;
        a.clearRows = 200;
        a.keepClosed = 1;
        a.borders = a.autoFilter = 1;
        a.autoFit = 2;
        a.templateFile = templ.string();
        return a;
    }
    KolvexEnd run(const output::KolvexArguments& a) {
        return output::Kolvex(a, work, ui, [&](const fs::path& p) { opened.push_back(p); });
    }
    std::string sheetXml(const std::string& part = "xl/worksheets/sheet1.xml") {
        auto package = output::XlsxPackage::fromBytes(test::FileBytes(book), "t");
        std::ostringstream out;
        package.xml(part).save(out, "", pugi::format_raw);
        return out.str();
    }

    test::TempDir dir;
    fs::path templ = dir / "Template.xlsx";
    fs::path book = dir / "db.xlsx";
    workdb::WorkDatabase work = workdb::WorkDatabase::open(":memory:");
    app::RecordingUi ui;
    std::vector<fs::path> opened;
};

TEST_F(KolvexTest, refusalsShowTheirMessageAndTouchNoFile) {
    struct Case {
        const char* name;
        void (*change)(output::KolvexArguments&, const fs::path& templ);
        std::string message;
    };
    const std::string missing = "ファイル " + book.string() + " は見つかりません。";
    const Case cases[] = {
        {"column79", [](auto& a, auto&) { a.startColumn = 79; },
         "開始位置(列)を７８以内で設定して下さい。"},
        {"lastColumnPastBZ", [](auto& a, auto&) { a.startColumn = 74; },
         "開始位置(列)を７８以内で設定して下さい。"},
        {"templateIsOutput", [](auto& a, auto& t) { a.outputFile = t.string(); },
         "テンプレートファイルと出力先ファイルが同じです。違うファイルを指定して下さい。"},
        {"noRows", [](auto& a, auto&) { a.source = "blank_source"; },
         "blank_source にはレコードが 1件もありません。処理を中止します。"},
        {"pivotRow", [](auto& a, auto&) { a.pivotName = "P"; }, "項目名(行)を指定下さい。"},
        {"pivotColumn",
         [](auto& a, auto&) {
             a.pivotName = "P";
             a.pivotRowField = "1";
             a.pivotColumnField = "x";
         },
         "項目名(列)を指定下さい。"},
        {"pivotData",
         [](auto& a, auto&) {
             a.pivotName = "P";
             a.pivotRowField = a.pivotColumnField = "2";
         },
         "集計項目を指定下さい。"},
        {"noWorkbookNoTemplate", [](auto& a, auto&) { a.templateFile = "0"; }, missing},
    };
    const std::string templateBytes = test::FileBytes(templ);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.events.clear();
        auto a = arguments();
        c.change(a, templ);
        EXPECT_EQ(run(a), KolvexEnd::Refused);
        EXPECT_EQ(ui.events, std::vector<std::string>{"box:" + c.message});
        EXPECT_FALSE(fs::exists(book));
        EXPECT_EQ(test::FileBytes(templ), templateBytes);
    }
}

TEST_F(KolvexTest, workbookOpenInAnotherProgramIsLeftAlone) {
    fs::copy_file(templ, book);
    std::ofstream(dir / ".~lock.db.xlsx#") << "lock";
    EXPECT_EQ(run(arguments()), KolvexEnd::Refused);
    EXPECT_EQ(test::FileBytes(book), test::FileBytes(templ));
}

TEST_F(KolvexTest, sixFieldsFillBorderAndFilterColumnsAToF) {
    auto a = arguments();
    a.keepClosed = 0;
    a.countMessage = 1;
    ASSERT_EQ(run(a), KolvexEnd::Written);
    EXPECT_EQ(opened, std::vector<fs::path>{book});
    EXPECT_EQ(ui.events.back(), "box:3 件のレコードが出力されました。");

    auto wb = XlsxWorkbook::open(book);
    const int s = wb.sheetIndex("object");
    EXPECT_EQ(wb.cellText(s, 3, 1), "分類");  // the template's headings stay
    EXPECT_EQ(wb.cellText(s, 4, 1), "x");
    EXPECT_EQ(wb.cellText(s, 4, 3), "1.5");
    EXPECT_EQ(wb.cellText(s, 4, 5), "");
    EXPECT_EQ(wb.cellText(s, 6, 6), "f");
    EXPECT_EQ(wb.lastUsedRow(s), 6);
    const std::string xml = sheetXml();
    // The filter's heading row is the template's, above the first record.
    EXPECT_NE(xml.find("<autoFilter ref=\"A3:F6\""), std::string::npos);
    EXPECT_NE(xml.find("r=\"F6\" t=\"inlineStr\" s="), std::string::npos);  // bordered
    EXPECT_EQ(xml.find("r=\"G4\""), std::string::npos);                     // nothing right of F
    EXPECT_NE(sheetXml("xl/workbook.xml")
                  .find("<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" "
                        "hidden=\"1\">'Object'!$A$3:$F$6</definedName>"),
              std::string::npos);
}

TEST_F(KolvexTest, earlierLongerExportIsClearedBeyondTheRowsAsked) {
    fs::copy_file(templ, book);
    {
        auto wb = XlsxWorkbook::open(book);
        for (int row : {4, 10, 2500})
            for (int column : {1, 7})
                wb.setValue(0, row, column, "old");
        wb.save(book);
    }
    auto a = arguments();
    a.templateFile = "0";
    a.clearRows = 2;
    ASSERT_EQ(run(a), KolvexEnd::Written);
    auto wb = XlsxWorkbook::open(book);
    EXPECT_EQ(wb.cellText(0, 4, 1), "x");
    EXPECT_EQ(wb.cellText(0, 10, 1), "");
    EXPECT_EQ(wb.cellText(0, 2500, 1), "");
    EXPECT_EQ(wb.cellText(0, 2500, 7), "old");  // outside the output's columns
}

TEST_F(KolvexTest, errorsAreReportedAndTheWorkbookIsNotSaved) {
    struct Case {
        const char* name;
        void (*change)(output::KolvexArguments&);
        std::string message;
    };
    const Case cases[] = {
        {"sheet", [](auto& a) { a.sheet = "Nope"; },
         "シート名が不正です。\n正しいシート名を設定して下さい。"},
        {"finalSheet", [](auto& a) { a.finalSheet = "Nope"; },
         "シート名が不正です。\n正しいシート名を設定して下さい。"},
        {"pivotSameField",
         [](auto& a) {
             a.pivotName = "P";
             a.pivotRowField = a.pivotColumnField = a.pivotDataField = "1";
         },
         "エラーNO:1004"},
        {"pivotFieldOutside",
         [](auto& a) {
             a.pivotName = "P";
             a.pivotRowField = "1";
             a.pivotColumnField = "7";
             a.pivotDataField = "2";
         },
         "エラーNO:1004"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.events.clear();
        auto a = arguments();
        c.change(a);
        EXPECT_EQ(run(a), KolvexEnd::Failed);
        ASSERT_EQ(ui.events.size(), 1u);
        EXPECT_EQ(ui.events[0].rfind("box:" + c.message, 0), 0u) << ui.events[0];
        EXPECT_EQ(test::FileBytes(book), test::FileBytes(templ));
    }
}

TEST_F(KolvexTest, pivotTableTotalsTheDataFieldOnANewSheet) {
    auto a = arguments();
    a.pivotName = "集計";
    a.pivotRowField = "1";
    a.pivotColumnField = "4";
    a.pivotDataField = "3";
    ASSERT_EQ(run(a), KolvexEnd::Written);
    auto wb = XlsxWorkbook::open(book);
    const int p = wb.sheetIndex("集計");
    EXPECT_EQ(wb.cellText(p, 3, 1), "合計 / オブジェクト名");  // headings from the template
    EXPECT_EQ(wb.cellText(p, 5, 1), "x");
    EXPECT_EQ(wb.cellText(p, 5, 2), "5.5");  // 1.5 + 4
    EXPECT_EQ(wb.cellText(p, 7, 1), "総計");
    EXPECT_EQ(wb.cellText(p, 7, 3), "8");
    EXPECT_NE(sheetXml("xl/pivotTables/pivotTable1.xml").find("name=\"集計\""), std::string::npos);
}

TEST(WorkbookExport, workbookPathReplacesTheMdbEnding) {
    const std::pair<const char*, const char*> cases[] = {{"/d/販売.mdb", "/d/販売.xlsx"},
                                                         {"/d/A.MDB", "/d/A.xlsx"},
                                                         {"/d/a.accdb", "/d/a.accdb.xlsx"}};
    for (const auto& [target, book] : cases)
        EXPECT_EQ(output::WorkbookPathFor(target), fs::path(book)) << target;
}

TEST_F(KolvexTest, buttonsCreateTheTemplateAndKeepEachOthersSheets) {
    const test::TempDir program;
    work.execute(
        "DROP VIEW IF EXISTS QE_AcObject; DROP VIEW IF EXISTS QE_AcTable;"
        "CREATE VIEW QE_AcObject AS SELECT * FROM src; CREATE VIEW QE_AcTable AS SELECT f FROM "
        "src;");
    const fs::path target = dir / "db.mdb";
    auto open = [&](const fs::path& p) { opened.push_back(p); };
    EXPECT_TRUE(output::ExportWorkbook(output::WorkbookKind::Object, work, target, program.path(),
                                       ui, false, open));
    EXPECT_TRUE(fs::exists(program / "Template.xlsx"));
    EXPECT_TRUE(output::ExportWorkbook(output::WorkbookKind::Table, work, target, program.path(),
                                       ui, true, open));
    EXPECT_EQ(opened, std::vector<fs::path>{book});
    auto wb = XlsxWorkbook::open(book);
    EXPECT_EQ(wb.cellText(wb.sheetIndex("Object"), 4, 1), "x");
    EXPECT_EQ(wb.cellText(wb.sheetIndex("Table"), 6, 1), "f");
    EXPECT_TRUE(ui.events.empty());
}

// Writes the workbooks the consumer check (xlsx_consumers_test.cmake) opens with openpyxl and
// LibreOffice; runs only when that check names a folder.
TEST_F(KolvexTest, writesWorkbooksForTheConsumerCheck) {
    const char* folder = std::getenv("ZANFOR_XLSX_SAMPLES");
    if (!folder)
        GTEST_SKIP() << "run by the consumer check only";
    auto a = arguments();
    ASSERT_EQ(run(a), KolvexEnd::Written);
    fs::copy_file(book, fs::path(folder) / "plain.xlsx", fs::copy_options::overwrite_existing);
    a.pivotName = "Pivot";
    a.pivotRowField = "1";
    a.pivotColumnField = "4";
    a.pivotDataField = "3";
    ASSERT_EQ(run(a), KolvexEnd::Written);
    fs::copy_file(book, fs::path(folder) / "pivot.xlsx", fs::copy_options::overwrite_existing);
}

}  // namespace
