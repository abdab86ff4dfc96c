#pragma once

// The template workbook the Excel buttons copy: sheets "Object", "Table" and "Query", each with
// its title in row 1 and the column headings of its export in row 3, so that the rows written
// from row 4 sit under them.

#include <filesystem>

namespace zanfor::output {

void WriteTemplateWorkbook(const std::filesystem::path& path);

}  // namespace zanfor::output
