#pragma once

// Helpers shared by the tests: temporary folders and the real test inputs.

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

// ../shared/testdata seen from the project root, or nothing when that folder is absent (a
// fresh clone elsewhere); tests that need it skip themselves then.
std::optional<std::filesystem::path> SharedTestData();

// The file's bytes, for comparing a file before and after a run.
std::string FileBytes(const std::filesystem::path& path);

}  // namespace zanfor::test
