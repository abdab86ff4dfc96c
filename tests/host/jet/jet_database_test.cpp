#include "host/jet/jet_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
namespace fs = std::filesystem;
using zanfor::test::FileBytes;
using zanfor::test::TempDir;

fs::path testdata() {
    auto data = zanfor::test::SharedTestData();
    return data ? *data / "mdb" : fs::path();
}

#define REQUIRE_TESTDATA()  \
    if (testdata().empty()) \
    GTEST_SKIP() << "../shared/testdata is absent"

std::unique_ptr<dao::Database> open(const fs::path& path) {
    return jet::JetEngine().openDatabase(path.string());
}

int errorOpening(const fs::path& path) {
    try {
        auto db = open(path);
        db->tableDefs();
        db->queryDefs();
        db->containers();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

const dao::TableDef& table(dao::Database& db, std::string_view name) {
    for (const auto& t : db.tableDefs()) {
        if (t.name == name)
            return t;
    }
    throw std::runtime_error("no table " + std::string(name));
}

const dao::Field& field(const dao::TableDef& t, std::string_view name) {
    for (const auto& f : t.fields) {
        if (f.name == name)
            return f;
    }
    throw std::runtime_error("no field " + std::string(name));
}

std::size_t documents(dao::Database& db, std::string_view container) {
    return db.container(container).documents.size();
}

TEST(JetDatabase, japaneseNorthwindHasEveryObjectWithItsName) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "northwind-ja.mdb");
    std::size_t tables = 0;
    for (const auto& t : db->tableDefs())
        tables += t.name.rfind("MSys", 0) != 0;
    std::size_t queries = 0;
    for (const auto& q : db->queryDefs())
        queries += q.name.rfind("~sq_", 0) != 0;
    EXPECT_EQ(tables, 9u);
    EXPECT_EQ(queries, 21u);
    EXPECT_EQ(documents(*db, "Forms"), 22u);
    EXPECT_EQ(documents(*db, "Reports"), 14u);
    EXPECT_EQ(documents(*db, "Scripts"), 5u);
    EXPECT_EQ(documents(*db, "Modules"), 2u);
    EXPECT_EQ(documents(*db, "DataAccessPages"), 9u);

    EXPECT_EQ(db->version(), "4.0");
    EXPECT_EQ(db->properties().get("AccessVersion").toText(), "08.50");
    const auto& suppliers = table(*db, "仕入先");
    EXPECT_EQ(suppliers.properties.get("Description").toText(), "仕入先名、住所、電話番号");
    EXPECT_EQ(field(suppliers, "ホームページ").attributes, 32770);  // hyperlink memo
    EXPECT_EQ(field(table(*db, "商品"), "商品名").type, dao::dbText);
}

TEST(JetDatabase, fieldAttributesKeepHyperlinkAndAutoNumber) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "northwind-en.mdb");
    EXPECT_EQ(field(table(*db, "Suppliers"), "HomePage").attributes, 32770);
    EXPECT_EQ(field(table(*db, "Suppliers"), "HomePage").type, dao::dbMemo);
    EXPECT_EQ(field(table(*db, "Products"), "ProductID").attributes, 17);
    EXPECT_EQ(field(table(*db, "Products"), "ProductName").size, 40);

    const auto& products = table(*db, "Products");
    bool sawPrimary = false;
    bool sawForeign = false;
    for (const auto& ix : products.indexes) {
        if (ix.primary) {
            sawPrimary = true;
            EXPECT_TRUE(ix.unique);
            EXPECT_TRUE(ix.required);
            ASSERT_EQ(ix.fields.size(), 1u);
            EXPECT_EQ(ix.fields[0].name, "ProductID");
        }
        if (ix.name == "CategoriesProducts") {
            sawForeign = true;
            EXPECT_TRUE(ix.foreign);
            ASSERT_EQ(ix.fields.size(), 1u);
            EXPECT_EQ(ix.fields[0].name, "CategoryID");
        }
        EXPECT_NE(ix.name.rfind(".r", 0), 0u) << "reference-side index listed";
    }
    EXPECT_TRUE(sawPrimary);
    EXPECT_TRUE(sawForeign);
}

