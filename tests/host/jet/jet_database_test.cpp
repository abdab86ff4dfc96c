#include "host/jet/jet_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host/access/access_fixture.h"
#include "host/error.h"
#include "host/jet/jet_image_fixture.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
namespace fs = std::filesystem;
using zanfor::test::BuildSampleDatabase;
using zanfor::test::ErrorOf;
using zanfor::test::FileBytes;
using zanfor::test::TempDir;

std::unique_ptr<dao::Database> open(const fs::path& path) {
    return jet::JetEngine().openDatabase(path.string());
}

// The error number of opening the file and reading its catalogue and the SQL of its queries,
// 0 when all reads.
int errorOpening(const fs::path& path) {
    return ErrorOf([&] {
        auto db = open(path);
        db->tableDefs();
        for (const auto& q : db->queryDefs())
            (void)q.sql();
        db->containers();
    });
}

// The table or field of that name.
template <typename Defs>
const auto& named(const Defs& defs, std::string_view name) {
    const auto found =
        std::find_if(defs.begin(), defs.end(), [&](const auto& d) { return d.name == name; });
    if (found == defs.end())
        throw std::runtime_error("none named " + std::string(name));
    return *found;
}

TEST(JetDatabase, japaneseNorthwindHasEveryObjectWithItsName) {
    ZANFOR_REQUIRE_TESTDATA(data);
    auto db = open(data / "mdb/northwind-ja.mdb");
    std::size_t tables = 0, queries = 0;
    for (const auto& t : db->tableDefs())
        tables += t.name.rfind("MSys", 0) != 0;
    for (const auto& q : db->queryDefs())
        queries += q.name.rfind("~sq_", 0) != 0;
    std::string counts = std::to_string(tables) + " " + std::to_string(queries);
    for (const char* c : {"Forms", "Reports", "Scripts", "Modules", "DataAccessPages"})
        counts += " " + std::to_string(db->container(c).documents.size());
    EXPECT_EQ(counts, "9 21 22 14 5 2 9");
    const auto& suppliers = named(db->tableDefs(), "仕入先");
    EXPECT_EQ(suppliers.properties.get("Description").toText(), "仕入先名、住所、電話番号");
    EXPECT_EQ(named(suppliers.fields, "ホームページ").attributes, 32770);  // hyperlink memo
}

TEST(JetDatabase, foreignKeysAreListedAndTheirReferenceSideIsNot) {
    ZANFOR_REQUIRE_TESTDATA(data);
    auto db = open(data / "mdb/northwind-en.mdb");
    std::string foreign;
    for (const auto& ix : named(db->tableDefs(), "Products").indexes) {
        if (ix.foreign)
            foreign += ix.name + ":" + ix.fields.at(0).name + " ";
        EXPECT_NE(ix.name.rfind(".r", 0), 0u) << "reference-side index listed";
    }
    EXPECT_EQ(foreign, "CategoriesProducts:CategoryID SuppliersProducts:SupplierID ");
}

TEST(JetDatabase, indexPropertiesAndDeletedColumnsRead) {
    ZANFOR_REQUIRE_TESTDATA(data);
    auto db = open(data / "mdb/jackcess/testIndexPropertiesV2000.mdb");
    bool sawIgnoreNulls = false;
    for (const auto& ix : named(db->tableDefs(), "TableIgnoreNulls1").indexes)
        sawIgnoreNulls |= ix.name == "DataIndex" && ix.ignoreNulls;
    EXPECT_TRUE(sawIgnoreNulls);
    // A deleted column leaves no gap.
    auto deleted = open(data / "mdb/jackcess/delColTestV2000.mdb");
    const auto& t = named(deleted->tableDefs(), "Table1");
    EXPECT_EQ(t.fields.at(1).name + " " + std::to_string(t.fields.size()), "id2 4");
}

TEST(JetDatabase, linksShowTheirConnectStringsAndJetLinksTheLinkedFields) {
    ZANFOR_REQUIRE_TESTDATA(data);
    auto db = open(data / "mdb/ucanaccess/linked.mdb");
    const auto& linked = named(db->tableDefs(), "Table1");
    EXPECT_EQ(linked.connect + "|" + linked.sourceTableName,
              ";DATABASE=C:\\db\\linkee1.mdb|Table1");
    EXPECT_FALSE(linked.fields.empty());
    EXPECT_TRUE(linked.problem.empty()) << linked.problem;
    // Without the linked files the link is broken: no fields, as DAO showed it.
    TempDir dir;
    fs::copy_file(data / "mdb/ucanaccess/linked.mdb", dir / "linked.mdb");
    auto alone = open(dir / "linked.mdb");
    EXPECT_TRUE(named(alone->tableDefs(), "Table1").fields.empty());
    EXPECT_FALSE(named(alone->tableDefs(), "Table1").problem.empty());

    auto other = open(data / "mdb/links-odbc-excel-ja.mdb");
    EXPECT_EQ(named(other->tableDefs(), "商品マスタ").connect, "ODBC;DSN=MySQL;");
    EXPECT_EQ(named(other->tableDefs(), "社員マスタ-XLS").connect,
              "Excel 8.0;HDR=YES;IMEX=2;DATABASE=C:\\app\\workspace\\販売管理.xls");
}

