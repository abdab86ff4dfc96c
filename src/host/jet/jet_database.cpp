#include "host/jet/jet_database.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "host/error.h"
#include "host/jet/column_types.h"
#include "host/jet/mdb_file.h"
#include "host/jet/property_blob.h"
#include "host/jet/query_sql.h"
#include "host/jet/table_definition.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::jet {

namespace {

// MSysObjects.Type values, as stored: unmasked, since names repeat across types.
enum ObjectType : int {
    kLocalTable = 1,
    kDatabaseObject = 2,
    kContainer = 3,
    kOdbcLink = 4,
    kQuery = 5,
    kLink = 6,
};

constexpr std::int32_t kPageOfId = 0x00FFFFFF;
constexpr int kHiddenQueryFlag = 0x08;

struct CatalogObject {
    std::int32_t id = 0;
    std::int32_t parentId = 0;
    std::string name;
    int type = 0;
    std::int32_t flags = 0;
    Date created;
    Date updated;
    std::string database;
    std::string connect;
    std::string foreignName;
    std::string lvProp;
};

// A table whose usage map reaches past the end of the file lost the rows of those pages.
std::optional<Error> cutShort(const TableReader& r, std::string_view table) {
    if (r.missingPages() == 0)
        return std::nullopt;
    return Error(err::kDatabaseDamaged, "テーブル '" + std::string(table) + "' の " +
                                            std::to_string(r.missingPages()) +
                                            " ページがファイルの外にあります。ファイルが途中で"
                                            "切れています。");
}

std::vector<CatalogObject> readCatalog(const JetFile& file, std::vector<Error>* failures) {
    TableReader r(file, "MSysObjects");
    if (auto cut = cutShort(r, "MSysObjects"); cut && failures)
        failures->push_back(std::move(*cut));
    const int cId = r.columnIndex("Id"), cParent = r.columnIndex("ParentId"),
              cName = r.columnIndex("Name"), cType = r.columnIndex("Type"),
              cFlags = r.columnIndex("Flags"), cCreate = r.columnIndex("DateCreate"),
              cUpdate = r.columnIndex("DateUpdate"), cDatabase = r.columnIndex("Database"),
              cConnect = r.columnIndex("Connect"), cForeign = r.columnIndex("ForeignName"),
              cProp = r.columnIndex("LvProp");
    std::vector<CatalogObject> objects;
    while (r.next()) {
        CatalogObject o;
        o.id = static_cast<std::int32_t>(r.value(cId).toInteger());
        o.parentId = static_cast<std::int32_t>(r.value(cParent).toInteger());
        o.name = r.value(cName).toText();
        o.type = static_cast<int>(r.value(cType).toInteger());
        o.flags = static_cast<std::int32_t>(r.value(cFlags).toInteger());
        o.created = Date{r.value(cCreate).toDouble()};
        o.updated = Date{r.value(cUpdate).toDouble()};
        o.database = r.value(cDatabase).toText();
        o.connect = r.value(cConnect).toText();
        o.foreignName = r.value(cForeign).toText();
        o.lvProp = r.bytes(cProp).data;
        objects.push_back(std::move(o));
    }
    return objects;
}

// ComplexID -> the name of the complex column's type table (MSysComplexColumns).
using ComplexTypes = std::map<std::int32_t, std::string>;

// Which type table each complex column of the file has. A Jet file has no MSysComplexColumns;
// one whose rows do not read leaves its complex columns untyped, which is reported.
ComplexTypes readComplexTypes(const JetFile& file, const std::vector<CatalogObject>& catalog,
                              std::vector<Error>* failures) {
    ComplexTypes types;
    if (file.header().aceVersion == 0 || !file.tablePage("MSysComplexColumns"))
        return types;
    std::map<std::int32_t, std::string> names;
    for (const auto& o : catalog)
        names.emplace(o.id, o.name);
    try {
        TableReader r(file, "MSysComplexColumns");
        const int cId = r.columnIndex("ComplexID"), cType = r.columnIndex("ComplexTypeObjectID");
        while (r.next()) {
            const auto name = names.find(static_cast<std::int32_t>(r.value(cType).toInteger()));
            if (name != names.end())
                types.emplace(static_cast<std::int32_t>(r.value(cId).toInteger()), name->second);
        }
    } catch (const Error& e) {
        if (failures)
            failures->push_back(e);
    }
    return types;
}

// Jet lists names in its text sort order: case ignored, Japanese in Shift_JIS order, which puts
// kana in syllabary order and the common kanji by reading. The code-page bytes of the upper-
// cased name reproduce that closely enough for listing objects as Access did.
std::string sortKey(std::string_view name) { return util::Utf8ToCp932(util::UCase(name)); }

template <class T, class Name>
void sortByName(std::vector<T>& items, Name nameOf) {
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) {
        return sortKey(nameOf(a)) < sortKey(nameOf(b));
    });
}

