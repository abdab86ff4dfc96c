#include "host/export/export_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    zanfor::util::WriteFileAtomically(file, text);
}

const dao::TableDef* table(ExportDatabase& db, std::string_view name) {
    for (const auto& t : db.tableDefs()) {
        if (t.name == name)
            return &t;
    }
    return nullptr;
}

const dao::QueryDef* query(ExportDatabase& db, std::string_view name) {
    for (const auto& q : db.queryDefs()) {
        if (q.name == name)
            return &q;
    }
    return nullptr;
}

std::vector<std::string> documents(ExportDatabase& db, std::string_view container) {
    std::vector<std::string> names;
    for (const auto& d : db.container(container).documents)
        names.push_back(d.name);
    return names;
}

// A small export in the layout of one tool, with the spellings of others mixed in.
class ExportDatabaseFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path root = dir_.path() / "販売.mdb.src";
        write(root / "TblDefs/顧客.sql",
              "CREATE TABLE [顧客] (\n  [ID] AUTOINCREMENT CONSTRAINT [PrimaryKey] PRIMARY KEY,\n"
              "  [名前] VARCHAR (40)\n)\n");
        write(root / "TblDefs/受注.sql",
              "CREATE TABLE [受注] (\n  [ID] LONG,\n  [顧客ID] LONG\n)\n");
        write(root / "TblDefs/受注.xml",
              "<schema><element name=\"受注\"><complexType><sequence>"
              "<element name=\"ID\" od:jetType=\"longinteger\"/>"
              "</sequence></complexType></element></schema>");
        write(root / "TblDefs/壊れ.sql", "CREATE TABLE [壊れ] (\n  [a] NOSUCHTYPE\n)\n");
        write(root / "TblDefs/リンク.LNKD", "リンク\n;DATABASE=C:\\data\\be.mdb\n元\n");
        write(root / "relations/顧客受注.json",
              R"SAT({"Items": {"Name": "顧客受注", "Attributes": 0, "Table": "顧客",
                 "ForeignTable": "受注", "Fields": [{"Name": "ID", "ForeignName": "ID"}]}})SAT");
        write(root / "queries/q顧客.bas",
              "Operation =1\nOption =0\nBegin InputTables\n    Name =\"顧客\"\nEnd\n"
              "Begin OutputColumns\n    Expression =\"顧客.名前\"\nEnd\n"
              "dbMemo \"Description\" =\"名前だけ\"\n");
        write(root / "queries/q削除.sql", "DELETE * FROM 受注;\n");
        write(root / "queries/q壊れ.bas", "dbMemo \"SQL\" =\"SELECT\n");
        write(root / "imexspecs/取込.json",
              R"SAT({"Items": {"SpecName": "取込", "SpecType": 1, "FileType": 932, "StartRow": 1,
                 "DateFourDigitYear": true, "FieldSeparator": ",",
                 "Columns": {"名前": {"DataType": 10, "Start": 1, "Width": 40, "SkipColumn": false},
                             "ID": {"DataType": 4, "Start": 41, "Width": 5}}}})SAT");
        write(root / "imexspecs/出力.json",
              R"SAT({"Items": {"SpecName": "出力", "SpecType": 2}})SAT");
        write(root / "Forms/F顧客.form", "Version =20\nBegin Form\nEnd\n");
        write(root / "Forms/F顧客.cls", "Option Explicit\n");
        write(root / "Forms/notes.md", "not an object");
        write(root / "macros/AutoExec.macro",
              "Version =196611\nBegin\n    Action =\"Beep\"\nEnd\n");
        write(root / "modules/modUtil.bas", "Attribute VB_Name = \"mod共通\"\nOption Explicit\n");
        write(root / "modules/cls顧客.cls", "Option Explicit\n");
        write(root / "dbs-properties.json",
              R"SAT({"Items": {"AccessVersion": {"Value": "08.50", "Type": 10},
                 "StartupShowDBWindow": {"Value": false, "Type": 1},
                 "QueryTimeout": {"Value": 30, "Type": 3}}})SAT");
        db_ = std::make_unique<ExportDatabase>(ExportFolder::Open(root));
    }

    zanfor::test::TempDir dir_;
    std::unique_ptr<ExportDatabase> db_;
};

