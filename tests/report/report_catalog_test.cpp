#include "report/report_catalog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <fstream>
#include <map>
#include <thread>

#include "host/error.h"
#include "report/page_layout.h"
#include "report/report_fixture.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using report::OutputFormat;

const report::RenderOptions kOptions{QDateTime(QDate(2024, 5, 1), QTime(9, 30))};

// One fixture work database and one empty one for the whole suite; every report is written
// once in each format and read back by the tests.
class Rendered : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new test::TempDir;
        auto full = workdb::WorkDatabase::open(*folder_ / "fixture.db");
        test::FillReportFixture(full);
        auto empty = workdb::WorkDatabase::open(*folder_ / "empty.db");
        for (const auto& name : report::ReportNames()) {
            for (auto [db, suffix] : {std::pair{&full, "full"}, std::pair{&empty, "empty"}}) {
                report::RenderReportToFile(*db, name, file(name, suffix, ".pdf"), OutputFormat::Pdf,
                                           kOptions);
                report::RenderReportToFile(*db, name, file(name, suffix, ".html"),
                                           OutputFormat::Html, kOptions);
            }
        }
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::filesystem::path file(const std::string& name, const char* kind, const char* ext) {
        return *folder_ / (name + "." + kind + ext);
    }
    static std::string pdfText(const std::string& name, const char* kind = "full") {
        return test::PdfText(file(name, kind, ".pdf"));
    }
    static test::TempDir* folder_;
};

test::TempDir* Rendered::folder_ = nullptr;

// A strict XML parse finds the misnested tags browsers forgive.
std::string XmlFault(const std::string& html) {
    QXmlStreamReader xml(QByteArray::fromStdString(html));
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    return xml.hasError() ? xml.errorString().toStdString() + " " + std::to_string(xml.lineNumber())
                          : "";
}

TEST_F(Rendered, everyReportIsWrittenInBothFormatsFromDataAndFromEmptyTables) {
    for (const auto& name : report::ReportNames()) {
        for (const char* kind : {"full", "empty"}) {
            EXPECT_GE(test::PdfPageCount(file(name, kind, ".pdf")), 1) << name << " " << kind;
            const std::string html = test::FileBytes(file(name, kind, ".html"));
            EXPECT_EQ(XmlFault(html), "") << name << " " << kind;
        }
        const std::string empty = pdfText(name, "empty");
        // Vertical text reads back one character a line.
        if (name != "R_AcHyousiH") {
            EXPECT_NE(empty.find(report::kNoDataNote), std::string::npos) << name;
        }
        EXPECT_EQ(pdfText(name).find(report::kNoDataNote), std::string::npos)
            << name << " has fixture rows";
        EXPECT_NE(test::FileBytes(file(name, "empty", ".html")).find(report::kNoDataNote),
                  std::string::npos)
            << name;
    }
}

