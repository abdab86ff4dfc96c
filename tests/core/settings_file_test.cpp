#include "core/settings_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using namespace zanfor::app;
using zanfor::test::TempDir;
using zanfor::util::IniFile;

RecentFiles recentOf(const IniFile& ini) { return ReadSettings(ini).recent; }

TEST(Settings, recentMenuShowsSetEntriesCaptionedWithThePath) {
    const auto menu = RecentFileMenu({"/x/a.mdb", "0", "/x/b.mdb", ""});
    EXPECT_TRUE(menu[0].visible);
    EXPECT_EQ(menu[0].caption, "/x/a.mdb");
    EXPECT_FALSE(menu[1].visible);
    EXPECT_TRUE(menu[2].visible);
    EXPECT_FALSE(menu[3].visible);
}

TEST(RecentFiles, theOpenedPathGoesToTheHeadOnceAndTheRestMoveDown) {
    struct Case {
        RecentFiles before;
        std::string opened;
        RecentFiles after;
    };
    const Case cases[] = {
        {{"/1", "/2", "/3", "/4"}, "/new", {"/new", "/1", "/2", "/3"}},
        {{"/b", "/a", "0", "0"}, "/a", {"/a", "/b", "0", "0"}},
        // Gaps left by editing the file by hand keep no stale copy.
        {{"/b", "0", "/a", "0"}, "/a", {"/a", "/b", "0", "0"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        std::filesystem::remove(dir / "Zanfor.ini");
        IniFile ini(dir / "Zanfor.ini");
        WriteRecentFiles(ini, c.opened, c.before);
        EXPECT_EQ(recentOf(ini), c.after) << c.opened;
    }
}

TEST(RecentFiles, theHeadPathOrAnEmptyPathWritesNothing) {
    TempDir dir;
    IniFile ini(dir / "Zanfor.ini");
    const RecentFiles before{"/d/1.mdb", "0", "0", "0"};
    WriteRecentFiles(ini, "/d/1.mdb", before);
    WriteRecentFiles(ini, "", before);
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
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