TEST_F(ExportDatabaseFolder, listsTablesInNameOrderWithWhatEachFileHolds) {
    std::vector<std::string> names;
    for (const auto& t : db_->tableDefs())
        names.push_back(t.name);
    // In DAO's order: upper-cased names compared in the Japanese code page.
    EXPECT_EQ(names, (std::vector<std::string>{"MSysIMEXColumns", "MSysIMEXSpecs", "リンク", "壊れ",
                                               "顧客", "受注"}));
    // The schema wins over the DDL of the same table.
    EXPECT_EQ(table(*db_, "受注")->fields.size(), 1u);
    EXPECT_TRUE(table(*db_, "受注")->indexes.at(0).foreign);
    EXPECT_EQ(table(*db_, "リンク")->connect, ";DATABASE=C:\\data\\be.mdb");
    EXPECT_EQ(table(*db_, "MSysIMEXSpecs")->attributes, dao::dbSystemObject);
    const auto* broken = table(*db_, "壊れ");
    EXPECT_TRUE(broken->fields.empty());
    EXPECT_NE(broken->problem.find("壊れ.sql' の 2 行目"), std::string::npos) << broken->problem;
}

TEST_F(ExportDatabaseFolder, readsQueriesWithTheirTypesFieldsAndFailures) {
    const auto* q = query(*db_, "q顧客");
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->sql(), "SELECT 顧客.名前\r\nFROM 顧客;");
    ASSERT_EQ(q->fields.size(), 1u);
    EXPECT_EQ(q->fields[0].type, dao::dbText);
    EXPECT_EQ(q->fields[0].size, 40);
    EXPECT_EQ(q->properties.get("Description"), Value("名前だけ"));
    EXPECT_EQ(q->properties.at(0).name, "Name");
    EXPECT_EQ(query(*db_, "q削除")->type, dao::dbQDelete);
    try {
        (void)query(*db_, "q壊れ")->sql();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kExportMalformed);
        EXPECT_NE(e.description().find("q壊れ.bas"), std::string::npos);
    }
}

TEST_F(ExportDatabaseFolder, givesAContainerDocumentPerExportedObject) {
    EXPECT_EQ(documents(*db_, "Forms"), std::vector<std::string>{"F顧客"});
    EXPECT_EQ(documents(*db_, "Scripts"), std::vector<std::string>{"AutoExec"});
    EXPECT_EQ(documents(*db_, "Modules"), (std::vector<std::string>{"cls顧客", "mod共通"}));
    EXPECT_TRUE(documents(*db_, "Reports").empty());
    EXPECT_TRUE(documents(*db_, "DataAccessPages").empty());
    const auto& d = db_->container("Forms").documents.at(0);
    EXPECT_GT(d.dateCreated.value, 40000.0);
    EXPECT_EQ(d.properties.get("Container"), Value("Forms"));
}

TEST_F(ExportDatabaseFolder, givesTheImportExportDefinitionsAsSystemTableRows) {
    auto definitions = db_->openRecordset("msysimexspecs");
    std::vector<std::pair<std::string, std::int64_t>> rows;
    for (; !definitions->eof(); definitions->moveNext())
        rows.emplace_back(definitions->field("SpecName").toText(),
                          definitions->field("SpecID").toInteger());
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::int64_t>>{{"出力", 1}, {"取込", 2}}));
    EXPECT_EQ(definitions->fieldNames().size(), 13u);

    auto columns = db_->openRecordset("MSysIMEXColumns");
    ASSERT_FALSE(columns->eof());
    EXPECT_EQ(columns->field("FieldName"), Value("名前"));
    EXPECT_EQ(columns->field("SpecID"), Value(2));
    EXPECT_EQ(columns->field("SkipColumn"), Value(false));
    columns->moveNext();
    EXPECT_EQ(columns->field("Width"), Value(5));
    EXPECT_TRUE(columns->field("SkipColumn").isNull());
    columns->moveNext();
    EXPECT_TRUE(columns->eof());

    EXPECT_TRUE(db_->openRecordset("顧客")->eof());
    try {
        db_->openRecordset("無い");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kNoSuchTable);
    }
}