TEST_F(Rendered, printedPagesHoldTheValuesOfTheirTables) {
    // Values of the fixture's rows, and what the reports make of them.
    const std::map<std::string, std::vector<std::string>> expected{
        {"R_AcObjectAll", {"T_顧客マスタ", "Link(Access)", "2019/04/02 10:01", "合計 10 件"}},
        {"R_AcTblIndex", {"T_受注明細", "ix顧客名", "フリガナ"}},
        {"R_AcTblTable", {"In (\"A\",\"B\",\"C\")", "1,250", "テーブル数 3"}},
        {"R_AcQerySql", {"ORDER BY T_受注.受注日 DESC", "あいまいな外部結合のため開けません。"}},
        {"R_AcQeryAll", {"参照不可", "TRANSFORM Sum"}},
        {"R_AcFrmCntl", {"chk項目200", "コントロール数 200", "SELECT T_商品マスタ.商品コード"}},
        {"R_AcRepCntl", {"=Format([受注日],\"yyyy/mm\")", "降順", "月"}},
        {"R_AcMacro", {"フォームを開く", "1. frmメニュー", "[Forms]![frmメニュー]!"}},
        {"R_AcControlCount", {"frm受注入力", "255"}},
        {"R_AcFile", {"販売管理.ldb", "0.1", "合計 3 ファイル"}},
        {"R_AcHyousi", {"販売管理システム", "2024年3月15日", "山田 太郎"}},
        {"R_AcHyousiW", {"情報システム部", "2024年3月15日"}},
        {"R_AcModule", {"(宣言セクション)", "End Function", "1999"}},
        {"R_AcModule2", {"modCommon"}},
        {"R_AcProcName", {"Declare Function", "[呼出] Call ログ出力(\"集計開始\")", "Currency"}},
        {"R_AcProcName50", {"かな変換"}},
        {"R_AcModStep", {"(Declations)", "総計"}},
        {"R_AcComment", {"' 初期表示"}},
        {"R_AcHensuH", {"mLogPath", "GetTickCount"}},
        {"R_AcHensuT", {"MAX_件数", "1000"}},
        {"R_AcHensuU", {"Type 受注情報", "String * 50"}},
        {"R_AcLinkProc", {"受注金額取得", "cmd登録_Click"}},
        {"R_AcLinkTable", {"T_顧客マスタ", "値集合ｿｰｽ"}},
        {"R_AcLinkObject", {"mcrメイン.起動", "ログ出力"}},
        {"R_AcObjectUpdate", {"rpt旧帳票", "frm新規画面"}},
        {"R_AcTextTeigi", {"カンマ (,)", "はい (重複なし)"}},
    };
    for (const auto& [name, texts] : expected) {
        const std::string pdf = pdfText(name);
        const std::string html = test::FileBytes(file(name, "full", ".html"));
        for (const auto& text : texts) {
            EXPECT_NE(pdf.find(text), std::string::npos) << name << " PDF lacks " << text;
            if (text.find('"') == std::string::npos && text.find('\'') == std::string::npos &&
                text.find('&') == std::string::npos && text.find('<') == std::string::npos) {
                EXPECT_NE(html.find(text), std::string::npos) << name << " HTML lacks " << text;
            }
        }
    }
}

TEST(FileNameLine, isPrintedOnEveryPageExactlyWhenTheTitleTableHasARow) {
    test::TempDir folder;
    auto db = workdb::WorkDatabase::open(folder / "w.db");
    test::FillReportFixture(db);
    for (const bool withLine : {true, false}) {
        if (!withLine)
            db.execute("delete * from T_AcTitle;");
        // The cover sheets lay out their pages apart from the listings.
        for (const char* name : {"R_AcObjectAll", "R_AcHyousi", "R_AcHyousiH", "R_AcHyousiW"}) {
            const auto pdf = folder / (std::string(name) + ".pdf");
            report::RenderReportToFile(db, name, pdf, OutputFormat::Pdf, kOptions);
            const int pages = test::PdfPageCount(pdf);
            for (int page = 1; page <= pages; ++page) {
                const bool found = test::PdfText(pdf, page, page).find(test::kFixtureFileLine) !=
                                   std::string::npos;
                EXPECT_EQ(found, withLine) << name << " page " << page;
            }
            const auto html = folder / (std::string(name) + ".html");
            report::RenderReportToFile(db, name, html, OutputFormat::Html, kOptions);
            EXPECT_EQ(test::FileBytes(html).find("file-line\">") != std::string::npos, withLine)
                << name;
        }
    }
}

struct FailureCase {
    const char* name;
    const char* report;
    const char* target;  // relative to the test folder; "" for the folder itself
    int number;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class Failure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failure, reportsANumberedJapaneseErrorAndLeavesNoFileBehind) {
    const auto& c = GetParam();
    test::TempDir folder;
    auto db = workdb::WorkDatabase::open(":memory:");
    const auto target = folder.path() / c.target;
    try {
        report::RenderReportToFile(db, c.report, target, OutputFormat::Pdf, kOptions);
        FAIL() << "no error";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), c.number);
        EXPECT_FALSE(e.description().empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()))
        << "a failed report leaves no file behind";
}

