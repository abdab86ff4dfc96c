// Access 2007 and later (ACE) files: the header, the types Jet 4 lacks, and the jackcess test
// files against what their own tests publish and what mdbtools (mdb-schema, mdb-tables) reads.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "collect/table_collector.h"
#include "host/access/access_fixture.h"
#include "host/jet/jet_database.h"
#include "host/jet/jet_image_fixture.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using zanfor::test::ErrorOf;

// The DAO version of the sample's Jet 4 pages under an ACE header of that version byte, or
// the error; `encoded` sets the key Access writes into a file it encrypts.
std::string openAs(char version, bool encoded) {
    auto bytes = zanfor::test::BuildSampleDatabase(jet::JetVersion::Jet4).bytes;
    bytes.replace(4, 15, "Standard ACE DB");
    bytes[0x14] = version;
    bytes[0x3e] = static_cast<char>(bytes[0x3e] ^ (encoded ? 0x5a : 0));
    zanfor::test::TempDir dir;
    zanfor::util::WriteFileAtomically(dir / "a.accdb", bytes);
    std::string got;
    const int error = ErrorOf(
        [&] { got = jet::JetEngine().openDatabase((dir / "a.accdb").string())->version(); });
    return error ? std::to_string(error) : got;
}

TEST(AceHeader, versionsReadEncryptionAndLaterFormatsRefused) {
    EXPECT_EQ(openAs(2, false) + openAs(3, false) + openAs(5, false), "12.014.014.0");
    EXPECT_EQ(openAs(2, true) + " " + openAs(6, false), "3031 3343");
}

// "name type size;" of a table's fields, and the types as the table report names them.
std::string fields(dao::Database& db, std::string_view table) {
    for (const auto& t : db.tableDefs()) {
        std::string out;
        for (const auto& f : t.fields)
            out += f.name + " " + std::to_string(f.type) + " " + std::to_string(f.size) + " " +
                   zanfor::collect::FieldTypeText(f) + ";";
        if (t.name == table)
            return out;
    }
    return "none";
}

// testV2007's Table1 as mdb-schema gives it; complexDataTestV2007's as ComplexColumnTest names
// its columns (the append-only memo's version history is Access's, no field); CalcFieldTest's
// calculated columns with the type of their result (MonthlySalary 83333.3333, IsRich true) and
// a value read through the header ACE puts before it; U+1F600 between two "a"s under key 128512
// (mdbtools shows "??").
TEST(AceFiles, fieldsTypesAndValuesOfTheJackcessFiles) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const struct {
        const char *file, *table, *fields, *column, *value;
    } cases[] = {
        {"testV2007", "Table1",
         "A 10 50 ﾃｷｽﾄ型;B 10 100 ﾃｷｽﾄ型;C 2 1 ﾊﾞｲﾄ型;D 3 2 整数型;E 4 4 長整数型;"
         "F 7 8 倍精度小数型;G 8 8 日付型;H 5 8 通貨型;I 1 1 Yes/No型;",
         "A", "a"},
        {"complexDataTestV2007", "Table1",
         "id 10 255 ﾃｷｽﾄ型;memo-data 12 0 ﾒﾓ型;append-memo-data 12 0 ﾒﾓ型;"
         "multi-value-data 109 4 ﾃｷｽﾄ型(複数値);attach-data 101 4 添付ﾌｧｲﾙ型;",
         "id", "row1"},
        {"calcFieldTestV2010", "Table1",
         "ID 4 4 ｵｰﾄﾅﾝﾊﾞｰ型;FirstName 10 255 ﾃｷｽﾄ型;LastName 10 255 ﾃｷｽﾄ型;"
         "LastFirst 10 254 集計型;City 10 255 ﾃｷｽﾄ型;LastFirstLen 4 4 集計型;"
         "Salary 5 8 通貨型;MonthlySalary 5 8 集計型;IsRich 1 1 集計型;",
         "LastFirst", "Wayne, Bruce"},
        {"testEmoticonsV2010", "data", "key 4 4 長整数型;data 10 255 ﾃｷｽﾄ型;", "data",
         "a\xF0\x9F\x98\x80"
         "a"},
    };
    for (const auto& c : cases) {
        auto db = jet::JetEngine().openDatabase(
            (data / "accdb" / "jackcess" / (std::string(c.file) + ".accdb")).string());
        EXPECT_EQ(fields(*db, c.table).substr(0, std::strlen(c.fields)), c.fields) << c.file;
        EXPECT_EQ(db->openRecordset(c.table)->field(c.column).toText(), c.value) << c.file;
    }
}

