#include "host/export/json_value.h"

#include <gtest/gtest.h>

#include "host/export/expect_error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

TEST(ExportJson, keepsMemberOrderAndReadsEveryValueKind) {
    const auto v = ParseJson(
        "\uFEFF{\"z\": 1, \"a\": [true, false, null, -2.5e1], \"s\": "
        "\"\\\"\\u53d7\\ud83d\\udde9\\n\", "
        "\"o\": {}}",
        "x.json");
    ASSERT_EQ(v.members.size(), 4u);
    EXPECT_EQ(v.members[1].first, "a");
    EXPECT_EQ(v.find("Z")->asInteger(), 1);
    const auto& a = v.find("a")->items;
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].asText(), "True");
    EXPECT_DOUBLE_EQ(a[3].asDouble(), -25.0);
    EXPECT_EQ(a[2].kind, JsonValue::Kind::Null);
    EXPECT_FALSE(a[3].isIntegral());
    EXPECT_EQ(v.find("s")->text, "\"受🗩\n");
    EXPECT_EQ(v.find("o")->kind, JsonValue::Kind::Object);
}

TEST(ExportJson, malformedJsonNamesTheLine) {
    const std::pair<std::string, int> cases[] = {
        {"{\n  \"a\": 1,\n  \"b\" 2\n}", 3},
        {"{\"a\": \"open}", 1},
        {"[1, 2]\nextra", 2},
        {"{\n\"a\": tru}", 2},
        {std::string(500, '[') + std::string(500, ']'), 1},
        {"", 1},
    };
    for (const auto& [text, line] : cases)
        zanfor::test::ExpectError([&] { ParseJson(text, "x.json"); }, err::kExportMalformed,
                                  "x.json' の " + std::to_string(line) + " 行目");
}

}  // namespace
