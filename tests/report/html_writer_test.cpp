#include "report/html_writer.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::report;

ReportContent Sample() {
    ReportContent c;
    c.name = "R_AcQerySql";
    c.title = "SQL一覧";
    c.printDate = QDateTime(QDate(2024, 5, 1), QTime(9, 0));
    c.tables.push_back(
        {TableKind::List, {{"名前", 40, Align::Left}, {"件数", 20, Align::Right}}, true, {}});
    c.tables.push_back(
        {TableKind::Info, {{"", 30, Align::Left}, {"", 60, Align::Left}}, false, {}});
    c.blocks = {
        {.type = BlockType::GroupBegin},
        {.type = BlockType::Heading, .text = "Q_<受注> & \"一覧\"", .note = "選択ｸｴﾘｰ"},
        {.type = BlockType::TableBegin, .table = 1},
        {.type = BlockType::Row,
         .cells = {{.text = "SQL", .style = CellStyle::Label},
                   {.text = "SELECT * FROM T WHERE a < 1 AND b > 'x' & c", .code = true}}},
        {.type = BlockType::TableEnd},
        {.type = BlockType::TableBegin, .table = 0},
        {.type = BlockType::GroupBegin, .level = 1},
        {.type = BlockType::RowHeading, .level = 1, .text = "見出し行"},
        {.type = BlockType::Row, .cells = {{.text = "<script>alert(1)</script>"}, {.text = "12"}}},
        {.type = BlockType::GroupEnd, .level = 1},
        {.type = BlockType::TotalRow, .cells = {{.text = "合計"}, {.text = "12"}}},
        {.type = BlockType::TableEnd},
        {.type = BlockType::GroupEnd},
    };
    return c;
}

std::string Html(const ReportContent& c) { return WriteHtml(c).toStdString(); }

TEST(HtmlWriter, everyTextIsEscapedAndThePageNeedsNothingFromOutside) {
    const std::string html = Html(Sample());
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("Q_&lt;受注&gt; &amp; &quot;一覧&quot;"), std::string::npos);
    EXPECT_NE(html.find("a &lt; 1 AND b &gt; 'x' &amp; c"), std::string::npos);
    for (const char* outside : {"src=", "href=", "@import", "url(", "<link", "<script"})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    EXPECT_NE(html.find("<style>"), std::string::npos);
}

TEST(HtmlWriter, tablesUseHeadingCellsForColumnsAndRowLabels) {
    const std::string html = Html(Sample());
    for (const char* expected :
         {"lang=\"ja\">", "<meta charset=\"utf-8\"/>", "<th scope=\"col\">名前</th>",
          "<th scope=\"row\">SQL</th>", "<td class=\"right\">12</td>",
          "<th scope=\"rowgroup\" colspan=\"2\">見出し行", "<tr class=\"total\">",
          "<td class=\"code\">SELECT", "<h2><span>Q_&lt;受注&gt;",
          "<span class=\"note\">選択ｸｴﾘｰ"}) {
        EXPECT_NE(html.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(html.find("<section class=\"group level-1\">"), std::string::npos)
        << "a group inside a table must not open a section inside tbody";
    EXPECT_NE(html.find("<section class=\"group level-0\">"), std::string::npos);
}

}  // namespace
