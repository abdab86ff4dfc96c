// Any text read as SQL and as a VBA statement: the name scanners never crash or hang, every
// table they find has a name, and every argument list they give belongs to a named call.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graph/name_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zanfor::graph;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SqlUses sql = ScanSql(text);
    for (const auto& source : sql.sources) {
        if (source.name.empty())
            __builtin_trap();
    }
    for (const auto& call : sql.calls) {
        if (call.name.empty())
            __builtin_trap();
    }
    for (const auto& use : ScanCode(text)) {
        if (use.kind.empty())
            __builtin_trap();
    }
    for (const auto& call : CallsIn(text)) {
        if (call.name.empty())
            __builtin_trap();
    }
    (void)AssignmentIn(text);
    (void)ParameterNames(text);
    (void)LooksLikeSql(text);
    return 0;
}
