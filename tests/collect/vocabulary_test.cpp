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
    const std::vector<TextCase> cases = {
        {LOOKUP(QueryTypeName), "0", "選択ｸｴﾘｰ"},
        {LOOKUP(QueryTypeName), "8", "選択ｸｴﾘｰ(隠し)"},
        {LOOKUP(QueryTypeName), "144", "ﾊﾟｽｽﾙｰ&更新ｸｴﾘｰ"},
        {LOOKUP(QueryTypeName), "4", "System"},
        {LOOKUP(QueryTypeName), "", "System"},
        {LOOKUP(QueryTypeName), " 16", "System"},
        {LOOKUP(QueryTypeName), "016", "System"},
        {LOOKUP(QueryTypeName), "16.0", "System"},
        {LOOKUP(QueryTypeName), "16 ", "System"},
        {LOOKUP(ControlTypeName), "124", "Page"},
        {LOOKUP(ControlTypeName), "113", "?"},
        {LOOKUP(ControlTypeName), "10", "?"},
        {LOOKUP(ControlTypeLabel), "Page", "ﾍﾟｰｼﾞ"},
        {LOOKUP(ControlTypeLabel), "PageBreak", "改ﾍﾟｰｼﾞ"},
        {LOOKUP(ControlTypeLabel), "Subform", "ｻﾌﾞﾌｫｰﾑ/ｻﾌﾞﾚﾎﾟｰﾄ"},
        {LOOKUP(ControlTypeLabel), "textbox", "?"},
        {LOOKUP(FieldTypeName), "1", "Yes/No型"},
        {LOOKUP(FieldTypeName), "10", "ﾃｷｽﾄ型"},
        {LOOKUP(FieldTypeName), "9", "?"},
        {LOOKUP(EventPropertyLabel), "OnKeyPress", "ｷｰ入力時"},
        {LOOKUP(EventPropertyLabel), "OnOpen", "開く時"},
        {LOOKUP(EventPropertyLabel), "AfterDelConfirm", "削除後確認"},
        {LOOKUP(EventPropertyLabel), "onclick", "?"},
        {LOOKUP(EventPropertyLabel), "On", "?"},
        {LOOKUP(LineStyleName), "2", "破線１"},
        {LOOKUP(LineStyleName), "8", "?"},
        {LOOKUP(ImeModeName), "1", "オン"},
        {LOOKUP(ImeModeName), "6", "半角ｶﾀｶﾅ"},
        {LOOKUP(ImeModeName), "9", "?"},
        {LOOKUP(RowSourceTypeName), "Value List", "値ﾘｽﾄ"},
        {LOOKUP(RowSourceTypeName), "value list", "?"},
        {LOOKUP(OleTypeName), "3", "なし"},
        {LOOKUP(OleTypeName), "2", "?"},
        {LOOKUP(SizeModeName), "3", "ｽﾞｰﾑ"},
        {LOOKUP(SizeModeName), "2", "?"},
        {LOOKUP(YesNoName), "True", "はい"},
        {LOOKUP(YesNoName), "False", "いいえ"},
        {LOOKUP(YesNoName), "true", "?"},
        {LOOKUP(YesNoName), "0", "?"},
        {LOOKUP(YesNoName), "-1", "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.function) + "(\"" + std::string(c.input) + "\")");
        EXPECT_EQ(c.lookup(c.input), c.expected);
    }
}

TEST(VocabularyTest, AccessConstantIgnoresCaseAndReturnsUnknownWordsUnchanged) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"acpreview", "印刷ﾌﾟﾚﾋﾞｭｰ"},
        {"True", "はい"},
        {"acCmdClose", "閉じる"},
        {"ACCMDCLOSEWINDOW", "ｳｨﾝﾄﾞｳを閉じる"},
        {"acCmdZoom10", "ｽﾞｰﾑ(10%)"},
        {"acCmdZoom100", "ｽﾞｰﾑ(100%)"},
        {"vbQuestion", "注意?"},
        {"acCmdSend", "送信"},
        {"acImportDerim", "区切り記号付きｲﾝﾎﾟｰﾄ"},
        {"acImportDelim", "acImportDelim"},
        {"acCmdClos", "acCmdClos"},
        {"myForm", "myForm"},
        {"ａｃＦｏｒｍ", "ａｃＦｏｒｍ"},
        {"", ""},
        {std::string_view("True\0", 5), std::string_view("True\0", 5)},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(std::string(input));
        EXPECT_EQ(AccessConstantLabel(input), expected);
    }
}

TEST(VocabularyTest, MacroActionNoComparesWholeFiveCharactersWithCase) {
    const std::vector<std::pair<std::string_view, std::int16_t>> cases = {
        {"RunSQ", 1},  {"OpenF", 21}, {"Echo ", 4},     {"Quit ", 43}, {"OpenD", 98},
        {"OpenV", 54}, {"openf", 99}, {"OpenFo", 99},   {"Echo", 99},  {"Quit", 99},
        {"", 99},      {"OPENF", 99}, {"OpenForm", 99},
    };
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(std::string(input));
        EXPECT_EQ(MacroActionNo(input), expected);
    }
}

}  // namespace
}  // namespace zanfor::collect
