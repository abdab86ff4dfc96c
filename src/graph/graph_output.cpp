#include "graph/graph_output.h"

#include <algorithm>
#include <set>
#include <utility>

#include "util/json_writer.h"

namespace zanfor::graph {

namespace {

using util::JsonWriter;

constexpr std::string_view kUses = "使用しているもの";
constexpr std::string_view kUsedBy = "使用されているもの";
constexpr std::string_view kNone = "（なし）";

std::size_t far(const Edge& e, bool forward) { return forward ? e.to : e.from; }

void writeLocation(JsonWriter& w, const Location& where) {
    w.beginObject();
    w.key("object").value(where.object);
    if (!where.control.empty())
        w.key("control").value(where.control);
    if (!where.property.empty())
        w.key("property").value(where.property);
    if (where.line > 0)
        w.key("line").value(static_cast<std::int64_t>(where.line));
    w.endObject();
}

void writeNode(JsonWriter& w, const Node& n) {
    w.beginObject();
    w.key("kind").value(KindName(n.kind));
    w.key("name").value(n.name);
    if (n.missing)
        w.key("missing").value(true);
    w.endObject();
}

void writeEdge(JsonWriter& w, const DependencyGraph& g, const Edge& e, int depth) {
    w.beginObject();
    w.key("from");
    writeNode(w, g.nodes()[e.from]);
    w.key("to");
    writeNode(w, g.nodes()[e.to]);
    w.key("kind").value(e.kind);
    w.key("where");
    writeLocation(w, e.where);
    if (depth > 0)
        w.key("depth").value(depth);
    w.endObject();
}

void writeDynamic(JsonWriter& w, const DependencyGraph& g, const DynamicReference& d) {
    w.beginObject();
    w.key("from");
    writeNode(w, g.nodes()[d.from]);
    w.key("kind").value(d.kind);
    w.key("expression").value(d.expression);
    w.key("couldName").beginArray();
    for (const NodeKind k : d.couldName)
        w.value(KindName(k));
    w.endArray();
    w.key("where");
    writeLocation(w, d.where);
    w.endObject();
}

// The start's own dynamic references (its procedures' for a module).
std::vector<const DynamicReference*> dynamicsOf(const DependencyGraph& g, std::size_t node) {
    std::vector<const DynamicReference*> found;
    const Node& n = g.nodes()[node];
    for (const auto& d : g.dynamics()) {
        const Node& from = g.nodes()[d.from];
        if (d.from == node || (n.kind == NodeKind::Module && from.kind == NodeKind::Procedure &&
                               from.module == n.name))
            found.push_back(&d);
    }
    return found;
}

void writeDotNode(const DependencyGraph& g, std::size_t i, std::ostream& out) {
    const Node& n = g.nodes()[i];
    out << "  n" << i << " [label=" << DotQuote(NodeTitle(n)) << (n.missing ? ", style=dashed" : "")
        << "];\n";
}

void writeDot(const DependencyGraph& g, const std::set<std::size_t>& nodes,
              const std::vector<std::size_t>& edges, std::ostream& out) {
    out << "digraph dependencies {\n  rankdir=LR;\n  node [shape=box];\n";
    for (const std::size_t i : nodes)
        writeDotNode(g, i, out);
    for (const std::size_t i : edges) {
        const Edge& e = g.edges()[i];
        out << "  n" << e.from << " -> n" << e.to << " [label=" << DotQuote(EdgeLabel(e.kind))
            << "];\n";
    }
    out << "}\n";
}

}  // namespace

std::vector<Reach> Walk(const DependencyGraph& g, std::size_t start, int depth, bool forward) {
    std::vector<Reach> found;
    std::set<std::size_t> seen{start};
    std::vector<std::size_t> level{start};
    if (g.nodes()[start].kind == NodeKind::Module) {
        for (const std::size_t p : g.proceduresOf(g.nodes()[start].name)) {
            seen.insert(p);
            level.push_back(p);
        }
    }
    for (int step = 1; step <= depth && !level.empty(); ++step) {
        std::vector<std::size_t> next;
        for (const std::size_t node : level) {
            for (const std::size_t i : forward ? g.outgoing(node) : g.incoming(node)) {
                found.push_back({i, step});
                if (seen.insert(far(g.edges()[i], forward)).second)
                    next.push_back(far(g.edges()[i], forward));
            }
        }
        level = std::move(next);
    }
    return found;
}

std::string NodeTitle(const Node& node) {
    std::string title = std::string(KindLabel(node.kind)) + " " + node.name;
    return node.missing ? title + " (見つかりません)" : title;
}

std::string_view EdgeLabel(std::string_view kind) {
    // The names Access's Japanese property sheet and help give these uses.
    static constexpr std::pair<std::string_view, std::string_view> kLabels[] = {
        {"record source", "レコードソース"},
        {"row source", "値集合ソース"},
        {"subform", "サブフォーム"},
        {"subreport", "サブレポート"},
        {"control source", "コントロールソース"},
        {"domain function", "定義域集計関数"},
        {"group level", "並べ替え/グループ化"},
        {"event", "イベント"},
        {"call", "呼び出し"},
        {"function", "関数"},
        {"menu bar", "メニューバー"},
        {"toolbar", "ツールバー"},
        {"shortcut menu", "ショートカットメニュー"},
        {"condition", "条件式"},
        {"argument", "引数"},
    };
    for (const auto& [id, label] : kLabels) {
        if (id == kind)
            return label;
    }
    return kind;  // SQL and the names of actions and DoCmd methods, as the code writes them
}

std::string LocationText(const Location& where) {
    std::string text = where.object;
    for (const std::string* part : {&where.control, &where.property}) {
        if (!part->empty())
            text += " / " + *part;
    }
    if (where.line > 0)
        text += " 行 " + std::to_string(where.line);
    return text;
}

std::string DotQuote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (c == '\n' || c == '\r') {
            quoted += "\\n";
            continue;
        }
        quoted += c;
    }
    return quoted + "\"";
}