// Database.Version as DAO reports it: the engine's version for a Jet file; for an ACE file 12.0
// for the Access 2007 format and 14.0 for every later one, whose files differ from 2010's only
// in features, not in how the engine versions them.
std::string VersionOf(const JetHeader& header) {
    if (header.aceVersion != 0)
        return header.aceVersion == kAce2007 ? "12.0" : "14.0";
    return header.version == JetVersion::Jet4 ? "4.0" : "3.0";
}

int daoType(int jetType) {
    const JetColumnType* type = FindJetColumnType(jetType);
    return type != nullptr ? type->daoType : 0;
}

std::int32_t daoSize(const ColumnDefinition& col, JetVersion version) {
    const JetColumnType* type = FindJetColumnType(col.type);
    if (type == nullptr)
        return 0;
    switch (type->daoSize) {
        case kColumnBytes:
            return col.length;
        case kColumnCharacters:
            return version == JetVersion::Jet4 ? col.length / 2 : col.length;
        default:
            return type->daoSize;
    }
}

std::int32_t daoAttributes(std::uint8_t flags) {
    std::int32_t a = (flags & kColumnFixed) ? dao::dbFixedField : dao::dbVariableField;
    if (flags & (kColumnAutoLong | kColumnAutoGuid))
        a |= dao::dbAutoIncrField;
    if (flags & kColumnHyperlink)
        a |= dao::dbHyperlinkField;
    return a;
}

std::string textOf(const Properties& props, std::string_view name) {
    const auto* p = props.find(name);
    return p ? p->value.toText() : std::string();
}

bool boolOf(const Properties& props, std::string_view name) {
    const auto* p = props.find(name);
    return p && p->value.toBool();
}

const Properties* columnProperties(const PropertyBlob& blob, std::string_view column) {
    for (const auto& [name, props] : blob.columns) {
        if (util::EqualsIgnoreCase(name, column))
            return &props;
    }
    return nullptr;
}

std::vector<dao::Field> fieldsOf(const TableDefinition& def, const PropertyBlob& blob,
                                 JetVersion version, const ComplexTypes& complexTypes) {
    std::vector<dao::Field> fields;
    for (const auto& col : def.columns) {
        dao::Field f;
        f.name = col.name;
        f.type = daoType(col.type);
        if (col.type == kJetComplex) {
            const auto it = complexTypes.find(col.complexId);
            const std::string typeTable = it == complexTypes.end() ? std::string() : it->second;
            // The history of an append-only memo: kept by Access beside the memo, not a field
            // anyone designed, and never shown in the table's design.
            if (typeTable.starts_with("MSysComplexTypeVH_"))
                continue;
            f.type = ComplexDaoType(typeTable);
        }
        f.size = daoSize(col, version);
        // A complex column's flags mark the id Access numbers, not an AutoNumber field.
        f.attributes = daoAttributes(col.type == kJetComplex
                                         ? static_cast<std::uint8_t>(col.flags & ~kColumnAutoLong)
                                         : col.flags);
        const auto* props = columnProperties(blob, col.name);
        // A calculated column keeps the type it was made with; its values, and the type Access
        // shows, follow the result type chosen since.
        if (const auto* result = props ? props->find("ResultType") : nullptr;
            col.calculated && result != nullptr && FindJetColumnType(result->value.toInteger())) {
            ColumnDefinition typed = col;
            typed.type = static_cast<int>(result->value.toInteger());
            f.type = daoType(typed.type);
            f.size = daoSize(typed, version);
        }
        if (props != nullptr) {
            f.properties = *props;
            f.allowZeroLength = boolOf(*props, "AllowZeroLength");
            f.required = boolOf(*props, "Required");
            f.defaultValue = textOf(*props, "DefaultValue");
            f.validationRule = textOf(*props, "ValidationRule");
            f.validationText = textOf(*props, "ValidationText");
        }
        fields.push_back(std::move(f));
    }
    return fields;
}

