#pragma once

// Builds the dependency graph of a target from what the program decodes of it: the SQL of its
// queries, the designs of its forms and reports, its macros and the code of its modules. Works
// over any application: a real file's macros are read from their stored rows, a target built in
// code gives its macros' converted text, which is read like any other code.
//
// Nothing escapes for a damaged part: a query whose SQL does not read, a design that does not
// open, a module that does not decode become problems of the graph, and the rest is read on.

#include "graph/dependency_graph.h"
#include "host/access.h"
#include "host/dao.h"

namespace zanfor::graph {

DependencyGraph BuildGraph(host::dao::Database& db, host::access::Application& app);

}  // namespace zanfor::graph
