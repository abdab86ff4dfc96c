#include "host/memory/memory_target.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::host;
using namespace zanfor::host::memory;
using access::ObjectType;
using access::View;

std::shared_ptr<const MemoryTarget> salesTarget() {
    MemoryTargetBuilder b("/data/販売管理.mdb");
    b.property("AppTitle", "販売管理").property("StartupForm", "F_メニュー");
    b.table("T_顧客")
        .field("顧客ID", dao::dbLong, 4, dao::dbAutoIncrField | dao::dbFixedField)
        .field("顧客名", dao::dbText, 50)
        .fieldDetails("\"\"", "Is Not Null", true, "得意先の正式名称")
        .primaryKey({"顧客ID"})
        .description("得意先マスタ")
        .row({1, "山田商店"})
        .row({2, "佐藤商事"});
    b.table("T_在庫").link(";DATABASE=C:\\db\\在庫.mdb", "在庫");
    b.query("Q_顧客一覧", dao::dbQSelect, "SELECT * FROM T_顧客;");
    b.unreadableQuery("Q_壊れた", dao::dbQSelect);
    b.form("F_顧客")
        .property("RecordSource", "T_顧客")
        .control(109, "txt顧客名", {{"ControlSource", "顧客名"}})
        .control(104, "cmd閉じる")
        .code(
            "Option Compare Database\r\n\r\nPrivate Sub cmd閉じる_Click()\r\n"
            "    DoCmd.Close\r\nEnd Sub\r\n");
    b.report("R_顧客").groupLevel({"顧客名", false, true, false, 0, 1, 0});
    b.macro("AutoExec", "Function AutoExec()\r\nEnd Function\r\n");
    b.module("modCommon", "Option Explicit\r\n\r\nPublic Function Tax(x)\r\nEnd Function\r\n");
    return b.build();
}

TEST(MemoryTarget, describesTablesQueriesAndContainersInAFewLines) {
    MemoryEngine engine;
    engine.add(salesTarget());
    auto db = engine.openDatabase("/data/販売管理.mdb");

    ASSERT_EQ(db->tableDefs().size(), 2u);
    const auto& customers = db->tableDefs()[0];
    EXPECT_EQ(customers.fields[0].attributes, 17);
    EXPECT_EQ(customers.fields[1].properties.get("Description").toText(), "得意先の正式名称");
    EXPECT_TRUE(customers.indexes[0].primary);
    EXPECT_EQ(customers.recordCount, 2);
    EXPECT_EQ(db->tableDefs()[1].connect, ";DATABASE=C:\\db\\在庫.mdb");
    EXPECT_TRUE(db->tableDefs()[1].fields.empty());

    EXPECT_EQ(db->queryDefs()[0].sql(), "SELECT * FROM T_顧客;");
    try {
        (void)db->queryDefs()[1].sql();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3258);
    }

    EXPECT_EQ(db->container("Forms").documents.at(0).name, "F_顧客");
    EXPECT_EQ(db->container("Scripts").documents.at(0).name, "AutoExec");
    EXPECT_EQ(db->container("Modules").documents.at(0).name, "modCommon");
    EXPECT_THROW(db->container("Nothing"), Error);

    auto rs = db->openRecordset("T_顧客");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("顧客名").toText(), "山田商店");
    rs->moveNext();
    EXPECT_EQ(rs->field("顧客ID").toInteger(), 2);
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_THROW(db->openRecordset("MSysIMEXSpecs"), Error);

    EXPECT_THROW(engine.openDatabase("/data/none.mdb"), Error);
}

TEST(MemoryTarget, propertyWritesStayWithTheOpenDatabase) {
    MemoryEngine engine;
    engine.add(salesTarget());
    auto first = engine.openDatabase("/data/販売管理.mdb");
    first->properties().set("StartupForm", "(表示しない)");
    EXPECT_EQ(first->properties().get("StartupForm").toText(), "(表示しない)");
    auto second = engine.openDatabase("/data/販売管理.mdb");
    EXPECT_EQ(second->properties().get("StartupForm").toText(), "F_メニュー");
}

TEST(MemoryApplication, designObjectsWithControlsModulesAndGroupLevels) {
    MemoryEngine engine;
    engine.add(salesTarget());
    MemoryApplication app(engine);
    EXPECT_THROW(app.currentDb(), Error);
    app.openCurrentDatabase("/data/販売管理.mdb");

    auto& form = app.openForm("F_顧客", View::Design);
    ASSERT_EQ(form.controls.size(), 2u);
    EXPECT_EQ(form.controls[0].name(), "txt顧客名");
    EXPECT_EQ(form.controls[1].controlType(), 104);
    ASSERT_TRUE(form.hasModule());
    const auto& model = form.module->model();
    ProcKind kind{};
    EXPECT_EQ(model.ProcOfLine(4, kind), "cmd閉じる_Click");
    form.properties.put("RecordSource", "changed");
    app.close(ObjectType::Form, "F_顧客");
    EXPECT_EQ(app.openForm("F_顧客", View::Design).properties.get("RecordSource").toText(),
              "T_顧客");
    app.close(ObjectType::Form, "F_顧客");

    auto& report = app.openReport("R_顧客", View::Design);
    EXPECT_FALSE(report.hasModule());
    EXPECT_EQ(report.groupLevel(0).controlSource.toText(), "顧客名");
    try {
        report.groupLevel(1);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 2464);
    }
    app.close(ObjectType::Report, "R_顧客");
    EXPECT_TRUE(app.openObjectNames().empty());
    EXPECT_THROW(app.openForm("F_なし", View::Design), Error);
}

TEST(MemoryApplication, macroConversionCreatesATemporaryModuleThatCanBeDeleted) {
    MemoryEngine engine;
    engine.add(salesTarget());
    MemoryApplication app(engine);
    app.openCurrentDatabase("/data/販売管理.mdb");
    const std::string converted = std::string(access::kConvertedMacroPrefix) + "AutoExec";

    app.selectObject(ObjectType::Macro, "AutoExec");
    app.runCommand(access::kCmdConvertMacrosToVisualBasic);
    EXPECT_EQ(app.openModule(converted).model().CountOfLines(), 2);
    app.close(ObjectType::Module, converted);
    app.deleteObject(ObjectType::Module, converted);
    EXPECT_THROW(app.openModule(converted), Error);
    // Modules of the target itself cannot be deleted.
    EXPECT_THROW(app.deleteObject(ObjectType::Module, "modCommon"), Error);
    EXPECT_EQ(app.openModule("modCommon").model().procedures().at(0).name, "Tax");
}

}  // namespace