std::vector<dao::Index> indexesOf(const TableDefinition& def) {
    std::vector<dao::Index> indexes;
    for (const auto& logical : def.indexes) {
        // ".r" indexes are the referenced side of a relationship; DAO never listed them.
        if (logical.name.rfind(".r", 0) == 0)
            continue;
        dao::Index ix;
        ix.name = logical.name;
        ix.primary = logical.type == 1;
        ix.foreign = logical.type == 2;
        if (logical.physicalIndex >= 0 &&
            static_cast<std::size_t>(logical.physicalIndex) < def.physicalIndexes.size()) {
            const auto& physical =
                def.physicalIndexes[static_cast<std::size_t>(logical.physicalIndex)];
            ix.unique = ix.primary || (!ix.foreign && (physical.flags & kIndexUnique));
            ix.ignoreNulls = !ix.primary && (physical.flags & kIndexIgnoreNulls);
            ix.required = ix.primary || (physical.flags & kIndexRequired);
            for (const auto& c : physical.columns) {
                for (const auto& col : def.columns) {
                    if (col.number == c.columnNumber)
                        ix.fields.push_back({col.name, c.descending});
                }
            }
        }
        indexes.push_back(std::move(ix));
    }
    return indexes;
}

// DAO's Connect of a link: the stored connect string with the linked file appended, "ODBC;"
// in front of an ODBC link's.
std::string linkConnect(const CatalogObject& o) {
    if (o.type == kOdbcLink) {
        return o.connect.rfind("ODBC;", 0) == 0 ? o.connect : "ODBC;" + o.connect;
    }
    if (o.database.empty())
        return o.connect;
    std::string c = o.connect;
    if (c.empty() || c.back() != ';')
        c += ';';
    return c + "DATABASE=" + o.database;
}

bool isJetLink(const CatalogObject& o) { return o.type == kLink && o.connect.empty(); }

class JetRecordset : public dao::Recordset {
public:
    JetRecordset(const JetFile& file, std::string_view table)
        : reader_(file, table), eof_(!reader_.next()) {}
    bool eof() const override { return eof_; }
    void moveNext() override {
        if (!eof_)
            eof_ = !reader_.next();
    }
    const std::vector<std::string>& fieldNames() const override { return reader_.columnNames(); }
    Value field(std::string_view name) const override {
        if (eof_)
            throw Error(3021, "カレント レコードがありません。");
        const int index = reader_.columnIndex(name);
        if (index < 0)
            throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
        return reader_.value(index);
    }

private:
    TableReader reader_;
    bool eof_;
};

class JetDatabase : public dao::Database {
public:
    explicit JetDatabase(const std::string& path)
        : path_(std::filesystem::absolute(path).string()),
          file_(std::make_unique<JetFile>(path)),
          catalog_(readCatalog(*file_, &failures_)),
          complexTypes_(readComplexTypes(*file_, catalog_, &failures_)) {
        for (const auto& o : catalog_) {
            if (o.type == kDatabaseObject && o.name == "MSysDb")
                properties_ = blobOf(o).object;
        }
    }

    std::string name() const override { return path_; }
    std::string version() const override { return VersionOf(file_->header()); }
    std::int16_t queryTimeout() const override { return 60; }
    bool updatable() const override { return ::access(path_.c_str(), W_OK) == 0; }
    Properties& properties() override { return properties_; }

    const std::vector<dao::TableDef>& tableDefs() override {
        if (!tables_)
            tables_ = readTables();
        return *tables_;
    }
    const std::vector<dao::QueryDef>& queryDefs() override {
        if (!queries_)
            queries_ = readQueries();
        return *queries_;
    }
    const std::vector<dao::Container>& containers() override {
        if (!containers_)
            containers_ = readContainers();
        return *containers_;
    }
    std::unique_ptr<dao::Recordset> openRecordset(std::string_view tableName) override {
        return std::make_unique<JetRecordset>(*file_, tableName);
    }
    std::vector<Error> readFailures() override { return failures_; }

private:
    PropertyBlob blobOf(const CatalogObject& o) const {
        return ParsePropertyBlob(o.lvProp, file_->header().version, file_->header().codePage);
    }

    std::vector<dao::TableDef> readTables();
    void readLinkedFields(const CatalogObject& o, dao::TableDef& t);
    std::vector<dao::QueryDef> readQueries();
    std::vector<dao::Container> readContainers();

