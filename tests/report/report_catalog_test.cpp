#include "report/report_catalog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <fstream>
#include <map>

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

TEST(ReportNames, areTheReportsOfTheWorkDatabaseIndexInItsOrder) {
    const std::vector<std::string> expected{
        "R_AcObjectAll", "R_AcTblIndex",   "R_AcTblTable",     "R_AcQerySql",      "R_AcQeryAll",
        "R_AcFrmCntl",   "R_AcRepCntl",    "R_AcMacro",        "R_AcControlCount", "R_AcFile",
        "R_AcHyousi",    "R_AcHyousiH",    "R_AcHyousiW",      "R_AcModule",       "R_AcModule2",
        "R_AcModule50",  "R_AcModule250",  "R_AcProcName",     "R_AcProcName50",   "R_AcModStep",
        "R_AcComment",   "R_AcHensuH",     "R_AcHensuT",       "R_AcHensuU",       "R_AcLinkProc",
        "R_AcLinkTable", "R_AcLinkObject", "R_AcObjectUpdate", "R_AcTextTeigi"};
    EXPECT_EQ(report::ReportNames(), expected);
}

TEST_F(Rendered, everyReportIsWrittenInBothFormatsFromDataAndFromEmptyTables) {
    for (const auto& name : report::ReportNames()) {
        for (const char* kind : {"full", "empty"}) {
            EXPECT_GE(test::PdfPageCount(file(name, kind, ".pdf")), 1) << name << " " << kind;
            const std::string html = test::FileBytes(file(name, kind, ".html"));
            EXPECT_NE(html.find("</html>"), std::string::npos) << name << " " << kind;
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

TEST_F(Rendered, printedPagesHoldTheHeadingsAndValuesOfTheirTables) {
    const std::map<std::string, std::vector<std::string>> expected{
        {"R_AcObjectAll",
         {"オブジェクト一覧（全て）", "データベース", "テーブル", "T_顧客マスタ", "Link(Access)",
          "2019/04/02 10:01", "合計 17 件"}},
        {"R_AcTblIndex", {"インデックス一覧", "T_受注明細", "PrimaryKey", "ix顧客名", "フリガナ"}},
        {"R_AcTblTable",
         {"テーブル一覧（詳細）", "顧客区分", "In (\"A\",\"B\",\"C\")", "1,250", "リンク元テーブル",
          "テーブル数 3"}},
        {"R_AcQerySql",
         {"SQL一覧", "Q_受注一覧", "ORDER BY T_受注.受注日 DESC",
          "あいまいな外部結合のため開けません。"}},
        {"R_AcQeryAll", {"クエリー一覧（詳細）", "ソーステーブル", "参照不可", "TRANSFORM Sum"}},
        {"R_AcFrmCntl",
         {"フォーム コントロール一覧（詳細）", "frm受注入力", "chk項目200", "コントロール数 200",
          "SELECT T_商品マスタ.商品コード"}},
        {"R_AcRepCntl",
         {"レポート コントロール一覧（簡易）", "rpt請求書", "並べ替え / グループ化",
          "=Format([受注日],\"yyyy/mm\")", "降順", "月"}},
        {"R_AcMacro",
         {"マクロ一覧（詳細）", "mcrメイン", "フォームを開く", "1. frmメニュー",
          "[Forms]![frmメニュー]!"}},
        {"R_AcControlCount", {"コントロール数一覧", "frm受注入力", "小計", "合計", "255"}},
        {"R_AcFile", {"ファイル一覧", "販売管理.ldb", "0.1", "合計 3 ファイル"}},
        {"R_AcHyousi",
         {"システム仕様書", "販売管理システム", "2024年3月15日", "株式会社サンプル商事", "作成者",
          "山田 太郎"}},
        {"R_AcHyousiW", {"システム仕様書", "情報システム部", "2024年3月15日"}},
        {"R_AcModule",
         {"モジュールリスト", "frm受注入力", "modCommon", "(宣言セクション)", "End Function",
          "1999"}},
        {"R_AcModule2", {"モジュールリスト（２列）", "modCommon"}},
        {"R_AcProcName",
         {"プロシージャ一覧（詳細）", "受注金額取得", "Declare Function",
          "[呼出] Call ログ出力(\"集計開始\")", "Currency"}},
        {"R_AcProcName50", {"プロシージャ一覧（五十音順）", "かな変換", "modCommon"}},
        {"R_AcModStep", {"ステップ数一覧", "(Declations)", "小計", "総計", "種類別の集計"}},
        {"R_AcComment", {"コメント一覧", "Form_Load", "' 初期表示"}},
        {"R_AcHensuH", {"変数一覧", "mLogPath", "String", "GetTickCount"}},
        {"R_AcHensuT", {"定数一覧", "MAX_件数", "1000"}},
        {"R_AcHensuU", {"定義型一覧", "Type 受注情報", "受注番号", "String * 50"}},
        {"R_AcLinkProc",
         {"プロシージャ引用先一覧", "受注金額取得", "cmd登録_Click", "(宣言セクション)"}},
        {"R_AcLinkTable", {"テーブル引用先一覧", "検索したテーブル", "T_顧客マスタ", "値集合ｿｰｽ"}},
        {"R_AcLinkObject",
         {"オブジェクト参照元一覧（フォーム）", "mcrメイン.起動", "モジュール内のプロシージャ参照",
          "ログ出力"}},
        {"R_AcObjectUpdate",
         {"オブジェクト比較表", "比較結果の集計", "追加", "削除", "更新", "変更なし", "rpt旧帳票",
          "frm新規画面"}},
        {"R_AcTextTeigi",
         {"変換定義一覧", "受注データ取込定義", "カンマ (,)", "固定長出力定義", "はい (重複なし)"}},
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

TEST_F(Rendered, everyPageIsNumberedOfTheTotal) {
    for (const char* name : {"R_AcFrmCntl", "R_AcModule", "R_AcModule250"}) {
        const int pages = test::PdfPageCount(file(name, "full", ".pdf"));
        ASSERT_GT(pages, 1) << name;
        for (int page = 1; page <= pages; page += std::max(1, pages / 5)) {
            const std::string text = test::PdfText(file(name, "full", ".pdf"), page, page);
            EXPECT_NE(text.find(std::to_string(page) + " / " + std::to_string(pages)),
                      std::string::npos)
                << name << " page " << page;
            EXPECT_NE(text.find("印刷日時 2024/05/01 09:30"), std::string::npos);
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
        for (const char* name :
             {"R_AcFrmCntl", "R_AcObjectAll", "R_AcHyousi", "R_AcHyousiH", "R_AcHyousiW"}) {
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

TEST(PageBreak, noRowOfTheRealReportsIsCutUnlessItIsTallerThanAPage) {
    test::TempDir folder;
    auto db = workdb::WorkDatabase::open(folder / "w.db");
    test::FillReportFixture(db);
    for (const char* name :
         {"R_AcFrmCntl", "R_AcModule", "R_AcModule2", "R_AcQeryAll", "R_AcQerySql"}) {
        const auto prepared = report::PrepareReport(db, name, kOptions);
        const auto& doc = prepared.layout(report::A4Twips(prepared.orientation()));
        std::map<int, std::vector<report::Placement>> pieces;
        for (const auto& p : doc.placements) {
            EXPECT_LE(p.bottom, doc.bodyBottom + 0.5) << name;
            if (p.block >= 0 && p.lineCount > 0)
                pieces[p.block].push_back(p);
        }
        // Column headings and the continued-group line take at most this much of a frame.
        const double frameRoom = doc.bodyBottom - doc.bodyTop - 15 * 1440 / 25.4;
        for (const auto& [block, parts] : pieces) {
            if (parts.size() == 1)
                continue;
            double height = 0;
            for (const auto& part : parts)
                height += part.bottom - part.top;
            EXPECT_GT(height, frameRoom) << name << " block " << block << " is cut";
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

TEST(Output, reportNamesAreFoundWhateverTheirCase) {
    test::TempDir folder;
    auto db = workdb::WorkDatabase::open(":memory:");
    report::RenderReportToFile(db, "r_acobjectall", folder / "a.html", OutputFormat::Html);
    EXPECT_NE(test::FileBytes(folder / "a.html").find("オブジェクト一覧"), std::string::npos);
}

TEST(Printing, withoutAnyPrinterIsError2202WithThePrinterDriverMessage) {
    auto db = workdb::WorkDatabase::open(":memory:");
    try {
        report::PrintReport(db, "R_AcFile", [] { return QList<QPrinterInfo>(); });
        FAIL() << "printed without a printer";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), 2202);
        EXPECT_EQ(e.description(), "プリンタドライバがインストールされていません。");
    }
}

}  // namespace
