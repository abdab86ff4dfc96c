#include "graph/graph_builder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "graph/name_scan.h"
#include "host/access/file_application.h"
#include "host/error.h"
#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/procedure_references.h"
#include "vba/procedure_table.h"

namespace zanfor::graph {

namespace {

using host::access::DesignObject;
using host::access::Module;
using host::access::ObjectType;
using Target = CodeUse::Target;

// Jet's "syntax error in query expression": a text of SQL that ends inside a quote or bracket.
constexpr int kSqlSyntaxError = 3075;

// A menu named by a form is a way into the application like the startup form.
constexpr std::pair<std::string_view, std::string_view> kMenuProperties[] = {
    {"MenuBar", "menu bar"}, {"Toolbar", "toolbar"}, {"ShortcutMenuBar", "shortcut menu"}};
constexpr std::pair<std::string_view, std::string_view> kStartupMenus[] = {
    {"StartUpMenuBar", "起動時のメニューバー"},
    {"StartUpShortcutMenuBar", "起動時のショートカットメニュー"}};

// The macro actions that name an object, and which argument does.
struct MacroAction {
    std::string_view action;
    std::size_t argument;
    Target target;
};

constexpr MacroAction kMacroActions[] = {
    {"OpenForm", 0, Target::Form},
    {"OpenForm", 2, Target::Query},
    {"OpenReport", 0, Target::Report},
    {"OpenReport", 2, Target::Query},
    {"OpenQuery", 0, Target::Query},
    {"OpenTable", 0, Target::Table},
    {"RunMacro", 0, Target::Macro},
    {"RunCode", 0, Target::Procedure},
    {"RunSQL", 0, Target::Sql},
    {"ApplyFilter", 0, Target::Query},
    {"TransferText", 2, Target::DataSource},
    {"TransferSpreadsheet", 2, Target::DataSource},
};

// The actions that refer to an object without putting it to use.
constexpr std::string_view kNotUsing[] = {"Close", "Save", "GoToRecord", "DeleteObject"};

// Their first argument is an AcObjectType number, the second the object's name.
// Closing, saving or deleting an object by name refers to it as surely as opening it.
constexpr std::string_view kTypedActions[] = {"SelectObject", "OutputTo",   "SendObject",  "Close",
                                              "Save",         "GoToRecord", "DeleteObject"};

std::vector<NodeKind> kindsOf(Target target) {
    switch (target) {
        case Target::Form:
            return {NodeKind::Form};
        case Target::Report:
            return {NodeKind::Report};
        case Target::Query:
            return {NodeKind::Query};
        case Target::Table:
            return {NodeKind::Table};
        case Target::Macro:
            return {NodeKind::Macro};
        case Target::Procedure:
            return {NodeKind::Procedure};
        case Target::DataSource:
        case Target::Sql:
            break;
    }
    return {NodeKind::Table, NodeKind::Query};
}

bool isEventProperty(std::string_view name) {
    return (name.size() > 2 && name.starts_with("On") && name[2] >= 'A' && name[2] <= 'Z') ||
           name.starts_with("Before") || name.starts_with("After");
}

bool isEventProcedure(std::string_view value) {
    return value == "[Event Procedure]" || value == "[イベント プロシージャ]";
}

// The name VBA gives an object's event procedure: its blanks and signs become "_".
std::string procedureNameOf(std::string_view owner) {
    std::string name(owner);
    for (char& c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80 && !std::isalnum(b) && c != '_')
            c = '_';
    }
    return name;
}

std::string eventProcedure(std::string_view owner, std::string_view property) {
    const std::string_view event = property.starts_with("On") ? property.substr(2) : property;
    return procedureNameOf(owner) + "_" + std::string(event);
}

std::string textOf(const host::Properties& properties, std::string_view name) {
    const auto* p = properties.find(name);
    return p ? util::Trim(p->value.toText()) : std::string();
}

// A property whose value the design does not tell is read as empty: it nearly always is.
template <class Holder>
std::string textOf(const Holder& holder, std::string_view name) {
    return holder.isUnknown(name) ? std::string() : textOf(holder.properties, name);
}

// The code of a module, or of a form or report, or a macro's conversion, to be read.
struct CodeUnit {
    std::string module;  // "" for a converted macro: its text belongs to the macro itself
    std::size_t owner = 0;
    std::shared_ptr<const Module> code;
};

class Builder {
public:
    Builder(host::dao::Database& db, host::access::Application& app) : db_(db), app_(app) {}