TEST(JetDatabase, indexPropertiesAndDeletedColumnsRead) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "jackcess/testIndexPropertiesV2000.mdb");
    const auto& ignoreNulls = table(*db, "TableIgnoreNulls1");
    EXPECT_TRUE(ignoreNulls.problem.empty()) << ignoreNulls.problem;
    bool sawIgnoreNulls = false;
    for (const auto& ix : ignoreNulls.indexes)
        sawIgnoreNulls |= ix.name == "DataIndex" && ix.ignoreNulls;
    EXPECT_TRUE(sawIgnoreNulls);

    auto deleted = open(testdata() / "jackcess/delColTestV2000.mdb");
    const auto& t = table(*deleted, "Table1");
    ASSERT_EQ(t.fields.size(), 4u);
    EXPECT_EQ(t.fields[1].name, "id2");
    EXPECT_EQ(t.indexes.size(), 2u);
}

TEST(JetDatabase, jetLinksReadTheirFieldsFromTheLinkedFile) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "ucanaccess/linked.mdb");
    const auto& linked = table(*db, "Table1");
    EXPECT_EQ(linked.connect, ";DATABASE=C:\\db\\linkee1.mdb");
    EXPECT_EQ(linked.sourceTableName, "Table1");
    EXPECT_EQ(linked.attributes & dao::dbAttachedTable, dao::dbAttachedTable);
    EXPECT_FALSE(linked.fields.empty());
    EXPECT_TRUE(linked.problem.empty()) << linked.problem;

    // Without the linked files the link is broken: no fields, as DAO showed it.
    TempDir dir;
    fs::copy_file(testdata() / "ucanaccess/linked.mdb", dir / "linked.mdb");
    auto alone = open(dir / "linked.mdb");
    EXPECT_TRUE(table(*alone, "Table1").fields.empty());
    EXPECT_FALSE(table(*alone, "Table1").problem.empty());
}

TEST(JetDatabase, odbcAndExcelLinksShowTheirConnectStrings) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "links-odbc-excel-ja.mdb");
    EXPECT_EQ(table(*db, "商品マスタ").connect, "ODBC;DSN=MySQL;");
    EXPECT_EQ(table(*db, "社員マスタ-XLS").connect,
              "Excel 8.0;HDR=YES;IMEX=2;DATABASE=C:\\app\\workspace\\販売管理.xls");
    EXPECT_TRUE(table(*db, "商品マスタ").fields.empty());
}

TEST(JetDatabase, everyNorthwindQueryRebuildsToBalancedSqlNamingItsTables) {
    REQUIRE_TESTDATA();
    for (const char* name :
         {"northwind-ja.mdb", "northwind-en.mdb", "mdbtestdata-nwind-jet3.mdb"}) {
        auto db = open(testdata() / name);
        for (const auto& q : db->queryDefs()) {
            SCOPED_TRACE(std::string(name) + " " + q.name);
            const std::string& sql = q.sql();
            ASSERT_FALSE(sql.empty());
            int parens = 0;
            int brackets = 0;
            bool quoted = false;
            for (char c : sql) {
                if (c == '"')
                    quoted = !quoted;
                if (quoted)
                    continue;
                parens += c == '(' ? 1 : c == ')' ? -1 : 0;
                brackets += c == '[' ? 1 : c == ']' ? -1 : 0;
                ASSERT_GE(parens, 0);
            }
            EXPECT_EQ(parens, 0);
            EXPECT_EQ(brackets, 0);
            EXPECT_FALSE(quoted);
            const bool known = sql.rfind("SELECT", 0) == 0 || sql.rfind("PARAMETERS", 0) == 0 ||
                               sql.rfind("TRANSFORM", 0) == 0 || sql.rfind("INSERT", 0) == 0 ||
                               sql.rfind("UPDATE", 0) == 0 || sql.rfind("DELETE", 0) == 0 ||
                               sql.rfind("Select", 0) == 0;
            EXPECT_TRUE(known) << sql;
            for (const auto& f : q.fields) {
                if (f.sourceTable.empty())
                    continue;
                EXPECT_NE(sql.find(f.sourceTable), std::string::npos) << f.sourceTable;
            }
        }
    }
}

