// Any bytes as a workbook: reading it and doing what the workbook routine does to a sheet must
// end in a host error or a workbook, never a crash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/error.h"
#include "output/xlsx_workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zanfor;
    try {
        auto book =
            output::XlsxWorkbook::fromBytes(std::string(reinterpret_cast<const char*>(data), size));
        const int sheets = static_cast<int>(book.sheetNames().size());
        for (int s = 0; s < sheets && s < 4; ++s) {
            const int last = book.lastUsedRow(s);
            book.cellText(s, 1, 1);
            book.clearContents(s, {2, 1, last + 2, 3});
            book.setValue(s, 2, 1, "x");
            book.setValue(s, 3, 1, 1.5);
            book.drawThinBorders(s, {1, 1, 3, 3});
            book.setAutoFilter(s, {1, 1, 3, 3});
            book.autoFitRows(s, 1, 3);
            book.autoFitColumns(s, 1, 3);
            book.addPivotTable(s, {1, 1, 3, 3}, "P", 1, 2, 3);
            book.activate(s, 2, 1, false);
        }
        book.toBytes();
    } catch (const host::Error&) {
    }
    return 0;
}
