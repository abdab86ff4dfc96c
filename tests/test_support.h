#pragma once

// Helpers shared by the tests: temporary folders and the real test inputs.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace zanfor::test {

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A temporary folder the program takes for its own: ZANFOR_HOME names it while the object
// lives, and ZANFOR_HOME and the working folder (which starting the program changes) are put
// back afterwards.
class TempProgramFolder : public TempDir {
public:
    TempProgramFolder();
    ~TempProgramFolder();

private:
    std::optional<std::string> savedHome_;
    std::filesystem::path savedCwd_;
};

// ../shared/testdata seen from the project root, or nothing when that folder is absent (a
// fresh clone elsewhere); tests that need it skip themselves then.
std::optional<std::filesystem::path> SharedTestData();

// Declares `name` as the ../shared/testdata folder, or skips the test when it is absent:
//     ZANFOR_REQUIRE_TESTDATA(data);
//     JetFile file(data / "mdb" / "northwind-ja.mdb");
#define ZANFOR_REQUIRE_TESTDATA(name)                           \
    const auto name##_found = ::zanfor::test::SharedTestData(); \
    if (!name##_found)                                          \
        GTEST_SKIP() << "../shared/testdata is absent";         \
    const std::filesystem::path name = *name##_found

// The file's bytes, for comparing a file before and after a run.
std::string FileBytes(const std::filesystem::path& path);

}  // namespace zanfor::test
