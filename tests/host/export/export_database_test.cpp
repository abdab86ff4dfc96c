#include "host/export/export_database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/export/expect_error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    zanfor::util::WriteFileAtomically(file, text);
}

template <typename Defs>
auto* find(const Defs& defs, std::string_view name) {
    auto found = std::find_if(defs.begin(), defs.end(), [&](auto& d) { return d.name == name; });
    return found == defs.end() ? nullptr : &*found;
}

// "name=kind:value " per property.
std::string describe(const Properties& properties) {
    std::string out;
    for (const auto& p : properties)
        out += p.name + "=" + std::to_string(static_cast<int>(p.value.kind())) + ":" +
               p.value.toText() + " ";
    return out;
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
              R"({"Items": {"Name": "顧客受注", "Attributes": 0, "Table": "顧客",
                 "ForeignTable": "受注", "Fields": [{"Name": "ID", "ForeignName": "ID"}]}})");
        write(root / "queries/q顧客.bas",
              "Operation =1\nOption =0\nBegin InputTables\n    Name =\"顧客\"\nEnd\n"
              "Begin OutputColumns\n    Expression =\"顧客.名前\"\nEnd\n");
        write(root / "queries/q削除.sql", "DELETE * FROM 受注;\n");
        write(root / "queries/q壊れ.bas", "dbMemo \"SQL\" =\"SELECT\n");
        write(root / "imexspecs/取込.json",
              R"({"Items": {"SpecName": "取込", "SpecType": 1, "FileType": 932,
                 "Columns": {"名前": {"DataType": 10, "Start": 1, "Width": 40, "SkipColumn": false},
                             "ID": {"DataType": 4, "Start": 41, "Width": 5}}}})");
        write(root / "imexspecs/出力.json", R"({"Items": {"SpecName": "出力", "SpecType": 2}})");
        write(root / "Forms/F顧客.form", "Version =20\nBegin Form\nEnd\n");
        write(root / "Forms/notes.md", "not an object");
        write(root / "macros/AutoExec.macro",
              "Version =196611\nBegin\n    Action =\"Beep\"\nEnd\n");
        write(root / "modules/modUtil.bas", "Attribute VB_Name = \"mod共通\"\nOption Explicit\n");
        write(root / "modules/cls顧客.cls", "Option Explicit\n");
        write(root / "dbs-properties.json",
              R"({"Items": {"AccessVersion": {"Value": "08.50", "Type": 10},
                 "StartupShowDBWindow": {"Value": false, "Type": 1},
                 "QueryTimeout": {"Value": 30, "Type": 3}}})");
        db_ = std::make_unique<ExportDatabase>(ExportFolder::Open(root));
    }

    zanfor::test::TempDir dir_;
    std::unique_ptr<ExportDatabase> db_;
};

TEST_F(ExportDatabaseFolder, listsTablesAndQueriesWithWhatEachFileHolds) {
    std::string names;
    for (const auto& t : db_->tableDefs())
        names += t.name + " ";
    // In DAO's order: upper-cased names compared in the Japanese code page.
    EXPECT_EQ(names, "MSysIMEXColumns MSysIMEXSpecs リンク 壊れ 顧客 受注 ");
    // The schema wins over the DDL of the same table.
    EXPECT_EQ(find(db_->tableDefs(), "受注")->fields.size(), 1u);
    EXPECT_TRUE(find(db_->tableDefs(), "受注")->indexes.at(0).foreign);
    EXPECT_EQ(find(db_->tableDefs(), "リンク")->connect, ";DATABASE=C:\\data\\be.mdb");
    EXPECT_EQ(find(db_->tableDefs(), "MSysIMEXSpecs")->attributes, dao::dbSystemObject);
    const auto* broken = find(db_->tableDefs(), "壊れ");
    EXPECT_NE(broken->problem.find("壊れ.sql' の 2 行目"), std::string::npos) << broken->problem;

    const auto* q = find(db_->queryDefs(), "q顧客");
    EXPECT_EQ(q->sql(), "SELECT 顧客.名前\r\nFROM 顧客;");
    EXPECT_EQ(find(db_->queryDefs(), "q削除")->type, dao::dbQDelete);
    zanfor::test::ExpectError([&] { (void)find(db_->queryDefs(), "q壊れ")->sql(); },
                              err::kExportMalformed, "q壊れ.bas");
}

