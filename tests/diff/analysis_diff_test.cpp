#include "diff/analysis_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "diff/diff_output.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;

// The comparison's text for two work databases filled by SQL, without its two heading lines.
std::string Compared(std::string_view before, std::string_view after) {
    auto a = workdb::WorkDatabase::open(":memory:");
    auto b = workdb::WorkDatabase::open(":memory:");
    a.execute(before);
    b.execute(after);
    std::ostringstream out;
    diff::WriteDiffText(diff::CompareAnalyses(a, b), "old", "new", out);
    const auto text = out.str();
    return text.substr(text.find("new\n") + 4);
}

constexpr std::string_view kTable =
    "INSERT INTO T_AcObject(Class, ObjectName) VALUES('Table', 'T_商品');"
    "INSERT INTO T_AcTblInfo(objectNo, TableName) VALUES(1, 'T_商品');";
constexpr std::string_view kPrice =
    "INSERT INTO T_AcTblItem(objectNo, FieldNo, FieldName, FieldType) VALUES(1, 1, '単価', "
    "'通貨型');";
constexpr std::string_view kForm =
    "INSERT INTO T_AcObject(Class, ObjectName) VALUES('Form', 'F_受注');"
    "INSERT INTO T_AcFrmInfo(objectNo, FormName) VALUES(1, 'F_受注');";
constexpr std::string_view kReport =
    "INSERT INTO T_AcRepInfo(objectNo, ReportName) VALUES(1, 'R_請求書');";

std::string Control(std::string_view property, std::string_view value) {
    return "INSERT INTO T_AcFrmItem(objectNo, ControlNo, PropertyNo, Name, ControlType, TLWH, "
           "PropertyName, PropertyValue) VALUES(1, 1, 1, 'lbl担当', 'ﾗﾍﾞﾙ', '1cm・2cm・3cm・1cm', "
           "'" +
           std::string(property) + "', '" + std::string(value) + "');";
}

std::string Query(std::string_view name, std::string_view sql) {
    return "INSERT INTO T_AcObject(Class, ObjectName) VALUES('Query', '" + std::string(name) +
           "');INSERT INTO T_AcQeryInfo(objectNo, QueryName, QuerySQL) VALUES(1, '" +
           std::string(name) + "', '" + std::string(sql) + "');";
}

std::string Code(std::string_view second) {
    return "INSERT INTO T_AcModule(Label, objectNo, ObjectName, Line, ProcedureName, Procedure) "
           "VALUES('3', 1, 'mdl_共通', 1, '', 'Option Explicit'), ('3', 1, 'mdl_共通', 4, "
           "'税込', 'Function 税込()'), ('3', 1, 'mdl_共通', 5, '税込', '" +
           std::string(second) + "'), ('3', 1, 'mdl_共通', 6, '税込', 'End Function');";
}

std::string Macro(std::string_view condition) {
    return "INSERT INTO T_AcMacro(objectNo, ProcedureNo, ObjectName, LineNo, ProcName, Procedure, "
           "AcWhere) VALUES(1, 1, 'M_メニュー', 1, '開く', 'DoCmd.OpenForm \"F_受注\"', '" +
           std::string(condition) + "');";
}

struct Case {
    const char* what;
    std::string before;
    std::string after;
    std::string expected;
};

