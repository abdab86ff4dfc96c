#include "cli/diff_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/console_ui.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
namespace fs = std::filesystem;

struct DiffRun {
    int status = 0;
    std::string out;
    std::string errors;
};

DiffRun Diff(std::vector<std::string> args) {
    const cli::CapturedOutput captured;
    const int status = cli::RunDiff(args, "/nowhere/zanfor-cli");
    return {status, captured.out(), captured.err()};
}

// What follows the two heading lines that name the versions.
std::string Body(const std::string& out) {
    const auto second = out.find('\n', out.find('\n') + 1);
    return second == std::string::npos ? out : out.substr(second + 1);
}

const fs::path kSample = fs::path(ZANFOR_SOURCE_DIR) / "examples" / "hanbai-kanri.mdb.src";

void Replace(const fs::path& file, const std::string& from, const std::string& to) {
    auto text = test::FileBytes(file);
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary) << text;
}

fs::path SavedAnalysis(const fs::path& target, const fs::path& folder, const std::string& name) {
    const auto work = folder / (name + ".db");
    EXPECT_TRUE(cli::CollectForComparison(target, work, "/nowhere/zanfor-cli"));
    workdb::WorkDatabase::open(work).saveCopyAs(folder / (name + ".adb"));
    return folder / (name + ".adb");
}

TEST(DiffCommand, badUsageIsStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {}, {"a.adb"}, {"a.adb", "b.adb", "c.adb"}, {"a.adb", "b.adb", "--nope"}, {"a", "--html"}};
    for (const auto& args : cases)
        EXPECT_EQ(Diff(args).status, 2) << args.size();
}

TEST(DiffCommand, aDamagedOrMissingAnalysisFileIsAReportedError) {
    test::TempProgramFolder home;
    const auto good = SavedAnalysis(kSample, home.path(), "good");
    const auto bytes = test::FileBytes(good);
    std::ofstream(home / "cut.adb", std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    std::ofstream(home / "noise.adb", std::ios::binary) << std::string(5000, '\x5a');
    const std::pair<std::string, std::string> cases[] = {
        {"cut.adb", "ｴﾗｰNo:3343"}, {"noise.adb", "ｴﾗｰNo:3343"}, {"missing.adb", "ｴﾗｰNo:53"}};
    for (const auto& [file, number] : cases) {
        const auto run = Diff({good.string(), (home / file).string()});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_NE(run.errors.find(number), std::string::npos) << file << run.errors;
        EXPECT_EQ(run.out, "") << file;
    }
}

// A copy of the sample with one change of each kind: a query's SQL, a control's property, a line
// of code and a new field. Saved analyses, a saved analysis against the folder, and the folder
// against itself.
TEST(DiffCommand, plantedChangesAreExactlyWhatIsReported) {
    test::TempProgramFolder home;
    const auto changed = home / "changed";
    fs::copy(kSample, changed, fs::copy_options::recursive);
    Replace(changed / "queries" / "Q_受注一覧.bas", "AS 担当者名", "AS 担当者");
    Replace(changed / "forms" / "F_ログイン.bas", "Caption =\"担当者\"", "Caption =\"担当者名\"");
    Replace(changed / "modules" / "mdl_共通.bas", "\"2.3.1\"", "\"2.3.2\"");
    Replace(changed / "tbldefs" / "T_消費税率.xml", "</xsd:element>\r\n</xsd:sequence>",
            "</xsd:element>\r\n<xsd:element name=\"備考\" od:jetType=\"text\"><xsd:simpleType>"
            "<xsd:restriction base=\"xsd:string\"><xsd:maxLength value=\"50\"/>"
            "</xsd:restriction></xsd:simpleType></xsd:element>\r\n</xsd:sequence>");
    const auto before = SavedAnalysis(kSample, home.path(), "before");
    const auto after = SavedAnalysis(changed, home.path(), "after");

    const std::string expected = R"(変更 (4)
  テーブル: T_消費税率
    フィールド 追加: 備考
      主キー: いいえ
      データ型: ﾃｷｽﾄ型
      サイズ: 50
      空文字列の許可: いいえ
  クエリー: Q_受注一覧
    SQL: SELECT T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先コード, T_得意先.得意先名, T_社員.氏名 AS [-担当者名-] {+担当者+}, T_受注.納期, T_受注.受注状態, Sum (CCur ([T_受注明細].[数量] * [T_受注明細].[単価] * (1 - [T_受注明細].[値引率]))) AS 税抜合計 FROM ((T_得意先 INNER JOIN T_受注 ON T_得意先.得意先ID = T_受注.得意先ID) LEFT JOIN T_社員 ON T_受注.担当社員ID = T_社員.社員ID) INNER JOIN T_受注明細 ON T_受注.受注ID = T_受注明細.受注ID GROUP BY T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先コード, T_得意先.得意先名, T_社員.氏名, T_受注.納期, T_受注.受注状態 HAVING (((T_受注.受注状態) <> 9)) ORDER BY T_受注.受注日 DESC, T_受注.受注番号
  フォーム: F_ログイン
    コントロール 変更: ラベル2
      標題: 担当者 → 担当者名
  モジュール: mdl_共通
    コード:
      @@ -11,7 +11,7 @@
       Public Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)
       ' アプリケーション全体で使う定数
       Public Const APP_TITLE As String = "販売管理"
      -Public Const APP_VERSION As String = "2.3.1"
      +Public Const APP_VERSION As String = "2.3.2"
       Public Const 既定税率 As Single = 0.05          ' 平成9年4月1日以降
       Public Const 端数処理_切捨 As Integer = 0
       Public Const 端数処理_四捨五入 As Integer = 1
)";
    for (const auto& newer : {after.string(), changed.string()}) {
        const auto run = Diff({before.string(), newer});
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(Body(run.out), expected) << newer;
    }
    const auto json = Diff({before.string(), after.string(), "--json"});
    EXPECT_NE(json.out.find("\"name\": \"備考\",\n          \"change\": \"added\""),
              std::string::npos)
        << json.out;
    const auto same =
        Diff({kSample.string(), kSample.string(), "--html", (home / "same.html").string()});
    EXPECT_EQ(Body(same.out), "変更はありません。\n");
    EXPECT_NE(test::FileBytes(home / "same.html").find("変更はありません。"), std::string::npos);
}