    DependencyGraph build() {
        attempt("", [&] { objects(); });
        designs();
        modules();
        procedures();
        for (const auto& q : db_.queryDefs()) {
            if (!q.name.starts_with('~'))
                attempt(q.name, [&] { query(q); });
        }
        for (const auto& held : designs_)
            attempt(held.second.name, [&] { design(held.first, held.second); });
        for (const auto& doc : db_.documents("Scripts"))
            attempt(doc.name, [&] { macro(doc.name); });
        const vba::ProcedureNames names(table_);
        for (const CodeUnit& unit : units_)
            attempt(unit.module, [&] { code(unit, names); });
        resolvePending();
        attempt("", [&] { startPoints(); });
        return std::move(g_);
    }

private:
    template <class Step>
    void attempt(const std::string& object, Step&& step) {
        try {
            step();
        } catch (const host::Error& e) {
            g_.addProblem({object, e.number(), e.description()});
        } catch (const std::exception& e) {
            g_.addProblem({object, host::err::kInvalidProcedureCall, e.what()});
        }
    }

    void objects() {
        for (const auto& t : db_.tableDefs()) {
            const bool system =
                (t.attributes & host::dao::dbSystemObject) == host::dao::dbSystemObject ||
                util::UCase(util::Left(t.name, 4)) == "MSYS";
            if (system)
                systemTables_.push_back(t.name);
            else if (!t.name.starts_with('~'))
                g_.addNode(NodeKind::Table, t.name);
        }
        for (const auto& q : db_.queryDefs()) {
            if (!q.name.starts_with('~'))
                g_.addNode(NodeKind::Query, q.name);
        }
        for (const auto& [container, kind] :
             {std::pair{"Forms", NodeKind::Form}, std::pair{"Reports", NodeKind::Report},
              std::pair{"Scripts", NodeKind::Macro}, std::pair{"Modules", NodeKind::Module}}) {
            for (const auto& doc : db_.documents(container))
                g_.addNode(kind, doc.name);
        }
    }

    // Each design is read once and closed again; its code is read with the modules'.
    void designs() {
        for (const auto& [container, type] :
             {std::pair{"Forms", ObjectType::Form}, std::pair{"Reports", ObjectType::Report}}) {
            // A named copy: lambdas may not take a structured binding in every compiler we build
            // with (clang before 16).
            const ObjectType kind = type;
            const std::string prefix = kind == ObjectType::Form ? "Form_" : "Report_";
            const NodeKind node = kind == ObjectType::Form ? NodeKind::Form : NodeKind::Report;
            for (const auto& doc : db_.documents(container)) {
                std::shared_ptr<const Module> code;
                attempt(doc.name, [&] {
                    DesignObject& d = kind == ObjectType::Form
                                          ? app_.openForm(doc.name, host::access::View::Design)
                                          : app_.openReport(doc.name, host::access::View::Design);
                    designs_.emplace_back(node, d);
                    code = d.module;
                    app_.close(kind, doc.name);
                });
                if (!code) {
                    // The project still holds the code of a design that does not open.
                    try {
                        code = app_.documentModule(kind, doc.name);
                    } catch (const std::exception&) {
                    }
                }
                if (code)
                    units_.push_back({prefix + doc.name, g_.addNode(node, doc.name), code});
            }
        }
    }