    std::string path_;
    std::unique_ptr<JetFile> file_;
    std::vector<Error> failures_;  // before the catalogue, whose reading adds to it
    std::vector<CatalogObject> catalog_;
    ComplexTypes complexTypes_;
    Properties properties_;
    std::optional<std::vector<dao::TableDef>> tables_;
    std::optional<std::vector<dao::QueryDef>> queries_;
    std::optional<std::vector<dao::Container>> containers_;
};

std::vector<dao::TableDef> JetDatabase::readTables() {
    std::vector<dao::TableDef> tables;
    for (const auto& o : catalog_) {
        if (o.type != kLocalTable && o.type != kLink && o.type != kOdbcLink)
            continue;
        dao::TableDef t;
        t.name = o.name;
        t.dateCreated = o.created;
        t.lastUpdated = o.updated;
        const auto blob = blobOf(o);
        t.properties = blob.object;
        if (o.type == kLocalTable) {
            // The system and hidden marks of MSysObjects.Flags are what the program tests.
            t.attributes = o.flags;
            t.updatable = true;
            try {
                const auto def = ReadTableDefinition(file_->bytes(),
                                                     static_cast<std::uint32_t>(o.id & kPageOfId),
                                                     file_->header(), o.name);
                t.recordCount = static_cast<std::int32_t>(def.rowCount);
                t.fields = fieldsOf(def, blob, file_->header().version, complexTypes_);
                t.indexes = indexesOf(def);
            } catch (const Error& e) {
                t.problem = e.description();
                t.problemNumber = e.number();
            }
        } else {
            t.attributes = o.type == kOdbcLink ? dao::dbAttachedODBC : dao::dbAttachedTable;
            t.connect = linkConnect(o);
            t.sourceTableName = o.foreignName;
            t.recordCount = -1;
            t.updatable = false;
            if (isJetLink(o)) {
                readLinkedFields(o, t);
            } else {
                t.problem = "リンク先 (" + t.connect + ") はこの環境では読めません。";
            }
        }
        tables.push_back(std::move(t));
    }
    sortByName(tables, [](const dao::TableDef& t) -> const std::string& { return t.name; });
    return tables;
}

// A linked Jet table's fields come from the linked file: at the stored path when it exists
// here, else under the same file name beside the target. When neither can be read the table
// has no fields, as DAO showed a link whose file was gone.
void JetDatabase::readLinkedFields(const CatalogObject& o, dao::TableDef& t) {
    namespace fs = std::filesystem;
    std::string windowsPath = o.database;
    std::replace(windowsPath.begin(), windowsPath.end(), '\\', '/');
    const fs::path stored(windowsPath);
    const fs::path beside = fs::path(path_).parent_path() / stored.filename();
    const fs::path source = fs::exists(stored) ? stored : beside;
    try {
        JetFile linked(source);
        const auto linkedCatalog = readCatalog(linked, nullptr);
        const auto linkedComplexTypes = readComplexTypes(linked, linkedCatalog, nullptr);
        for (const auto& lo : linkedCatalog) {
            if (lo.type != kLocalTable || !util::EqualsIgnoreCase(lo.name, o.foreignName))
                continue;
            const auto def =
                ReadTableDefinition(linked.bytes(), static_cast<std::uint32_t>(lo.id & kPageOfId),
                                    linked.header(), lo.name);
            const auto blob =
                ParsePropertyBlob(lo.lvProp, linked.header().version, linked.header().codePage);
            t.fields = fieldsOf(def, blob, linked.header().version, linkedComplexTypes);
            t.indexes = indexesOf(def);
            return;
        }
        t.problem =
            "リンク先 '" + o.database + "' にテーブル '" + o.foreignName + "' がありません。";
    } catch (const Error& e) {
        t.problem = "リンク先 '" + o.database + "' を開けません: " + e.description();
    }
}

