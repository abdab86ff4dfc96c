#include "graph/unused.h"

#include <algorithm>
#include <map>
#include <set>

#include "graph/graph_output.h"
#include "util/json_writer.h"
#include "util/vb_string.h"

namespace zanfor::graph {

namespace {

// The edges that open a form or report by its name.
constexpr std::string_view kOpening[] = {"OpenForm", "OpenReport", "SelectObject", "OutputTo",
                                         "SendObject"};

bool opens(const Edge& e) {
    return std::any_of(std::begin(kOpening), std::end(kOpening),
                       [&](std::string_view k) { return util::EqualsIgnoreCase(e.kind, k); });
}

std::vector<bool> reachable(const DependencyGraph& g) {
    std::vector<bool> reached(g.nodes().size(), false);
    std::vector<std::size_t> pending;
    const auto reach = [&](std::size_t node) {
        if (!reached[node]) {
            reached[node] = true;
            pending.push_back(node);
        }
    };
    for (const auto& s : g.startPoints())
        reach(s.node);
    for (const Edge& e : g.edges()) {
        const NodeKind kind = g.nodes()[e.to].kind;
        if (opens(e) && (kind == NodeKind::Form || kind == NodeKind::Report))
            reach(e.to);
    }
    while (!pending.empty()) {
        const std::size_t node = pending.back();
        pending.pop_back();
        for (const std::size_t i : g.outgoing(node))
            reach(g.edges()[i].to);
    }
    return reached;
}

// Up to three of the objects that name it, each once.
std::string namers(const DependencyGraph& g, std::size_t node) {
    std::vector<std::string> names;
    for (const std::size_t i : g.incoming(node)) {
        if (g.edges()[i].from == node)
            continue;
        const std::string title = NodeTitle(g.nodes()[g.edges()[i].from]);
        if (std::find(names.begin(), names.end(), title) == names.end())
            names.push_back(title);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < 3; ++i)
        text += (i ? "、" : "") + names[i];
    return names.size() > 3 ? text + " ほか" : text;
}

class Finder {
public:
    explicit Finder(const DependencyGraph& g) : g_(g), reached_(reachable(g)) {
        for (const auto& d : g.dynamics()) {
            for (const NodeKind k : d.couldName)
                dynamic_.emplace(k, &d);
        }
    }

    std::vector<UnusedEntry> run() {
        std::vector<UnusedEntry> entries;
        for (std::size_t i = 0; i < g_.nodes().size(); ++i) {
            const Node& n = g_.nodes()[i];
            if (n.missing)
                continue;
            std::optional<UnusedEntry> entry;
            switch (n.kind) {
                case NodeKind::Table:
                    entry = table(i);
                    break;
                case NodeKind::Procedure:
                    entry = procedure(i);
                    break;
                case NodeKind::Module:
                    break;
                default:
                    entry = unreached(i);
            }
            if (entry)
                entries.push_back(std::move(*entry));
        }
        for (std::size_t i = 0; i < g_.nodes().size(); ++i) {
            if (g_.nodes()[i].kind == NodeKind::Module)
                module(i, entries);
        }
        spreadDoubt(entries);
        std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
            return g_.nodes()[a.node].kind < g_.nodes()[b.node].kind;
        });
        return entries;
    }

private:
    // Less than sure when run-time names could mean this kind of object.
    UnusedEntry judged(std::size_t node, std::string why) {
        UnusedEntry e{node, true, std::move(why)};
        // A procedure named at run time could be any module's.
        const NodeKind kind = g_.nodes()[node].kind;
        const auto it = dynamic_.find(kind == NodeKind::Module ? NodeKind::Procedure : kind);
        if (it != dynamic_.end()) {
            e.sure = false;
            e.why += "。実行時に組み立てる名前で使われるかもしれません (" + it->second->kind + " " +
                     it->second->expression + "、" + LocationText(it->second->where) + ")";
        }
        return e;
    }

    std::optional<UnusedEntry> table(std::size_t node) {
        if (!g_.incoming(node).empty())
            return std::nullopt;
        return judged(node,
                      "クエリ、フォーム、レポート、マクロ、コードのどれも名前を使っていません");
    }

