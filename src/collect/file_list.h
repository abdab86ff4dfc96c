#pragma once

// The file list (cmdFile "ファイル一覧"): one T_AcFile row per file related to the target;
// report R_AcFile. Option ctx.state.options.file: 1 the database files beside the target
// ("*.m*"), 2 the files its linked tables read, 3 every file beside the target ("*.*").

#include <optional>
#include <string>
#include <string_view>

#include "collect/collector_run.h"

namespace zanfor::collect {

RunResult RunFileList(RunContext& ctx);

// Whether a file name matches a pattern of Dir as Windows matched it: "*" any run of
// characters (none too; dots as well), letters without regard to case, and a pattern ending in
// ".*" also matching the name without an extension ("*.*" matches every name).
bool MatchesDirPattern(std::string_view name, std::string_view pattern);

// The file a linked table reads, as its connect string names it (the value of DATABASE=);
// nothing for an ODBC link, whose DATABASE is a database of the server, not a file, and for a
// connect string that names no file.
std::optional<std::string> LinkedFilePath(std::string_view connect);

}  // namespace zanfor::collect
