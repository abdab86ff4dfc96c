#pragma once

// One dependency graph of a target: its tables, queries, forms, reports, macros, modules and
// VBA procedures, and an edge wherever one of them names another, with the place it was found
// so that a user can go there. A name that points at nothing in the target still gets its edge,
// to a node marked missing: a broken reference is what a user most wants to see. Names built at
// run time cannot be followed; they are kept apart as dynamic references.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zanfor::graph {

enum class NodeKind { Table, Query, Form, Report, Macro, Module, Procedure };

// "テーブル", "クエリ", ...: the labels the text output shows.
std::string_view KindLabel(NodeKind kind);
// "table", "query", ...: the names of the JSON and DOT output.
std::string_view KindName(NodeKind kind);

struct Node {
    NodeKind kind = NodeKind::Table;
    std::string name{};       // a procedure's is "Module.Procedure"
    std::string module{};     // a procedure's module; "Form_F" / "Report_R" for the code behind
    std::string procedure{};  // a procedure's own name
    bool missing = false;     // named somewhere, not in the target
    // A procedure of the code behind a form or report named as an event procedure of the
    // object or one of its controls (`cmdOK_Click`).
    bool eventShaped = false;
    // A module that declares public variables, constants, types or external functions, which
    // code elsewhere may use without calling any of its procedures.
    bool publicDeclarations = false;
};

// Where a reference was found: the object (for code, its module), the control and property of
// a design, the macro of a group and its action, or the line of a module.
struct Location {
    std::string object{};
    std::string control{};
    std::string property{};
    long line = 0;

    bool operator==(const Location&) const = default;
};

struct Edge {
    std::size_t from = 0;
    std::size_t to = 0;
    std::string kind{};  // "record source", "OpenForm", "call", ...
    Location where;
};

// A name built at run time (`DoCmd.OpenForm strName`): any object of the kinds it could name
// may be the one meant.
struct DynamicReference {
    std::size_t from = 0;
    std::string kind{};
    std::vector<NodeKind> couldName{};
    std::string expression{};
    Location where;
};

// Something that could not be read; the graph was built from the rest.
struct Problem {
    std::string object{};
    int number = 0;
    std::string description{};
};

struct StartPoint {
    std::size_t node = 0;
    std::string reason{};  // "スタートアップフォーム", "AutoExec", ...
};

class DependencyGraph {
public:
    // The node of that kind and name (compared without regard to case, as Access names are),
    // added when there is none. A missing node found later in the target loses its mark.
    std::size_t addNode(NodeKind kind, std::string name, bool missing = false);
    std::size_t addProcedure(const std::string& module, const std::string& procedure);
    std::optional<std::size_t> find(NodeKind kind, std::string_view name) const;
    // The same reference found twice in one place is one edge.
    void addEdge(Edge edge);
    void addDynamic(DynamicReference reference) { dynamics_.push_back(std::move(reference)); }
    void addProblem(Problem problem) { problems_.push_back(std::move(problem)); }
    void addStartPoint(std::size_t node, std::string reason);
    void markEventShaped(std::size_t node) { nodes_[node].eventShaped = true; }
    void markPublicDeclarations(std::size_t node) { nodes_[node].publicDeclarations = true; }

    const std::vector<Node>& nodes() const { return nodes_; }
    const std::vector<Edge>& edges() const { return edges_; }
    const std::vector<DynamicReference>& dynamics() const { return dynamics_; }
    const std::vector<Problem>& problems() const { return problems_; }
    const std::vector<StartPoint>& startPoints() const { return startPoints_; }

    // Edge indices, in the order the edges were found.
    const std::vector<std::size_t>& outgoing(std::size_t node) const { return out_[node]; }
    const std::vector<std::size_t>& incoming(std::size_t node) const { return in_[node]; }
    // The nodes a user's NAME means: the name of any node, or a procedure's own name, or else
    // the procedures of the module so named ("Form_F").
    std::vector<std::size_t> named(std::string_view name) const;
    // The procedures of a module, in the order they were added.
    std::vector<std::size_t> proceduresOf(std::string_view module) const;

private:
    std::vector<Node> nodes_;
    std::vector<Edge> edges_;
    std::vector<DynamicReference> dynamics_;
    std::vector<Problem> problems_;
    std::vector<StartPoint> startPoints_;
    std::vector<std::vector<std::size_t>> out_;
    std::vector<std::vector<std::size_t>> in_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

}  // namespace zanfor::graph
