#include "util/encoding.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "test_support.h"

namespace zanfor::util {
namespace {

namespace fs = std::filesystem;

TEST(Encoding, cp932DecodesJapaneseAndReplacesOnlyUndecodableCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\x82\xA0\x83\x41\x8A\xBF\x8E\x9A", "あア漢字"},
        {"\\~\xB1", "\\~ｱ"},
        {"a\200b", "a\uFFFDb"},
        {"\x85\x40x", "\uFFFDx"},
        {"a\x82", "a\uFFFD"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(Cp932ToUtf8(bytes), text) << text;
}

TEST(Encoding, decodeCodePageHandlesOtherPagesUtf8AndUnknownPages) {
    EXPECT_EQ(DecodeCodePage("\x80\xE9", 1252), "€é");
    EXPECT_EQ(DecodeCodePage("a\377b\xC3\xA9", 65001), "a\uFFFDbé");
    EXPECT_EQ(DecodeCodePage("a\xE9", 12345), "a\uFFFD");
}

TEST(Encoding, utf8ToCp932ReplacesEachUnencodableCodePointWithOneQuestionMark) {
    EXPECT_EQ(Utf8ToCp932("あ漢ｱ\\"), "\x82\xA0\x8A\xBF\xB1\\");
    EXPECT_EQ(Utf8ToCp932("a😀é€b"), "a???b");
    EXPECT_EQ(Utf8ToCp932("a\xFF\xE3\201b"), "a???b");
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("表示①～")), "表示①～");
}

TEST(Encoding, decodeTextPrefersBomThenValidUtf8ThenCp932) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xE3\x81\x82"), "あ");
    EXPECT_EQ(DecodeText("\xE3\x81\x82"), "あ");
    EXPECT_EQ(DecodeText("\x82\xA0"), "あ");
}

TEST(Encoding, splitLinesAcceptsEveryLineEndWithoutEmptyTail) {
    using V = std::vector<std::string>;
    const std::vector<std::pair<std::string, V>> cases = {
        {"", {}}, {"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, {"\r\n", {""}}, {"a\r\r\n", {"a", ""}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(SplitLines(text), lines);
}

TEST(Encoding, cp932LinesEndWithCrLfAndReadFileBytesFailsCleanly) {
    test::TempDir dir;
    WriteCp932Lines(dir / "l.txt", {"あ", "", "b"});
    EXPECT_EQ(ReadFileBytes(dir / "l.txt"), "\x82\xA0\r\n\r\nb\r\n");
    try {
        ReadFileBytes(dir / "missing");
        FAIL();
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), ENOENT);
    }
    EXPECT_THROW(ReadFileBytes(dir.path()), std::system_error);
}

TEST(Encoding, writeFileAtomicallyReplacesKeepingPermissionsAndLeavesNoTemporaryOnFailure) {
    test::TempDir dir;
    const fs::path target = dir / "a.txt";
    WriteFileAtomically(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    WriteFileAtomically(target, "new");
    EXPECT_EQ(test::FileBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(dir / "sub");
    EXPECT_THROW(WriteFileAtomically(dir / "sub", "x"), std::system_error);
    EXPECT_TRUE(fs::is_directory(dir / "sub"));
    EXPECT_THROW(WriteFileAtomically(dir / "nofolder" / "f", "x"), std::system_error);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace zanfor::util