    void modules() {
        for (const auto& doc : db_.documents("Modules")) {
            attempt(doc.name, [&] {
                auto code = std::make_shared<const Module>(app_.openModule(doc.name));
                app_.close(ObjectType::Module, doc.name);
                units_.push_back({doc.name, g_.addNode(NodeKind::Module, doc.name), code});
            });
        }
    }

    // Declarations are public unless marked Private; Dim and Const alone are private.
    static bool declaresPublic(const host::ModuleModel& model) {
        for (long n = 1; n <= model.CountOfDeclarationLines(); ++n) {
            const std::string line = util::UCase(util::Trim(model.Line(n)));
            for (const std::string_view word :
                 {"PUBLIC ", "GLOBAL ", "TYPE ", "ENUM ", "DECLARE "}) {
                if (line.starts_with(word))
                    return true;
            }
        }
        return false;
    }

    void procedures() {
        for (const CodeUnit& unit : units_) {
            const auto& model = unit.code->model();
            if (g_.nodes()[unit.owner].kind == NodeKind::Module && declaresPublic(model))
                g_.markPublicDeclarations(unit.owner);
            const std::size_t first = table_.size();
            vba::AppendProcedures(model, unit.module, table_);
            for (std::size_t i = first; i < table_.size(); ++i) {
                const std::size_t node = g_.addProcedure(unit.module, table_[i].procedure);
                byName_[util::UCase(table_[i].procedure)].push_back(node);
            }
            const auto sinks = eventVariables(unit, model);
            for (const auto& p : model.procedures()) {
                const std::size_t node = g_.addProcedure(unit.module, p.name);
                for (const auto& v : sinks) {
                    if (p.name.size() > v.prefix.size() &&
                        util::EqualsIgnoreCase(p.name.substr(0, v.prefix.size()), v.prefix)) {
                        edge(v.raiser, node, "WithEvents", {unit.module, "", "", v.line});
                        break;
                    }
                }
                long last = 0;
                const auto heading = vba::ParseHeading(vba::JoinHeading(model, p.bodyLine, last));
                if (heading.isPrivate.value_or(false))
                    private_.insert(node);
                if (heading.parameters)
                    parameters_[node] = ParameterNames(*heading.parameters);
            }
        }
    }

    // A variable declared `WithEvents m伝票 As cls_受注伝票`: its handlers (`m伝票_金額変更`)
    // are called by the class's RaiseEvent, never by name, so the class (or, for a class of
    // another library, the declaring module) uses them, from the declaration's line.
    struct EventVariable {
        std::string prefix;  // "m伝票_"
        std::size_t raiser = 0;
        long line = 0;
    };

    std::vector<EventVariable> eventVariables(const CodeUnit& unit,
                                              const host::ModuleModel& model) {
        std::vector<EventVariable> found;
        for (long n = 1; n <= model.CountOfDeclarationLines(); ++n) {
            std::istringstream words{std::string(model.Line(n))};
            for (std::string word; words >> word;) {
                if (!util::EqualsIgnoreCase(word, "WithEvents"))
                    continue;
                std::string variable, as, type;
                words >> variable >> as >> type;
                if (util::EqualsIgnoreCase(type, "New"))
                    words >> type;
                if (variable.empty() || !util::EqualsIgnoreCase(as, "As"))
                    continue;
                if (const auto comma = type.find(','); comma != std::string::npos)
                    type.resize(comma);
                found.push_back(
                    {variable + "_", g_.find(NodeKind::Module, type).value_or(unit.owner), n});
            }
        }
        return found;
    }

    // The procedures a name calls from `module`: its own first, else any not private.
    // Asked once per name and module: a name defined in many modules (copies of one module)
    // made every call compare it with all of them. The procedures are all known by the time
    // anything is resolved.
    const std::vector<std::size_t>& callTargets(std::string_view name, std::string_view module) {
        const std::string bare(
            name.substr(name.rfind('.') == std::string_view::npos ? 0 : name.rfind('.') + 1));
        const std::string upper = util::UCase(bare);
        auto [cached, fresh] =
            resolved_.try_emplace(util::UCase(module) + '\x1f' + upper, std::vector<std::size_t>{});
        if (fresh)
            cached->second = resolveCall(upper, module);
        return cached->second;
    }

