#include "collect/vocabulary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanfor::collect {
namespace {

using TextLookup = std::string (*)(std::string_view);

struct TextCase {
    const char* function;
    TextLookup lookup;
    std::string_view input;
    std::string_view expected;
};

#define LOOKUP(fn) #fn, &fn

TEST(VocabularyTest, TextLookupsMatchExactlyAndFallBack) {
    const std::vector<TextCase> cases = {{LOOKUP(QueryTypeName), "144", "ﾊﾟｽｽﾙｰ&更新ｸｴﾘｰ"},
                                         {LOOKUP(QueryTypeName), "016", "System"},
                                         {LOOKUP(QueryTypeName), "16 ", "System"},
                                         {LOOKUP(ControlTypeName), "124", "Page"},
                                         {LOOKUP(ControlTypeName), "113", "?"},
                                         {LOOKUP(ControlTypeLabel), "Subform", "ｻﾌﾞﾌｫｰﾑ/ｻﾌﾞﾚﾎﾟｰﾄ"},
                                         {LOOKUP(ControlTypeLabel), "textbox", "?"},
                                         {LOOKUP(FieldTypeName), "9", "?"},
                                         {LOOKUP(RowSourceTypeName), "value list", "?"},
                                         {LOOKUP(RowSourceTypeName), "Value List", "値ﾘｽﾄ"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.function) + "(\"" + std::string(c.input) + "\")");
        EXPECT_EQ(c.lookup(c.input), c.expected);
    }
}

TEST(VocabularyTest, AccessConstantIgnoresCaseAndReturnsUnknownWordsUnchanged) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"acpreview", "印刷ﾌﾟﾚﾋﾞｭｰ"},
        {"ACCMDCLOSEWINDOW", "ｳｨﾝﾄﾞｳを閉じる"},
        {"acCmdZoom10", "ｽﾞｰﾑ(10%)"},
        {"acImportDerim", "区切り記号付きｲﾝﾎﾟｰﾄ"},
        {"acImportDelim", "acImportDelim"},
        {"acCmdClos", "acCmdClos"},
        {"ａｃＦｏｒｍ", "ａｃＦｏｒｍ"},
        {std::string_view("True\0", 5), std::string_view("True\0", 5)}};
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(std::string(input));
        EXPECT_EQ(AccessConstantLabel(input), expected);
    }
}

TEST(VocabularyTest, MacroActionNoComparesWholeFiveCharactersWithCase) {
    const std::vector<std::pair<std::string_view, std::int16_t>> cases = {
        {"OpenF", 21}, {"Echo ", 4}, {"openf", 99}, {"OpenFo", 99}, {"Echo", 99}, {"", 99},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(std::string(input));
        EXPECT_EQ(MacroActionNo(input), expected);
    }
}

}  // namespace
}  // namespace zanfor::collect
