#include "host/export/export_database.h"

#include <algorithm>
#include <functional>
#include <map>

#include "host/access/export_modules.h"
#include "host/error.h"
#include "host/export/database_properties.h"
#include "host/export/query_text.h"
#include "host/export/saved_text.h"
#include "host/export/table_text.h"
#include "host/export/xml_tree.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace fs = std::filesystem;

namespace {

// DAO listed its collections in name order, as the Jet reader does.
std::string sortKey(std::string_view name) { return util::Utf8ToCp932(util::UCase(name)); }

template <class T, class Name>
void sortByName(std::vector<T>& items, Name nameOf) {
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) {
        return sortKey(nameOf(a)) < sortKey(nameOf(b));
    });
}

std::string extensionOf(const fs::path& p) { return util::LCase(p.extension().string()); }

class RowsRecordset : public dao::Recordset {
public:
    RowsRecordset(const dao::TableDef& def, const std::vector<std::vector<Value>>& rows)
        : rows_(&rows) {
        for (const auto& f : def.fields)
            names_.push_back(f.name);
    }

    bool eof() const override { return position_ >= rows_->size(); }
    void moveNext() override {
        if (!eof())
            ++position_;
    }
    const std::vector<std::string>& fieldNames() const override { return names_; }
    Value field(std::string_view name) const override {
        if (eof())
            throw Error(3021, "カレント レコードがありません。");
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (util::EqualsIgnoreCase(names_[i], name)) {
                const auto& row = (*rows_)[position_];
                return i < row.size() ? row[i] : Value();
            }
        }
        throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
    }

private:
    const std::vector<std::vector<Value>>* rows_;
    std::vector<std::string> names_;
    std::size_t position_ = 0;
};

dao::TableDef readTable(const ExportObject& o, const ExportFolder& folder) {
    const std::string source = o.file.string();
    const std::string ext = extensionOf(o.file);
    const std::string text = folder.read(o.file);
    dao::TableDef t;
    if (ext == ".xml") {
        t = ReadTableXml(ParseXml(text, source), source);
    } else if (ext == ".sql") {
        t = ReadTableSql(text, source);
    } else if (ext == ".json") {
        t = ReadTableLinkJson(ParseJson(text, source), source);
    } else {
        t = ReadTableLinkText(text, source);
    }
    if (t.name.empty())
        t.name = o.name;
    return t;
}

// The name VBA knows a module by: its "Attribute VB_Name" when the file declares one.
std::string moduleName(const ExportObject& o, const ExportFolder& folder) {
    try {
        if (auto declared = access::DeclaredModuleName(folder.read(o.file)))
            return std::move(*declared);
    } catch (const Error&) {
        // An unreadable module file is still a module of that name.
    }
    return o.name;
}

// An export keeps no dates (a file's modification time is when it was exported or checked out,
// not when the object changed), so an exported object's dates are unknown: Null, not made up.
dao::Document document(std::string name, std::string_view container) {
    dao::Document d;
    d.name = std::move(name);
    d.properties.put("Name", d.name);
    d.properties.put("Container", std::string(container));
    d.properties.put("DateCreated", Value());
    d.properties.put("LastUpdated", Value());
    return d;
}

dao::Container containerOf(std::string name, const std::vector<ExportObject>& objects) {
    dao::Container c;
    c.name = std::move(name);
    for (const auto& o : objects)
        c.documents.push_back(document(o.name, c.name));
    sortByName(c.documents, [](const dao::Document& d) -> const std::string& { return d.name; });
    return c;
}

void orderQueryProperties(dao::QueryDef& q) {
    Properties props;
    props.put("Name", q.name);
    props.put("DateCreated", Value());
    props.put("LastUpdated", Value());
    props.put("Type", q.type);
    try {
        props.put("SQL", q.sql());
        props.put("Connect", q.connect());
    } catch (const Error&) {
        // The read error stays with the query; its properties need not repeat it.
    }
    props.put("Updatable", q.updatable);
    for (const auto& p : q.properties)
        props.put(p.name, p.value);
    q.properties = std::move(props);
}

}  // namespace

ExportDatabase::ExportDatabase(std::shared_ptr<const ExportFolder> folder)
    : folder_(std::move(folder)), importExport_(EmptyImportExportTables()) {}

std::string ExportDatabase::name() const { return folder_->root().string(); }

std::int16_t ExportDatabase::queryTimeout() const {
    const auto* p = loadProperties().find("QueryTimeout");
    return p ? static_cast<std::int16_t>(p->value.toInteger()) : std::int16_t{60};
}

void ExportDatabase::readTables() {
    std::vector<dao::TableDef> tables;
    for (const auto& o : folder_->tables()) {
        dao::TableDef t;
        try {
            t = readTable(o, *folder_);
        } catch (const Error& e) {
            t = dao::TableDef();
            t.name = o.name;
            t.problem = e.description();
            t.problemNumber = e.number();
        }
        tables.push_back(std::move(t));
    }
    for (const auto& file : folder_->importExportFiles()) {
        try {
            AddImportExportDefinition(importExport_, ParseJson(folder_->read(file), file.string()),
                                      file.string());
        } catch (const Error& e) {
            importExport_.definitions.table.problem += e.description();
            problems_.push_back(e.description());
        }
    }
    if (!importExport_.definitions.rows.empty() ||
        !importExport_.definitions.table.problem.empty()) {
        for (const auto* system : {&importExport_.definitions, &importExport_.columns})
            tables.push_back(system->table);
    }
    for (const auto& file : folder_->relationFiles()) {
        try {
            const std::string text = folder_->read(file);
            Relation r = extensionOf(file) == ".json"
                             ? ReadRelationJson(ParseJson(text, file.string()), file.string())
                             : ReadRelationText(text, file.string());
            ApplyRelation(r, tables);
            relations_.push_back(std::move(r));
        } catch (const Error& e) {
            problems_.push_back(e.description());
        }
    }
    dao::SortRelations(relations_);
    sortByName(tables, [](const dao::TableDef& t) -> const std::string& { return t.name; });
    tables_ = std::move(tables);
}

