#include "refs/table_references.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "collect/vocabulary.h"
#include "host/memory/memory_target.h"
#include "refs/name_match.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using host::access::View;
using host::memory::MemoryTargetBuilder;
using test::VbaFixture;
using Lines = std::vector<std::string>;
namespace dao = host::dao;

constexpr int kListBox = 110;
constexpr int kComboBox = 111;
constexpr int kSubform = 112;

const char* const kRows =
    "SELECT objectNo, Bunrui, ObjectName, ControlName, PropertyName, MotoName "
    "FROM T_AcLinkObject ORDER BY rowid";

RunResult Search(VbaFixture& f, const std::string& table) {
    f.state().support.tableText = table;
    auto ctx = f.context();
    return refs::RunTableReferences(ctx);
}

TEST(TableReferences, listsEverySourceThatNamesTheTableWhole) {
    MemoryTargetBuilder b("/t.mdb");
    b.query("q価格", dao::dbQSelect, "SELECT ItemPrice FROM T_Items;");
    b.query("q品目", dao::dbQSelect, "SELECT * FROM [Item] WHERE Item.ID > 0;");
    b.query("~sq_fF", dao::dbQSelect, "SELECT * FROM Item;");
    b.query("q内部", 4, "SELECT * FROM Item;");  // a type Access keeps for itself
    b.unreadableQuery("q外部結合", dao::dbQSelect);
    b.form("F保存クエリ")
        .property("RecordSource", "q品目")
        .control(109, "txt", {{"ControlSource", "=DLookUp(\"Name\",\"Item\")"}})
        .control(kComboBox, "cbo", {{"RowSource", "SELECT ID FROM Item;"}})
        .control(kListBox, "lst", {{"RowSource", "Item"}});
    b.form("FSQL")
        .property("RecordSource", "SELECT * FROM Item;")
        .control(kSubform, "sub", {{"SourceObject", "Table.Item"}});
    b.report("R").property("RecordSource", "Item");
    auto f = VbaFixture::ForTarget(b.build());
    ASSERT_EQ(Search(f, "Item"), RunResult::Collected);
    // The hidden and system queries take no number, the one Jet cannot read (3) does.
    EXPECT_EQ(f.rows(kRows),
              (Lines{"2|クエリ|q品目|選択ｸｴﾘｰ||Item", "4|フォーム|F保存クエリ|cbo|値集合ｿｰｽ|Item",
                     "4|フォーム|F保存クエリ|lst|値集合ｿｰｽ|Item", "5|フォーム|FSQL||ﾚｺｰﾄﾞｿｰｽ|Item",
                     "5|フォーム|FSQL|sub|ｿｰｽｵﾌﾞｼﾞｪｸﾄ|Item", "6|レポート|R||ﾚｺｰﾄﾞｿｰｽ|Item"}));
    EXPECT_EQ(f.events("message:"),
              (Lines{"テーブル参照情報(クエリ検索中...)", "テーブル参照情報(フォーム検索中...)",
                     "テーブル参照情報(レポート検索中...)", "終了しました"}));
    EXPECT_TRUE(
        dynamic_cast<host::memory::MemoryApplication&>(*f.access).openObjectNames().empty());
}

TEST(TableReferences, aDesignThatDoesNotOpenOrDoesNotTellASourceCostsItselfAlone) {
    MemoryTargetBuilder b("/t.mdb");
    b.form("F良").property("RecordSource", "Item");
    b.form("F不明");
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    target->forms.back().unknown = {"RecordSource"};
    auto& forms = target->container("Forms").documents;
    forms.insert(forms.begin(), {"F壊", {}, {}, {}});
    auto f = VbaFixture::ForTarget(target);
    EXPECT_EQ(Search(f, "Item"), RunResult::Failed);
    EXPECT_EQ(f.rows(kRows), Lines{"2|フォーム|F良||ﾚｺｰﾄﾞｿｰｽ|Item"});
    const auto boxes = f.events("box:");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with("場所:テーブル引用先情報ｴﾗｰNo:3049")) << boxes[0];
    EXPECT_NE(boxes[0].find("　F壊: ｴﾗｰNo:2102"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("　F不明: ｴﾗｰNo:3049 RecordSource"), std::string::npos) << boxes[0];
}

// 得意先 in the Japanese Northwind, against a search of the same SQL and designs written here.
TEST(TableReferences, northwindCustomersMatchASearchOfTheDesigns) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto file = data / "mdb" / "northwind-ja.mdb";
    const std::string before = test::FileBytes(file), table = "得意先";
    auto f = VbaFixture::ForFile(file);
    ASSERT_EQ(Search(f, table), RunResult::Collected) << testing::PrintToString(f.events("box:"));

    std::set<std::string> expected;
    const auto expect = [&](const std::string& text, const std::string& row) {
        if (refs::NamesWhole(text, table))
            expected.insert(row);
    };
    auto& db = f.access->currentDb();
    for (const auto& q : db.queryDefs()) {
        const std::string type = collect::QueryTypeName(std::to_string(q.type));
        if (type != "System" && !q.name.starts_with("~sq_"))
            expect(q.sql(), "クエリ|" + q.name + "|" + type + "|");
    }
    for (const bool report : {false, true}) {
        for (const auto& doc : db.documents(report ? "Reports" : "Forms")) {
            const auto& d = report ? f.access->openReport(doc.name, View::Design)
                                   : f.access->openForm(doc.name, View::Design);
            const std::string head = (report ? "レポート|" : "フォーム|") + doc.name + "|";
            expect(d.properties.get("RecordSource").toText(), head + "|ﾚｺｰﾄﾞｿｰｽ");
            for (const auto& c : d.controls) {
                const int type = c.controlType();
                if (type == kSubform)
                    expect(c.properties.get("SourceObject").toText(),
                           head + c.name() + "|ｿｰｽｵﾌﾞｼﾞｪｸﾄ");
                else if (type == kListBox || type == kComboBox)
                    expect(c.properties.get("RowSource").toText(), head + c.name() + "|値集合ｿｰｽ");
            }
            f.access->close(d.kind, doc.name);
        }
    }
    const Lines found = f.rows(
        "SELECT Bunrui, ObjectName, ControlName, PropertyName FROM T_AcLinkObject ORDER BY rowid");
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);
    EXPECT_EQ(found.size(), 11u);
    EXPECT_EQ(test::FileBytes(file), before);
}

}  // namespace
