#include "host/export/json_value.h"

#include <gtest/gtest.h>

#include "host/error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

TEST(ExportJson, keepsMemberOrderAndReadsEveryValueKind) {
    const auto v = ParseJson(
        "\xEF\xBB\xBF{\"z\": 1, \"a\": [true, false, null, -2.5e1], \"s\": "
        "\"\\\"\\u53d7\\ud83d\\udde"
        "9\\n\", \"o\": {}}",
        "x.json");
    ASSERT_EQ(v.members.size(), 4u);
    EXPECT_EQ(v.members[0].first, "z");
    EXPECT_EQ(v.members[1].first, "a");
    EXPECT_TRUE(v.find("z")->isIntegral());
    EXPECT_EQ(v.find("Z")->asInteger(), 1);
    const auto& a = v.find("a")->items;
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].asText(), "True");
    EXPECT_EQ(a[2].kind, JsonValue::Kind::Null);
    EXPECT_FALSE(a[3].isIntegral());
    EXPECT_DOUBLE_EQ(a[3].asDouble(), -25.0);
    EXPECT_EQ(v.find("s")->text, "\"受🗩\n");
    EXPECT_EQ(v.find("o")->kind, JsonValue::Kind::Object);
}

TEST(ExportJson, malformedJsonNamesTheLine) {
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"{\n  \"a\": 1,\n  \"b\" 2\n}", 3},
        {"{\"a\": \"open}", 1},
        {"[1, 2]\nextra", 2},
        {"{\n\"a\": tru}", 2},
        {std::string(500, '[') + std::string(500, ']'), 1},
        {"", 1},
    };
    for (const auto& c : cases) {
        try {
            ParseJson(c.text, "x.json");
            ADD_FAILURE() << "no error for " << c.text.substr(0, 20);
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kExportMalformed);
            EXPECT_NE(e.description().find("x.json' の " + std::to_string(c.line) + " 行目"),
                      std::string::npos)
                << e.description();
        }
    }
}

}  // namespace
