#include "site/graph_svg.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zanfor::site {
namespace {

using graph::DependencyGraph;
using graph::NodeKind;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

bool HaveDot() { return std::system("dot -V >/dev/null 2>&1") == 0; }

// 受注フォーム → q受注 → 受注 (and a missing table); the form's code looks 受注 up.
DependencyGraph Small() {
    DependencyGraph g;
    const auto form = g.addNode(NodeKind::Form, "受注フォーム");
    const auto query = g.addNode(NodeKind::Query, "q受注");
    const auto table = g.addNode(NodeKind::Table, "受注");
    const auto missing = g.addNode(NodeKind::Table, "旧受注", true);
    g.addNode(NodeKind::Table, "孤立");
    g.addEdge({form, query, "record source", {"受注フォーム"}});
    g.addEdge({form, query, "row source", {"受注フォーム", "cbo"}});
    g.addEdge({query, table, "SQL", {"q受注"}});
    g.addEdge({query, missing, "SQL", {"q受注"}});
    const auto click = g.addProcedure("Form_受注フォーム", "cmd_Click");
    g.addEdge({form, click, "event", {"受注フォーム", "cmd", "OnClick"}});
    g.addEdge({click, table, "DLookup", {"Form_受注フォーム", "", "", 3}});
    return g;
}

const PageOf kPages = [](std::size_t n) { return "o/" + std::to_string(n) + ".html"; };

TEST(NeighbourhoodDot, linksEachObjectMarksTheCentreAndMergesParallelUses) {
    const auto g = Small();
    const std::string dot = NeighbourhoodDot(g, 1, 1, kPages);
    EXPECT_NE(dot.find("<クエリ<br/>q受注>"), std::string::npos) << dot;
    EXPECT_NE(dot.find("URL=\"o/0.html\""), std::string::npos);
    EXPECT_EQ(dot.find("URL=\"o/3.html\""), std::string::npos);  // a missing object has no page
    EXPECT_EQ(Count(dot, "penwidth"), 1u);
    EXPECT_NE(dot.find("[label=<レコードソース, 値集合ソース>]"), std::string::npos);
    EXPECT_EQ(NeighbourhoodDot(g, 4, 2, kPages), "");  // nothing to draw but itself

    const std::string form = NeighbourhoodDot(g, 0, 1, kPages);  // its code is part of it
    EXPECT_NE(form.find("<フォーム 受注フォーム> -> <テーブル 受注> [label=<DLookup>]"),
              std::string::npos)
        << form;
    EXPECT_EQ(form.find("cmd_Click"), std::string::npos);
}

TEST(NeighbourhoodDot, aBigNeighbourhoodIsCutAndSaysHowMuchWasLeft) {
    DependencyGraph g;
    const auto table = g.addNode(NodeKind::Table, "T");
    for (int i = 0; i < 50; ++i)
        g.addEdge({g.addNode(NodeKind::Query, "q" + std::to_string(i)), table, "SQL", {}});
    const std::string dot = NeighbourhoodDot(g, table, 1, kPages);
    EXPECT_EQ(Count(dot, "URL="), 40u);
    EXPECT_NE(dot.find("…他 11 件"), std::string::npos);
    EXPECT_EQ(dot.find("label=<SQL>"), std::string::npos);  // too many arrows to label
}

TEST(RelationshipsDot, joinsTheFieldsAndLeavesOutSystemTables) {
    std::vector<host::dao::Relation> relations = {
        {"r1", 0, "得意先", "受注", {{"ID", "得意先ID"}}},
        {"r2", host::dao::dbRelationDontEnforce, "社員", "受注", {{"ID", "担当ID"}}},
        {"r3", 0, "Shop", "受注", {{"ID", "ShopID"}}},
        {"r4", 0, "SHOP", "受注", {{"id", "SHOPID"}}},  // the same table, field and arrow
        {"nav", 0, "MSysNavPaneGroups", "MSysNavPaneGroupToObjects", {{"Id", "GroupID"}}}};
    const std::string dot =
        RelationshipsDot(relations, [](const std::string& t) { return "t/" + t + ".html"; });
    EXPECT_NE(dot.find("<得意先>:f0 -> <受注>:f0 [taillabel=\"1\", headlabel=\"∞\"]"),
              std::string::npos)
        << dot;
    EXPECT_NE(dot.find("<社員>:f0 -> <受注>:f1 [style=dashed]"), std::string::npos);
    EXPECT_EQ(dot.find("MSys"), std::string::npos);
    EXPECT_EQ(dot.find("SHOP"), std::string::npos);
    EXPECT_EQ(Count(dot, "<Shop>:f0 -> <受注>:f2"), 2u);
    EXPECT_EQ(RelationshipsDot({relations.back()}, {}), "");
}

TEST(LayOutSvg, hostileNamesComeOutAsTextAndLinksStay) {
    if (!HaveDot())
        GTEST_SKIP() << "Graphviz (dot) is not installed";
    DependencyGraph g;
    const std::string hostile = "<script>alert(\"x&y\")</script> \\N &lt; end\\";
    const auto form = g.addNode(NodeKind::Form, hostile);
    g.addEdge({form, g.addNode(NodeKind::Table, "T"), "record source", {}});
    std::string why;
    const auto svgs =
        LayOutSvg({NeighbourhoodDot(g, form, 1, [](std::size_t) { return "a b\"&\\.html"; })}, why);
    ASSERT_TRUE(svgs) << why;
    const std::string& svg = (*svgs)[0];
    EXPECT_TRUE(svg.starts_with("<svg")) << svg;
    EXPECT_EQ(svg.find("<script"), std::string::npos);
    EXPECT_EQ(svg.find("<!--"), std::string::npos);
    EXPECT_NE(
        svg.find("&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt; \\N &amp;lt; end\\"),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find("xlink:href=\"a%20b%22%26%5C.html\""), std::string::npos);
}

TEST(LayOutSvg, manyGraphsComeBackInOrderAndABrokenOneIsNamed) {
    if (!HaveDot())
        GTEST_SKIP() << "Graphviz (dot) is not installed";
    std::vector<std::string> dots;
    for (int i = 0; i < 7; ++i)
        dots.push_back("digraph { a" + std::to_string(i) + " -> b; }");
    dots[2] = "digraph { a -> ; }";
    dots[5] = "";
    std::string why;
    const auto svgs = LayOutSvg(dots, why);
    ASSERT_TRUE(svgs);
    ASSERT_EQ(svgs->size(), 7u);
    for (const int i : {0, 1, 3, 4, 6})
        EXPECT_NE((*svgs)[i].find(">a" + std::to_string(i) + "<"), std::string::npos) << i;
    EXPECT_EQ((*svgs)[2], "");
    EXPECT_EQ((*svgs)[5], "");
    EXPECT_NE(why.find("3 番目"), std::string::npos) << why;

    const std::string path = std::getenv("PATH");
    setenv("PATH", "/nonexistent", 1);
    const auto none = LayOutSvg({dots[0]}, why);
    setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(none);
    EXPECT_NE(why.find("dot"), std::string::npos);
}

}  // namespace
}  // namespace zanfor::site