    std::vector<std::size_t> resolveCall(const std::string& upper, std::string_view module) {
        const auto it = byName_.find(upper);
        if (it == byName_.end())
            return {};
        std::vector<std::size_t> own;
        std::vector<std::size_t> open;
        for (const std::size_t node : it->second) {
            if (util::EqualsIgnoreCase(g_.nodes()[node].module, module))
                own.push_back(node);
            else if (!private_.contains(node))
                open.push_back(node);
        }
        return own.empty() ? open : own;
    }

    void edge(std::size_t from, std::size_t to, std::string_view kind, const Location& where) {
        g_.addEdge({from, to, std::string(kind), where});
    }

    // A table or query of that name; a missing table when neither exists.
    std::optional<std::size_t> dataSource(const std::string& name, bool keepMissing) {
        if (auto t = g_.find(NodeKind::Table, name))
            return t;
        if (auto q = g_.find(NodeKind::Query, name))
            return q;
        // A system table gets its node once something names it.
        const auto system =
            std::find_if(systemTables_.begin(), systemTables_.end(),
                         [&](const auto& t) { return util::EqualsIgnoreCase(t, name); });
        if (system != systemTables_.end())
            return g_.addNode(NodeKind::Table, *system);
        if (!keepMissing)
            return std::nullopt;
        return g_.addNode(NodeKind::Table, name, true);
    }

    std::size_t object(NodeKind kind, const std::string& name) {
        const auto found = g_.find(kind, name);
        return found ? *found : g_.addNode(kind, name, true);
    }

    // `strict` for text that is SQL for certain; a string of code that merely reads like SQL
    // names only the objects that exist.
    void sql(std::size_t from, const std::string& text, std::string_view kind,
             const Location& where, bool strict) {
        const SqlUses uses = ScanSql(text);
        if (uses.unclosed && strict)
            g_.addProblem({where.object, kSqlSyntaxError,
                           "SQL の引用符または角かっこが閉じていません: " + util::Left(text, 80)});
        for (const auto& source : uses.sources) {
            if (const auto to = dataSource(source.name, strict))
                edge(from, *to, source.written ? std::string(kind) + " (write)" : kind, where);
        }
        for (const auto& domain : uses.domains) {
            if (const auto to = dataSource(domain, strict))
                edge(from, *to, "domain function", where);
        }
        functions(from, uses.functions, "", where);
        for (const Call& call : uses.calls)
            recordCall(call, "");
    }

    void functions(std::size_t from, const std::vector<std::string>& names, std::string_view module,
                   const Location& where) {
        for (const auto& name : names) {
            for (const std::size_t to : callTargets(name, module))
                edge(from, to, "function", where);
        }
    }

    // An expression of a property or macro: the functions it calls, the domains it looks up,
    // the forms and reports it reads.
    void expression(std::size_t from, const std::string& text, std::string_view kind,
                    std::string_view module, const Location& where) {
        const SqlUses uses = ScanSql(text);
        for (const auto& domain : uses.domains) {
            if (const auto to = dataSource(domain, true))
                edge(from, *to, "domain function", where);
        }
        for (const auto& name : uses.functions) {
            for (const std::size_t to : callTargets(name, module))
                edge(from, to, kind, where);
        }
        for (const Call& call : uses.calls)
            recordCall(call, module);
        for (const CodeUse& u : ScanCode(text)) {
            if (u.target == Target::Form || u.target == Target::Report)
                use(from, u, module, where);
        }
    }

