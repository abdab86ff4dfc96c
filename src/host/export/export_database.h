#pragma once

// The DAO side of an object export folder given as the target: tables (local ones with their
// fields, indexes and properties; links), saved queries with their type, SQL and, where the
// export has the design, their fields; the containers Forms, Reports, Scripts, Modules and
// DataAccessPages with a document per exported object; the database's properties; and the
// system tables MSysIMEXSpecs / MSysIMEXColumns when the export holds import/export
// definitions. Nothing is ever written to the folder.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/dao.h"
#include "host/export/export_folder.h"
#include "host/export/import_export_tables.h"

namespace zanfor::host::exports {

class ExportDatabase : public dao::Database {
public:
    explicit ExportDatabase(std::shared_ptr<const ExportFolder> folder);

    std::string name() const override;
    std::string version() const override { return "4.0"; }
    std::int16_t queryTimeout() const override;
    bool updatable() const override { return false; }

    // A table whose file cannot be read is listed with its problem (the file and line) and no
    // fields; a query whose file cannot be read raises that problem when its SQL is read.
    const std::vector<dao::TableDef>& tableDefs() override;
    const std::vector<dao::QueryDef>& queryDefs() override;
    const std::vector<dao::Container>& containers() override;
    Properties& properties() override;
    // MSysIMEXSpecs and MSysIMEXColumns have rows; other tables are exported without theirs.
    std::unique_ptr<dao::Recordset> openRecordset(std::string_view tableName) override;
    // The relationships the export holds (an unreadable file is one of problems()).
    std::vector<dao::Relation> relations() override;

    const ExportFolder& folder() const { return *folder_; }
    // What could not be read besides tables and queries (the properties file, import/export
    // definitions, relationships), each naming its file; reading went on without it.
    const std::vector<std::string>& problems();
    std::vector<Error> readFailures() override;

private:
    void readTables();
    const Properties& loadProperties() const;

    std::shared_ptr<const ExportFolder> folder_;
    std::optional<std::vector<dao::TableDef>> tables_;
    std::vector<dao::Relation> relations_;
    std::optional<std::vector<dao::QueryDef>> queries_;
    std::optional<std::vector<dao::Container>> containers_;
    mutable std::optional<Properties> properties_;
    mutable std::vector<std::string> problems_;
    ImportExportTables importExport_;
};

}  // namespace zanfor::host::exports