// The tables a walk keeps are the local tables mdb-tables lists, and the links; MSysCompactError
// (by its name), the complex types' tables, the f_…_Data tables of complex values, the
// navigation pane's and MSysResources are Access's own.
TEST(AceFiles, userTablesAreMdbtoolsListAndLinksKeepTheirConnect) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::pair<const char*, const char*> cases[] = {
        {"jackcess/queryTestV2007.accdb", "Table1 Table2 Table3 "},
        {"jackcess/linkerTestV2007.accdb",
         "Table1 Table2=;DATABASE=Z:\\jackcess_test\\linkeeTest.accdb Table1 "},
        {"jackcess/odbcLinkerTestV2007.accdb",
         "Lokal Ordrar=ODBC;DSN=Magnapinna;Description=Safexit;UID=safexit;PWD=DummyPassword;"
         "APP=Microsoft Office;DATABASE=safexit dbo.Ordrar "},
        {"access-examples/Access_Example_VBA.accdb",
         "CMD_LINE_TB CUM_VAL_TB DATABASE_STRUCTURE_TB DECUM_VAL_TB ROULETTE_TB TAG_GRP_TB "
         "TAG_NME_TB tblContacts tblDefaults tblFileList USysRibbons "},
    };
    for (const auto& [file, expected] : cases) {
        std::string kept;
        auto db = jet::JetEngine().openDatabase((data / "accdb" / file).string());
        for (const auto& t : db->tableDefs()) {
            if (!zanfor::collect::IsAccessOwnTable(t))
                kept += t.name +
                        (t.connect.empty() ? "" : "=" + t.connect + " " + t.sourceTableName) + " ";
        }
        EXPECT_EQ(kept, expected) << file;
    }
}

// A file cut short, and a complex column whose id leads nowhere: errors and an untyped field.
TEST(AceFiles, damagedFilesAreErrorsNotCrashes) {
    ZANFOR_REQUIRE_TESTDATA(data);
    auto bytes = zanfor::test::FileBytes(data / "accdb/jackcess/complexDataTestV2007.accdb");
    zanfor::test::TempDir dir;
    auto read = [&](std::string_view b) {
        zanfor::util::WriteFileAtomically(dir / "t.accdb", b);
        return ErrorOf([&] {
            auto db = jet::JetEngine().openDatabase((dir / "t.accdb").string());
            db->queryDefs();
            if (!db->readFailures().empty())
                throw db->readFailures().front();
        });
    };
    EXPECT_EQ(read(bytes.substr(0, bytes.size() - 100)), 3049);
    EXPECT_EQ(read(bytes.substr(0, 40 * 4096)), 3049);
    // Table1's definition is page 109; its attachment column's ComplexID is 4.
    const std::size_t columns =
        109 * 4096 + 63 + 12 * static_cast<unsigned char>(bytes[109 * 4096 + 51]);
    for (std::size_t at = columns; at < columns + 6 * 25; at += 25) {
        if (bytes[at] == 0x12 && bytes[at + 11] == 4)
            bytes.replace(at + 11, 4, "\xff\xff\xff\x7f");
    }
    EXPECT_EQ(read(bytes), 0);
    const auto flipped =
        fields(*jet::JetEngine().openDatabase((dir / "t.accdb").string()), "Table1");
    EXPECT_TRUE(flipped.ends_with(";attach-data 0 4 ?;")) << flipped;
}

}  // namespace