    void use(std::size_t from, const CodeUse& u, std::string_view module, const Location& where) {
        if (u.dynamic) {
            // `DoCmd.Close acForm, Me.Name` keeps no unknown object in use.
            if (std::find(std::begin(kNotUsing), std::end(kNotUsing), u.kind) ==
                std::end(kNotUsing))
                g_.addDynamic({from, u.kind, kindsOf(u.target), u.text, where});
            return;
        }
        switch (u.target) {
            case Target::Form:
                if (u.kind == "SourceObject")
                    return subObject(from, "subform", u.text, where);
                return edge(from, object(NodeKind::Form, u.text), u.kind, where);
            case Target::Report:
                return edge(from, object(NodeKind::Report, u.text), u.kind, where);
            case Target::Query:
                return edge(from, object(NodeKind::Query, u.text), u.kind, where);
            case Target::Table:
                return edge(from, object(NodeKind::Table, u.text), u.kind, where);
            case Target::Macro:
                return edge(from, object(NodeKind::Macro, u.text.substr(0, u.text.find('.'))),
                            u.kind, where);
            case Target::DataSource:
                return edge(from, *dataSource(u.text, true), u.kind, where);
            case Target::Procedure: {
                const auto targets = callTargets(u.text, module);
                if (targets.empty())
                    edge(from, object(NodeKind::Procedure, u.text), u.kind, where);
                for (const std::size_t to : targets)
                    edge(from, to, u.kind, where);
                return;
            }
            case Target::Sql:
                return sql(from, u.text, u.kind, where, !u.loose);
        }
    }

    void query(const host::dao::QueryDef& q) {
        const std::size_t from = g_.addNode(NodeKind::Query, q.name);
        sql(from, q.sql(), "SQL", {q.name, "", "SQL"}, true);
    }

    // A record or row source: a name, or SQL.
    void source(std::size_t from, const std::string& text, std::string_view kind,
                const Location& where) {
        if (text.empty())
            return;
        if (LooksLikeSql(text))
            sql(from, text, kind, where, true);
        else
            edge(from, *dataSource(text, true), kind, where);
    }

    void event(std::size_t from, const std::string& value, const std::string& owner,
               const std::string& module, const Location& where) {
        if (value.empty())
            return;
        if (isEventProcedure(value)) {
            const std::string name = eventProcedure(owner, where.property);
            const auto found = g_.find(NodeKind::Procedure, module + "." + name);
            edge(from, found ? *found : g_.addNode(NodeKind::Procedure, module + "." + name, true),
                 "event", where);
        } else if (value.starts_with('=')) {
            expression(from, value, "event", module, where);
        } else {
            edge(from, object(NodeKind::Macro, value.substr(0, value.find('.'))), "event", where);
        }
    }

    template <class Holder>
    void events(std::size_t from, const Holder& holder, const std::string& owner,
                const std::string& module, Location where) {
        for (const auto& p : holder.properties) {
            if (!isEventProperty(p.name) || holder.isUnknown(p.name))
                continue;
            where.property = p.name;
            event(from, util::Trim(p.value.toText()), owner, module, where);
        }
    }

    void design(NodeKind kind, const DesignObject& d) {
        const std::size_t from = g_.addNode(kind, d.name);
        const bool form = kind == NodeKind::Form;
        const std::string module = (form ? "Form_" : "Report_") + d.name;
        source(from, textOf(d, "RecordSource"), "record source", {d.name, "", "RecordSource"});
        for (const auto& [property, label] : kMenuProperties) {
            const std::string menu = textOf(d, property);
            if (!menu.empty()) {
                const std::size_t to = object(NodeKind::Macro, menu.substr(0, menu.find('.')));
                edge(from, to, label, {d.name, "", std::string(property)});
                g_.addStartPoint(to, std::string(label) + " (" + d.name + ")");
            }
        }
        std::vector<std::string> owners{form ? "Form" : "Report"};
        events(from, d, owners.front(), module, {d.name});
        for (const auto& section : d.sections) {
            const std::string name = textOf(section, "Name");
            if (name.empty())
                continue;
            owners.push_back(name);
            for (const auto& p : section) {
                if (isEventProperty(p.name))
                    event(from, util::Trim(p.value.toText()), name, module, {d.name, name, p.name});
            }
        }
        for (const auto& c : d.controls) {
            owners.push_back(c.name());
            control(from, form, c, module, {d.name, c.name()});
        }
        for (const auto& level : d.groupLevels) {
            const std::string text = util::Trim(level.controlSource.toText());
            if (text.starts_with('='))
                expression(from, text, "group level", module, {d.name, "", "GroupLevel"});
        }
        markEventShaped(module, owners);
    }

