#pragma once

// Reports written to files for the command line. Builds without the report engine (the
// sanitizer build) have a version that refuses with a clear message.

#include <filesystem>
#include <string>
#include <string_view>

namespace zanfor::cli {

// Writes one report of the work database to `file`, PDF or HTML by its extension (.pdf or
// .html). Host errors on failure (unknown report, missing work database, an existing file that
// is not such a report, unwritable file, no report engine in this build).
void RenderReportFile(const std::filesystem::path& workDatabase, std::string_view report,
                      const std::filesystem::path& file);

}  // namespace zanfor::cli