TEST(JetDatabase, propertiesReadAndWriteWithoutTouchingTheFile) {
    REQUIRE_TESTDATA();
    const auto path = testdata() / "northwind-ja.mdb";
    const auto before = FileBytes(path);
    auto db = open(path);
    EXPECT_THROW(db->properties().get("NoSuchProperty"), Error);
    try {
        db->properties().get("NoSuchProperty");
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3270);
    }
    const auto startup = db->properties().get("StartupForm").toText();
    EXPECT_FALSE(startup.empty());
    db->properties().set("StartupForm", "(表示しない)");
    EXPECT_EQ(db->properties().get("StartupForm").toText(), "(表示しない)");
    EXPECT_EQ(open(path)->properties().get("StartupForm").toText(), startup);
    EXPECT_EQ(FileBytes(path), before);
}

TEST(JetDatabase, importExportSpecificationsAreRecordsets) {
    REQUIRE_TESTDATA();
    auto db = open(testdata() / "ailtonz-RoboExclusao.mdb");
    auto count = [&](std::string_view name) {
        std::size_t n = 0;
        for (auto rs = db->openRecordset(name); !rs->eof(); rs->moveNext())
            ++n;
        return n;
    };
    EXPECT_EQ(count("MSysIMEXSpecs"), 3u);
    EXPECT_EQ(count("MSysIMEXColumns"), 23u);  // as the table's own row count says
    std::vector<std::string> names;
    for (auto rs = db->openRecordset("MSysIMEXSpecs"); !rs->eof(); rs->moveNext()) {
        names.push_back(rs->field("SpecName").toText());
    }
    EXPECT_EQ(names.back(), "M_SER24_T010NHAB Especificação de vinculação");
    EXPECT_THROW(db->openRecordset("NoSuchTable"), Error);
}

TEST(JetDatabase, everyTestFileReadsAndStaysByteIdentical) {
    REQUIRE_TESTDATA();
    for (const auto& entry : fs::recursive_directory_iterator(testdata())) {
        if (entry.path().extension() != ".mdb")
            continue;
        SCOPED_TRACE(entry.path().string());
        const auto before = FileBytes(entry.path());
        const int error = errorOpening(entry.path());
        if (entry.path().filename() == "password.mdb") {
            EXPECT_EQ(error, 3031);
        } else {
            EXPECT_EQ(error, 0);
        }
        EXPECT_EQ(FileBytes(entry.path()), before);
    }
    auto jet3 = open(testdata() / "mdbtestdata-nwind-jet3.mdb");
    EXPECT_EQ(jet3->version(), "3.0");
    EXPECT_FALSE(table(*jet3, "Products").fields.empty());
}

TEST(JetDatabase, missingForeignAndDamagedFilesAreErrorsNotCrashes) {
    TempDir dir;
    EXPECT_EQ(errorOpening(dir / "missing.mdb"), 3024);
    EXPECT_EQ(errorOpening(dir.path()), 3343);
    zanfor::util::WriteFileAtomically(dir / "empty.mdb", "");
    EXPECT_EQ(errorOpening(dir / "empty.mdb"), 3343);

    if (testdata().empty())
        GTEST_SKIP() << "../shared/testdata is absent";
    const auto original = FileBytes(testdata() / "northwind-ja.mdb");
    const auto damaged = dir / "damaged.mdb";
    auto expectNoCrash = [&](const std::string& bytes) {
        zanfor::util::WriteFileAtomically(damaged, bytes);
        const int error = errorOpening(damaged);
        EXPECT_TRUE(error == 0 || error == 3049 || error == 3343 || error == 3078) << error;
    };
    for (std::size_t size : {100u, 4096u, 8192u, 12288u, 65536u, 409600u}) {
        expectNoCrash(original.substr(0, size));
    }
    std::mt19937 random(20261206);
    for (int round = 0; round < 12; ++round) {
        auto bytes = original;
        const std::size_t page = 1 + random() % (bytes.size() / 4096 - 1);
        if (round % 2 == 0) {
            std::fill_n(bytes.begin() + static_cast<long>(page * 4096), 4096, '\0');
        } else {
            for (int i = 0; i < 4096; ++i)
                bytes[page * 4096 + i] = static_cast<char>(random());
        }
        expectNoCrash(bytes);
    }
    std::string noise(4096 * 8, '\0');
    for (auto& c : noise)
        c = static_cast<char>(random());
    expectNoCrash(noise);
}

}  // namespace
