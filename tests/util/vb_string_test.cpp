#include "util/vb_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zanfor::util {
namespace {

TEST(VbString, lenCountsCodePointsAndEachInvalidByteAsOneCharacter) {
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"", 0}, {"日本語", 3}, {"😀x", 2}, {"a\xE3\x81", 3}, {"\xC0\x80", 2}, {"\xED\xA0\x80", 3},
    };
    for (const auto& [text, length] : cases)
        EXPECT_EQ(Len(text), length) << text;
}

TEST(VbString, leftRightMidCutAtCharactersNotBytes) {
    EXPECT_EQ(Left("日本語", 2), "日本");
    EXPECT_EQ(Left("\377あ", 1), "\xFF");
    EXPECT_EQ(Right("日本語", 1), "語");
    EXPECT_EQ(Mid("日本語", 2, 1), "本");
    EXPECT_EQ(Mid("日本語", 0, 1), "日");
    EXPECT_EQ(Mid("abc", 10, 2), "");
    EXPECT_EQ(LeftRTrim("ab  cd", 4), "ab");
}

TEST(VbString, inStrFindsCharacterPositionsAndSkipsMatchesInsideCharacters) {
    struct Case {
        std::size_t start;
        std::string s, find;
        std::size_t expected;
    };
    const std::vector<Case> cases = {
        {0, "abc", "b", 2},        {3, "日本語日本", "本", 5}, {1, "ABC", "b", 0},
        {4, "abc", "", 4},         {5, "abc", "", 0},          {9, "abc", "b", 0},
        {1, "aあ\x81", "\x81", 3}, {1, "あ", "\xE3\x81", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InStr(c.start, c.s, c.find), c.expected)
            << c.start << " " << c.s << " " << c.find;
    }
}

TEST(VbString, inStrRevGivesLastMatch) {
    EXPECT_EQ(InStrRev("abcabc", "bc"), 5u);
    EXPECT_EQ(InStrRev("日本日本", "日"), 3u);
    EXPECT_EQ(InStrRev("aaa", "aa"), 2u);
    EXPECT_EQ(InStrRev("abc", ""), 3u);
    EXPECT_EQ(InStrRev("", ""), 0u);
    EXPECT_EQ(InStrRev("あ\x81", "\x81"), 2u);
}

TEST(VbString, searchesLongTextInLinearTime) {
    std::string text;
    for (int i = 0; i < 500000; ++i)
        text += "あ";
    EXPECT_EQ(InStrRev(text, "あ"), 500000u);
    EXPECT_EQ(InStr(text, "あい"), 0u);
}

TEST(VbString, trimRemovesAsciiAndIdeographicBlanksOnly) {
    EXPECT_EQ(Trim("\u3000 a\u3000"), "a");
    EXPECT_EQ(Trim("\ta\t "), "\ta\t");
    EXPECT_EQ(LTrim(" \u3000x "), "x ");
    EXPECT_EQ(RTrim(" x\u3000 "), " x");
}

TEST(VbString, caseMappingCoversLatinGreekCyrillicAndFullWidthOnly) {
    const std::vector<std::pair<std::string, std::string>> upper = {
        {"abc xyz", "ABC XYZ"}, {"àéþ÷ÿß", "ÀÉÞ÷ÿß"},   {"αβςω", "ΑΒΣΩ"},     {"абяёђ", "АБЯЁЂ"},
        {"ａｚ", "ＡＺ"},       {"あア漢µ", "あア漢µ"}, {"a\377b", "A\377B"},
    };
    for (const auto& [text, expected] : upper)
        EXPECT_EQ(UCase(text), expected) << text;
    EXPECT_EQ(LCase("AZ ÀÉÞ× ΑΣΩ АЯЁЂ ＡＺ"), "az àéþ× ασω аяёђ ａｚ");
}

TEST(VbString, equalsIgnoreCaseComparesUpperCasedText) {
    EXPECT_TRUE(EqualsIgnoreCase("ａé", "Ａé"));
    EXPECT_TRUE(EqualsIgnoreCase("ς", "σ"));
    EXPECT_FALSE(EqualsIgnoreCase("ab", "abc"));
    EXPECT_FALSE(EqualsIgnoreCase("\xC3\xA0", "\xC3\xC3"));
    EXPECT_FALSE(EqualsIgnoreCase("あ", "ア"));
}

TEST(VbString, isValidUtf8RejectsOverlongsSurrogatesAndOutOfRange) {
    for (const std::string text : {"", "日本", "😀", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsValidUtf8(text)) << text;
    for (const std::string text : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                   "\xE3\x81", "\x80", "a\xFF"})
        EXPECT_FALSE(IsValidUtf8(text)) << text;
}

}  // namespace
}  // namespace zanfor::util
