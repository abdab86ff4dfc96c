#include "collect/report_collector.h"

#include <gtest/gtest.h>

#include "collect/design_fixture.h"

namespace {

using namespace zanfor;
using host::Value;
using host::memory::MemoryTargetBuilder;
using test::SchemaControl;
using test::SchemaReport;
using test::Stored;
using test::VbaFixture;
using Lines = std::vector<std::string>;

constexpr std::int16_t kSimple = 1;
constexpr std::int16_t kDetailed = 2;

collect::RunResult CollectReports(VbaFixture& f, std::int16_t listing) {
    f.state().options.report = listing;
    auto ctx = f.context();
    return collect::RunReportCollection(ctx);
}

struct ControlCase {
    const char* name;
    const char* kind;
    Stored stored;
    bool grouped;
    Lines simple;  // Bunrui|PropertyName|PropertyValue
    Lines detailed;
};

ControlCase Case(const char* name, const char* kind, Stored stored, bool grouped, Lines simple,
                 Lines detailed) {
    return {name, kind, std::move(stored), grouped, std::move(simple), std::move(detailed)};
}

class ReportControlRows : public testing::TestWithParam<ControlCase> {};

TEST_P(ReportControlRows, areTheRowsOfItsTypeInBothListings) {
    const auto& c = GetParam();
    MemoryTargetBuilder b("/r.mdb");
    SchemaReport(b, "R").control(
        SchemaControl(c.kind, "c", c.stored, {.inOptionGroup = c.grouped, .inReport = true}));
    auto f = VbaFixture::ForTarget(b.build());
    for (const std::int16_t listing : {kSimple, kDetailed}) {
        ASSERT_EQ(CollectReports(f, listing), collect::RunResult::Collected);
        EXPECT_EQ(f.rows("SELECT Bunrui, PropertyName, PropertyValue FROM T_AcRepItem"),
                  listing == kSimple ? c.simple : c.detailed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportControlRows,
    testing::Values(Case("textBoxWithoutSourceGetsNoRow", "TextBox", {}, false, {}, {}),
                    Case("textBoxShowsItsFormatWhenDetailed", "TextBox",
                         {{"ControlSource", "金額"}, {"Format", "Currency"}}, false,
                         {"ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|金額"},
                         {"ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|金額", "書式|書式・定型入力|Currency・"}),
                    Case("groupedCheckBoxShowsItsDefaultOptionValue", "CheckBox", {}, true,
                         {"ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値|1"}, {"ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値|1"}),
                    Case("groupedToggleButtonShowsNoCaption", "ToggleButton", {{"Caption", "A"}},
                         true, {"ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値|1"}, {"ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値|1"}),
                    Case("linkedPictureShowsItsSizeWhenDetailed", "Image",
                         {{"Picture", "a.bmp"}, {"PictureType", 1}, {"SizeMode", 3}}, false,
                         {"書式|ﾋﾟｸﾁｬ・ﾀｲﾌﾟ|a.bmp・ﾘﾝｸ"},
                         {"書式|ﾋﾟｸﾁｬ・ﾀｲﾌﾟ|a.bmp・ﾘﾝｸ", "書式|OLEｻｲｽﾞ・配置|ｽﾞｰﾑ・2"})),
    [](const testing::TestParamInfo<ControlCase>& p) { return p.param.name; });

host::access::GroupLevel Level(const char* source, bool descending, int groupOn) {
    return {Value(source),  Value(descending), Value(true), Value(false),
            Value(groupOn), Value(1),          Value(0)};
}

TEST(ReportCollector, threeGroupingLevelsGiveThreeRowsAndNoneGiveNone) {
    MemoryTargetBuilder b("/r.mdb");
    SchemaReport(b, "R無");
    SchemaReport(b, "R三")
        .groupLevel(Level("地域", false, 0))
        .groupLevel(Level("=Year([日付])", true, 0))
        .groupLevel(Level("社名", false, 1));
    auto f = VbaFixture::ForTarget(b.build());
    ASSERT_EQ(CollectReports(f, kSimple), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, GroupNo, ControlSource, SortOrder, GroupHeader, "
                     "GroupFooter, GroupOn, GroupInterval, KeepTogether FROM T_AcRepGrp"),
              (Lines{"2|1|地域|False|True|False|0|1|0", "2|2|=Year([日付])|True|True|False|0|1|0",
                     "2|3|社名|False|True|False|1|1|0"}));
}

// The events are Properties 41 to 47; AllowDesignChanges, at 48, is none.
TEST(ReportCollector, reportRowTakesItsEventsFromTheReportsEventTab) {
    MemoryTargetBuilder b("/r.mdb");
    SchemaReport(b, "R請求",
                 {{"RecordSource", "請求"},
                  {"Caption", "請求書"},
                  {"OnNoData", "[Event Procedure]"},
                  {"OnOpen", "=Init()"},
                  {"AllowDesignChanges", false}})
        .description("月次");
    auto f = VbaFixture::ForTarget(b.build());
    ASSERT_EQ(CollectReports(f, kDetailed), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, RecordSource, Caption, RecordLocks, Midasi, Ibent1, "
                     "IbentVL1, Ibent2, IbentVL2, Ibent3, ReportName, Description "
                     "FROM T_AcRepInfo"),
              (Lines{"1|ﾚｺｰﾄﾞｿｰｽ : 請求|請求書|0|2|開く時|=Init()|空ﾃﾞｰﾀ時|"
                     "[Event Procedure]||R請求|月次"}));
}

}  // namespace
