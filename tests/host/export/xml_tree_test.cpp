#include "host/export/xml_tree.h"

#include <gtest/gtest.h>

#include "host/export/expect_error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

TEST(ExportXml, readsElementsAttributesAndText) {
    const auto root = ParseXml(
        "\uFEFF<?xml version=\"1.0\"?>\n<!-- c -->\n<od:root a='1' "
        "b=\"&lt;&amp;&#x53D7;&#21463;&#0;\">"
        "x<child/>y<![CDATA[<raw>]]><child n=\"2\">t</child></od:root>",
        "x.xml");
    EXPECT_EQ(root.name, "od:root");
    EXPECT_EQ(root.attribute("a"), "1");
    EXPECT_EQ(root.attribute("b"), "<&受受\xEF\xBF\xBD");
    EXPECT_EQ(root.text, "xy<raw>");
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[1].attribute("n") + root.children[1].text, "2t");
    EXPECT_EQ(root.line, 3);
}

TEST(ExportXml, malformedXmlNamesTheLine) {
    const std::pair<const char*, int> cases[] = {
        {"<a>\n<b>\n</a>", 3}, {"<a x=1/>", 1},  {"<a>\n<b x=\"open/>\n</a>", 2},
        {"<a></a>\n<b/>", 2},  {"just text", 1}, {"<a>\n<!-- never closed", 2},
    };
    for (const auto& [text, line] : cases)
        zanfor::test::ExpectError([&] { ParseXml(text, "x.xml"); }, err::kExportMalformed,
                                  "x.xml' の " + std::to_string(line) + " 行目");
}

}  // namespace
