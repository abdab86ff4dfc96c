// Our row reader against libmdb, an independent reader, on every table of the real files where
// libmdb's own rules give the same rows (it reads deleted rows and loses moved ones, so tables
// with such rows are compared by count only where they agree).

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "host/error.h"
#include "host/jet/jet_image_fixture.h"
#include "host/jet/mdb_file.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/jet_date.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::jet;
namespace fs = std::filesystem;
using zanfor::test::BuildSampleDatabase;
using zanfor::test::LittleEndian;
using zanfor::test::SampleDatabase;
using Columns = std::map<std::string, std::vector<std::string>>;

// Money, numeric and GUID texts follow libmdb's own formats; binary and OLE are not text.
bool comparable(int type) {
    return type == MDB_BOOL || type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT ||
           type == MDB_FLOAT || type == MDB_DOUBLE || type == MDB_DATETIME || type == MDB_TEXT ||
           type == MDB_MEMO;
}

std::string number(double d, int type) {
    char buf[32];
    std::snprintf(buf, sizeof buf, type == MDB_FLOAT ? "%.6g" : "%.12g", d);
    return buf;
}

// Our value as the text libmdb gives.
std::string ours(const Value& v, int type) {
    if (v.isNull())
        return "";
    if (type == MDB_BOOL)
        return v.toBool() ? "1" : "0";
    if (type == MDB_DATETIME)
        return zanfor::util::FormatWorkDbDate(v.toDouble());
    return type == MDB_FLOAT || type == MDB_DOUBLE ? number(v.toDouble(), type) : v.toText();
}

// Sorted, without what libmdb cannot show: a text's terminating NUL, and dates before 1900 or
// after 2700 (it leaves them "1900-01-00").
void normalise(Columns& columns) {
    for (auto& [name, values] : columns) {
        for (auto& v : values)
            v.erase(v.find_last_not_of('\0') + 1);
        std::erase_if(values, [](const std::string& v) {
            return v.size() == 19 && v[4] == '-' && (v < "1900-01-01" || v > "2700");
        });
        std::sort(values.begin(), values.end());
    }
}

Columns readWithLibmdb(const fs::path& path, const std::string& table) {
    std::unique_ptr<MdbHandle, decltype(&mdb_close)> mdb(mdb_open(path.c_str(), MDB_NOFLAGS),
                                                         mdb_close);
    Columns columns;
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        return columns;
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb.get());
    mdb_set_bind_size(mdb.get(), 256 * 1024);
    std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)> t(
        mdb_read_table_by_name(mdb.get(), const_cast<char*>(table.c_str()), MDB_TABLE),
        mdb_free_tabledef);
    if (!t || !mdb_read_columns(t.get()))
        return columns;
    std::vector<std::unique_ptr<char[]>> buffers;
    std::vector<MdbColumn*> bound;
    for (unsigned i = 0; i < t->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        if (!comparable(col->col_type))
            continue;
        buffers.push_back(std::make_unique<char[]>(256 * 1024));
        mdb_bind_column(t.get(), static_cast<int>(i + 1), buffers.back().get(), nullptr);
        bound.push_back(col);
    }
    mdb_rewind_table(t.get());
    while (mdb_fetch_row(t.get())) {
        for (std::size_t i = 0; i < bound.size(); ++i) {
            const int type = bound[i]->col_type;
            const char* text = buffers[i].get();
            columns[bound[i]->name].push_back(type != MDB_BOOL && bound[i]->cur_value_len == 0 ? ""
                                              : type == MDB_FLOAT || type == MDB_DOUBLE
                                                  ? number(std::strtod(text, nullptr), type)
                                                  : text);
        }
    }
    return columns;
}