std::vector<dao::QueryDef> JetDatabase::readQueries() {
    std::map<std::int32_t, std::vector<QueryRow>> rowsByQuery;
    try {
        TableReader r(*file_, "MSysQueries");
        if (auto cut = cutShort(r, "MSysQueries"))
            failures_.push_back(std::move(*cut));
        const int cObject = r.columnIndex("ObjectId"), cAttribute = r.columnIndex("Attribute"),
                  cOrder = r.columnIndex("Order"), cName1 = r.columnIndex("Name1"),
                  cName2 = r.columnIndex("Name2"), cExpression = r.columnIndex("Expression"),
                  cFlag = r.columnIndex("Flag"), cExtra = r.columnIndex("LvExtra");
        while (r.next()) {
            QueryRow row;
            row.attribute = static_cast<int>(r.value(cAttribute).toInteger());
            row.expression = r.value(cExpression).toText();
            const auto flag = r.value(cFlag);
            if (!flag.isNull())
                row.flag = static_cast<int>(flag.toInteger());
            row.name1 = r.value(cName1).toText();
            row.name2 = r.value(cName2).toText();
            row.order = r.bytes(cOrder).data;
            row.lvExtra = r.bytes(cExtra).data;
            rowsByQuery[static_cast<std::int32_t>(r.value(cObject).toInteger())].push_back(
                std::move(row));
        }
    } catch (const Error& e) {
        // A file without MSysQueries simply has no saved SQL; one that does not read is a gap.
        if (e.number() != err::kNoSuchTable)
            failures_.push_back(e);
    }

    const auto& tables = tableDefs();
    std::vector<const CatalogObject*> objects;
    std::map<std::string, std::size_t> queryIndex;
    for (const auto& o : catalog_) {
        if (o.type != kQuery)
            continue;
        queryIndex.emplace(util::UCase(o.name), objects.size());
        objects.push_back(&o);
    }

    // "Q.*" stands for the columns of query Q, which is rebuilt first for them.
    std::vector<std::optional<RebuiltQuery>> rebuilt(objects.size());
    ReadQueriesInStarOrder(
        objects.size(),
        [&](const std::string& source) -> std::optional<std::vector<std::string>> {
            for (const auto& t : tables) {
                if (!util::EqualsIgnoreCase(t.name, source))
                    continue;
                std::vector<std::string> names;
                for (const auto& f : t.fields)
                    names.push_back(f.name);
                return names;
            }
            return std::nullopt;
        },
        [&](const std::string& source) -> std::optional<std::size_t> {
            const auto q = queryIndex.find(util::UCase(source));
            return q == queryIndex.end() ? std::nullopt : std::optional(q->second);
        },
        [&](std::size_t i, const StarFields& starFields) {
            rebuilt[i] = RebuildQuery(rowsByQuery[objects[i]->id], starFields);
            std::vector<std::string> names;
            for (const auto& c : rebuilt[i]->columns)
                names.push_back(c.name);
            return names;
        });

    std::vector<dao::QueryDef> queries;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const CatalogObject& o = *objects[i];
        dao::QueryDef q;
        q.name = o.name;
        q.dateCreated = o.created;
        q.lastUpdated = o.updated;
        q.properties = blobOf(o).object;
        RebuiltQuery& r = *rebuilt[i];
        q.type = r.type | (o.flags & kHiddenQueryFlag);
        q.setSql(std::move(r.sql));
        q.setConnect(std::move(r.connect));
        for (auto& c : r.columns) {
            dao::Field f;
            f.name = std::move(c.name);
            f.sourceTable = std::move(c.sourceTable);
            f.sourceField = std::move(c.sourceField);
            f.expression = std::move(c.qualified);
            q.fields.push_back(std::move(f));
        }
        queries.push_back(std::move(q));
    }

    // Output columns take the type of the column they come from or of their expression.
    dao::TypeQueryFields(tables, queries);
    sortByName(queries, [](const dao::QueryDef& q) -> const std::string& { return q.name; });
    return queries;
}

std::vector<dao::Container> JetDatabase::readContainers() {
    std::vector<dao::Container> containers;
    for (const auto& c : catalog_) {
        if (c.type != kContainer)
            continue;
        dao::Container container;
        container.name = c.name;
        for (const auto& o : catalog_) {
            if (o.parentId != c.id || o.type == kContainer)
                continue;
            dao::Document d;
            d.name = o.name;
            d.dateCreated = o.created;
            d.lastUpdated = o.updated;
            d.properties.put("Name", o.name);
            d.properties.put("Container", c.name);
            d.properties.put("DateCreated", o.created);
            d.properties.put("LastUpdated", o.updated);
            for (const auto& p : blobOf(o).object)
                d.properties.put(p.name, p.value);
            container.documents.push_back(std::move(d));
        }
        sortByName(container.documents,
                   [](const dao::Document& d) -> const std::string& { return d.name; });
        containers.push_back(std::move(container));
    }
    sortByName(containers, [](const dao::Container& c) -> const std::string& { return c.name; });
    return containers;
}

}  // namespace

std::unique_ptr<dao::Database> JetEngine::openDatabase(const std::string& path) {
    return std::make_unique<JetDatabase>(path);
}

}  // namespace zanfor::host::jet
