#pragma once

// The dependency graph as a user reads it: what one object uses and what uses it, to a given
// depth, as text, JSON or Graphviz DOT, and the whole graph as JSON or DOT.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "graph/dependency_graph.h"
#include "util/json_writer.h"

namespace zanfor::graph {

// The edges met walking from `start` up to `depth` steps, each with the step it was met at
// (1 for the start's own). A module starts from its procedures as well.
struct Reach {
    std::size_t edge = 0;
    int depth = 0;
};
std::vector<Reach> Walk(const DependencyGraph& g, std::size_t start, int depth, bool forward);

// "フォーム 受注", with "(見つかりません)" for a missing object.
std::string NodeTitle(const Node& node);
// The Japanese name of an edge kind ("record source" → "レコードソース"); SQL and the names of
// actions and DoCmd methods as they are.
std::string_view EdgeLabel(std::string_view kind);
// "受注 / cmdOK / OnClick", "modUtil / Main 行 12".
std::string LocationText(const Location& where);
// A DOT string literal: quotes, backslashes and line breaks escaped.
std::string DotQuote(std::string_view text);

// What could not be read, so that a reader knows the graph may lack what it held; nothing
// when everything was read.
void WriteProblemsText(const DependencyGraph& g, std::ostream& out);
void WriteProblemsJson(const DependencyGraph& g, util::JsonWriter& w);

void WriteDepsText(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                   std::ostream& out);
void WriteDepsJson(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                   std::ostream& out);
void WriteDepsDot(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                  std::ostream& out);
void WriteGraphJson(const DependencyGraph& g, std::ostream& out);
void WriteGraphDot(const DependencyGraph& g, std::ostream& out);

}  // namespace zanfor::graph
