#pragma once

// The pictures of the documentation site: each object's neighbourhood in the dependency graph
// and the tables with their relationships, laid out by Graphviz as SVG placed inside the pages,
// every box a link to its object's page.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "graph/dependency_graph.h"
#include "host/dao.h"

namespace zanfor::site {

// A node's page relative to the site folder; "" when it has none (a missing object).
using PageOf = std::function<std::string(std::size_t node)>;

// The objects within `depth` steps of `node` both ways, as DOT, the centre marked; a module, form
// or report drawn together with its own code. At most 40 boxes, the rest counted in a "…他 N 件"
// note. "" when the object neither uses nor is used by anything: there is nothing to draw.
std::string NeighbourhoodDot(const graph::DependencyGraph& graph, std::size_t node, int depth,
                             const PageOf& pageOf);

// The tables and their relationships, as Access's relationships window shows them (without
// the system tables'). "" when there are none.
std::string RelationshipsDot(
    const std::vector<host::dao::Relation>& relations,
    const std::function<std::string(const std::string& table)>& pageOfTable);

// Each DOT text laid out as SVG ready to sit inside an HTML page (no XML prolog, no DOCTYPE),
// in the order given; "" for an empty text. nullopt, with `why` set, when Graphviz cannot be
// run. A picture Graphviz could not draw comes back "", and `why` names each such one.
std::optional<std::vector<std::string>> LayOutSvg(const std::vector<std::string>& dots,
                                                  std::string& why);

}  // namespace zanfor::site