    void control(std::size_t from, bool form, const host::access::Control& c,
                 const std::string& module, Location where) {
        const std::string rowSourceType = textOf(c, "RowSourceType");
        if (rowSourceType != "Value List") {
            where.property = "RowSource";
            source(from, textOf(c, "RowSource"), "row source", where);
        }
        if (const std::string sub = textOf(c, "SourceObject"); !sub.empty()) {
            where.property = "SourceObject";
            subObject(from, form ? "subform" : "subreport", sub, where);
        }
        for (const std::string_view property :
             {"ControlSource", "DefaultValue", "ValidationRule"}) {
            const std::string text = textOf(c, property);
            where.property = std::string(property);
            if (text.starts_with('='))
                expression(from, text, "control source", module, where);
        }
        events(from, c, c.name(), module, where);
    }

    // "Form.X", "Report.X", "Table.X", "Query.X", or a bare name: a form, else a report.
    void subObject(std::size_t from, std::string_view kind, const std::string& value,
                   const Location& where) {
        static constexpr std::pair<std::string_view, NodeKind> kPrefixes[] = {
            {"Form.", NodeKind::Form},
            {"Report.", NodeKind::Report},
            {"Table.", NodeKind::Table},
            {"Query.", NodeKind::Query}};
        for (const auto& [prefix, node] : kPrefixes) {
            if (util::EqualsIgnoreCase(util::Left(value, prefix.size()), prefix))
                return edge(from, object(node, value.substr(prefix.size())), kind, where);
        }
        const auto found = g_.find(NodeKind::Form, value);
        const auto report = g_.find(NodeKind::Report, value);
        edge(from, found ? *found : report ? *report : object(NodeKind::Form, value), kind, where);
    }

    void markEventShaped(const std::string& module, const std::vector<std::string>& owners) {
        for (const std::size_t p : g_.proceduresOf(module)) {
            const std::string& name = g_.nodes()[p].procedure;
            const std::size_t bar = name.rfind('_');
            if (bar == std::string::npos)
                continue;
            const std::string owner = name.substr(0, bar);
            const bool shaped = std::any_of(owners.begin(), owners.end(), [&](const auto& o) {
                return util::EqualsIgnoreCase(procedureNameOf(o), owner);
            });
            if (shaped)
                g_.markEventShaped(p);
        }
    }

    void macro(const std::string& name) {
        const std::size_t from = g_.addNode(NodeKind::Macro, name);
        auto* file = dynamic_cast<host::access::FileApplication*>(&app_);
        if (!file) {
            // A target built in code has its macros as converted code only.
            units_.push_back({"", from, std::make_shared<const Module>(app_.convertMacro(name))});
            return;
        }
        std::string current;
        for (const auto& row : file->macroDefinition(name).rows) {
            if (!row.macroName.empty())
                current = row.macroName;
            const Location where{name, current, row.action};
            if (!row.condition.empty() && row.condition != "...")
                expression(from, row.condition, "condition", "", where);
            macroAction(from, row, where);
        }
    }

