#pragma once

// The live rows of a table, read straight from the file. A table's pages come from its usage
// map; a row slot marked deleted (0x8000) is skipped and one marked overflow (0x4000) is
// followed to where the row now lives, which is what Jet does and libmdb does not (it returns
// deleted rows and loses moved ones).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/jet/jet_header.h"
#include "host/jet/table_definition.h"
#include "host/value.h"

namespace zanfor::host::jet {

class RowReader {
public:
    // `table` and `name` are used for error messages only. Host error 3049 when the usage map
    // cannot be read at all; damaged single rows are skipped.
    RowReader(std::string_view file, const JetHeader& header, const TableDefinition& table,
              std::uint32_t tablePage, std::string name);

    bool next();
    // The pages the usage map lists that lie beyond the end of the file: a file cut short loses
    // the rows they held, which the caller must not pass off as the whole table.
    std::size_t missingPages() const { return missingPages_; }

    bool isNull(const ColumnDefinition& column) const;
    // The column's stored bytes in the current row; empty for Null.
    std::string_view stored(const ColumnDefinition& column) const;
    // Typed as Jet stores it: Bool, Integer, Double, Date, Text; binary and OLE as Null. A
    // complex column gives its value's id, a date/time extended its text.
    Value value(const ColumnDefinition& column) const;
    // The bytes of binary and OLE values, and of memo values before decoding.
    std::string bytes(const ColumnDefinition& column) const;

private:
    bool crack(std::string_view row);
    // As stored, a calculated column's header included.
    std::string_view storedPlain(const ColumnDefinition& column) const;
    std::string_view rowAt(std::uint32_t page, std::size_t slot, bool followMoved) const;

    std::string_view file_;
    JetHeader header_;
    const TableDefinition* table_;
    std::uint32_t tablePage_;
    std::string name_;
    std::vector<std::uint32_t> pages_;
    std::size_t missingPages_ = 0;
    std::size_t pageIndex_ = 0;
    std::size_t slot_ = 0;

    std::string_view row_;
    std::size_t columnsInRow_ = 0;
    std::string_view nullMask_;
    std::size_t fixedStart_ = 0;
    std::vector<std::size_t> varOffsets_;  // variable column offsets, the end of data last
};

// Jet 4 text: UCS-2, or its compressed form (0xFF 0xFE, then runs of one-byte characters and
// UCS-2 switched by 0x00 bytes). Jet 3 text is in the header's code page.
std::string DecodeJetText(std::string_view bytes, const JetHeader& header);

}  // namespace zanfor::host::jet
