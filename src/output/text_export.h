#pragma once

// The CSV and text exports of the output window: the rows of a work-database view or table
// written to a file in the style of VB's Write # (CSV) or Print # (text), CR LF line ends, in
// CP932 as the program's other files.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/value.h"
#include "output/output_panel.h"

namespace zanfor::output {

enum class TextEncoding { Cp932, Utf8WithBom };

// A value that CP932 cannot hold and that was written with "?" in its place.
struct LostText {
    std::int64_t record = 0;  // from 1, in the order written
    std::string item;         // the column heading, or what the line held
};

struct ExportResult {
    std::int64_t records = 0;
    std::vector<LostText> lost;
};

// One value as Write # puts it between commas: text in double quotes (an embedded quote
// doubled, so a reader gets the value back), numbers bare, #yyyy-mm-dd hh:mm:ss# dates,
// #TRUE#/#FALSE#, #NULL#.
std::string CsvField(const host::Value& value);

// Writes the export of a CSV or text kind to exactly `file`, through a temporary file beside
// it, replacing a file of that name. Host errors: the source missing (3078), a file that
// cannot be written (3051, 76, 3024).
ExportResult WriteExport(OutputKind kind, const workdb::WorkDatabase& work,
                         const std::filesystem::path& file,
                         TextEncoding encoding = TextEncoding::Cp932);

// The warning shown after an export that had to drop characters: how many values, and the
// first of them by record and item. Empty when nothing was lost.
std::string LostTextWarning(std::span<const LostText> lost);

}  // namespace zanfor::output
