#include "core/program_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "test_support.h"

namespace {

using namespace zanfor::app;

TEST(PathParts, splitAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(FileNamePart("C:\\a\\b.mdb"), "b.mdb");
    EXPECT_EQ(FolderPart("/home/山田/販売管理.mdb"), "/home/山田/");
    EXPECT_EQ(FolderPart("/data\\sub/x.mdb"), "/data\\sub/");
    EXPECT_EQ(FileNamePart(""), "");
    EXPECT_EQ(FolderPart("plain.mdb"), "");
    EXPECT_EQ(FileNamePart("plain.mdb"), "plain.mdb");
}

TEST(WithExtension, replacesAWholeEndingInAnyCaseAndKeepsEveryOtherName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/a", "/d/a.adb"},
        {"/d/a.adb", "/d/a.adb"},
        {"/d/a.ADB", "/d/a.adb"},
        {"/d/a.txt", "/d/a.txt.adb"},
        {"/d/a.adb.adb", "/d/a.adb.adb"},
        {"/d/readb", "/d/readb.adb"},
        {"/d/販売.Adb", "/d/販売.adb"},
    };
    for (const auto& [chosen, written] : cases)
        EXPECT_EQ(WithExtension(chosen, "adb"), written) << chosen;
    EXPECT_EQ(WithExtension("abc.APT", "apt"), "abc.apt");
}

TEST(ValueAfterEquals, takesTrimmedTextAfterTheFirstEquals) {
    EXPECT_EQ(ValueAfterEquals(";DATABASE=C:\\db\\a.mdb"), "C:\\db\\a.mdb");
    EXPECT_EQ(ValueAfterEquals("a = b = c "), "b = c");
    EXPECT_EQ(ValueAfterEquals("no equals"), "");
    EXPECT_EQ(ValueAfterEquals("x=　全角　"), "全角");
    const std::string longValue(300, 'v');
    EXPECT_EQ(ValueAfterEquals("k=" + longValue), std::string(255, 'v'));
}

TEST(WindowsVersionName, knownVersionsAndEverythingElse) {
    EXPECT_EQ(WindowsVersionName(1, 4, 90), "WinMe");
    EXPECT_EQ(WindowsVersionName(2, 5, 0), "Win2000");
    EXPECT_EQ(WindowsVersionName(2, 5, 1), "ERROR");  // XP
    EXPECT_EQ(WindowsVersionName(1, 5, 0), "ERROR");
}

TEST(TextToLong, readsLeadingDigitsUpToTheFirstNul) {
    EXPECT_EQ(TextToLong("-300"), -300);
    EXPECT_EQ(TextToLong(std::string("12\00034", 5)), 12);
    EXPECT_EQ(TextToLong("15abc"), 15);
    EXPECT_EQ(TextToLong("99999999999"), 0);
}

TEST(ProgramFolder, followsZanforHomeAndCreatesIt) {
    zanfor::test::TempProgramFolder home;
    std::filesystem::remove(home.path());
    EXPECT_EQ(ResolveProgramFolder("/usr/bin/zanfor"), home.path());
    EXPECT_TRUE(std::filesystem::is_directory(home.path()));
}

// An installed program (share/zanfor beside its bin folder) keeps its data in the user's
// folder even when it may write its own, and finds its resources copied there, an edited one
// left alone.
TEST(ProgramFolder, installedProgramUsesTheDataFolderAndGetsMissingResources) {
    zanfor::test::TempProgramFolder home;
    ::unsetenv("ZANFOR_HOME");
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::optional<std::string> savedData =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    std::filesystem::create_directories(home / "usr/bin");
    std::filesystem::create_directories(home / "usr/share/zanfor");
    std::filesystem::create_directories(home / "data/zanfor");
    std::ofstream(home / "usr/share/zanfor/Template.xlsx") << "template";
    std::ofstream(home / "usr/share/zanfor/Zanfor2.html") << "help";
    std::ofstream(home / "data/zanfor/Zanfor2.html") << "edited";

    const auto folder = ResolveProgramFolder(home / "usr/bin/zanfor");
    if (savedData)
        ::setenv("XDG_DATA_HOME", savedData->c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");

    EXPECT_EQ(folder, home / "data/zanfor");
    EXPECT_EQ(zanfor::test::FileBytes(folder / "Template.xlsx"), "template");
    EXPECT_EQ(zanfor::test::FileBytes(folder / "Zanfor2.html"), "edited");
    EXPECT_FALSE(std::filesystem::exists(folder / "Template.xlsx.partial"));
}

}  // namespace
