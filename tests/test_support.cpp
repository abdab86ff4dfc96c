#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace zanfor::test {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("zanfor-test-" + std::to_string(rd()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TempProgramFolder::TempProgramFolder() : savedCwd_(std::filesystem::current_path()) {
    if (const char* home = std::getenv("ZANFOR_HOME"))
        savedHome_ = home;
    setenv("ZANFOR_HOME", path().c_str(), 1);
}

TempProgramFolder::~TempProgramFolder() {
    std::error_code ec;
    std::filesystem::current_path(savedCwd_, ec);
    if (savedHome_)
        setenv("ZANFOR_HOME", savedHome_->c_str(), 1);
    else
        unsetenv("ZANFOR_HOME");
}

std::optional<std::filesystem::path> SharedTestData() {
    // The tests run from the build tree; the project root is the source tree's parent.
    const std::filesystem::path root = ZANFOR_SOURCE_DIR;
    auto data = root.parent_path() / "shared" / "testdata";
    if (std::filesystem::is_directory(data))
        return data;
    return std::nullopt;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace zanfor::test