    void macroAction(std::size_t from, const host::access::MacroRow& row, const Location& where) {
        const auto argument = [&](std::size_t i) {
            return i < row.arguments.size() ? util::Trim(row.arguments[i]) : std::string();
        };
        // Which argument names what, by position.
        std::map<std::size_t, Target> named;
        for (const MacroAction& a : kMacroActions) {
            if (util::EqualsIgnoreCase(row.action, a.action))
                named[a.argument] = a.target;
        }
        for (std::string_view typed : kTypedActions) {
            static constexpr Target kTypes[] = {Target::Table, Target::Query, Target::Form,
                                                Target::Report, Target::Macro};
            const std::string type = argument(0);
            if (util::EqualsIgnoreCase(row.action, typed) && type.size() == 1 && type[0] >= '0' &&
                type[0] <= '4')
                named[1] = kTypes[type[0] - '0'];
        }
        for (std::size_t i = 0; i < row.arguments.size(); ++i) {
            const std::string value = argument(i);
            if (value.empty())
                continue;
            const auto it = named.find(i);
            if (it == named.end()) {
                if (value.find_first_of("[(") != std::string::npos)
                    expression(from, value, "argument", "", where);
                continue;
            }
            // An argument given as "=expression" is worked out when the macro runs.
            const bool dynamic = value.starts_with('=');
            if (it->second == Target::Procedure && !dynamic) {
                expression(from, value, row.action, "", where);
                continue;
            }
            const bool filter = i == 2 && it->second == Target::Query;
            use(from, {filter ? "FilterName" : row.action, it->second, value, dynamic}, "", where);
        }
    }

    // A statement of code with its continuation lines joined.
    struct Statement {
        long line = 0;
        std::string owner;  // the procedure, "" for the declarations
        std::size_t from = 0;
        std::string text;
    };

    // The statements of a unit; the calls of its lines become edges on the way.
    std::vector<Statement> statements(const CodeUnit& unit, const vba::ProcedureNames& names) {
        const auto& model = unit.code->model();
        std::vector<Statement> result;
        bool inComment = false;
        std::vector<std::size_t> found;
        Statement current;
        for (long n = 1; n <= model.CountOfLines(); ++n) {
            host::ProcKind kind{};
            const std::string owner = model.ProcOfLine(n, kind);
            const std::size_t from = owner.empty() || unit.module.empty()
                                         ? unit.owner
                                         : g_.addProcedure(unit.module, owner);
            const std::string_view line = model.Line(n);
            names.match(line, owner, inComment, found);
            for (const std::size_t i : found) {
                for (const std::size_t to : callTargets(names.entry(i).procedure, unit.module))
                    edge(from, to, "call", {where(unit), "", owner, n});
            }
            if (current.text.empty())
                current = {n, owner, from, {}};
            if (vba::EndsWithContinuation(line)) {
                const std::string trimmed = util::RTrim(line);
                current.text += trimmed.substr(0, trimmed.size() - 1);
                continue;
            }
            current.text += line;
            result.push_back(std::move(current));
            current = {};
        }
        return result;
    }

    std::string where(const CodeUnit& unit) const {
        return unit.module.empty() ? g_.nodes()[unit.owner].name : unit.module;
    }

    void recordCall(const Call& call, std::string_view module) {
        for (const std::size_t to : callTargets(call.name, module))
            callsTo_[to].push_back(call);
    }

    void code(const CodeUnit& unit, const vba::ProcedureNames& names) {
        const std::vector<Statement> all = statements(unit, names);
        // The string values each variable or constant is given, per procedure.
        std::map<std::string, std::map<std::string, std::vector<std::optional<std::string>>>>
            values;
        for (const Statement& s : all) {
            if (const auto a = AssignmentIn(s.text))
                values[s.owner][util::UCase(a->name)].push_back(a->literal);
            // The heading names the procedure itself with its parameters: not a call.
            for (const Call& call : CallsIn(s.text)) {
                if (!util::EqualsIgnoreCase(call.name, s.owner))
                    recordCall(call, unit.module);
            }
        }
        for (const Statement& s : all) {
            const Location at{where(unit), "", s.owner, s.line};
            for (const CodeUse& u : ScanCode(s.text)) {
                if (!u.dynamic || !resolve(u, s, values, unit.module, at))
                    use(s.from, u, unit.module, at);
            }
        }
    }

