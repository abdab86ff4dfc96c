#include "host/memory/memory_target.h"

#include <algorithm>

#include "util/vb_string.h"

namespace zanfor::host::memory {

using access::DesignObject;
using access::ObjectType;

namespace {

// Access's containers, in the order DAO lists them.
constexpr std::string_view kContainers[] = {"Forms", "Reports", "Scripts", "Modules",
                                            "DataAccessPages"};

// 2003-04-01, an arbitrary but fixed first date, so fixtures are reproducible.
constexpr double kFirstDate = 37712.0;

[[noreturn]] void noSuchObject(std::string_view kind, std::string_view name) {
    throw Error(err::kNoSuchObject,
                std::string(kind) + " '" + std::string(name) + "' は存在しません。");
}

template <class Items, class Name>
auto findByName(Items& items, std::string_view name, Name nameOf) -> decltype(&items[0]) {
    for (auto& item : items) {
        if (util::EqualsIgnoreCase(nameOf(item), name))
            return &item;
    }
    return nullptr;
}

class MemoryRecordset : public dao::Recordset {
public:
    explicit MemoryRecordset(const TableRows& rows) : rows_(&rows) {}

    bool eof() const override { return position_ >= rows_->rows.size(); }
    void moveNext() override {
        if (!eof())
            ++position_;
    }
    const std::vector<std::string>& fieldNames() const override { return rows_->columns; }
    Value field(std::string_view name) const override {
        if (eof())
            throw Error(3021, "カレント レコードがありません。");
        for (std::size_t i = 0; i < rows_->columns.size(); ++i) {
            if (util::EqualsIgnoreCase(rows_->columns[i], name)) {
                const auto& row = rows_->rows[position_];
                return i < row.size() ? row[i] : Value();
            }
        }
        throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
    }

private:
    const TableRows* rows_;
    std::size_t position_ = 0;
};

}  // namespace

dao::Container& MemoryTarget::container(std::string_view name) {
    auto* c = findByName(containers, name, [](const dao::Container& x) { return x.name; });
    if (!c)
        throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
    return *c;
}

// Table builder.

TableBuilder& TableBuilder::field(std::string name, int type, std::int32_t size,
                                  std::int32_t attributes) {
    dao::Field f;
    f.name = std::move(name);
    f.type = type;
    f.size = size;
    f.attributes = attributes;
    def().fields.push_back(std::move(f));
    return *this;
}

TableBuilder& TableBuilder::fieldDetails(std::string defaultValue, std::string validationRule,
                                         bool allowZeroLength, std::string description) {
    auto& f = def().fields.back();
    f.defaultValue = std::move(defaultValue);
    f.validationRule = std::move(validationRule);
    f.allowZeroLength = allowZeroLength;
    if (!description.empty())
        f.properties.put("Description", std::move(description));
    return *this;
}

TableBuilder& TableBuilder::index(std::string name, std::vector<std::string> fields, bool primary,
                                  bool unique) {
    dao::Index ix;
    ix.name = std::move(name);
    ix.primary = primary;
    ix.unique = unique || primary;
    ix.required = primary;
    ix.ignoreNulls = false;
    for (auto& f : fields)
        ix.fields.push_back({std::move(f), false});
    def().indexes.push_back(std::move(ix));
    return *this;
}

TableBuilder& TableBuilder::primaryKey(std::vector<std::string> fields) {
    return index("PrimaryKey", std::move(fields), true, true);
}

TableBuilder& TableBuilder::link(std::string connect, std::string sourceTableName) {
    def().connect = std::move(connect);
    def().sourceTableName = std::move(sourceTableName);
    def().attributes |= def().connect.find("ODBC;") != std::string::npos ? dao::dbAttachedODBC
                                                                         : dao::dbAttachedTable;
    def().updatable = false;
    return *this;
}

TableBuilder& TableBuilder::attributes(std::int32_t attributes) {
    def().attributes = attributes;
    return *this;
}

TableBuilder& TableBuilder::description(std::string text) {
    def().properties.put("Description", std::move(text));
    return *this;
}

TableBuilder& TableBuilder::recordCount(std::int32_t count) {
    def().recordCount = count;
    return *this;
}

TableBuilder& TableBuilder::row(std::vector<Value> values) {
    auto& rows = target_->rows[def().name];
    if (rows.columns.empty()) {
        for (const auto& f : def().fields)
            rows.columns.push_back(f.name);
    }
    rows.rows.push_back(std::move(values));
    def().recordCount = static_cast<std::int32_t>(rows.rows.size());
    return *this;
}

// Design builder.

DesignObject& DesignBuilder::object() const {
    return report_ ? target_->reports[index_] : target_->forms[index_];
}

dao::Document& DesignBuilder::document() const {
    auto& docs = target_->container(report_ ? "Reports" : "Forms").documents;
    return docs[index_];
}

DesignBuilder& DesignBuilder::control(int controlType, std::string name,
                                      std::vector<Property> properties) {
    access::Control c;
    c.properties.put("Name", std::move(name));
    c.properties.put("ControlType", controlType);
    for (auto& p : properties)
        c.properties.put(std::move(p.name), std::move(p.value));
    object().controls.push_back(std::move(c));
    return *this;
}

DesignBuilder& DesignBuilder::control(access::Control control) {
    object().controls.push_back(std::move(control));
    return *this;
}

DesignBuilder& DesignBuilder::property(std::string name, Value value) {
    object().properties.put(std::move(name), std::move(value));
    return *this;
}

DesignBuilder& DesignBuilder::properties(Properties properties) {
    object().properties = std::move(properties);
    return *this;
}

DesignBuilder& DesignBuilder::code(std::string_view text) {
    auto& o = object();
    o.module = std::make_shared<const access::Module>((report_ ? "Report_" : "Form_") + o.name,
                                                      access::ModuleType::Class, text);
    o.properties.put("HasModule", true);
    return *this;
}

DesignBuilder& DesignBuilder::groupLevel(access::GroupLevel level) {
    object().groupLevels.push_back(std::move(level));
    return *this;
}

DesignBuilder& DesignBuilder::section(int number, Properties properties) {
    object().sections.push_back(std::move(properties));
    object().sectionNumbers.push_back(number);
    return *this;
}

DesignBuilder& DesignBuilder::description(std::string text) {
    document().properties.put("Description", std::move(text));
    return *this;
}

// Target builder.

MemoryTargetBuilder::MemoryTargetBuilder(std::string path)
    : target_(std::make_shared<MemoryTarget>()) {
    target_->path = std::move(path);
    for (auto name : kContainers)
        target_->containers.push_back({std::string(name), {}});
    target_->properties.put("AccessVersion", "08.50");
}

Date MemoryTargetBuilder::nextDate() { return Date{kFirstDate + dateCounter_++}; }

MemoryTargetBuilder& MemoryTargetBuilder::property(std::string name, Value value) {
    target_->properties.put(std::move(name), std::move(value));
    return *this;
}

MemoryTargetBuilder& MemoryTargetBuilder::version(std::string version) {
    target_->version = std::move(version);
    return *this;
}

TableBuilder MemoryTargetBuilder::table(std::string name) {
    dao::TableDef t;
    t.name = std::move(name);
    t.dateCreated = t.lastUpdated = nextDate();
    target_->tables.push_back(std::move(t));
    lastCreated_ = &target_->tables.back().dateCreated;
    lastUpdated_ = &target_->tables.back().lastUpdated;
    return TableBuilder(*target_, target_->tables.size() - 1);
}

MemoryTargetBuilder& MemoryTargetBuilder::query(std::string name, int type, std::string sql) {
    dao::QueryDef q;
    q.name = std::move(name);
    q.type = type;
    q.setSql(std::move(sql));
    q.dateCreated = q.lastUpdated = nextDate();
    q.updatable = type == dao::dbQSelect;
    target_->queries.push_back(std::move(q));
    lastCreated_ = &target_->queries.back().dateCreated;
    lastUpdated_ = &target_->queries.back().lastUpdated;
    return *this;
}

MemoryTargetBuilder& MemoryTargetBuilder::unreadableQuery(std::string name, int type) {
    query(std::move(name), type, {});
    target_->queries.back().setReadError(
        Error(err::kAmbiguousOuterJoins,
              "あいまいな外部結合のため、SQL ステートメントを実行できませんでした。"));
    return *this;
}

dao::Document& MemoryTargetBuilder::addDocument(std::string_view container, std::string name) {
    auto& docs = target_->container(container).documents;
    dao::Document d;
    d.name = std::move(name);
    d.dateCreated = d.lastUpdated = nextDate();
    docs.push_back(std::move(d));
    lastCreated_ = &docs.back().dateCreated;
    lastUpdated_ = &docs.back().lastUpdated;
    return docs.back();
}

DesignBuilder MemoryTargetBuilder::design(bool report, std::string name) {
    addDocument(report ? "Reports" : "Forms", name);
    DesignObject o;
    o.kind = report ? ObjectType::Report : ObjectType::Form;
    o.name = std::move(name);
    o.properties.put("HasModule", false);
    auto& designs = report ? target_->reports : target_->forms;
    designs.push_back(std::move(o));
    return DesignBuilder(*target_, report, designs.size() - 1);
}

DesignBuilder MemoryTargetBuilder::form(std::string name) { return design(false, std::move(name)); }

DesignBuilder MemoryTargetBuilder::report(std::string name) {
    return design(true, std::move(name));
}

MemoryTargetBuilder& MemoryTargetBuilder::page(std::string name) {
    addDocument("DataAccessPages", std::move(name));
    return *this;
}

MemoryTargetBuilder& MemoryTargetBuilder::macro(std::string name, std::string convertedText) {
    addDocument("Scripts", name);
    target_->macros.push_back({std::move(name), std::move(convertedText)});
    return *this;
}

MemoryTargetBuilder& MemoryTargetBuilder::module(std::string name, std::string_view text,
                                                 access::ModuleType type) {
    addDocument("Modules", name);
    target_->modules.push_back(std::make_shared<const access::Module>(std::move(name), type, text));
    return *this;
}

MemoryTargetBuilder& MemoryTargetBuilder::dates(std::optional<Date> created,
                                                std::optional<Date> updated) {
    if (lastCreated_)
        *lastCreated_ = created;
    if (lastUpdated_)
        *lastUpdated_ = updated;
    return *this;
}

std::shared_ptr<const MemoryTarget> MemoryTargetBuilder::build() const {
    // A copy, so the builder can go on and built targets never change under a test.
    return std::make_shared<const MemoryTarget>(*target_);
}

// Engine and database.

void MemoryEngine::add(std::shared_ptr<const MemoryTarget> target) {
    targets_[target->path] = std::move(target);
}

std::shared_ptr<const MemoryTarget> MemoryEngine::find(const std::string& path) const {
    auto it = targets_.find(path);
    return it == targets_.end() ? nullptr : it->second;
}

std::unique_ptr<dao::Database> MemoryEngine::openDatabase(const std::string& path) {
    auto target = find(path);
    if (!target)
        throw Error(err::kCannotOpenFile, "ファイル '" + path + "' が見つかりません。");
    return std::make_unique<MemoryDatabase>(std::move(target));
}

MemoryDatabase::MemoryDatabase(std::shared_ptr<const MemoryTarget> target)
    : target_(std::move(target)), properties_(target_->properties) {}

std::unique_ptr<dao::Recordset> MemoryDatabase::openRecordset(std::string_view tableName) {
    for (const auto& [name, rows] : target_->rows) {
        if (util::EqualsIgnoreCase(name, tableName))
            return std::make_unique<MemoryRecordset>(rows);
    }
    auto* def = findByName(target_->tables, tableName, [](const auto& t) { return t.name; });
    if (def) {
        static const TableRows kEmpty;
        return std::make_unique<MemoryRecordset>(kEmpty);
    }
    throw Error(err::kNoSuchTable, "入力テーブルまたはクエリ '" + std::string(tableName) +
                                       "' が見つかりませんでした。");
}

// Application.

const MemoryTarget& MemoryApplication::current() const {
    if (!db_)
        throw Error(err::kAccessClosed, "データベースが開かれていません。");
    return db_->target();
}

void MemoryApplication::openCurrentDatabase(const std::string& path) {
    auto target = engine_->find(path);
    if (!target)
        throw Error(err::kCannotOpenFile, "ファイル '" + path + "' が見つかりません。");
    db_ = std::make_unique<MemoryDatabase>(std::move(target));
    openObjects_.clear();
    openModules_.clear();
}

void MemoryApplication::closeCurrentDatabase() {
    db_.reset();
    openObjects_.clear();
    openModules_.clear();
}

dao::Database& MemoryApplication::currentDb() {
    current();
    return *db_;
}

DesignObject& MemoryApplication::open(bool report, const std::string& name) {
    const auto& target = current();
    const auto& designs = report ? target.reports : target.forms;
    auto* design = findByName(designs, name, [](const DesignObject& o) { return o.name; });
    if (!design)
        noSuchObject(report ? "レポート" : "フォーム", name);
    // Each open gets a fresh copy, so what a reader changes on it is gone at close time.
    auto& slot = openObjects_[(report ? "R:" : "F:") + design->name];
    slot = std::make_unique<DesignObject>(*design);
    return *slot;
}

DesignObject& MemoryApplication::openForm(const std::string& name, access::View) {
    return open(false, name);
}

DesignObject& MemoryApplication::openReport(const std::string& name, access::View) {
    return open(true, name);
}

const access::Module& MemoryApplication::openModule(const std::string& name) {
    const auto& target = current();
    auto byName = [](const std::shared_ptr<const access::Module>& m) { return m->name(); };
    auto* module = findByName(target.modules, name, byName);
    if (!module) {
        throw Error(2516, "モジュール '" + name + "' が見つかりません。");
    }
    openModules_.push_back((*module)->name());
    return **module;
}

void MemoryApplication::close(ObjectType type, const std::string& name) {
    if (type == ObjectType::Form || type == ObjectType::Report) {
        const std::string prefix = type == ObjectType::Report ? "R:" : "F:";
        for (auto it = openObjects_.begin(); it != openObjects_.end(); ++it) {
            if (it->first.rfind(prefix, 0) == 0 &&
                util::EqualsIgnoreCase(std::string_view(it->first).substr(2), name)) {
                openObjects_.erase(it);
                return;
            }
        }
    } else if (type == ObjectType::Module) {
        std::erase_if(openModules_,
                      [&](const std::string& m) { return util::EqualsIgnoreCase(m, name); });
    }
}

access::Module MemoryApplication::convertMacro(const std::string& macroName) {
    const auto& target = current();
    auto* macro = findByName(target.macros, macroName, [](const MemoryMacro& m) { return m.name; });
    if (!macro)
        throw Error(err::kProjectStorageDamaged,
                    "マクロ '" + macroName + "' のデザインがありません。");
    return access::Module(std::string(access::kConvertedMacroPrefix) + macro->name,
                          access::ModuleType::Standard, macro->convertedText);
}

std::vector<std::string> MemoryApplication::openObjectNames() const {
    std::vector<std::string> names;
    for (const auto& [key, object] : openObjects_)
        names.push_back(object->name);
    names.insert(names.end(), openModules_.begin(), openModules_.end());
    return names;
}

}  // namespace zanfor::host::memory
