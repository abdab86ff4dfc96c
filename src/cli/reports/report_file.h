#pragma once

// A report of the work database written to a file, inside the report engine module.

#include <filesystem>
#include <string_view>

#include "workdb/work_database.h"

namespace zanfor::cli::reports {

// PDF or HTML by the extension of `file` (.pdf or .html); `dbFile` is where `db` lives, never
// written over. Safe on a worker thread with a connection of its own. Host errors: unknown
// report, a wrong extension (5), an existing file that is not such a report (58), file errors.
void WriteReportFile(const workdb::WorkDatabase& db, const std::filesystem::path& dbFile,
                     std::string_view name, const std::filesystem::path& file);

}  // namespace zanfor::cli::reports
