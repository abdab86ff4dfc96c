#pragma once

// What a target could do without: the forms, reports, queries and macros nothing reaches from
// its start points (the startup form, AutoExec, AutoKeys, the menus, and every form and report
// opened by name anywhere), the tables nothing names at all, the procedures nothing calls, and
// the modules all of whose procedures are such. Each with why, and how sure: a name built at
// run time anywhere in the code could be any object of the kinds it may name, so no object of
// those kinds is certainly unused.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "graph/dependency_graph.h"

namespace zanfor::graph {

struct UnusedEntry {
    std::size_t node = 0;
    bool sure = true;
    std::string why{};
};

// In the order tables, queries, forms, reports, macros, modules, procedures.
std::vector<UnusedEntry> FindUnused(const DependencyGraph& g);

// "確実" / "不確実".
std::string_view SurenessLabel(bool sure);

void WriteUnusedText(const DependencyGraph& g, const std::vector<UnusedEntry>& entries,
                     std::ostream& out);
void WriteUnusedJson(const DependencyGraph& g, const std::vector<UnusedEntry>& entries,
                     std::ostream& out);

}  // namespace zanfor::graph
