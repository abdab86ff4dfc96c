#include "cli/inspect.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "collect/vocabulary.h"
#include "core/error_report.h"
#include "host/export/export_database.h"
#include "util/jet_date.h"
#include "util/json_writer.h"
#include "util/vb_string.h"

namespace zanfor::cli {

namespace {

using host::Value;
using host::access::Control;
using host::access::DesignObject;
using host::access::ObjectType;
using host::access::View;
using util::JsonWriter;

constexpr const char* kContainers[] = {"Forms", "Reports", "Scripts", "Modules", "DataAccessPages"};

void writeValue(JsonWriter& w, const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            w.null();
            break;
        case Value::Kind::Bool:
            w.value(v.toBool());
            break;
        case Value::Kind::Integer:
            w.value(v.toInteger());
            break;
        case Value::Kind::Double:
            w.value(v.toDouble());
            break;
        case Value::Kind::Date:
            w.value(util::FormatWorkDbDate(v.toDouble()));
            break;
        case Value::Kind::Text:
            w.value(v.toText());
            break;
    }
}

// A date the target does not keep is null, not day 0.
void writeDate(JsonWriter& w, const std::optional<host::Date>& date) {
    if (date)
        w.value(util::FormatWorkDbDate(date->value));
    else
        w.null();
}

void writeProperties(JsonWriter& w, const host::Properties& props) {
    w.beginObject();
    for (const auto& p : props) {
        w.key(p.name);
        writeValue(w, p.value);
    }
    w.endObject();
}

std::string description(const host::Properties& props) {
    const auto* p = props.find("Description");
    return p ? p->value.toText() : std::string();
}

void writeField(JsonWriter& w, const host::dao::Field& f, bool tableField) {
    w.beginObject();
    w.key("name").value(f.name);
    w.key("type").value(f.type);
    w.key("size").value(static_cast<std::int64_t>(f.size));
    w.key("attributes").value(static_cast<std::int64_t>(f.attributes));
    if (tableField) {
        w.key("allowZeroLength").value(f.allowZeroLength);
        w.key("required").value(f.required);
        w.key("defaultValue").value(f.defaultValue);
        w.key("validationRule").value(f.validationRule);
        w.key("description").value(description(f.properties));
    } else {
        w.key("sourceTable").value(f.sourceTable);
        w.key("sourceField").value(f.sourceField);
    }
    w.endObject();
}

void writeTable(JsonWriter& w, const host::dao::TableDef& t) {
    w.beginObject();
    w.key("name").value(t.name);
    w.key("attributes").value(static_cast<std::int64_t>(t.attributes));
    w.key("connect").value(t.connect);
    w.key("sourceTableName").value(t.sourceTableName);
    w.key("recordCount").value(static_cast<std::int64_t>(t.recordCount));
    writeDate(w.key("dateCreated"), t.dateCreated);
    writeDate(w.key("lastUpdated"), t.lastUpdated);
    w.key("updatable").value(t.updatable);
    w.key("description").value(description(t.properties));
    if (!t.problem.empty())
        w.key("problem").value(t.problem);
    w.key("fields").beginArray();
    for (const auto& f : t.fields)
        writeField(w, f, true);
    w.endArray();
    w.key("indexes").beginArray();
    for (const auto& ix : t.indexes) {
        w.beginObject();
        w.key("name").value(ix.name);
        w.key("primary").value(ix.primary);
        w.key("unique").value(ix.unique);
        w.key("ignoreNulls").value(ix.ignoreNulls);
        w.key("required").value(ix.required);
        w.key("foreign").value(ix.foreign);
        w.key("clustered").value(ix.clustered);
        w.key("fields").beginArray();
        for (const auto& f : ix.fields) {
            w.beginObject().key("name").value(f.name).key("descending").value(f.descending);
            w.endObject();
        }
        w.endArray();
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

void writeQuery(JsonWriter& w, const host::dao::QueryDef& q) {
    w.beginObject();
    w.key("name").value(q.name);
    w.key("type").value(q.type);
    try {
        w.key("sql").value(q.sql());
        w.key("connect").value(q.connect());
    } catch (const host::Error& e) {
        w.key("sqlError").value(e.number());
    }
    writeDate(w.key("dateCreated"), q.dateCreated);
    writeDate(w.key("lastUpdated"), q.lastUpdated);
    w.key("description").value(description(q.properties));
    w.key("fields").beginArray();
    for (const auto& f : q.fields)
        writeField(w, f, false);
    w.endArray();
    w.endObject();
}

void writeRows(JsonWriter& w, host::dao::Database& db, std::string_view table) {
    w.beginArray();
    try {
        auto rs = db.openRecordset(table);
        for (; !rs->eof(); rs->moveNext()) {
            w.beginObject();
            for (const auto& name : rs->fieldNames()) {
                w.key(name);
                writeValue(w, rs->field(name));
            }
            w.endObject();
        }
    } catch (const host::Error&) {
        // No such table: the target never saved an import/export specification.
    }
    w.endArray();
}

const char* procKindName(host::ProcKind kind) {
    switch (kind) {
        case host::ProcKind::Get:
            return "Property Get";
        case host::ProcKind::Let:
            return "Property Let";
        case host::ProcKind::Set:
            return "Property Set";
        case host::ProcKind::Proc:
            break;
    }
    return "Proc";
}

void writeModule(JsonWriter& w, const host::access::Module& m, const char* kind) {
    const auto& model = m.model();
    w.beginObject();
    w.key("name").value(m.name());
    w.key("kind").value(kind);
    w.key("lines").value(static_cast<std::int64_t>(model.CountOfLines()));
    w.key("declarationLines").value(static_cast<std::int64_t>(model.CountOfDeclarationLines()));
    w.key("procedures").beginArray();
    for (const auto& p : model.procedures()) {
        w.beginObject();
        w.key("name").value(p.name);
        w.key("kind").value(procKindName(p.kind));
        w.key("startLine").value(static_cast<std::int64_t>(p.startLine));
        w.key("bodyLine").value(static_cast<std::int64_t>(p.bodyLine));
        w.key("countLines").value(static_cast<std::int64_t>(p.countLines));
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

// What inspect shows of one form or report: the design-view object, or why it did not open.
struct DesignView {
    std::string name;
    std::optional<DesignObject> object;
    std::string error;
};

std::string errorText(const host::Error& e) {
    return app::ErrorSummary(e.number(), e.description());
}

std::vector<DesignView> openDesigns(host::access::FileApplication& app, host::dao::Database& db,
                                    bool report) {
    std::vector<DesignView> views;
    for (const auto& c : db.containers()) {
        if (c.name != (report ? "Reports" : "Forms"))
            continue;
        for (const auto& d : c.documents) {
            DesignView v{d.name, std::nullopt, {}};
            try {
                v.object = report ? app.openReport(d.name, View::Design)
                                  : app.openForm(d.name, View::Design);
                app.close(report ? ObjectType::Report : ObjectType::Form, d.name);
            } catch (const host::Error& e) {
                v.error = errorText(e);
            }
            views.push_back(std::move(v));
        }
    }
    return views;
}

constexpr std::string_view kFormProperties[] = {
    "RecordSource", "Caption",        "DefaultView",    "Filter",    "OrderBy",
    "AllowEdits",   "AllowDeletions", "AllowAdditions", "DataEntry", "RecordsetType",
    "RecordLocks",  "PopUp",          "Modal",          "MenuBar",   "HasModule"};
constexpr std::string_view kReportProperties[] = {"RecordSource", "Caption", "Filter",   "OrderBy",
                                                  "RecordLocks",  "MenuBar", "HasModule"};
constexpr std::string_view kControlProperties[] = {
    "Caption",        "ControlSource",   "RowSourceType",    "RowSource",
    "SourceObject",   "LinkChildFields", "LinkMasterFields", "DefaultValue",
    "ValidationRule", "Format",          "OptionValue",      "Visible"};

std::span<const std::string_view> objectProperties(bool report) {
    return report ? std::span<const std::string_view>(kReportProperties)
                  : std::span<const std::string_view>(kFormProperties);
}

bool isEvent(std::string_view name) {
    return name.starts_with("On") || name.starts_with("Before") || name.starts_with("After");
}

// The properties worth a look: those named, when set, and every event that holds something.
std::vector<const host::Property*> mainProperties(const host::Properties& props,
                                                  std::span<const std::string_view> names) {
    std::vector<const host::Property*> shown;
    for (const auto name : names) {
        const auto* p = props.find(name);
        // Visible is worth a line only where a control is hidden.
        if (p && !p->value.isNull() && p->value.toText() != "" &&
            !(name == "Visible" && p->value.toBool()))
            shown.push_back(p);
    }
    for (const auto& p : props) {
        if (isEvent(p.name) && !p.value.isNull() && p.value.toText() != "")
            shown.push_back(&p);
    }
    return shown;
}

void writeNamedProperties(JsonWriter& w, const std::vector<const host::Property*>& props) {
    w.beginObject();
    for (const auto* p : props) {
        w.key(p->name);
        writeValue(w, p->value);
    }
    w.endObject();
}

void writePosition(JsonWriter& w, const host::Properties& props) {
    for (const char* name : {"Left", "Top", "Width", "Height"}) {
        w.key(util::LCase(name));
        if (const auto* p = props.find(name))
            writeValue(w, p->value);
        else
            w.null();
    }
}

std::string typeName(const Control& c) {
    return collect::ControlTypeName(std::to_string(c.controlType()));
}

void writeDesign(JsonWriter& w, const DesignView& v, bool report) {
    w.beginObject();
    w.key("name").value(v.name);
    if (!v.object) {
        w.key("error").value(v.error);
        w.endObject();
        return;
    }
    const DesignObject& o = *v.object;
    w.key("hasModule").value(o.hasModule());
    w.key("properties");
    writeNamedProperties(w, mainProperties(o.properties, objectProperties(report)));
    w.key("controls").beginArray();
    for (const auto& c : o.controls) {
        w.beginObject();
        w.key("name").value(c.name());
        w.key("type").value(typeName(c));
        w.key("controlType").value(c.controlType());
        w.key("parent").value(c.parent);
        writePosition(w, c.properties);
        w.key("properties");
        writeNamedProperties(w, mainProperties(c.properties, kControlProperties));
        w.endObject();
    }
    w.endArray();
    if (report) {
        w.key("groupLevels").beginArray();
        for (const auto& level : o.groupLevels) {
            w.beginObject();
            w.key("controlSource");
            writeValue(w, level.controlSource);
            w.key("sortOrder");
            writeValue(w, level.sortOrder);
            w.key("groupHeader");
            writeValue(w, level.groupHeader);
            w.key("groupFooter");
            writeValue(w, level.groupFooter);
            w.key("groupOn");
            writeValue(w, level.groupOn);
            w.key("groupInterval");
            writeValue(w, level.groupInterval);
            w.key("keepTogether");
            writeValue(w, level.keepTogether);
            w.endObject();
        }
        w.endArray();
    }
    w.endObject();
}

struct MacroView {
    std::string name;
    std::optional<host::access::MacroDefinition> definition;
    std::string error;
};

std::vector<MacroView> readMacros(host::access::FileApplication& app, host::dao::Database& db) {
    std::vector<MacroView> views;
    for (const auto& c : db.containers()) {
        if (c.name != "Scripts")
            continue;
        for (const auto& d : c.documents) {
            MacroView v{d.name, std::nullopt, {}};
            try {
                v.definition = app.macroDefinition(d.name);
            } catch (const host::Error& e) {
                v.error = errorText(e);
            }
            views.push_back(std::move(v));
        }
    }
    return views;
}

void writeMacro(JsonWriter& w, const MacroView& v) {
    w.beginObject();
    w.key("name").value(v.name);
    if (!v.definition) {
        w.key("error").value(v.error);
        w.endObject();
        return;
    }
    w.key("rows").beginArray();
    for (const auto& r : v.definition->rows) {
        w.beginObject();
        w.key("macroName").value(r.macroName);
        w.key("condition").value(r.condition);
        w.key("action").value(r.action);
        w.key("arguments").beginArray();
        for (const auto& a : r.arguments)
            w.value(a);
        w.endArray();
        w.key("comment").value(r.comment);
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

// The module behind a form or report: the one its design opened with, else the project's.
std::shared_ptr<const host::access::Module> designModule(const host::access::AccessProject& project,
                                                         const DesignView& v, bool report) {
    if (v.object)
        return v.object->hasModule() ? v.object->module : nullptr;
    return report ? project.reportModule(v.name) : project.formModule(v.name);
}

void writeProject(JsonWriter& w, host::access::FileApplication& app, host::dao::Database& db) {
    const auto& project = app.project();
    const auto forms = openDesigns(app, db, false);
    const auto reports = openDesigns(app, db, true);
    w.key("modules").beginArray();
    for (const auto& m : project.modules()) {
        writeModule(w, *m, m->type() == host::access::ModuleType::Standard ? "standard" : "class");
    }
    for (const auto& v : forms) {
        if (auto m = designModule(project, v, false))
            writeModule(w, *m, "form");
    }
    for (const auto& v : reports) {
        if (auto m = designModule(project, v, true))
            writeModule(w, *m, "report");
    }
    w.endArray();
    w.key("forms").beginArray();
    for (const auto& v : forms)
        writeDesign(w, v, false);
    w.endArray();
    w.key("reports").beginArray();
    for (const auto& v : reports)
        writeDesign(w, v, true);
    w.endArray();
    w.key("macros").beginArray();
    for (const auto& v : readMacros(app, db))
        writeMacro(w, v);
    w.endArray();
}

std::string twipsText(const host::Properties& props, std::string_view name) {
    const auto* p = props.find(name);
    return p ? p->value.toText() : "?";
}

void writeDesignsText(std::ostream& out, const std::vector<DesignView>& views, bool report) {
    out << (report ? "Reports (design): " : "Forms (design): ") << views.size() << "\n";
    for (const auto& v : views) {
        if (!v.object) {
            out << "  " << v.name << " ! " << v.error << "\n";
            continue;
        }
        const DesignObject& o = *v.object;
        out << "  " << v.name << " (" << o.controls.size() << " controls"
            << (o.hasModule() ? ", code" : "");
        if (report)
            out << ", " << o.groupLevels.size() << " group levels";
        out << ")\n";
        for (const auto* p : mainProperties(o.properties, objectProperties(report)))
            out << "    " << p->name << " = " << p->value.toText() << "\n";
        for (const auto& c : o.controls) {
            out << "    - " << c.name() << " [" << typeName(c) << "] "
                << twipsText(c.properties, "Left") << "," << twipsText(c.properties, "Top") << " "
                << twipsText(c.properties, "Width") << "x" << twipsText(c.properties, "Height");
            if (!c.parent.empty())
                out << " in " << c.parent;
            out << "\n";
            for (const auto* p : mainProperties(c.properties, kControlProperties))
                out << "        " << p->name << " = " << p->value.toText() << "\n";
        }
        for (std::size_t k = 0; k < o.groupLevels.size(); ++k) {
            out << "    group " << k + 1 << ": " << o.groupLevels[k].controlSource.toText()
                << (o.groupLevels[k].sortOrder.toBool() ? " desc" : "") << "\n";
        }
    }
}

void writeMacrosText(std::ostream& out, const std::vector<MacroView>& views) {
    out << "Macros (design): " << views.size() << "\n";
    for (const auto& v : views) {
        if (!v.definition) {
            out << "  " << v.name << " ! " << v.error << "\n";
            continue;
        }
        out << "  " << v.name << " (" << v.definition->rows.size() << " rows)\n";
        for (const auto& r : v.definition->rows) {
            out << "    ";
            if (!r.macroName.empty())
                out << "[" << r.macroName << "] ";
            if (!r.condition.empty())
                out << "If " << r.condition << ": ";
            out << (r.action.empty() ? "'" : r.action);
            if (!r.action.empty()) {
                out << "(";
                for (std::size_t i = 0; i < r.arguments.size(); ++i)
                    out << (i ? ", " : "") << r.arguments[i];
                out << ")";
            }
            if (!r.comment.empty())
                out << (r.action.empty() ? "" : "  '") << r.comment;
            out << "\n";
        }
    }
}

void writeProblems(JsonWriter& w, host::dao::Database& db) {
    auto* exported = dynamic_cast<host::exports::ExportDatabase*>(&db);
    if (!exported)
        return;
    w.key("problems").beginArray();
    for (const auto& p : exported->problems())
        w.value(p);
    w.endArray();
}

}  // namespace

void WriteInspectJson(host::dao::Database& db, host::access::FileApplication* app,
                      const std::string& projectError, std::ostream& out) {
    JsonWriter w(out);
    w.beginObject();
    w.key("database").beginObject();
    w.key("name").value(db.name());
    w.key("version").value(db.version());
    w.key("queryTimeout").value(static_cast<int>(db.queryTimeout()));
    w.key("updatable").value(db.updatable());
    w.key("properties");
    writeProperties(w, db.properties());
    w.endObject();

    w.key("containers").beginObject();
    for (const char* name : kContainers) {
        w.key(name).beginArray();
        for (const auto& c : db.containers()) {
            if (c.name != name)
                continue;
            for (const auto& d : c.documents) {
                w.beginObject();
                w.key("name").value(d.name);
                writeDate(w.key("dateCreated"), d.dateCreated);
                writeDate(w.key("lastUpdated"), d.lastUpdated);
                w.key("description").value(description(d.properties));
                w.endObject();
            }
        }
        w.endArray();
    }
    w.endObject();

    w.key("tables").beginArray();
    for (const auto& t : db.tableDefs())
        writeTable(w, t);
    w.endArray();
    w.key("queries").beginArray();
    for (const auto& q : db.queryDefs())
        writeQuery(w, q);
    w.endArray();
    w.key("importExportSpecs").beginObject();
    w.key("specs");
    writeRows(w, db, "MSysIMEXSpecs");
    w.key("columns");
    writeRows(w, db, "MSysIMEXColumns");
    w.endObject();
    if (app) {
        writeProject(w, *app, db);
    } else {
        w.key("projectError").value(projectError);
    }
    writeProblems(w, db);
    w.endObject();
}

void WriteInspectText(host::dao::Database& db, host::access::FileApplication* app,
                      const std::string& projectError, std::ostream& out) {
    out << "データベース: " << db.name() << " (Jet " << db.version() << ")\n";
    for (const auto& p : db.properties())
        out << "  " << p.name << " = " << p.value.toText() << "\n";
    for (const char* name : kContainers) {
        for (const auto& c : db.containers()) {
            if (c.name != name)
                continue;
            out << name << ": " << c.documents.size() << "\n";
            for (const auto& d : c.documents)
                out << "  " << d.name << "\n";
        }
    }
    out << "Tables: " << db.tableDefs().size() << "\n";
    for (const auto& t : db.tableDefs()) {
        out << "  " << t.name << " (" << t.fields.size() << " fields, " << t.indexes.size()
            << " indexes" << (t.connect.empty() ? "" : ", " + t.connect) << ")"
            << (t.problem.empty() ? "" : " ! " + t.problem) << "\n";
    }
    out << "Queries: " << db.queryDefs().size() << "\n";
    for (const auto& q : db.queryDefs()) {
        out << "  " << q.name << " [" << q.type << "]\n";
        try {
            out << "    " << q.sql() << "\n";
        } catch (const host::Error& e) {
            out << "    ! " << errorText(e) << "\n";
        }
    }
    if (auto* exported = dynamic_cast<host::exports::ExportDatabase*>(&db)) {
        for (const auto& p : exported->problems())
            out << "! " << p << "\n";
    }
    if (!app) {
        out << "Access プロジェクト: " << projectError << "\n";
        return;
    }
    const auto& project = app->project();
    out << "Modules (VBA): " << project.modules().size() << "\n";
    for (const auto& m : project.modules()) {
        out << "  " << m->name() << " (" << m->model().CountOfLines() << " lines, "
            << m->model().procedures().size() << " procedures)\n";
    }
    writeDesignsText(out, openDesigns(*app, db, false), false);
    writeDesignsText(out, openDesigns(*app, db, true), true);
    writeMacrosText(out, readMacros(*app, db));
}

}  // namespace zanfor::cli