    std::optional<UnusedEntry> unreached(std::size_t node) {
        if (reached_[node])
            return std::nullopt;
        const std::string by = namers(g_, node);
        UnusedEntry e =
            judged(node, by.empty() ? "どこからも参照されていません"
                                    : "参照しているのは使われていない " + by + " だけです");
        if (g_.startPoints().empty()) {
            e.sure = false;
            e.why += "。起動時に開くもの (スタートアップフォーム、AutoExec) がありません";
        }
        return e;
    }

    std::optional<UnusedEntry> procedure(std::size_t node) {
        const Node& n = g_.nodes()[node];
        if (!g_.incoming(node).empty() || util::EqualsIgnoreCase(n.procedure, "Class_Initialize") ||
            util::EqualsIgnoreCase(n.procedure, "Class_Terminate"))
            return std::nullopt;
        UnusedEntry e = judged(node, "どこからも呼ばれていません");
        if (n.eventShaped) {
            e.sure = false;
            e.why =
                "イベントプロシージャの名前ですが、イベントプロパティに [Event Procedure] が"
                "設定されていません";
        }
        return e;
    }

    // A module nothing outside it calls into; its own procedures calling each other, and the
    // class events Initialize and Terminate, keep nothing alive.
    void module(std::size_t node, std::vector<UnusedEntry>& entries) {
        const std::string& name = g_.nodes()[node].name;
        const auto procedures = g_.proceduresOf(name);
        if (procedures.empty())
            return;
        for (const std::size_t p : procedures) {
            for (const std::size_t i : g_.incoming(p)) {
                const Node& from = g_.nodes()[g_.edges()[i].from];
                if (from.kind != NodeKind::Procedure || !util::EqualsIgnoreCase(from.module, name))
                    return;
            }
        }
        UnusedEntry e = judged(node, "モジュールの外から呼ばれるプロシージャがありません");
        if (g_.nodes()[node].publicDeclarations) {
            e.sure = false;
            e.why += "。公開の変数、定数、型や外部関数の宣言が使われているかもしれません";
        }
        entries.push_back(std::move(e));
    }

    // What an unreached object that may be used after all uses may be used too.
    void spreadDoubt(std::vector<UnusedEntry>& entries) {
        std::map<std::size_t, UnusedEntry*> byNode;
        for (auto& e : entries)
            byNode[e.node] = &e;
        std::vector<std::size_t> pending;
        for (const auto& e : entries) {
            if (!e.sure)
                pending.push_back(e.node);
        }
        while (!pending.empty()) {
            const std::size_t node = pending.back();
            pending.pop_back();
            for (const std::size_t i : g_.outgoing(node)) {
                const auto it = byNode.find(g_.edges()[i].to);
                if (it == byNode.end() || !it->second->sure)
                    continue;
                it->second->sure = false;
                it->second->why +=
                    "。使うものが使われているかもしれません (" + NodeTitle(g_.nodes()[node]) + ")";
                pending.push_back(it->first);
            }
        }
    }

    const DependencyGraph& g_;
    std::vector<bool> reached_;
    std::multimap<NodeKind, const DynamicReference*> dynamic_;
};

}  // namespace

std::vector<UnusedEntry> FindUnused(const DependencyGraph& g) { return Finder(g).run(); }

std::string_view SurenessLabel(bool sure) { return sure ? "確実" : "不確実"; }

void WriteUnusedText(const DependencyGraph& g, const std::vector<UnusedEntry>& entries,
                     std::ostream& out) {
    out << "使われていないもの: " << entries.size() << " 件\n";
    for (const auto& e : entries)
        out << "  " << NodeTitle(g.nodes()[e.node]) << "\t" << SurenessLabel(e.sure) << "\t"
            << e.why << "\n";
    WriteProblemsText(g, out);
}

void WriteUnusedJson(const DependencyGraph& g, const std::vector<UnusedEntry>& entries,
                     std::ostream& out) {
    util::JsonWriter w(out);
    w.beginObject();
    w.key("unused").beginArray();
    for (const auto& e : entries) {
        const Node& n = g.nodes()[e.node];
        w.beginObject();
        w.key("kind").value(KindName(n.kind));
        w.key("name").value(n.name);
        w.key("sure").value(e.sure);
        w.key("why").value(e.why);
        w.endObject();
    }
    w.endArray();
    w.key("problems");
    WriteProblemsJson(g, w);
    w.endObject();
    out << "\n";
}

}  // namespace zanfor::graph
