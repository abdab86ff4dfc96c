#include "cli/report_engine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace {

using zanfor::cli::FindReportModule;
using zanfor::cli::kReportModuleName;

// The build tree keeps the module beside the program, an installed prefix in lib/zanfor; the
// program's own folder wins when both have one.
TEST(ReportEngine, findsTheModuleInTheBuildTreeAndInAnInstalledPrefix) {
    const struct {
        std::vector<std::string> modules;
        std::string found;
    } cases[] = {
        {{"bin"}, "bin"},
        {{"lib/zanfor"}, "lib/zanfor"},
        {{"bin", "lib/zanfor"}, "bin"},
        {{"lib"}, ""},
    };
    for (const auto& c : cases) {
        zanfor::test::TempDir prefix;
        for (const auto& folder : c.modules) {
            std::filesystem::create_directories(prefix / folder);
            std::ofstream(prefix.path() / folder / kReportModuleName) << "module";
        }
        std::string tried;
        const auto found = FindReportModule(prefix / "bin/zanfor-cli", tried);
        EXPECT_EQ(found, c.found.empty() ? std::filesystem::path()
                                         : prefix.path() / c.found / kReportModuleName)
            << c.found;
        if (c.found.empty()) {
            EXPECT_NE(tried.find((prefix / "lib/zanfor").string()), std::string::npos) << tried;
        }
    }
}

}  // namespace