TEST(RowReader, valuesEqualAnIndependentReaderOnEveryRealTable) {
    ZANFOR_REQUIRE_TESTDATA(data);
    std::size_t comparedTables = 0, comparedValues = 0;
    for (const char* name : {"jackcess/testV2000.mdb", "northwind-ja.mdb", "northwind-en.mdb",
                             "mdbtestdata-nwind-jet3.mdb", "ailtonz-Matriz.mdb",
                             "mdbtestdata-DateTestDatabase.mdb", "jackcess/delColTestV2000.mdb"}) {
        const fs::path path = data / "mdb" / name;
        SCOPED_TRACE(name);
        JetFile file(path);
        for (TableReader objects(file, "MSysObjects"); objects.next();) {
            if (objects.value("Type").toInteger() != 1)
                continue;
            const std::string table = objects.value("Name").toText();
            SCOPED_TRACE(table);
            TableReader reader(file, table);
            Columns columns;
            std::size_t rows = 0;
            for (; reader.next(); ++rows) {
                for (int i = 0; i < static_cast<int>(reader.columnNames().size()); ++i) {
                    if (comparable(reader.columnType(i)))
                        columns[reader.columnNames()[i]].push_back(
                            ours(reader.value(i), reader.columnType(i)));
                }
            }
            auto expected = readWithLibmdb(path, table);
            // Where the two disagree on which rows are live, only our count is checked (against
            // the table's own row count in the tests of the database).
            if (expected.empty() || expected.begin()->second.size() != rows)
                continue;
            ++comparedTables;
            normalise(columns);
            normalise(expected);
            EXPECT_EQ(columns, expected);
            comparedValues += rows * columns.size();
        }
    }
    EXPECT_GT(comparedTables, 50u);
    EXPECT_GT(comparedValues, 10000u);
}

std::string show(const Value& v) { return v.isNull() ? "Null" : v.toText(); }

// Each live row of Items as "ID|Done|Price|Added|Name|Notes" (`full`) or "ID:Notes", then the
// pages the table lists past the end of the file when there are any; or the host error reading
// it gave.
std::vector<std::string> readItems(const std::string& bytes, bool full = false) {
    zanfor::test::TempDir dir;
    zanfor::util::WriteFileAtomically(dir / "items.mdb", bytes);
    std::vector<std::string> rows;
    try {
        JetFile file(dir / "items.mdb");
        TableReader r(file, "items");
        while (r.next()) {
            std::string row = show(r.value(0));
            for (int c = full ? 1 : 5; c < 6; ++c)
                row += (full ? "|" : ":") + show(r.value(c));
            rows.push_back(row);
        }
        if (r.missingPages() > 0)
            rows.push_back("missing " + std::to_string(r.missingPages()));
    } catch (const Error& e) {
        rows.push_back("error " + std::to_string(e.number()));
    }
    return rows;
}

TEST(RowReader, imageRowsSkipDeletedFollowMovedAndReadEveryLongValueForm) {
    for (const auto version : {JetVersion::Jet4, JetVersion::Jet3}) {
        EXPECT_EQ(readItems(BuildSampleDatabase(version).bytes, true),
                  (std::vector<std::string>{"1|True|12.5|2003/04/01 12:00:00|Apple|short",
                                            "3|False|Null|Null|Null|one LVAL row",
                                            "4|False|Null|Null|Moved|chained memo",
                                            "5|True|Null|Null|Pear|Null"}));
    }
}

// Where slot `slot` of `page` begins, from its offset entry.
std::size_t slotAt(const SampleDatabase& db, std::uint32_t page, std::size_t slot) {
    const std::size_t entry = page * db.pageSize + (db.pageSize == 4096 ? 0x0e : 0x0a) + 2 * slot;
    return page * db.pageSize + (static_cast<unsigned char>(db.bytes[entry]) |
                                 (static_cast<unsigned char>(db.bytes[entry + 1]) & 0x1F) << 8);
}

void patch(SampleDatabase& db, std::size_t at, std::uint64_t value, int size) {
    db.bytes.replace(at, static_cast<std::size_t>(size), LittleEndian(value, size));
}

