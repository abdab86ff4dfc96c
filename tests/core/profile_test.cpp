#include "core/profile.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::app;
using zanfor::test::FileBytes;
using zanfor::test::TempDir;

void writeRaw(const std::filesystem::path& file, const std::string& utf8) {
    zanfor::util::WriteFileAtomically(file, zanfor::util::Utf8ToCp932(utf8));
}

TEST(Profile, writesTheFiveLinesInCp932WithCrLfAndReadsThemBack) {
    TempDir dir;
    const auto p =
        ProfileFromTextBoxes("  販売管理 仕様書 ", "株式会社サンプル", "開発部", " 3 ", "山田太郎");
    WriteProfile(dir.path(), p);
    EXPECT_EQ(FileBytes(dir / "Zanfor.dat"),
              zanfor::util::Utf8ToCp932("Title=販売管理 仕様書\r\nKisya=株式会社サンプル\r\n"
                                        "Bumon=開発部\r\nCapTm=3\r\nAuther=山田太郎\r\n"));
    EXPECT_EQ(ReadProfile(dir.path()), p);
}

TEST(Profile, authorIsCutToTwentyOnWritingAndThirtyOnReading) {
    const std::string twentyFive = "あいうえおかきくけこさしすせそたちつてとなにぬねの";
    EXPECT_EQ(ProfileFromTextBoxes("", "", "", "", twentyFive).auther,
              "あいうえおかきくけこさしすせそたちつてと");

    TempDir dir;
    writeRaw(dir / "Zanfor.dat", "Auther=" + std::string(40, 'a') + "\r\n");
    EXPECT_EQ(ReadProfile(dir.path()).auther, std::string(30, 'a'));
}

TEST(Profile, readingFindsKeysAnywhereBeforeTheEqualsSign) {
    TempDir dir;
    writeRaw(dir / "Zanfor.dat",
             "Title=仕様書   \r\n"
             "xxBumon=総務\r\n"
             "Kisya=Title Corporation\r\n"
             "CapTm=123\r\n"
             "unrelated line\r\n");
    const auto p = ReadProfile(dir.path());
    EXPECT_EQ(p.title, "仕様書");
    EXPECT_EQ(p.bumon, "総務");
    // The word Title in a value must not turn the company line into a title line.
    EXPECT_EQ(p.kisya, "Title Corporation");
    EXPECT_EQ(p.capTm, "12");
    EXPECT_EQ(p.auther, "");
}

TEST(Profile, readsUtf8FilesAndAMissingFileAsEmpty) {
    TempDir dir;
    EXPECT_EQ(ReadProfile(dir.path()), Profile{});
    zanfor::util::WriteFileAtomically(dir / "Zanfor.dat", "\xEF\xBB\xBFTitle=見積書\n");
    EXPECT_EQ(ReadProfile(dir.path()).title, "見積書");
}

}  // namespace