TEST(AnalysisDiff, reportsEachKindOfPlantedChange) {
    const Case cases[] = {
        {"field changed and added", std::string(kTable) + std::string(kPrice),
         std::string(kTable) +
             "INSERT INTO T_AcTblItem(objectNo, FieldNo, FieldName, FieldType) VALUES(1, 1, "
             "'単価', '長整数型'), (1, 2, '備考', 'ﾃｷｽﾄ型');",
         "    フィールド 変更: 単価\n      データ型: 通貨型 → 長整数型\n"
         "    フィールド 追加: 備考\n      主キー: いいえ\n      データ型: ﾃｷｽﾄ型\n"},
        {"index fields",
         std::string(kTable) +
             "INSERT INTO T_AcIndex(objectNo, TableName, IndexName, FieldName) VALUES(1, "
             "'T_商品', 'IX', 'a');",
         std::string(kTable) +
             "INSERT INTO T_AcIndex(objectNo, TableName, IndexName, FieldName) VALUES(1, "
             "'T_商品', 'IX', 'a'), (1, 'T_商品', 'IX', 'b');",
         "    インデックス 変更: IX\n      フィールド: a → a, b\n"},
        {"query SQL", Query("Q_一覧", "SELECT a FROM T WHERE x=1;"),
         Query("Q_一覧", "SELECT a FROM T WHERE x=2"),
         "  クエリー: Q_一覧\n    SQL: SELECT a FROM T WHERE x = [-1-] {+2+}\n"},
        {"control property", std::string(kForm) + Control("標題", "担当"),
         std::string(kForm) + Control("標題", "担当者"),
         "    コントロール 変更: lbl担当\n      標題: 担当 → 担当者\n"},
        {"group level",
         std::string(kReport) +
             "INSERT INTO T_AcRepGrp(objectNo, GroupNo, ControlSource) VALUES(1, 1, '得意先');",
         std::string(kReport) +
             "INSERT INTO T_AcRepGrp(objectNo, GroupNo, ControlSource) VALUES(1, 1, '商品');",
         "    グループ 変更: レベル 1\n      コントロールソース: 得意先 → 商品\n"},
        {"macro condition", Macro(""), Macro("[担当] Is Null"),
         "    アクション:\n      @@ -1,1 +1,1 @@ 開く\n      -[開く] DoCmd.OpenForm \"F_受注\"\n"
         "      +[開く] DoCmd.OpenForm \"F_受注\"  条件: [担当] Is Null\n"},
        {"code line", Code("税込 = 1.05"), Code("税込 = 1.08"),
         "    コード:\n      @@ -1,4 +1,4 @@ 税込\n       Option Explicit\n"
         "       Function 税込()\n      -税込 = 1.05\n      +税込 = 1.08\n       End Function\n"},
        {"object description", std::string(kTable),
         std::string(kTable) + "UPDATE T_AcObject SET Description = '商品' || char(13, 10) || "
                               "'  テーブル: 偽';",
         "    説明: (なし) → 商品↵  テーブル: 偽\n"},
    };
    for (const auto& c : cases) {
        const auto text = Compared(c.before, c.after);
        EXPECT_NE(text.find(c.expected), std::string::npos) << c.what << "\n" << text;
    }
}

TEST(AnalysisDiff, noiseAndLayoutAloneAreNoChange) {
    const std::string before =
        std::string(kTable) + Query("Q", "select a\r\n  from T;") +
        "UPDATE T_AcObject SET DateUpdate = 40000, DateCreate = 39000;"
        "UPDATE T_AcTblInfo SET LastUpdated = 40000, RecordCount = 10, Updatable = 1;";
    const std::string after = std::string(kTable) + Query("Q", "SELECT a FROM T") +
                              "UPDATE T_AcObject SET DateUpdate = 45000;"
                              "UPDATE T_AcTblInfo SET LastUpdated = 45000, RecordCount = 99;";
    EXPECT_EQ(Compared(before, after), "変更はありません。\n");
}

TEST(AnalysisDiff, sameContentUnderANewNameIsARenameButNoContentIsNot) {
    const auto text =
        Compared(Query("Q_旧", "SELECT a FROM T") +
                     "INSERT INTO T_AcObject(Class, ObjectName) VALUES('Page', 'P1');",
                 Query("Q_新", "SELECT a FROM T") +
                     "INSERT INTO T_AcObject(Class, ObjectName) VALUES('Page', 'P2');");
    EXPECT_EQ(text,
              "追加 (1)\n  ページ: P2\n削除 (1)\n  ページ: P1\n名前変更 (1)\n  クエリー: Q_旧 → "
              "Q_新\n");
}

TEST(AnalysisDiff, sqlIsComparedWithoutLayoutCaseOfKeywordsOrClosingSemicolon) {
    const std::pair<const char*, const char*> cases[] = {
        {"select  a,b\r\nfrom [Order Details] ;", "SELECT a, b FROM [Order Details]"},
        {"SELECT T.x FROM T WHERE n='it''s' AND d=#1/2/2004#",
         "SELECT T.x FROM T WHERE n = 'it''s' AND d = #1/2/2004#"},
        {"select Forms!F!x, Sum(a) from t where x<>1;;",
         "SELECT Forms!F!x, Sum (a) FROM t WHERE x <> 1"},
        {"where 'Select'", "WHERE 'Select'"},
    };
    for (const auto& [sql, normal] : cases)
        EXPECT_EQ(diff::NormaliseSql(sql), normal);
}