TEST_F(ExportDatabaseFolder, givesDocumentsPropertiesAndImportExportDefinitions) {
    std::string documents;
    for (const char* c : {"Forms", "Scripts", "Modules", "Reports", "DataAccessPages"}) {
        documents += std::string(c) + ":";
        for (const auto& d : db_->container(c).documents)
            documents += " " + d.name;
        documents += "; ";
    }
    EXPECT_EQ(documents,
              "Forms: F顧客; Scripts: AutoExec; Modules: cls顧客 mod共通; Reports:; "
              "DataAccessPages:; ");
    EXPECT_EQ(describe(db_->properties()),
              "AccessVersion=4:08.50 StartupShowDBWindow=1:False QueryTimeout=2:30 ");
    EXPECT_TRUE(db_->problems().empty());

    // The import/export definitions as system table rows.
    std::string rows;
    for (auto rs = db_->openRecordset("msysimexspecs"); !rs->eof(); rs->moveNext())
        rows += rs->field("SpecName").toText() + rs->field("SpecID").toText() + " ";
    EXPECT_EQ(rows, "出力1 取込2 ");
    rows.clear();
    for (auto rs = db_->openRecordset("MSysIMEXColumns"); !rs->eof(); rs->moveNext()) {
        for (const char* f : {"FieldName", "SpecID", "Width", "SkipColumn"})
            rows += rs->field(f).isNull() ? "Null " : rs->field(f).toText() + " ";
    }
    EXPECT_EQ(rows, "名前 2 40 False ID 2 5 Null ");
    EXPECT_TRUE(db_->openRecordset("顧客")->eof());
    zanfor::test::ExpectError([&] { db_->openRecordset("無い"); }, err::kNoSuchTable, "無い");
}

// An export keeps no dates; the files' times say when they were written or checked out, not when
// the objects changed, so every date is unknown rather than made up.
TEST_F(ExportDatabaseFolder, noObjectHasADate) {
    std::string dated;
    const auto check = [&dated](const auto& o, bool document) {
        if (o.dateCreated || o.lastUpdated)
            dated += o.name + " ";
        for (const char* property : {"DateCreated", "LastUpdated"}) {
            const auto* p = o.properties.find(property);
            if (p && !p->value.isNull())
                dated += o.name + "." + property + " ";
        }
        EXPECT_TRUE(!document || o.properties.find("DateCreated")) << o.name;
    };
    for (const auto& t : db_->tableDefs())
        check(t, false);
    for (const auto& q : db_->queryDefs())
        check(q, false);
    for (const auto& c : db_->containers()) {
        for (const auto& d : c.documents)
            check(d, true);
    }
    EXPECT_EQ(dated, "");
}

TEST(ExportDatabase, readsOlderToolsPropertyFilesAndFailsOnAMissingFolder) {
    zanfor::test::ExpectError([] { ExportFolder::Open("/nonexistent/販売.mdb.src"); },
                              err::kCannotOpenFile, "販売.mdb.src");
    zanfor::test::TempDir dir;
    write(dir / "a/properties.txt",
          "Connect??12\r\nTransactions?True?1\r\nQueryTimeout?60?3\r\nOdd?a?b?c\r\n");
    EXPECT_EQ(describe(ExportDatabase(ExportFolder::Open(dir / "a")).properties()),
              "Connect=4: Transactions=1:True QueryTimeout=2:60 Odd=4:a?b?c ");

    write(dir / "b/Project.accprj",
          "[Project]\nName=\"x\"\n[Database Properties]\nQueryTimeout=Integer:60\n"
          "StartUpForm=\"Form.メイン\"\nAllowFullMenus=False\nRow Limit=Long:1000\n[References]\n"
          "DAO={0}|5|0|x\n");
    EXPECT_EQ(describe(ExportDatabase(ExportFolder::Open(dir / "b")).properties()),
              "QueryTimeout=2:60 StartUpForm=4:Form.メイン AllowFullMenus=1:False "
              "Row Limit=2:1000 ");

    write(dir / "c/dbs-properties.json", "{\"Items\": ");
    ExportDatabase c(ExportFolder::Open(dir / "c"));
    EXPECT_EQ(c.properties().count(), 0u);
    EXPECT_NE(c.problems().at(0).find("dbs-properties.json"), std::string::npos);
}

