// Our row reader against libmdb, an independent reader, on every table of the real files where
// libmdb's own rules give the same rows (it reads deleted rows and loses moved ones, so tables
// with such rows are compared by count only where they agree).

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "host/jet/mdb_file.h"
#include "test_support.h"
#include "util/jet_date.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::jet;
namespace fs = std::filesystem;

struct CloseMdb {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct FreeTable {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// libmdb's text of a value, normalised to what we can produce from our typed value.
std::string ours(const Value& v, int type) {
    switch (type) {
        case MDB_BOOL:
            return v.toBool() ? "1" : "0";
        case MDB_DATETIME:
            return zanfor::util::FormatWorkDbDate(v.toDouble());
        case MDB_FLOAT: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.6g", v.toDouble());
            return buf;
        }
        case MDB_DOUBLE: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.12g", v.toDouble());
            return buf;
        }
        default:
            return v.toText();
    }
}

std::string theirs(const char* text, int type) {
    if (type == MDB_FLOAT || type == MDB_DOUBLE) {
        char buf[32];
        std::snprintf(buf, sizeof buf, type == MDB_FLOAT ? "%.6g" : "%.12g",
                      std::strtod(text, nullptr));
        return buf;
    }
    return text;
}

bool comparable(int type) {
    // Money, numeric and GUID texts follow libmdb's own formats; binary and OLE are not text.
    return type == MDB_BOOL || type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT ||
           type == MDB_FLOAT || type == MDB_DOUBLE || type == MDB_DATETIME || type == MDB_TEXT ||
           type == MDB_MEMO;
}

// Every comparable column of every table as a sorted list of value texts, read by libmdb.
std::map<std::string, std::vector<std::string>> readWithLibmdb(const fs::path& path,
                                                               const std::string& table) {
    std::unique_ptr<MdbHandle, CloseMdb> mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
    std::map<std::string, std::vector<std::string>> columns;
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        return columns;
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb.get());
    mdb_set_bind_size(mdb.get(), 256 * 1024);
    std::unique_ptr<MdbTableDef, FreeTable> t(
        mdb_read_table_by_name(mdb.get(), const_cast<char*>(table.c_str()), MDB_TABLE));
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
            const bool null = bound[i]->col_type != MDB_BOOL && bound[i]->cur_value_len == 0;
            columns[bound[i]->name].push_back(null ? std::string()
                                                   : theirs(buffers[i].get(), bound[i]->col_type));
        }
    }
    for (auto& [name, values] : columns)
        std::sort(values.begin(), values.end());
    return columns;
}

TEST(RowReader, valuesEqualAnIndependentReaderOnEveryRealTable) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "../shared/testdata is absent";
    std::size_t comparedTables = 0;
    std::size_t comparedValues = 0;
    for (const char* name : {"jackcess/testV2000.mdb", "northwind-ja.mdb", "northwind-en.mdb",
                             "mdbtestdata-nwind-jet3.mdb", "ailtonz-Matriz.mdb",
                             "mdbtestdata-DateTestDatabase.mdb", "jackcess/delColTestV2000.mdb"}) {
        const fs::path path = *data / "mdb" / name;
        SCOPED_TRACE(name);
        JetFile file(path);
        std::vector<std::string> tables;
        {
            TableReader objects(file, "MSysObjects");
            while (objects.next()) {
                if (objects.value("Type").toInteger() == 1)
                    tables.push_back(objects.value("Name").toText());
            }
        }
        for (const auto& table : tables) {
            SCOPED_TRACE(table);
            TableReader reader(file, table);
            std::map<std::string, std::vector<std::string>> columns;
            std::size_t rows = 0;
            while (reader.next()) {
                ++rows;
                for (std::size_t i = 0; i < reader.columnNames().size(); ++i) {
                    const int type = reader.columnType(static_cast<int>(i));
                    if (!comparable(type))
                        continue;
                    const auto v = reader.value(static_cast<int>(i));
                    columns[reader.columnNames()[i]].push_back(v.isNull() ? "" : ours(v, type));
                }
            }
            for (auto& [column, values] : columns)
                std::sort(values.begin(), values.end());
            const auto expected = readWithLibmdb(path, table);
            // Where the two disagree on which rows are live, only our count is checked (against
            // the table's own row count in the tests of the database).
            if (expected.empty() || expected.begin()->second.size() != rows)
                continue;
            ++comparedTables;
            for (const auto& [column, values] : columns) {
                const auto it = expected.find(column);
                ASSERT_NE(it, expected.end()) << column;
                // libmdb drops a text's terminating NUL, and cannot show dates before 1900 or
                // after 2700 (it leaves them "1900-01-00"): those are compared without.
                auto trimmed = values;
                auto expectedValues = it->second;
                for (auto& v : trimmed) {
                    if (!v.empty() && v.back() == '\0')
                        v.pop_back();
                }
                auto outOfRange = [](const std::string& v) {
                    return v.size() == 19 && v[4] == '-' && (v < "1900-01-01" || v > "2700");
                };
                std::erase_if(trimmed, outOfRange);
                std::erase_if(expectedValues,
                              [](const std::string& v) { return v.rfind("1900-01-00", 0) == 0; });
                std::sort(trimmed.begin(), trimmed.end());
                EXPECT_EQ(trimmed, expectedValues) << column;
                comparedValues += values.size();
            }
        }
    }
    EXPECT_GT(comparedTables, 50u);
    EXPECT_GT(comparedValues, 10000u);
}

}  // namespace
