// The in-memory target stands in for Access in the tests of the collectors and code readers;
// these cases cover what those tests take on trust: DAO's error numbers and that neither a
// property write nor a design change outlives the object it was made on.

#include "host/memory/memory_target.h"

#include <gtest/gtest.h>

namespace {

using namespace zanfor::host;
using namespace zanfor::host::memory;
using access::ObjectType;
using access::View;

template <typename F>
int errorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

class MemoryTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        MemoryTargetBuilder b("/data/販売管理.mdb");
        b.property("StartupForm", "F_メニュー");
        b.table("T_顧客").field("顧客名", dao::dbText, 50).row({"山田商店"}).row({"佐藤商事"});
        b.unreadableQuery("Q_壊れた", dao::dbQSelect);
        b.form("F_顧客").property("RecordSource", "T_顧客").code("Sub A()\r\nEnd Sub\r\n");
        b.report("R_顧客").groupLevel({"顧客名", false, true, false, 0, 1, 0});
        engine_.add(b.build());
    }

    MemoryEngine engine_;
};

TEST_F(MemoryTargetTest, databaseRowsErrorsAndPropertyWritesPerOpenDatabase) {
    auto db = engine_.openDatabase("/data/販売管理.mdb");
    EXPECT_EQ(db->tableDefs().at(0).recordCount, 2);
    EXPECT_EQ(errorOf([&] { (void)db->queryDefs().at(0).sql(); }), 3258);
    std::string names;
    for (auto rs = db->openRecordset("T_顧客"); !rs->eof(); rs->moveNext())
        names += rs->field("顧客名").toText() + " ";
    EXPECT_EQ(names, "山田商店 佐藤商事 ");
    db->properties().set("StartupForm", "(表示しない)");
    EXPECT_EQ(db->properties().get("StartupForm").toText(), "(表示しない)");
    EXPECT_EQ(engine_.openDatabase("/data/販売管理.mdb")->properties().get("StartupForm").toText(),
              "F_メニュー");
}

TEST_F(MemoryTargetTest, designChangesAreGoneWhenTheObjectIsOpenedAgain) {
    MemoryApplication app(engine_);
    app.openCurrentDatabase("/data/販売管理.mdb");
    auto& form = app.openForm("F_顧客", View::Design);
    ASSERT_TRUE(form.hasModule());
    ProcKind kind{};
    EXPECT_EQ(form.module->model().ProcOfLine(1, kind), "A");
    form.properties.put("RecordSource", "changed");
    app.close(ObjectType::Form, "F_顧客");
    EXPECT_EQ(app.openForm("F_顧客", View::Design).properties.get("RecordSource").toText(),
              "T_顧客");
    app.close(ObjectType::Form, "F_顧客");

    auto& report = app.openReport("R_顧客", View::Design);
    EXPECT_EQ(report.groupLevel(0).controlSource.toText(), "顧客名");
    EXPECT_EQ(errorOf([&] { report.groupLevel(1); }), 2464);
    app.close(ObjectType::Report, "R_顧客");
    EXPECT_TRUE(app.openObjectNames().empty());
}

}  // namespace