const std::vector<dao::TableDef>& ExportDatabase::tableDefs() {
    if (!tables_)
        readTables();
    return *tables_;
}

const std::vector<dao::QueryDef>& ExportDatabase::queryDefs() {
    if (queries_)
        return *queries_;
    const auto& tables = tableDefs();
    std::map<std::string, const dao::TableDef*> byName;
    for (const auto& t : tables)
        byName[util::UCase(t.name)] = &t;
    const auto& objects = folder_->queries();
    std::map<std::string, std::size_t> queryIndex;
    for (std::size_t i = 0; i < objects.size(); ++i)
        queryIndex.emplace(util::UCase(objects[i].name), i);

    // "Q.*" stands for the columns of query Q, which is read first for them.
    std::vector<std::optional<dao::QueryDef>> read(objects.size());
    jet::ReadQueriesInStarOrder(
        objects.size(),
        [&](const std::string& name) -> std::optional<std::vector<std::string>> {
            const auto it = byName.find(util::UCase(name));
            if (it == byName.end())
                return std::nullopt;
            std::vector<std::string> names;
            for (const auto& f : it->second->fields)
                names.push_back(f.name);
            return names;
        },
        [&](const std::string& name) -> std::optional<std::size_t> {
            const auto q = queryIndex.find(util::UCase(name));
            return q == queryIndex.end() ? std::nullopt : std::optional(q->second);
        },
        [&](std::size_t i, const StarFields& starFields) {
            const ExportObject& o = objects[i];
            dao::QueryDef q;
            const std::string source = o.file.string();
            try {
                const std::string text = folder_->read(o.file);
                if (extensionOf(o.file) == ".sql") {
                    std::optional<JsonValue> info;
                    if (const auto json = o.companion(".json"))
                        info = ParseJson(folder_->read(*json), json->string());
                    const JsonValue* items = info ? info->find("Items") : nullptr;
                    q = ReadQuerySql(text, items, o.name, starFields);
                } else {
                    q = ReadQueryText(ParseSavedText(text, source), o.name, source, starFields);
                }
            } catch (const Error& e) {
                q = dao::QueryDef();
                q.name = o.name;
                q.setReadError(e);
            }
            orderQueryProperties(q);
            std::vector<std::string> names;
            for (const auto& f : q.fields)
                names.push_back(f.name);
            read[i] = std::move(q);
            return names;
        });
    std::vector<dao::QueryDef> queries;
    for (auto& q : read)
        queries.push_back(std::move(*q));
    dao::TypeQueryFields(tables, queries);
    sortByName(queries, [](const dao::QueryDef& q) -> const std::string& { return q.name; });
    queries_ = std::move(queries);
    return *queries_;
}

const std::vector<dao::Container>& ExportDatabase::containers() {
    if (containers_)
        return *containers_;
    std::vector<dao::Container> list;
    list.push_back({"DataAccessPages", {}});
    list.push_back(containerOf("Forms", folder_->forms()));
    dao::Container modules;
    modules.name = "Modules";
    for (const auto& o : folder_->modules())
        modules.documents.push_back(document(moduleName(o, *folder_), modules.name));
    sortByName(modules.documents,
               [](const dao::Document& d) -> const std::string& { return d.name; });
    list.push_back(std::move(modules));
    list.push_back(containerOf("Reports", folder_->reports()));
    list.push_back(containerOf("Scripts", folder_->macros()));
    containers_ = std::move(list);
    return *containers_;
}

Properties& ExportDatabase::properties() {
    loadProperties();
    return *properties_;
}

const Properties& ExportDatabase::loadProperties() const {
    if (properties_)
        return *properties_;
    properties_.emplace();
    if (const auto& file = folder_->propertiesFile()) {
        try {
            const std::string text = folder_->read(*file);
            const std::string ext = extensionOf(*file);
            if (ext == ".json")
                properties_ =
                    ReadDatabasePropertiesJson(ParseJson(text, file->string()), file->string());
            else if (ext == ".accprj")
                properties_ = ReadProjectFileProperties(text);
            else
                properties_ = ReadDatabasePropertiesText(text);
        } catch (const Error& e) {
            problems_.push_back(e.description());
        }
    }
    return *properties_;
}

const std::vector<std::string>& ExportDatabase::problems() {
    tableDefs();
    loadProperties();
    return problems_;
}

std::vector<Error> ExportDatabase::readFailures() {
    std::vector<Error> failures;
    for (const auto& p : problems())
        failures.emplace_back(err::kExportMalformed, p);
    return failures;
}

std::vector<dao::Relation> ExportDatabase::relations() {
    tableDefs();
    return relations_;
}

std::unique_ptr<dao::Recordset> ExportDatabase::openRecordset(std::string_view tableName) {
    tableDefs();
    for (const auto* system : {&importExport_.definitions, &importExport_.columns}) {
        if (!system->rows.empty() && util::EqualsIgnoreCase(system->table.name, tableName))
            return std::make_unique<RowsRecordset>(system->table, system->rows);
    }
    for (const auto& t : *tables_) {
        if (util::EqualsIgnoreCase(t.name, tableName)) {
            static const std::vector<std::vector<Value>> kNoRows;
            return std::make_unique<RowsRecordset>(t, kNoRows);
        }
    }
    throw Error(err::kNoSuchTable, "入力テーブルまたはクエリ '" + std::string(tableName) +
                                       "' が見つかりませんでした。");
}

}  // namespace zanfor::host::exports