// The diff's lines, read back, give both texts; and it is as short as the longest common
// subsequence, computed here the slow way, allows.
TEST(AnalysisDiff, unifiedDiffIsAMinimalEditOfTheTwoTexts) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<diff::NumberedLine> a(random() % 12);
        std::vector<diff::NumberedLine> b(random() % 12);
        for (auto* side : {&a, &b})
            for (std::size_t i = 0; i < side->size(); ++i)
                (*side)[i] = {static_cast<std::int64_t>(i + 1), "",
                              std::string(1, 'a' + random() % 3)};
        std::string readA, readB, wantA, wantB;
        std::size_t kept = 0;
        for (const auto& l : diff::UnifiedDiff(a, b, 100)) {
            readA += l.mark == '-' || l.mark == ' ' ? l.text : "";
            readB += l.mark == '+' || l.mark == ' ' ? l.text : "";
            kept += l.mark == ' ';
        }
        std::vector<std::vector<std::size_t>> lcs(a.size() + 1,
                                                  std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = a.size(); i-- > 0;)
            for (std::size_t j = b.size(); j-- > 0;)
                lcs[i][j] = a[i].text == b[j].text ? lcs[i + 1][j + 1] + 1
                                                   : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        for (const auto& l : a)
            wantA += l.text;
        for (const auto& l : b)
            wantB += l.text;
        if (wantA == wantB)
            continue;
        EXPECT_EQ(readA, wantA);
        EXPECT_EQ(readB, wantB);
        EXPECT_EQ(kept, lcs[0][0]);
    }
}

TEST(AnalysisDiff, changesFarApartMakeSeparateHunks) {
    std::vector<diff::NumberedLine> a;
    for (int i = 1; i <= 20; ++i)
        a.push_back({i * 10, "", "line " + std::to_string(i)});
    auto b = a;
    b[1].text = "changed";
    b[18].text = "changed";
    std::vector<std::string> headings;
    for (const auto& l : diff::UnifiedDiff(a, b, 3))
        if (l.mark == '@')
            headings.push_back(l.text);
    EXPECT_EQ(headings, (std::vector<std::string>{"@@ -10,5 +10,5 @@", "@@ -160,5 +160,5 @@"}));
}

// Past the search's limit the differing middle is listed whole: still both texts, in bounded time.
TEST(AnalysisDiff, textsTooDifferentToSearchAreShownRemovedThenAdded) {
    std::vector<diff::NumberedLine> a(3000);
    std::vector<diff::NumberedLine> b(3000);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = {static_cast<std::int64_t>(i + 1), "", "a" + std::to_string(i)};
        b[i] = {static_cast<std::int64_t>(i + 1), "", "b" + std::to_string(i)};
    }
    const auto lines = diff::UnifiedDiff(a, b);
    ASSERT_EQ(lines.size(), 6001u);
    EXPECT_EQ(lines[0].text, "@@ -1,3000 +1,3000 @@");
    EXPECT_EQ(lines[3000], (diff::DiffLine{'-', "a2999"}));
    EXPECT_EQ(lines[3001], (diff::DiffLine{'+', "b0"}));
}

TEST(DiffOutput, htmlEscapesEveryNameAndValue) {
    diff::AnalysisDiff d;
    d.added.push_back({"Form", "<script>alert(\"x\")</script>&'"});
    d.changed.push_back({{"Query", "<b>"}, {{"説明", "a<b", "\"c\""}}, {}, {{'+', "<i>"}}, {}});
    std::ostringstream out;
    diff::WriteDiffHtml(d, "<old>", "new&", out);
    const auto html = out.str();
    for (const char* raw : {"<script>", "<b>", "<i>", "<old>", "a<b", "new& "})
        EXPECT_EQ(html.find(raw), std::string::npos) << raw;
    for (const char* escaped : {"&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;&amp;&#39;",
                                "<ins>&lt;i&gt;</ins>", "new&amp;"})
        EXPECT_NE(html.find(escaped), std::string::npos) << escaped;
}

}  // namespace
