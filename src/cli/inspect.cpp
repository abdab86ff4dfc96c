#include "cli/inspect.h"

#include "util/jet_date.h"
#include "util/json_writer.h"

namespace zanfor::cli {

namespace {

using host::Value;
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
    w.key("dateCreated").value(util::FormatWorkDbDate(t.dateCreated.value));
    w.key("lastUpdated").value(util::FormatWorkDbDate(t.lastUpdated.value));
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
    w.key("dateCreated").value(util::FormatWorkDbDate(q.dateCreated.value));
    w.key("lastUpdated").value(util::FormatWorkDbDate(q.lastUpdated.value));
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

void writeProject(JsonWriter& w, const host::access::AccessProject& project) {
    w.key("modules").beginArray();
    for (const auto& m : project.modules()) {
        writeModule(w, *m, m->type() == host::access::ModuleType::Standard ? "standard" : "class");
    }
    for (const auto& f : project.forms()) {
        if (auto m = project.formModule(f.name); m && f.hasModule)
            writeModule(w, *m, "form");
    }
    for (const auto& r : project.reports()) {
        if (auto m = project.reportModule(r.name); m && r.hasModule)
            writeModule(w, *m, "report");
    }
    w.endArray();
    for (const auto& [key, designs] :
         {std::pair{"forms", &project.forms()}, std::pair{"reports", &project.reports()}}) {
        w.key(key).beginArray();
        for (const auto& d : *designs) {
            w.beginObject();
            w.key("name").value(d.name);
            w.key("hasModule").value(d.hasModule);
            w.key("controls").beginArray();
            for (const auto& c : d.controls) {
                w.beginObject().key("name").value(c.name).key("controlType").value(c.controlType);
                w.endObject();
            }
            w.endArray();
            w.endObject();
        }
        w.endArray();
    }
}

}  // namespace

void WriteInspectJson(host::dao::Database& db, const host::access::AccessProject* project,
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
                w.key("dateCreated").value(util::FormatWorkDbDate(d.dateCreated.value));
                w.key("lastUpdated").value(util::FormatWorkDbDate(d.lastUpdated.value));
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
    if (project) {
        writeProject(w, *project);
    } else {
        w.key("projectError").value(projectError);
    }
    w.endObject();
}

void WriteInspectText(host::dao::Database& db, const host::access::AccessProject* project,
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
            out << "    (" << e.number() << ")\n";
        }
    }
    if (!project) {
        out << "Access プロジェクト: " << projectError << "\n";
        return;
    }
    out << "Modules (VBA): " << project->modules().size() << "\n";
    for (const auto& m : project->modules()) {
        out << "  " << m->name() << " (" << m->model().CountOfLines() << " lines, "
            << m->model().procedures().size() << " procedures)\n";
    }
    for (const auto* designs : {&project->forms(), &project->reports()}) {
        out << (designs == &project->forms() ? "Form designs: " : "Report designs: ")
            << designs->size() << "\n";
        for (const auto& d : *designs) {
            out << "  " << d.name << " (" << d.controls.size() << " controls"
                << (d.hasModule ? ", code" : "") << ")\n";
        }
    }
}

}  // namespace zanfor::cli