    // A name passed through a variable given only literals (`strDocName = "F"`), or through a
    // parameter of the procedure (worked out once every call is known).
    template <class Values>
    bool resolve(const CodeUse& u, const Statement& s, const Values& values,
                 const std::string& module, const Location& at) {
        const std::string key = util::UCase(u.text);
        for (const std::string& scope : {s.owner, std::string()}) {
            const auto inScope = values.find(scope);
            if (inScope == values.end())
                continue;
            const auto it = inScope->second.find(key);
            if (it == inScope->second.end())
                continue;
            if (std::any_of(it->second.begin(), it->second.end(),
                            [](const auto& v) { return !v.has_value(); }))
                return false;
            for (const auto& literal : it->second)
                use(s.from, {u.kind, u.target, *literal}, module, at);
            return true;
        }
        const auto params = parameters_.find(s.from);
        if (params == parameters_.end())
            return false;
        for (std::size_t k = 0; k < params->second.size(); ++k) {
            if (util::EqualsIgnoreCase(params->second[k], u.text)) {
                pending_.push_back({s.from, k, u, at, module});
                return true;
            }
        }
        return false;
    }

    // A parameter every call fills with a literal names those objects; any other call leaves
    // the name to run time.
    void resolvePending() {
        for (const Pending& p : pending_) {
            std::vector<std::string> literals;
            const auto calls = callsTo_.find(p.procedure);
            bool known = calls != callsTo_.end();
            for (const Call& call : known ? calls->second : std::vector<Call>{}) {
                if (p.index >= call.arguments.size() || !call.arguments[p.index]) {
                    known = false;
                    break;
                }
                literals.push_back(*call.arguments[p.index]);
            }
            if (!known) {
                use(p.procedure, p.use, p.module, p.where);
                continue;
            }
            for (const auto& literal : literals)
                use(p.procedure, {p.use.kind, p.use.target, literal}, p.module, p.where);
        }
    }

    void startPoints() {
        auto& properties = db_.properties();
        if (const std::string form = textOf(properties, "StartUpForm"); !form.empty())
            g_.addStartPoint(object(NodeKind::Form, form), "スタートアップフォーム");
        for (const auto& [property, reason] : kStartupMenus) {
            if (const std::string menu = textOf(properties, property); !menu.empty())
                g_.addStartPoint(object(NodeKind::Macro, menu), std::string(reason));
        }
        for (const std::string_view name : {"AutoExec", "AutoKeys"}) {
            if (const auto macro = g_.find(NodeKind::Macro, name))
                g_.addStartPoint(*macro, std::string(name));
        }
    }

    host::dao::Database& db_;
    host::access::Application& app_;
    DependencyGraph g_;
    std::vector<std::pair<NodeKind, DesignObject>> designs_;
    std::vector<CodeUnit> units_;
    std::vector<app::ProcedureEntry> table_;
    std::unordered_map<std::string, std::vector<std::size_t>> byName_;
    std::unordered_set<std::size_t> private_;
    std::unordered_map<std::string, std::vector<std::size_t>> resolved_;
    std::vector<std::string> systemTables_;
    std::map<std::size_t, std::vector<std::string>> parameters_;
    std::map<std::size_t, std::vector<Call>> callsTo_;
    struct Pending {
        std::size_t procedure = 0;
        std::size_t index = 0;
        CodeUse use;
        Location where;
        std::string module;
    };
    std::vector<Pending> pending_;
};

}  // namespace

DependencyGraph BuildGraph(host::dao::Database& db, host::access::Application& app) {
    return Builder(db, app).build();
}

}  // namespace zanfor::graph
