#include "core/settings_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using namespace zanfor::app;
using zanfor::test::TempDir;
using zanfor::util::IniFile;

RecentFiles recentOf(const IniFile& ini) { return ReadSettings(ini).recent; }

TEST(Settings, firstStartWithoutAFileReadsTheDefaults) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    const auto s = ReadSettings(ini);
    EXPECT_EQ(s.top, 0);
    EXPECT_EQ(s.left, 0);
    EXPECT_TRUE(IsUnsetValue(s.defaultFolder));
    for (const auto& entry : RecentFileMenu(s.recent))
        EXPECT_FALSE(entry.visible);
}

TEST(Settings, recentMenuShowsSetEntriesCaptionedWithThePath) {
    const auto menu = RecentFileMenu({"/x/a.mdb", "0", "/x/b.mdb", ""});
    EXPECT_TRUE(menu[0].visible);
    EXPECT_EQ(menu[0].caption, "/x/a.mdb");
    EXPECT_FALSE(menu[1].visible);
    EXPECT_TRUE(menu[2].visible);
    EXPECT_FALSE(menu[3].visible);
}

TEST(RecentFiles, newPathGoesToTheHeadAndTheOldFourthDropsOut) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    const RecentFiles before{"/d/1.mdb", "/d/2.mdb", "/d/3.mdb", "/d/4.mdb"};
    WriteRecentFiles(ini, "/d/new.mdb", before);
    EXPECT_EQ(recentOf(ini), (RecentFiles{"/d/new.mdb", "/d/1.mdb", "/d/2.mdb", "/d/3.mdb"}));
}

TEST(RecentFiles, aPathFurtherDownMovesToTheHeadWithoutADuplicate) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    ini.write("RECENT", "RecentFile1", "C:\\x\\b.mdb");
    ini.write("RECENT", "RecentFile2", "C:\\x\\a.mdb");
    WriteRecentFiles(ini, "C:\\x\\a.mdb", recentOf(ini));
    EXPECT_EQ(recentOf(ini), (RecentFiles{"C:\\x\\a.mdb", "C:\\x\\b.mdb", "0", "0"}));

    IniFile full(dir / "full.ini");
    const RecentFiles four{"/1", "/2", "/3", "/4"};
    WriteRecentFiles(full, "/4", four);
    EXPECT_EQ(recentOf(full), (RecentFiles{"/4", "/1", "/2", "/3"}));
}

TEST(RecentFiles, gapsLeftByHandEditingDoNotKeepAStaleCopy) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    const RecentFiles gappy{"/b", "0", "/a", "0"};
    WriteRecentFiles(ini, "/a", gappy);
    EXPECT_EQ(recentOf(ini), (RecentFiles{"/a", "/b", "0", "0"}));
}

TEST(RecentFiles, theHeadPathOrAnEmptyPathWritesNothing) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    const RecentFiles before{"/d/1.mdb", "0", "0", "0"};
    WriteRecentFiles(ini, "/d/1.mdb", before);
    WriteRecentFiles(ini, "", before);
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
}

TEST(Shutdown, writesPositionFolderAndRecentList) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    WriteShutdownSettings(ini, 1440, -120, "/home/u/販売.mdb", {"0", "0", "0", "0"});
    const auto s = ReadSettings(ini);
    EXPECT_EQ(s.top, 1440);
    EXPECT_EQ(s.left, -120);
    EXPECT_EQ(s.defaultFolder, "/home/u/");
    EXPECT_EQ(s.recent[0], "/home/u/販売.mdb");
}

TEST(Shutdown, withoutATargetTheFolderIsEmptyAndRecentUnchanged) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    ini.write("RECENT", "RecentFile1", "/keep.mdb");
    WriteShutdownSettings(ini, 0, 0, "", recentOf(ini));
    EXPECT_EQ(ini.read("DEF", "Folder", "missing"), "");
    EXPECT_EQ(recentOf(ini), (RecentFiles{"/keep.mdb", "0", "0", "0"}));
}

}  // namespace
