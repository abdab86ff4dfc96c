#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "host/error.h"
#include "site/code_highlight.h"
#include "site/site_writer.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using namespace zanfor::site;
namespace fs = std::filesystem;

constexpr std::string_view kEvil = "<script>alert(\"x&y\")</script>'";

// A work database holding one table, one query and one module, every name of the table and the
// query and one of its fields carrying markup, quotes and an ampersand.
std::string SiteSql() {
    std::string evil;  // as an SQL literal's text
    for (const char c : kEvil)
        evil += c == '\'' ? "''" : std::string(1, c);
    return "INSERT INTO T_AcObject(objectNo, Class, ObjectName) VALUES"
           "(1, 'Table', 'T" +
           evil + "'), (2, 'Query', 'Q" + evil + "'), (3, 'Module', 'mdl共通');" +
           "INSERT INTO T_AcTblInfo(objectNo, TableName, Description) VALUES(1, 'T" + evil +
           "', '説明" + evil + "');" +
           "INSERT INTO T_AcTblItem(objectNo, FieldNo, FieldName, FieldType, PrimaryKey) VALUES"
           "(1, 1, 'ID', 'ｵｰﾄﾅﾝﾊﾞｰ型', 1), (1, 2, 'F" +
           evil + "', 'ﾃｷｽﾄ型', 0);" +
           "INSERT INTO T_AcQeryInfo(objectNo, QueryName, QuerySQL) VALUES(1, 'Q" + evil +
           "', 'SELECT [F<b>] FROM T WHERE x = ''</pre><script>''');" +
           "INSERT INTO T_AcModule(Label, objectNo, ObjectName, Line, ProcedureName, Procedure) "
           "VALUES('3', 1, 'mdl共通', 1, '', 'Option Explicit'),"
           "('3', 1, 'mdl共通', 2, '税込', 'Function 税込() ''<i>'),"
           "('3', 1, 'mdl共通', 3, '税込', '  税込 = 端数'),"
           "('3', 1, 'mdl共通', 4, '税込', 'End Function'),"
           "('3', 1, 'mdl共通', 5, '端数', 'Function 端数()'),"
           "('3', 1, 'mdl共通', 6, '端数', 'End Function');";
}

graph::DependencyGraph SiteGraph() {
    graph::DependencyGraph g;
    const std::string evil(kEvil);
    const auto query = g.addNode(graph::NodeKind::Query, "Q" + evil);
    const auto table = g.addNode(graph::NodeKind::Table, "T" + evil);
    const auto ghost = g.addNode(graph::NodeKind::Table, "幽霊<表>", true);
    g.addNode(graph::NodeKind::Module, "mdl共通");
    const auto tax = g.addProcedure("mdl共通", "税込");
    const auto round = g.addProcedure("mdl共通", "端数");
    g.addEdge({query, table, "SQL", {"Q" + evil, "", "SQL", 0}});
    g.addEdge({query, ghost, "SQL", {"Q" + evil, "", "SQL", 0}});
    g.addEdge({tax, round, "call", {"mdl共通", "", "税込", 3}});
    g.addEdge({tax, query, "OpenQuery", {"mdl共通", "", "税込", 3}});
    return g;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        work_.execute(SiteSql());
        SiteWriter writer(work_, graph_, {});
        SiteOptions options;
        options.fileLine = "app<1>.mdb";
        PublishSite(dir_ / "site", [&](const fs::path& staging) {
            writer.write(staging, options, writer.layOutDiagrams(false));
        });
        for (const auto& page : writer.pages())
            files_[std::string(PageKindLabel(page.kind))] = page.file;
    }

    std::string page(const std::string& kind) { return Read(dir_ / "site" / files_.at(kind)); }

    workdb::WorkDatabase work_ = workdb::WorkDatabase::open(":memory:");
    graph::DependencyGraph graph_ = SiteGraph();
    test::TempDir dir_;
    std::map<std::string, std::string> files_;
};