// A star over another query of the folder stands for its columns, read first for them; computed
// columns get the type Jet gives their expression.
TEST(ExportDatabase, typesComputedColumnsAndStarsOverQueries) {
    zanfor::test::TempDir dir;
    const fs::path root = dir.path() / "a.mdb.src";
    write(root / "TblDefs/受注.sql",
          "CREATE TABLE [受注] (\n  [ID] LONG,\n  [数量] SHORT,\n  [単価] CURRENCY\n)\n");
    write(root / "queries/a一覧.sql", "SELECT b合計.*, [金額] / 2 AS 半額 FROM b合計;\n");
    write(root / "queries/b合計.bas",
          "Operation =1\nOption =0\nBegin InputTables\n    Name =\"受注\"\n    Alias =\"j\"\nEnd\n"
          "Begin OutputColumns\n    Expression =\"j.ID\"\n    Alias =\"金額\"\n"
          "    Expression =\"CCur(j.単価*[数量])\"\nEnd\n");
    write(root / "queries/c自己.sql", "SELECT c自己.* FROM c自己;\n");
    ExportDatabase db(ExportFolder::Open(root));
    std::string got;
    for (const auto& q : db.queryDefs()) {
        got += q.name + ":";
        for (const auto& f : q.fields)
            got += " " + f.name + "=" + std::to_string(f.type) + "/" + std::to_string(f.size);
        got += "; ";
    }
    EXPECT_EQ(got, "a一覧: ID=4/4 金額=5/8 半額=7/8; b合計: ID=4/4 金額=5/8; c自己:; ");
}

// Every object file of the real export sets reads: as many objects of each kind as files.
TEST(ExportDatabase, everyFileOfTheRealExportSetsReads) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::pair<const char*, std::string> cases[] = {
        {"exports/ncrn-birds/source", "42 21 2 14 298 41"},
        {"exports/ube-utility/ubeUtility V1-4.mdb.src", "2 0 1 1 0 1"},
        {"exports/msaccess-vcs-testing/Testing.accdb.src", "5 3 1 7 4 9"},
        {"pairs/strings", "12 0 10 7 0 0"},
    };
    for (const auto& [folder, counts] : cases) {
        SCOPED_TRACE(folder);
        ExportDatabase db(ExportFolder::Open(data / folder));
        std::string got;
        for (const char* c : {"Forms", "Reports", "Scripts", "Modules"})
            got += std::to_string(db.container(c).documents.size()) + " ";
        got += std::to_string(db.queryDefs().size());
        std::size_t tables = 0;
        for (const auto& t : db.tableDefs()) {
            if (t.name.rfind("MSys", 0) == 0)
                continue;
            ++tables;
            const bool linked = !t.connect.empty();
            EXPECT_TRUE(linked || t.problem.empty()) << t.name << ": " << t.problem;
            EXPECT_NE(t.fields.empty(), !linked) << t.name;
        }
        EXPECT_EQ(got + " " + std::to_string(tables), counts);
        for (const auto& q : db.queryDefs())
            EXPECT_NO_THROW((void)q.sql()) << q.name;
        EXPECT_TRUE(db.problems().empty());
    }
}

}  // namespace
