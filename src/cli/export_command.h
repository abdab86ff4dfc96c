#pragma once

// zanfor-cli export: the output window's exports without the window. The work database (or a
// saved analysis file, read from a private copy) is written to a CSV, text or workbook file.

#include <filesystem>
#include <string>
#include <vector>

namespace zanfor::cli {

// The arguments after "export": KIND [--workdb FILE] [--out FILE] [--target PATH] [--utf8].
// 0 when the file was written, 1 when an error or a message stopped it, 2 on bad usage (the
// reason on standard error; the caller prints the usage).
int RunExport(const std::vector<std::string>& args, const std::filesystem::path& executable);

}  // namespace zanfor::cli