// The export beside Strings.mdb holds the same objects, forms and macros, its Cyrillic text read
// in the code page the forms name; only modStrings was changed after the file was saved.
TEST(DiffCommand, aDatabaseAgainstItsOwnExportDiffersOnlyInTheModuleChangedSince) {
    ZANFOR_REQUIRE_TESTDATA(data);
    test::TempProgramFolder home;
    const auto pair = data / "pairs" / "strings";
    const auto run = Diff({(pair / "Strings.mdb").string(), pair.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto body = Body(run.out);
    EXPECT_TRUE(body.starts_with("変更 (1)\n  モジュール: modStrings\n    コード:\n")) << body;
    EXPECT_NE(body.find("      +    Optional Method As Integer = 1, _\n"), std::string::npos);
    EXPECT_NE(body.find("      -' Дата          : 18.04.2024 10:57:48\n"), std::string::npos);
}

TEST(DiffCommand, translatedObjectsAreRemovedAndAddedNotRenamed) {
    ZANFOR_REQUIRE_TESTDATA(data);
    test::TempProgramFolder home;
    const auto run = Diff({(data / "mdb" / "northwind-ja.mdb").string(),
                           (data / "mdb" / "northwind-en.mdb").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto body = Body(run.out);
    EXPECT_TRUE(body.starts_with("追加 (85)\n  テーブル: Categories\n")) << body;
    EXPECT_NE(body.find("\n削除 (82)\n  テーブル: 仕入先\n"), std::string::npos);
    EXPECT_EQ(body.find("名前変更"), std::string::npos);
    EXPECT_EQ(body.find("\n変更 ("), std::string::npos);
}

}  // namespace
