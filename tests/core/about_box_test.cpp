#include "core/about_box.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace {

using namespace zanfor::app;

TEST(AboutBox, megabytesHaveTwoDecimalsRoundedHalfUp) {
    const std::pair<std::uintmax_t, std::string> cases[] = {
        {5242, "0.00MB"},     // 0.004999 MB
        {5243, "0.01MB"},     // 0.005000 MB
        {1048575, "1.00MB"},  // just under 1 MB rounds up into the next unit
        {1660944, "1.58MB"}, {18446744073709551615ULL, "17592186044416.00MB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatMegabytes(bytes), text) << bytes;
}

TEST(AboutBox, showsTheTargetsNameDriveAndSizes) {
    zanfor::test::TempDir dir;
    const auto file = dir / "販売管理.mdb";
    std::ofstream(file) << std::string(2 * 1048576 + 10486, 'x');
    const auto figures = AboutBoxFigures(file.string());
    EXPECT_EQ(figures.fileName, "販売管理.mdb");
    EXPECT_EQ(figures.fileSize, "2.01MB");
    EXPECT_EQ(figures.drive, MountPointOf(dir.path()).string());
    EXPECT_TRUE(figures.freeSpace.ends_with("MB"));
}

TEST(AboutBox, anExportFolderWeighsWhatItsFilesDo) {
    zanfor::test::TempDir dir;
    const auto folder = dir / "販売管理.mdb.src";
    std::filesystem::create_directories(folder / "forms");
    std::ofstream(folder / "dbs-properties.json") << std::string(1048576, 'x');
    std::ofstream(folder / "forms" / "メニュー.bas") << std::string(524288, 'x');
    const auto figures = AboutBoxFigures(folder.string());
    EXPECT_EQ(figures.fileName, "販売管理.mdb.src");
    EXPECT_EQ(figures.fileSize, "1.50MB");
}

TEST(AboutBox, nothingIsShownWithoutATargetAndAMissingFileHasNoSize) {
    const auto none = AboutBoxFigures("");
    EXPECT_EQ(none.fileName, "");
    EXPECT_EQ(none.totalSpace, "");
    const auto missing = AboutBoxFigures("/tmp/zanfor-no-such-dir/x.mdb");
    EXPECT_EQ(missing.fileName, "x.mdb");
    EXPECT_EQ(missing.fileSize, "");
}

TEST(AboutBox, theMountPointIsTheTopFolderOfTheSameFileSystem) {
    EXPECT_EQ(MountPointOf("/"), "/");
    EXPECT_EQ(MountPointOf("/proc/self/status"), "/proc");
    const auto tmp = MountPointOf(std::filesystem::temp_directory_path() / "nope" / "x.mdb");
    EXPECT_TRUE(tmp.is_absolute());
}

}  // namespace
