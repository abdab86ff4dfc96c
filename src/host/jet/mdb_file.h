#pragma once

// An .mdb file opened for reading. The file is mapped read-only, so nothing can ever be written
// to the user's database; tables are read through their definitions and usage maps.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/jet/jet_header.h"
#include "host/jet/row_reader.h"
#include "host/jet/table_definition.h"
#include "host/value.h"

namespace zanfor::host::jet {

// A read-only view of the whole file.
class MappedFile {
public:
    // Host errors: 3024 missing, 3051 unreadable, 3343 a folder or not a file.
    explicit MappedFile(const std::filesystem::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_, size_}; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

class JetFile {
public:
    // Host errors as MappedFile and ParseJetHeader, 3031 when a database password is set or the
    // pages are encrypted, 3049 when the catalog (MSysObjects) cannot be read.
    explicit JetFile(const std::filesystem::path& path);

    const JetHeader& header() const { return header_; }
    const std::filesystem::path& path() const { return path_; }
    std::string_view bytes() const { return map_->bytes(); }

    // The definition page of a local table (system tables included), found by name without
    // regard to case; nothing when there is no such table.
    std::optional<std::uint32_t> tablePage(std::string_view name) const;

private:
    std::filesystem::path path_;
    std::unique_ptr<MappedFile> map_;
    JetHeader header_;
    std::map<std::string, std::uint32_t> tables_;  // upper-cased name -> definition page
};

// Raw bytes of an OLE or binary value, kept apart from text.
struct Bytes {
    std::string data;
};

// A forward scan over one table's live rows, with values typed as Jet stores them.
class TableReader {
public:
    // Host error 3078 when the table does not exist; 3049 when its definition is unreadable.
    TableReader(const JetFile& file, std::string_view tableName);
    // The row reader points into this reader's table definition.
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    const std::vector<std::string>& columnNames() const { return names_; }
    // -1 when the table has no such column.
    int columnIndex(std::string_view name) const;
    int columnType(int column) const;
    const TableDefinition& definition() const { return definition_; }

    bool next();
    // Pages of the table that lie beyond the end of the file (see RowReader).
    std::size_t missingPages() const;
    // Null, Bool, Integer, Double, Date or Text; OLE and binary columns read as Null here.
    Value value(int column) const;
    Value value(std::string_view column) const;
    // The bytes of an OLE, binary or memo column (memo as stored, not decoded).
    Bytes bytes(int column) const;

private:
    TableDefinition definition_;
    std::vector<std::string> names_;
    std::unique_ptr<RowReader> rows_;
};

// A long value (memo or OLE) from its 12-byte header as stored in the row: inline, in one
// long-value page, or in a chain of them. Read from the file's bytes with every pointer checked,
// so a damaged chain gives what could be read, never a loop or a read outside the file.
std::string ReadLongValue(std::string_view file, const JetHeader& header, std::string_view stored);

}  // namespace zanfor::host::jet