void WriteProblemsText(const DependencyGraph& g, std::ostream& out) {
    if (g.problems().empty())
        return;
    out << "読めなかったもの (ここからの参照は含まれていません): " << g.problems().size()
        << " 件\n";
    for (const auto& p : g.problems())
        out << "  " << p.object << "\tエラー番号:" << p.number << "\t" << p.description << "\n";
}

void WriteProblemsJson(const DependencyGraph& g, JsonWriter& w) {
    w.beginArray();
    for (const auto& p : g.problems()) {
        w.beginObject();
        w.key("object").value(p.object);
        w.key("number").value(p.number);
        w.key("description").value(p.description);
        w.endObject();
    }
    w.endArray();
}

void WriteDepsText(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                   std::ostream& out) {
    for (const std::size_t start : nodes) {
        out << NodeTitle(g.nodes()[start]) << "\n";
        for (const bool forward : {true, false}) {
            out << "  " << (forward ? kUses : kUsedBy) << ":\n";
            const auto reach = Walk(g, start, depth, forward);
            if (reach.empty())
                out << "    " << kNone << "\n";
            for (const Reach& r : reach) {
                const Edge& e = g.edges()[r.edge];
                const std::string indent(2 + 2 * static_cast<std::size_t>(r.depth), ' ');
                out << indent << NodeTitle(g.nodes()[far(e, forward)]);
                if (r.depth > 1)
                    out << " ← " << g.nodes()[forward ? e.from : e.to].name;
                out << "  [" << EdgeLabel(e.kind) << "]  場所: " << LocationText(e.where) << "\n";
            }
        }
        const auto dynamics = dynamicsOf(g, start);
        if (!dynamics.empty()) {
            out << "  実行時に組み立てる名前 (参照先を特定できません):\n";
            for (const auto* d : dynamics)
                out << "    " << d->kind << " " << d->expression
                    << "  場所: " << LocationText(d->where) << "\n";
        }
    }
    WriteProblemsText(g, out);
}

void WriteDepsJson(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                   std::ostream& out) {
    JsonWriter w(out);
    w.beginArray();
    for (const std::size_t start : nodes) {
        w.beginObject();
        w.key("node");
        writeNode(w, g.nodes()[start]);
        for (const bool forward : {true, false}) {
            w.key(forward ? "uses" : "usedBy").beginArray();
            for (const Reach& r : Walk(g, start, depth, forward))
                writeEdge(w, g, g.edges()[r.edge], r.depth);
            w.endArray();
        }
        w.key("dynamic").beginArray();
        for (const auto* d : dynamicsOf(g, start))
            writeDynamic(w, g, *d);
        w.endArray();
        w.endObject();
    }
    w.endArray();
    out << "\n";
}

void WriteDepsDot(const DependencyGraph& g, const std::vector<std::size_t>& nodes, int depth,
                  std::ostream& out) {
    std::set<std::size_t> shown(nodes.begin(), nodes.end());
    std::vector<std::size_t> edges;
    for (const std::size_t start : nodes) {
        for (const bool forward : {true, false}) {
            for (const Reach& r : Walk(g, start, depth, forward)) {
                if (std::find(edges.begin(), edges.end(), r.edge) != edges.end())
                    continue;
                edges.push_back(r.edge);
                shown.insert(g.edges()[r.edge].from);
                shown.insert(g.edges()[r.edge].to);
            }
        }
    }
    writeDot(g, shown, edges, out);
}

void WriteGraphJson(const DependencyGraph& g, std::ostream& out) {
    JsonWriter w(out);
    w.beginObject();
    w.key("nodes").beginArray();
    for (const Node& n : g.nodes())
        writeNode(w, n);
    w.endArray();
    w.key("edges").beginArray();
    for (const Edge& e : g.edges())
        writeEdge(w, g, e, 0);
    w.endArray();
    w.key("dynamic").beginArray();
    for (const auto& d : g.dynamics())
        writeDynamic(w, g, d);
    w.endArray();
    w.key("startPoints").beginArray();
    for (const auto& s : g.startPoints()) {
        w.beginObject();
        w.key("node");
        writeNode(w, g.nodes()[s.node]);
        w.key("reason").value(s.reason);
        w.endObject();
    }
    w.endArray();
    w.key("problems");
    WriteProblemsJson(g, w);
    w.endObject();
    out << "\n";
}

void WriteGraphDot(const DependencyGraph& g, std::ostream& out) {
    std::set<std::size_t> nodes;
    for (std::size_t i = 0; i < g.nodes().size(); ++i)
        nodes.insert(i);
    std::vector<std::size_t> edges(g.edges().size());
    for (std::size_t i = 0; i < edges.size(); ++i)
        edges[i] = i;
    writeDot(g, nodes, edges, out);
}

}  // namespace zanfor::graph