// Byte `jet4` or `jet3` of page `page`, by the image's format.
std::size_t on(const SampleDatabase& db, std::uint32_t page, std::size_t jet4, std::size_t jet3) {
    return page * db.pageSize + (db.pageSize == 4096 ? jet4 : jet3);
}

TEST(RowReader, damagedImagesLoseOnlyTheDamagedRowOrPageOrFailWithDamagedDatabase) {
    using Db = SampleDatabase;
    const std::pair<void (*)(Db&), std::vector<std::string>> cases[] = {
        // A row offset beyond the page.
        {[](Db& db) { patch(db, on(db, db.rows, 0x0e, 0x0a), 0x1FFF, 2); },
         {"3:one LVAL row", "4:chained memo", "5:Null"}},
        // A row claiming more variable columns than its bytes hold: the count sits before the
        // one-byte null mask, at the end of slot 2.
        {[](Db& db) { patch(db, slotAt(db, db.rows, 1) - 3, 0xFFFF, 2); },
         {"1:short", "4:chained memo", "5:Null"}},
        // A moved row pointing past the file, or at itself.
        {[](Db& db) { patch(db, slotAt(db, db.rows, 3), 0xFFFF00, 4); },
         {"1:short", "3:one LVAL row", "5:Null"}},
        {[](Db& db) { patch(db, slotAt(db, db.rows, 3), db.rows << 8 | 3, 4); },
         {"1:short", "3:one LVAL row", "5:Null"}},
        // A long-value chain looping back on itself.
        {[](Db& db) { patch(db, slotAt(db, db.longValues, 1), db.longValues << 8 | 1, 4); },
         {"1:short", "3:one LVAL row", "4:chained chai", "5:Null"}},
        // A long-value page of another type.
        {[](Db& db) { patch(db, db.longValues * db.pageSize, 0x02, 1); },
         {"1:short", "3:", "4:", "5:Null"}},
        // The items' usage map (slot 1 of the last page) also lists the page after the last:
        // the rows read, and the page is counted as missing, not skipped quietly.
        {[](Db& db) {
             const auto pages = static_cast<std::uint32_t>(db.bytes.size() / db.pageSize);
             db.bytes[slotAt(db, pages - 1, 1) + 5 + pages / 8] |=
                 static_cast<char>(1 << pages % 8);
         },
         {"1:short", "3:one LVAL row", "4:chained memo", "5:Null", "missing 1"}},
        // The usage map pointer past the file; a column count beyond what Jet allows; the
        // definition page of another type; the file cut after the rows.
        {[](Db& db) { patch(db, on(db, db.items, 55, 35), 0xFFFF00, 4); }, {"error 3049"}},
        {[](Db& db) { patch(db, on(db, db.items, 45, 25), 5000, 2); }, {"error 3049"}},
        {[](Db& db) { patch(db, db.items * db.pageSize, 0x01, 1); }, {"error 3049"}},
        {[](Db& db) { db.bytes.resize(db.overflow * db.pageSize); }, {"error 3049"}},
    };
    for (const auto version : {JetVersion::Jet4, JetVersion::Jet3}) {
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            auto db = BuildSampleDatabase(version);
            cases[i].first(db);
            EXPECT_EQ(readItems(db.bytes), cases[i].second) << i << " " << db.pageSize;
        }
    }
}

TEST(RowReader, jet4TextIsUcs2OrItsCompressedFormAndJet3TextInItsCodePage) {
    using namespace std::string_literals;
    // 0x00 switches between one-byte characters and UCS-2.
    EXPECT_EQ(DecodeJetText("A\0B\0"s, JetHeader{}), "AB");
    EXPECT_EQ(DecodeJetText("\xFF\xFE\x61\x62\0\x42\x30\0c"s, JetHeader{}), "abあc");
    EXPECT_EQ(DecodeJetText("\xFF\xFE"s, JetHeader{}), "");
    EXPECT_EQ(DecodeJetText("\x82\xA0", JetHeader{JetVersion::Jet3, 2048, 932, false}), "あ");
}

}  // namespace
