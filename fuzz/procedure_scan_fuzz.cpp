// Any procedure names and any module text: the name search gives entries of the table, in table
// order, each once, never the caller's own name, and never crashes or hangs. The input is the
// names, one a line, then a NUL byte, then the module's text; without a NUL the module's own
// procedures are the names.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/access/module_model.h"
#include "vba/module_walk.h"
#include "vba/procedure_references.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zanfor;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<app::ProcedureEntry> table;
    if (const std::size_t nul = input.find('\0'); nul != std::string_view::npos) {
        std::string_view names = input.substr(0, nul);
        input.remove_prefix(nul + 1);
        while (!names.empty()) {
            const std::size_t end = std::min(names.find('\n'), names.size());
            table.push_back({std::string(names.substr(0, end)), "M"});
            names.remove_prefix(std::min(end + 1, names.size()));
        }
    }
    const host::ModuleModel model(input);
    if (table.empty()) {
        for (const host::Procedure& procedure : model.procedures())
            table.push_back({procedure.name, "M"});
    }
    const vba::ProcedureNames names(table);
    bool inComment = false;
    std::vector<std::size_t> found;
    for (const vba::Section& section : vba::SectionsOf(model)) {
        for (long n = section.firstLine; n <= section.lastLine; ++n) {
            names.match(model.Line(n), section.name(), inComment, found);
            for (std::size_t i = 0; i < found.size(); ++i) {
                if (found[i] >= table.size() || (i > 0 && found[i] <= found[i - 1]) ||
                    table[found[i]].procedure == section.name() ||
                    table[found[i]].procedure.empty()) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