TEST_F(ExportDatabaseFolder, readsTheDatabasePropertiesInTheirTypes) {
    EXPECT_EQ(db_->properties().get("AccessVersion"), Value("08.50"));
    EXPECT_EQ(db_->properties().get("StartupShowDBWindow"), Value(false));
    EXPECT_EQ(db_->queryTimeout(), 30);
    EXPECT_TRUE(db_->problems().empty());
}

TEST(ExportDatabase, folderThatIsNotThereIsError3024) {
    try {
        ExportFolder::Open("/nonexistent/販売.mdb.src");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kCannotOpenFile);
    }
}

TEST(ExportDatabase, readsOlderToolsPropertyFiles) {
    zanfor::test::TempDir dir;
    write(dir / "a/properties.txt",
          "Connect??12\r\nTransactions?True?1\r\nQueryTimeout?60?3\r\nAccessVersion?08.50?10\r\n"
          "Odd?a?b?c\r\n");
    ExportDatabase a(ExportFolder::Open(dir / "a"));
    EXPECT_EQ(a.properties().get("Connect"), Value(""));
    EXPECT_EQ(a.properties().get("Transactions"), Value(true));
    EXPECT_EQ(a.properties().get("QueryTimeout"), Value(60));
    EXPECT_EQ(a.properties().get("Odd"), Value("a?b?c"));

    write(dir / "b/Project.accprj",
          "[Project]\nName=\"x\"\n[Database Properties]\nQueryTimeout=Integer:60\n"
          "StartUpForm=\"Form.メイン\"\nAllowFullMenus=False\nRow Limit=Long:1000\n[References]\n"
          "DAO={0}|5|0|x\n");
    ExportDatabase b(ExportFolder::Open(dir / "b"));
    EXPECT_EQ(b.properties().count(), 4u);
    EXPECT_EQ(b.properties().get("StartUpForm"), Value("Form.メイン"));
    EXPECT_EQ(b.properties().get("AllowFullMenus"), Value(false));
    EXPECT_EQ(b.properties().get("Row Limit"), Value(1000));

    write(dir / "c/dbs-properties.json", "{\"Items\": ");
    ExportDatabase c(ExportFolder::Open(dir / "c"));
    EXPECT_EQ(c.properties().count(), 0u);
    ASSERT_EQ(c.problems().size(), 1u);
    EXPECT_NE(c.problems()[0].find("dbs-properties.json"), std::string::npos);
}

// Every object file of the real export sets reads: as many objects of each kind as files.
TEST(ExportDatabase, everyFileOfTheRealExportSetsReads) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "../shared/testdata is absent";
    struct Case {
        const char* folder;
        std::size_t forms, reports, macros, modules, queries, tables;
    };
    const Case cases[] = {
        {"exports/ncrn-birds/source", 42, 21, 2, 14, 298, 41},
        {"exports/ube-utility/ubeUtility V1-4.mdb.src", 2, 0, 1, 1, 0, 1},
        {"exports/msaccess-vcs-testing/Testing.accdb.src", 5, 3, 1, 7, 4, 9},
        {"pairs/strings", 12, 0, 10, 7, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        ExportDatabase db(ExportFolder::Open(*data / c.folder));
        EXPECT_EQ(db.container("Forms").documents.size(), c.forms);
        EXPECT_EQ(db.container("Reports").documents.size(), c.reports);
        EXPECT_EQ(db.container("Scripts").documents.size(), c.macros);
        EXPECT_EQ(db.container("Modules").documents.size(), c.modules);
        EXPECT_EQ(db.queryDefs().size(), c.queries);
        std::size_t tables = 0;
        for (const auto& t : db.tableDefs()) {
            if (t.name.rfind("MSys", 0) == 0)
                continue;
            ++tables;
            const bool linked = !t.connect.empty();
            EXPECT_TRUE(linked || t.problem.empty()) << t.name << ": " << t.problem;
            EXPECT_NE(t.fields.empty(), !linked) << t.name;
        }
        EXPECT_EQ(tables, c.tables);
        for (const auto& q : db.queryDefs())
            EXPECT_NO_THROW((void)q.sql()) << q.name;
        EXPECT_TRUE(db.problems().empty());
    }
}

}  // namespace
