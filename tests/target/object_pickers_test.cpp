#include "target/object_pickers.h"

#include <gtest/gtest.h>

#include "host/memory/memory_target.h"

namespace {

using namespace zanfor;
using host::memory::MemoryDatabase;
using host::memory::MemoryTargetBuilder;

struct Picked {
    app::AppState state;
    app::RecordingUi ui;

    Picked() = default;
    explicit Picked(const MemoryTargetBuilder& builder) { pick(builder); }
    template <typename Database = MemoryDatabase>
    void pick(const MemoryTargetBuilder& builder) {
        Database db(builder.build());
        target::FillPickers(db, state, ui);
    }
};

TEST(ObjectPickers, tablesLeaveOutSystemTablesByExactCaseAndCountLinksOverAll) {
    MemoryTargetBuilder b("/t/a.mdb");
    b.table("MSysObjects").field("Id", host::dao::dbLong, 4);
    b.table("msysが小文字").field("Id", host::dao::dbLong, 4);
    b.table("顧客").field("Id", host::dao::dbLong, 4);
    b.table("MSysLinked").link(";DATABASE=C:\\x.mdb", "t");
    b.table("得意先").link(";DATABASE=C:\\x.mdb", "得意先");
    b.table("仕入先").link("ODBC;DSN=x", "dbo.s");
    Picked p(b);
    EXPECT_EQ(p.state.pickers.tables,
              (std::vector<std::string>{"msysが小文字", "顧客", "得意先", "仕入先"}));
    EXPECT_EQ(p.state.counts.tables, 4);
    EXPECT_EQ(p.state.counts.linkedTables, 3) << "a skipped table still counts as linked";
    EXPECT_EQ(p.state.pickers.tableText, "msysが小文字");
    EXPECT_EQ(p.state.lastRun[app::Collector::Tables], app::kNotCollected);
}

TEST(ObjectPickers, queriesLeaveOutSystemTypesAndFormRecordSources) {
    MemoryTargetBuilder b("/t/a.mdb");
    b.query("~sq_f顧客", host::dao::dbQSelect, "SELECT 1;");
    b.query("受注一覧", host::dao::dbQSelect, "SELECT 1;");
    b.query("隠し", 8, "SELECT 1;");
    b.query("不明な型", 4, "SELECT 1;");
    b.query("~SQ_大文字", host::dao::dbQUpdate, "UPDATE t SET a=1;");
    Picked p(b);
    EXPECT_EQ(p.state.pickers.queries,
              (std::vector<std::string>{"受注一覧", "隠し", "~SQ_大文字"}));
    EXPECT_EQ(p.state.counts.queries, 3);
}

TEST(ObjectPickers, formsFillBothListsAndDocumentsKeepTheirOrder) {
    MemoryTargetBuilder b("/t/a.mdb");
    b.form("メニュー");
    b.form("顧客入力");
    b.report("請求書");
    Picked p(b);
    EXPECT_EQ(p.state.pickers.forms, (std::vector<std::string>{"メニュー", "顧客入力"}));
    EXPECT_EQ(p.state.pickers.fmImageText, "メニュー");
    EXPECT_EQ(p.state.pickers.reportText, "請求書");
}

TEST(ObjectPickers, anEmptyKindGetsNineAndAnEmptyList) {
    MemoryTargetBuilder b("/t/a.mdb");
    b.table("MSysObjects").field("Id", host::dao::dbLong, 4);
    Picked p(b);
    using C = app::Collector;
    for (auto c : {C::Tables, C::Queries, C::Forms, C::Reports, C::Macros})
        EXPECT_EQ(p.state.lastRun[c], app::kNoObjects) << static_cast<int>(c);
    EXPECT_TRUE(p.state.pickers.tables.empty());
    EXPECT_EQ(p.state.pickers.tableText, "");
}

TEST(ObjectPickers, autoExecIsFoundInAnyCaseAndStaysListed) {
    for (const char* name : {"AutoExec", "autoexec", "AUTOEXEC"}) {
        MemoryTargetBuilder b("/t/a.mdb");
        b.macro("AutoKeys");
        b.macro(name);
        Picked p(b);
        EXPECT_TRUE(p.state.autoExec) << name;
        EXPECT_EQ(p.state.counts.macros, 2);
    }
    MemoryTargetBuilder b("/t/a.mdb");
    b.macro("AutoExec2");
    EXPECT_FALSE(Picked(b).state.autoExec);
}

TEST(ObjectPickers, aSecondTargetReplacesEveryNameOfTheFirst) {
    MemoryTargetBuilder first("/t/a.mdb");
    first.table("顧客").field("Id", host::dao::dbLong, 4);
    first.macro("AutoExec");
    MemoryTargetBuilder second("/t/b.mdb");
    second.table("商品").field("Id", host::dao::dbLong, 4);
    Picked p(first);
    p.pick(second);
    EXPECT_EQ(p.state.pickers.tables, std::vector<std::string>{"商品"});
    EXPECT_FALSE(p.state.autoExec);
    EXPECT_EQ(p.state.pickers.macroText, "");
}

// A Jet file that Access never opened lacks the Access containers.
class JetOnlyDatabase : public MemoryDatabase {
public:
    using MemoryDatabase::MemoryDatabase;
    const std::vector<host::dao::Container>& containers() override { return none_; }

private:
    std::vector<host::dao::Container> none_;
};

TEST(ObjectPickers, aTargetWithoutAccessContainersHasNoFormsReportsOrMacros) {
    MemoryTargetBuilder b("/t/a.mdb");
    b.form("F");
    Picked p;
    p.pick<JetOnlyDatabase>(b);
    EXPECT_EQ(p.state.counts.forms, 0);
    EXPECT_EQ(p.state.lastRun[app::Collector::Forms], app::kNoObjects);
}

}  // namespace
