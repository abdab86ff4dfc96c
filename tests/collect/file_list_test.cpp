#include "collect/file_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "collect/collector_fixture.h"
#include "util/encoding.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using host::memory::MemoryTargetBuilder;
using test::CollectorFixture;
namespace fs = std::filesystem;

TEST(FileList, namesMatchDirPatternsAsWindowsMatchedThem) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {{"data.mdb", "*.m*", true},  {"SYSTEM.MDW", "*.m*", true},
                          {"a.mdb.bak", "*.m*", true}, {"data.ldb", "*.m*", false},
                          {"mdb", "*.m*", false},      {"data.ｍdb", "*.m*", false},
                          {"README", "*.*", true},     {"data", "data.*", true},
                          {"販売.md", "*.m*", true},   {"\xff\xfe.mdb", "*.m*", true}};
    for (const auto& c : cases)
        EXPECT_EQ(collect::MatchesDirPattern(c.name, c.pattern), c.matches) << c.name;
}

TEST(FileList, damagedConnectStringsNameNoFileOrWhatTheyHold) {
    EXPECT_EQ(collect::LinkedFilePath(";=;DATABASE;;=x"), std::nullopt);
    EXPECT_EQ(collect::LinkedFilePath(std::string("\0;database= \xff ;", 15)), "\xff");
}

void Touch(const fs::path& file, std::size_t bytes = 0) {
    util::WriteFileAtomically(file, std::string(bytes, 'x'));
}

fs::path FolderOf(const CollectorFixture& f) { return fs::path(f.state.targetPath).parent_path(); }

bool Saw(const CollectorFixture& f, std::string_view prefix, std::string_view part = {}) {
    return std::ranges::any_of(f.ui.events, [&](const std::string& e) {
        return e.starts_with(prefix) && e.find(part) != std::string::npos;
    });
}

TEST(FileList, theDatabaseFamilyBesideTheTargetWithItsReadOnlyMark) {
    MemoryTargetBuilder b("/x.mdb");
    auto f = CollectorFixture::ForMemory(b);  // target.mdb of 10 KB
    for (const char* name : {"target.ldb", "system.mdw", "メモ.txt", ".hidden.mdb"})
        Touch(FolderOf(f) / name, 512);
    ASSERT_EQ(::chmod((FolderOf(f) / "system.mdw").c_str(), 0444), 0);
    fs::create_directory(FolderOf(f) / "old.mdb");
    auto ctx = f.context();
    ASSERT_EQ(collect::RunFileList(ctx), RunResult::Collected);
    const std::string folder = FolderOf(f).string() + "/";
    EXPECT_EQ(f.rows("SELECT FileName, FileSize, FilePath, ReadOnly, FileNo < 3 FROM T_AcFile "
                     "ORDER BY 1"),
              (std::vector<std::string>{"system.mdw|0.5|" + folder + "|1|1",
                                        "target.mdb|10|" + folder + "|0|1"}));
}

TEST(FileList, linkedFilesOncePerTableOdbcLinksLeftOutAMissingFileReported) {
    MemoryTargetBuilder b("/x.mdb");
    b.table("T在庫").link(";DATABASE=C:\\db\\在庫.mdb", "在庫");
    b.table("V売上").link("ODBC;DSN=販売;DATABASE=sales;UID=sa", "dbo.売上");
    b.table("T在庫2").link(";DATABASE=C:\\db\\在庫.mdb", "在庫2");
    b.table("X表").link("Excel 8.0;HDR=YES;IMEX=2;DATABASE=C:\\x\\表.xls", "Sheet1$");
    auto f = CollectorFixture::ForMemory(b);
    Touch(FolderOf(f) / "在庫.mdb", 2048);  // found under its name beside the target
    f.state.options.file = 2;
    auto ctx = f.context();
    EXPECT_EQ(collect::RunFileList(ctx), RunResult::Failed);
    EXPECT_EQ(f.rows("SELECT FileNo, FileName, FileSize, FilePath, UpdateDate IS NULL "
                     "FROM T_AcFile ORDER BY FileNo"),
              (std::vector<std::string>{"1|在庫.mdb|2|C:\\db\\|0", "2|在庫.mdb|2|C:\\db\\|0",
                                        "3|表.xls|0|C:\\x\\|1"}));
    EXPECT_TRUE(Saw(f, "box:場所:ファイル一覧ｴﾗｰNo:3049\n", "C:\\x\\表.xls: ｴﾗｰNo:3024"));
    EXPECT_FALSE(Saw(f, "box:", "sales"));
    EXPECT_TRUE(Saw(f, "report:R_AcFile:0"));
}

}  // namespace