INSTANTIATE_TEST_SUITE_P(
    Output, Failure,
    ::testing::Values(FailureCase{"unknownReport", "R_AcNothing", "out.pdf", 2103},
                      FailureCase{"missingFolder", "R_AcFile", "nowhere/out.pdf", 75},
                      FailureCase{"targetIsAFolder", "R_AcFile", "", 75}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Output, aFailedRenderKeepsTheFileThatWasThere) {
    test::TempDir folder;
    const auto target = folder / "R_AcObjectAll.pdf";
    { std::ofstream(target) << "earlier report"; }
    auto db = workdb::WorkDatabase::open(folder / "w.db");
    db.execute("DROP TABLE T_AcObject");
    EXPECT_THROW(report::RenderReportToFile(db, "R_AcObjectAll", target, OutputFormat::Pdf),
                 host::Error);
    EXPECT_EQ(test::FileBytes(target), "earlier report");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        files += entry.path().filename().string().starts_with("R_AcObjectAll") ? 1 : 0;
    EXPECT_EQ(files, 1) << "no temporary file remains";
}

// The command line renders reports on worker threads, each with its own connection, while the
// application lives on the main thread; what they write must not depend on it, nor on the
// pages being streamed rather than laid out whole as the preview does.
TEST(Output, reportsRenderedOnThreadsAtOnceMatchThoseLaidOutWholeOneByOne) {
    test::TempDir folder;
    const auto database = folder / "w.db";
    {
        auto db = workdb::WorkDatabase::open(database);
        test::FillReportFixture(db);
        test::FillModuleListing(db, 3000);
    }
    // Streamed in groups, sorted whole, columns fitted first, a cover of turned text.
    const std::vector<std::string> names{"R_AcModule", "R_AcModule250", "R_AcObjectAll",
                                         "R_AcFrmCntl", "R_AcHyousiH"};
    auto file = [&](const std::string& name, const char* kind, const char* ext) {
        return folder / (name + kind + ext);
    };
    {
        const auto db = workdb::WorkDatabase::openForReading(database);
        for (const auto& name : names) {
            const auto held = report::PrepareReport(db, name, kOptions);
            report::SaveReport(held, file(name, ".alone", ".pdf"), OutputFormat::Pdf);
            report::SaveReport(held, file(name, ".alone", ".html"), OutputFormat::Html);
        }
    }
    std::vector<std::string> errors(names.size());
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < names.size(); ++i) {
        workers.emplace_back([&, i] {
            try {
                const auto db = workdb::WorkDatabase::openForReading(database);
                for (const auto& [ext, format] :
                     {std::pair{".pdf", OutputFormat::Pdf}, std::pair{".html", OutputFormat::Html}})
                    report::RenderReportToFile(db, names[i], file(names[i], ".together", ext),
                                               format, kOptions);
            } catch (const host::Error& e) {
                errors[i] = e.description();
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& name = names[i];
        EXPECT_EQ(errors[i], "") << name;
        const int pages = test::PdfPageCount(file(name, ".alone", ".pdf"));
        EXPECT_GE(pages, name == "R_AcModule" ? 40 : 1) << name;
        EXPECT_EQ(test::PdfPageCount(file(name, ".together", ".pdf")), pages) << name;
        EXPECT_EQ(test::PdfText(file(name, ".together", ".pdf")),
                  test::PdfText(file(name, ".alone", ".pdf")))
            << name;
        EXPECT_EQ(test::FileBytes(file(name, ".together", ".html")),
                  test::FileBytes(file(name, ".alone", ".html")))
            << name;
    }
}

TEST(Output, reportNamesAreFoundWhateverTheirCase) {
    test::TempDir folder;
    auto db = workdb::WorkDatabase::open(":memory:");
    report::RenderReportToFile(db, "r_acobjectall", folder / "a.html", OutputFormat::Html);
    EXPECT_NE(test::FileBytes(folder / "a.html").find("オブジェクト一覧"), std::string::npos);
}

}  // namespace
