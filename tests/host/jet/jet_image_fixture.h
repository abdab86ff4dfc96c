#pragma once

// .mdb files assembled page by page in memory, so the reader's core is tested on a fresh clone
// too: a masked header, table definitions, data pages with live, deleted and moved rows, long
// values on LVAL pages and the MSysObjects rows that name the tables. The layouts are written
// from the public mdbtools notes, not taken from the reader.

#include <cstdint>
#include <string>

#include "host/jet/jet_header.h"

namespace zanfor::test {

std::string LittleEndian(std::uint64_t value, int size);

// The first page, its area from 0x18 masked as Jet masks it.
std::string JetHeaderPage(host::jet::JetVersion version, int codePage = 1252,
                          const std::u16string& password = u"", double created = 37712.5);

// One table, "Items" (ID autonumber long, Done yes/no, Price currency, Added date, Name text,
// Notes hyperlink memo, primary key on ID), whose slots hold in scan order:
//   rows page:     ID 1 (inline memo), ID 2 deleted, ID 3 (memo on one LVAL row, the rest Null),
//                  a pointer to ID 4 moved to the overflow page;
//   overflow page: ID 5 Null memo, then ID 4 (memo chained over two LVAL rows), marked deleted
//                  as Jet marks a moved row's new copy.
struct SampleDatabase {
    std::string bytes;
    std::uint32_t items = 0;  // the definition page
    std::uint32_t rows = 0;
    std::uint32_t overflow = 0;
    std::uint32_t longValues = 0;
    std::size_t pageSize = 0;
};
SampleDatabase BuildSampleDatabase(host::jet::JetVersion version);

}  // namespace zanfor::test