TEST(JetDatabase, propertiesReadAndWriteWithoutTouchingTheFile) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto path = data / "mdb/northwind-ja.mdb";
    const auto before = FileBytes(path);
    auto db = open(path);
    EXPECT_EQ(ErrorOf([&] { db->properties().get("NoSuchProperty"); }), 3270);
    EXPECT_EQ(db->properties().get("AccessVersion").toText(), "08.50");
    const auto startup = db->properties().get("StartupForm").toText();
    db->properties().set("StartupForm", "(表示しない)");
    EXPECT_EQ(db->properties().get("StartupForm").toText(), "(表示しない)");
    EXPECT_EQ(open(path)->properties().get("StartupForm").toText(), startup);
    EXPECT_EQ(FileBytes(path), before);
}

TEST(JetDatabase, everyTestFileReadsAndStaysByteIdentical) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const auto& entry : fs::recursive_directory_iterator(data)) {
        if (entry.path().extension() != ".mdb" && entry.path().extension() != ".accdb")
            continue;
        SCOPED_TRACE(entry.path().string());
        const auto before = FileBytes(entry.path());
        EXPECT_EQ(errorOpening(entry.path()), entry.path().filename() == "password.mdb" ? 3031 : 0);
        EXPECT_EQ(FileBytes(entry.path()), before);
    }
    auto jet3 = open(data / "mdb/mdbtestdata-nwind-jet3.mdb");
    EXPECT_EQ(jet3->version(), "3.0");
    EXPECT_FALSE(named(jet3->tableDefs(), "Products").fields.empty());
}

TEST(JetDatabase, imageTablesShowFieldsIndexesAndRowCount) {
    for (const auto version : {jet::JetVersion::Jet4, jet::JetVersion::Jet3}) {
        TempDir dir;
        zanfor::util::WriteFileAtomically(dir / "a.mdb", BuildSampleDatabase(version).bytes);
        auto db = open(dir / "a.mdb");
        EXPECT_EQ(db->version(), version == jet::JetVersion::Jet4 ? "4.0" : "3.0");
        const auto& items = named(db->tableDefs(), "Items");
        EXPECT_EQ(items.recordCount, 4);
        // name, type, size, attributes
        std::string fields;
        for (const auto& f : items.fields)
            fields += f.name + " " + std::to_string(f.type) + " " + std::to_string(f.size) + " " +
                      std::to_string(f.attributes) + "; ";
        EXPECT_EQ(fields,
                  "ID 4 4 17; Done 1 1 1; Price 5 8 1; Added 8 8 1; Name 10 50 2; "
                  "Notes 12 0 32770; ");
        const auto& key = items.indexes.at(0);
        EXPECT_EQ(
            std::to_string(items.indexes.size()) + " " + key.name + " " + key.fields.at(0).name,
            "1 PrimaryKey ID");
        EXPECT_TRUE(key.primary && key.unique && key.required && !key.foreign);

        EXPECT_EQ(ErrorOf([&] { db->openRecordset("Items")->field("Nope"); }), 3265);
        EXPECT_EQ(ErrorOf([&] { db->openRecordset("Nothing"); }), 3078);
    }
}

TEST(JetDatabase, aDamagedTableDefinitionIsThatTablesProblemOnly) {
    auto sample = BuildSampleDatabase(jet::JetVersion::Jet4);
    sample.bytes[sample.items * sample.pageSize + 46] = '\x20';  // 8198 columns
    TempDir dir;
    zanfor::util::WriteFileAtomically(dir / "a.mdb", sample.bytes);
    auto db = open(dir / "a.mdb");
    const auto& items = named(db->tableDefs(), "Items");
    EXPECT_NE(items.problem.find("ページ 3"), std::string::npos) << items.problem;
    EXPECT_TRUE(items.fields.empty());
}

TEST(JetDatabase, missingForeignProtectedAndDamagedFilesAreErrorsNotCrashes) {
    const auto jet4 = BuildSampleDatabase(jet::JetVersion::Jet4).bytes;
    auto badCatalog = jet4;
    badCatalog[2 * 4096] = '\x01';
    const auto header = zanfor::test::JetHeaderPage(jet::JetVersion::Jet3, 1252, u"secret");
    const std::pair<std::string, int> cases[] = {
        {"", 3343},
        {jet4.substr(0, jet4.size() - 100), 3049},  // cut mid-page
        {jet4.substr(0, 4 * 4096), 3049},           // cut to its first pages
        {badCatalog, 3049},                         // catalogue definition of another type
        {BuildSampleDatabase(jet::JetVersion::Jet3).bytes.replace(0, header.size(), header), 3031},
    };
    TempDir dir;
    for (const auto& [bytes, error] : cases) {
        zanfor::util::WriteFileAtomically(dir / "t.mdb", bytes);
        EXPECT_EQ(errorOpening(dir / "t.mdb"), error) << bytes.size();
    }
    EXPECT_EQ(errorOpening(dir / "missing.mdb"), 3024);
    EXPECT_EQ(errorOpening(dir.path()), 3343);
}

}  // namespace
