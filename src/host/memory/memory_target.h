#pragma once

// Targets built in code, for tests: a whole database (tables, queries, containers, properties,
// rows) and its Access project (forms, reports, modules, macros) described in a few lines.
//
//   MemoryTargetBuilder b("/data/販売.mdb");
//   b.table("顧客").field("ID", dao::dbLong, 4, dao::dbAutoIncrField | dao::dbFixedField)
//       .field("名前", dao::dbText, 50).primaryKey({"ID"});
//   b.query("q顧客", dao::dbQSelect, "SELECT * FROM 顧客;");
//   b.form("F顧客").control(109, "txt名前", {{"ControlSource", "名前"}}).code("Option Explicit");
//   b.module("modUtil", "Public Sub Main()\nEnd Sub");
//   MemoryEngine engine;
//   engine.add(b.build());

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/access.h"
#include "host/dao.h"

namespace zanfor::host::memory {

struct TableRows {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
};

struct MemoryMacro {
    std::string name;
    // The module text Access's conversion produced for this macro.
    std::string convertedText;
};

struct MemoryTarget {
    std::string path;
    std::string version = "4.0";
    std::int16_t queryTimeout = 60;
    bool updatable = true;
    Properties properties;
    std::vector<dao::TableDef> tables;
    std::vector<dao::QueryDef> queries;
    std::vector<dao::Container> containers;
    std::map<std::string, TableRows> rows;
    std::vector<access::DesignObject> forms;
    std::vector<access::DesignObject> reports;
    std::vector<std::shared_ptr<const access::Module>> modules;  // standard and class modules
    std::vector<MemoryMacro> macros;

    dao::Container& container(std::string_view name);
};

class MemoryTargetBuilder;

class TableBuilder {
public:
    TableBuilder& field(std::string name, int type, std::int32_t size, std::int32_t attributes = 0);
    // Sets further values of the field added last.
    TableBuilder& fieldDetails(std::string defaultValue, std::string validationRule = {},
                               bool allowZeroLength = false, std::string description = {});
    TableBuilder& index(std::string name, std::vector<std::string> fields, bool primary = false,
                        bool unique = false);
    TableBuilder& primaryKey(std::vector<std::string> fields);
    TableBuilder& link(std::string connect, std::string sourceTableName);
    TableBuilder& attributes(std::int32_t attributes);
    TableBuilder& description(std::string text);
    TableBuilder& recordCount(std::int32_t count);
    TableBuilder& row(std::vector<Value> values);

private:
    friend class MemoryTargetBuilder;
    TableBuilder(MemoryTarget& target, std::size_t index) : target_(&target), index_(index) {}
    dao::TableDef& def() const { return target_->tables[index_]; }
    MemoryTarget* target_;
    std::size_t index_;
};

class DesignBuilder {
public:
    // A control of the given ControlType code; Name and ControlType lead its properties, the
    // given ones follow in order.
    DesignBuilder& control(int controlType, std::string name,
                           std::vector<Property> properties = {});
    // A control whose Properties come whole, in the order Access enumerates them (as the
    // property schema builds them), for readers that take properties by index.
    DesignBuilder& control(access::Control control);
    DesignBuilder& property(std::string name, Value value);
    // Replaces the object's own Properties with a whole collection in Access's order.
    DesignBuilder& properties(Properties properties);
    DesignBuilder& code(std::string_view text);
    DesignBuilder& groupLevel(access::GroupLevel level);
    // A section with Access's section number (0 detail, 1 form header, ...).
    DesignBuilder& section(int number, Properties properties);
    DesignBuilder& description(std::string text);

private:
    friend class MemoryTargetBuilder;
    DesignBuilder(MemoryTarget& target, bool report, std::size_t index)
        : target_(&target), report_(report), index_(index) {}
    access::DesignObject& object() const;
    dao::Document& document() const;
    MemoryTarget* target_;
    bool report_;
    std::size_t index_;
};

class MemoryTargetBuilder {
public:
    explicit MemoryTargetBuilder(std::string path);

