#include "graph/dependency_graph.h"

#include <algorithm>

#include "util/vb_string.h"

namespace zanfor::graph {

namespace {

struct KindText {
    std::string_view label;
    std::string_view name;
};

constexpr KindText kKinds[] = {{"テーブル", "table"},        {"クエリ", "query"},
                               {"フォーム", "form"},         {"レポート", "report"},
                               {"マクロ", "macro"},          {"モジュール", "module"},
                               {"プロシージャ", "procedure"}};

std::string keyOf(NodeKind kind, std::string_view name) {
    return std::to_string(static_cast<int>(kind)) + ':' + util::UCase(name);
}

}  // namespace

std::string_view KindLabel(NodeKind kind) { return kKinds[static_cast<std::size_t>(kind)].label; }
std::string_view KindName(NodeKind kind) { return kKinds[static_cast<std::size_t>(kind)].name; }

std::size_t DependencyGraph::addNode(NodeKind kind, std::string name, bool missing) {
    const std::string key = keyOf(kind, name);
    if (const auto it = byKey_.find(key); it != byKey_.end()) {
        nodes_[it->second].missing = nodes_[it->second].missing && missing;
        return it->second;
    }
    nodes_.push_back({.kind = kind, .name = std::move(name), .missing = missing});
    out_.emplace_back();
    in_.emplace_back();
    byKey_.emplace(key, nodes_.size() - 1);
    return nodes_.size() - 1;
}

std::size_t DependencyGraph::addProcedure(const std::string& module, const std::string& procedure) {
    const std::size_t node = addNode(NodeKind::Procedure, module + "." + procedure);
    nodes_[node].module = module;
    nodes_[node].procedure = procedure;
    return node;
}

std::optional<std::size_t> DependencyGraph::find(NodeKind kind, std::string_view name) const {
    const auto it = byKey_.find(keyOf(kind, name));
    return it == byKey_.end() ? std::nullopt : std::optional(it->second);
}

void DependencyGraph::addEdge(Edge edge) {
    const bool known = std::any_of(out_[edge.from].begin(), out_[edge.from].end(), [&](auto i) {
        const Edge& e = edges_[i];
        return e.to == edge.to && e.kind == edge.kind && e.where == edge.where;
    });
    if (known)
        return;
    out_[edge.from].push_back(edges_.size());
    in_[edge.to].push_back(edges_.size());
    edges_.push_back(std::move(edge));
}

void DependencyGraph::addStartPoint(std::size_t node, std::string reason) {
    const bool known = std::any_of(startPoints_.begin(), startPoints_.end(),
                                   [&](const StartPoint& s) { return s.node == node; });
    if (!known)
        startPoints_.push_back({node, std::move(reason)});
}

std::vector<std::size_t> DependencyGraph::named(std::string_view name) const {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (util::EqualsIgnoreCase(nodes_[i].name, name) ||
            (nodes_[i].kind == NodeKind::Procedure &&
             util::EqualsIgnoreCase(nodes_[i].procedure, name)))
            found.push_back(i);
    }
    // The code behind a form or report has no node of its own: its procedures stand for it.
    return found.empty() ? proceduresOf(name) : found;
}

std::vector<std::size_t> DependencyGraph::proceduresOf(std::string_view module) const {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].kind == NodeKind::Procedure &&
            util::EqualsIgnoreCase(nodes_[i].module, module))
            found.push_back(i);
    }
    return found;
}

}  // namespace zanfor::graph