TEST_F(SiteTest, namesSqlAndCodeNeverBecomeMarkup) {
    for (const auto& entry : fs::directory_iterator(dir_ / "site")) {
        if (entry.path().extension() != ".html")
            continue;
        const auto html = Read(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(html.find("<script>"), std::string::npos);
        EXPECT_EQ(html.find("<b>"), std::string::npos);
        EXPECT_EQ(html.find("<i>"), std::string::npos);
        EXPECT_EQ(html.find("</pre><"), std::string::npos);
        EXPECT_EQ(html.find("<1>"), std::string::npos);
        const std::regex scripts("<script");
        EXPECT_EQ(std::distance(std::sregex_iterator(html.begin(), html.end(), scripts),
                                std::sregex_iterator()),
                  2);
    }
    EXPECT_NE(
        page("テーブル").find("F&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;&#39;"),
        std::string::npos);
    const auto index = Read(dir_ / "site" / "search-index.js");
    EXPECT_TRUE(index.starts_with("window.ZANFOR_SEARCH = ["));
    EXPECT_NE(index.find(R"("F<script>alert(\"x&y\")</script>'")"), std::string::npos);
}

TEST_F(SiteTest, pagesShowTheirObjectsAndLinkEveryUse) {
    const auto table = page("テーブル");
    EXPECT_NE(table.find("<tr id=\"f-2\"><td>2</td><td>F&lt;script"), std::string::npos);
    EXPECT_NE(table.find("<a href=\"" + files_.at("クエリー") + "\">クエリ Q&lt;script"),
              std::string::npos);
    const auto query = page("クエリー");
    EXPECT_NE(query.find("<span class=\"k\">SELECT</span> <span class=\"n\">[F&lt;b&gt;]</span>"),
              std::string::npos);
    EXPECT_NE(query.find("<span class=\"missing\">テーブル 幽霊&lt;表&gt; (見つかりません)"),
              std::string::npos)
        << query;
    const auto module = page("モジュール");
    EXPECT_NE(module.find("<a class=\"proc\" id=\"p-税込\"></a><span class=\"line\" id=\"L2\">"),
              std::string::npos);
    EXPECT_NE(module.find("<a href=\"module-1.html#p-端数\">mdl共通.端数</a>"), std::string::npos);
    EXPECT_NE(module.find("<a href=\"#L3\">mdl共通 / 税込 行 3</a>"), std::string::npos) << module;
}

TEST(SitePages, fileNamesAreNumberedPerKindAndHoldNoName) {
    const auto pages = NamePages({{PageKind::Form, "b"},
                                  {PageKind::Table, "../x"},
                                  {PageKind::Form, "A"},
                                  {PageKind::Table, "CON"},
                                  {PageKind::Form, "a:b"},
                                  {PageKind::Query, "CON"}});
    const char* expected[] = {"form-3.html",  "table-1.html", "form-1.html",
                              "table-2.html", "form-2.html",  "query-1.html"};
    for (std::size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(pages[i].file, expected[i]) << pages[i].name;
}

TEST(SiteHighlight, damagedTextStaysEscapedAndClosed) {
    const struct {
        std::string_view text;
        std::string expected;
        bool sql;
    } cases[] = {
        {"WHERE a = 'open <b",
         "<span class=\"k\">WHERE</span> a = <span class=\"s\">&#39;open &lt;b</span>", true},
        {"FROM [T<", "<span class=\"k\">FROM</span> <span class=\"n\">[T&lt;</span>", true},
        {"select 'it''s'",
         "<span class=\"k\">select</span> <span class=\"s\">&#39;it&#39;&#39;s&#39;</span>", true},
        {"x = \"a\"\"b", "x = <span class=\"s\">&quot;a&quot;&quot;b</span>", false},
        {"If a Then ' note \"<",
         "<span class=\"k\">If</span> a <span class=\"k\">Then</span> "
         "<span class=\"c\">&#39; note &quot;&lt;</span>",
         false},
        {"Rem x: y", "<span class=\"c\">Rem x: y</span>", false},
        {"s = \"'\" & t", "s = <span class=\"s\">&quot;&#39;&quot;</span> &amp; t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.sql ? HighlightSql(c.text) : HighlightCode(c.text), c.expected) << c.text;
}

TEST(SitePublish, replacesOnlyItsOwnSiteAndLeavesNothingHalfWritten) {
    test::TempDir dir;
    const auto site = dir / "site";
    fs::create_directories(site);
    std::ofstream(site / "notes.txt") << "mine";
    try {
        PublishSite(site, [](const fs::path&) { FAIL() << "a foreign folder was written over"; });
        FAIL();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), host::err::kFileAlreadyExists);
    }
    fs::remove(site / "notes.txt");
    PublishSite(site, [](const fs::path& s) { std::ofstream(s / "index.html") << "1"; });
    PublishSite(site, [](const fs::path& s) { std::ofstream(s / "index.html") << "2"; });
    EXPECT_EQ(Read(site / "index.html"), "2");
    EXPECT_THROW(PublishSite(site,
                             [](const fs::path& s) {
                                 std::ofstream(s / "index.html") << "3";
                                 throw std::runtime_error("failed");
                             }),
                 std::runtime_error);
    EXPECT_EQ(Read(site / "index.html"), "2");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