    MemoryTargetBuilder& property(std::string name, Value value);
    MemoryTargetBuilder& version(std::string version);
    TableBuilder table(std::string name);
    MemoryTargetBuilder& query(std::string name, int type, std::string sql);
    // The last query added cannot have its SQL read (DAO's error 3258).
    MemoryTargetBuilder& unreadableQuery(std::string name, int type);
    DesignBuilder form(std::string name);
    DesignBuilder report(std::string name);
    MemoryTargetBuilder& page(std::string name);
    MemoryTargetBuilder& macro(std::string name, std::string convertedText = {});
    MemoryTargetBuilder& module(std::string name, std::string_view text,
                                access::ModuleType type = access::ModuleType::Standard);
    // Dates of the object added last (table, query or document); empty for an object whose
    // source keeps none, as an export folder's.
    MemoryTargetBuilder& dates(std::optional<Date> created, std::optional<Date> updated);

    std::shared_ptr<const MemoryTarget> build() const;

private:
    dao::Document& addDocument(std::string_view container, std::string name);
    DesignBuilder design(bool report, std::string name);
    Date nextDate();

    std::shared_ptr<MemoryTarget> target_;
    std::optional<Date>* lastCreated_ = nullptr;
    std::optional<Date>* lastUpdated_ = nullptr;
    int dateCounter_ = 0;
};

// DAO's workspace over targets registered by path.
class MemoryEngine : public dao::Engine {
public:
    void add(std::shared_ptr<const MemoryTarget> target);
    std::unique_ptr<dao::Database> openDatabase(const std::string& path) override;
    std::shared_ptr<const MemoryTarget> find(const std::string& path) const;

private:
    std::map<std::string, std::shared_ptr<const MemoryTarget>> targets_;
};

// Each opened database has its own copy of the database properties: writes stay in it.
class MemoryDatabase : public dao::Database {
public:
    explicit MemoryDatabase(std::shared_ptr<const MemoryTarget> target);

    std::string name() const override { return target_->path; }
    std::string version() const override { return target_->version; }
    std::int16_t queryTimeout() const override { return target_->queryTimeout; }
    bool updatable() const override { return target_->updatable; }
    const std::vector<dao::TableDef>& tableDefs() override { return target_->tables; }
    const std::vector<dao::QueryDef>& queryDefs() override { return target_->queries; }
    const std::vector<dao::Container>& containers() override { return target_->containers; }
    Properties& properties() override { return properties_; }
    std::unique_ptr<dao::Recordset> openRecordset(std::string_view tableName) override;

    const MemoryTarget& target() const { return *target_; }

private:
    std::shared_ptr<const MemoryTarget> target_;
    Properties properties_;
};

class MemoryApplication : public access::Application {
public:
    explicit MemoryApplication(MemoryEngine& engine) : engine_(&engine) {}

    void openCurrentDatabase(const std::string& path) override;
    void closeCurrentDatabase() override;
    dao::Database& currentDb() override;
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    access::DesignObject& openForm(const std::string& name, access::View view) override;
    access::DesignObject& openReport(const std::string& name, access::View view) override;
    const access::Module& openModule(const std::string& name) override;
    void close(access::ObjectType type, const std::string& name) override;
    // The macro's converted text as the target gives it; 30010 for a name it has no macro of.
    access::Module convertMacro(const std::string& macroName) override;

    // Names of the objects open now, for tests that check everything was closed.
    std::vector<std::string> openObjectNames() const;

private:
    const MemoryTarget& current() const;
    access::DesignObject& open(bool report, const std::string& name);

    MemoryEngine* engine_;
    std::unique_ptr<MemoryDatabase> db_;
    bool visible_ = false;
    std::map<std::string, std::unique_ptr<access::DesignObject>> openObjects_;
    std::vector<std::string> openModules_;
};

class MemoryApplicationFactory : public access::ApplicationFactory {
public:
    explicit MemoryApplicationFactory(MemoryEngine& engine) : engine_(&engine) {}
    std::unique_ptr<access::Application> createApplication() override {
        return std::make_unique<MemoryApplication>(*engine_);
    }

private:
    MemoryEngine* engine_;
};

}  // namespace zanfor::host::memory
