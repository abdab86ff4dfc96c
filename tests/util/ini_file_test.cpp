#include "util/ini_file.h"

#include <gtest/gtest.h>

#include <system_error>
#include <vector>

#include "test_support.h"
#include "util/encoding.h"

namespace zanfor::util {
namespace {

TEST(IniFile, readFollowsPrivateProfileRules) {
    struct Case {
        std::string content, section, key, expected;
    };
    const std::vector<Case> cases = {
        {"[Sec]\r\nKey=Value\r\n", "sec", "KEY", "Value"},
        {"  [ Sec ]  \nkey = v \t\n", "Sec", "key", "v"},
        {"[S]\nk=\"quoted \"\n", "S", "k", "quoted "},
        {"[S]\nk=\"a'\n", "S", "k", "\"a'"},
        {"[S]\n;k=comment\nk=real", "S", "k", "real"},
        {std::string("[S]\nk=a\0b\n", 10), "S", "k", "a"},
        {"[S]\nk=first\nk=second", "S", "k", "first"},
        {"[S]\nj=1\n[T]\n[S]\nk=2", "S", "k", "default"},
        {"k=1\n[S]\n", "S", "k", "default"},
        {"\xEF\xBB\xBF[設定]\nフォルダ=ｃ:\\\n", "設定", "フォルダ", "ｃ:\\"},
        {"[\x90\xDD\x92\xE8]\nk=\x82\xA0\n", "設定", "K", "あ"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        WriteFileAtomically(dir / "a.ini", c.content);
        EXPECT_EQ(IniFile(dir / "a.ini").read(c.section, c.key, "default"), c.expected)
            << c.content;
    }
    EXPECT_EQ(IniFile(dir / "missing.ini").read("S", "k", "d"), "d");
}

TEST(IniFile, firstWriteCreatesCp932FileWithCrLf) {
    test::TempDir dir;
    IniFile ini(dir / "new.ini");
    ini.write("設定", "k", "あ");
    ini.write("設定", "j", "2");
    EXPECT_EQ(test::FileBytes(ini.path()), "[\x90\xDD\x92\xE8]\r\nk=\x82\xA0\r\nj=2\r\n");
    EXPECT_EQ(ini.read("設定", "K", ""), "あ");
}

TEST(IniFile, writeChangesOnlyItsOwnLine) {
    struct Case {
        std::string before, section, key, value, after;
    };
    const std::vector<Case> cases = {
        {"; c\n[A]\n x = 1\n\n[B]\nKey=old\nother=2\n", "b", "key", "new",
         "; c\r\n[A]\r\n x = 1\r\n\r\n[B]\r\nkey=new\r\nother=2\r\n"},
        {"[A]\nx=1\n\n[B]\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\n"},
        {"[A]\nx=1", "C", "y", "2", "[A]\r\nx=1\r\n[C]\r\ny=2\r\n"},
        {"[A]\nx=1\n[A]\nx=2\n", "A", "x", "3", "[A]\r\nx=3\r\n[A]\r\nx=2\r\n"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        WriteFileAtomically(dir / "a.ini", c.before);
        IniFile(dir / "a.ini").write(c.section, c.key, c.value);
        EXPECT_EQ(test::FileBytes(dir / "a.ini"), c.after) << c.before;
    }
}

TEST(IniFile, writeCutsValueAtLineBreakSoFileStaysIntact) {
    test::TempDir dir;
    IniFile ini(dir / "a.ini");
    ini.write("S", "k", "a\r\n[Evil]\r\nx=1");
    EXPECT_EQ(ini.read("S", "k", ""), "a");
    EXPECT_EQ(ini.read("Evil", "x", "none"), "none");
}

TEST(IniFile, writeOverUnreadablePathThrowsAndKeepsIt) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "a.ini");
    IniFile ini(dir / "a.ini");
    EXPECT_THROW(ini.write("S", "k", "v"), std::system_error);
    EXPECT_TRUE(std::filesystem::is_directory(ini.path()));
    EXPECT_EQ(ini.read("S", "k", "d"), "d");
}

}  // namespace
}  // namespace zanfor::util
