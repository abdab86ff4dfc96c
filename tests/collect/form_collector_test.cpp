#include "collect/form_collector.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "collect/design_fixture.h"
#include "host/access/file_application.h"

namespace {

using namespace zanfor;
using host::memory::MemoryApplication;
using host::memory::MemoryTargetBuilder;
using test::SchemaControl;
using test::SchemaForm;
using test::Stored;
using test::VbaFixture;
using Lines = std::vector<std::string>;

constexpr std::int16_t kSimple = 1;
constexpr std::int16_t kDetailed = 2;
const char* const kProcedure = "[Event Procedure]";

collect::RunResult CollectForms(VbaFixture& f, std::int16_t listing, std::int16_t selection = 1) {
    f.state().options.form = listing;
    f.state().options.fselect = selection;
    auto ctx = f.context();
    return collect::RunFormCollection(ctx);
}

VbaFixture Fixture(const MemoryTargetBuilder& b) { return VbaFixture::ForTarget(b.build()); }

bool NothingOpen(VbaFixture& f) {
    return dynamic_cast<MemoryApplication&>(*f.access).openObjectNames().empty();
}

const Stored kNoTabStop{{"TabStop", false}};

// A control's rows as PropertyNo|Bunrui|PropertyName|PropertyValue, by its type and listing.
TEST(FormCollector, controlRowsFollowTheControlsTypeAndTheListing) {
    const std::string none = "1|ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|なし",
                      ime = "2|その他|IMEﾓｰﾄﾞ・保持|ｺﾝﾄﾛｰﾙなし・いいえ";
    const Stored locked{{"Locked", true}}, picture{{"Picture", "a.bmp"}},
        click{{"OnClick", kProcedure}}, option2{{"OptionValue", 2}},
        limited{{"LimitToList", true}, {"Locked", true}, {"TabStop", false}},
        rule{{"LimitToList", true}, {"ValidationRule", ">0"}, {"Locked", true}, {"TabStop", false}};
    const test::Placed plain, grouped{.inOptionGroup = true}, unknown{.unknown = {"ControlSource"}};
    const struct {
        const char* kind;
        Stored stored;
        test::Placed placed;
        std::int16_t listing;
        Lines rows;
    } cases[] = {
        {"TextBox", {}, plain, kSimple, {none}},
        {"CheckBox", {}, plain, kSimple, {}},  // without a source, no row
        // Locked, no default row; unlocked, its empty default.
        {"TextBox", locked, plain, kDetailed, {none, ime, "3|その他|ﾀﾌﾞｽﾄｯﾌﾟ・移動順|はい・0"}},
        {"TextBox", kNoTabStop, plain, kDetailed, {none, ime, "3|ﾃﾞｰﾀ|規定値・編集ﾛｯｸ|・いいえ"}},
        // Limited to its list without a rule it is checked; with a rule, the rule alone shows.
        {"ComboBox", limited, plain, kDetailed, {none, ime, "3|ﾃﾞｰﾀ|入力ﾁｪｯｸ(ﾒｯｾｰｼﾞ)|はい()"}},
        {"ComboBox", rule, plain, kDetailed, {none, ime, "3|ﾃﾞｰﾀ|入力規則(ﾒｯｾｰｼﾞ)|>0()"}},
        {"Image", picture, plain, kSimple, {"1|書式|ﾋﾟｸﾁｬ・ﾀｲﾌﾟ|a.bmp・埋め込み"}},
        // Without a picture: no simple row, only the event rows.
        {"Image", {}, plain, kSimple, {}},
        {"Image", click, plain, kDetailed, {"1|ｲﾍﾞﾝﾄ|ｸﾘｯｸ時|[Event Procedure]"}},
        // Grouped buttons show their option value, each found at its own index.
        {"CheckBox", option2, grouped, kSimple, {"1|ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値・編集ﾛｯｸ|2・いいえ"}},
        {"ToggleButton", {}, grouped, kSimple, {"1|ﾃﾞｰﾀ|ｵﾌﾟｼｮﾝ値・編集ﾛｯｸ|1・いいえ"}},
        // A source that cannot be read is not shown as none.
        {"TextBox", {}, unknown, kSimple, {"1|ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|(不明)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " #" << &c - cases);
        MemoryTargetBuilder b("/f.mdb");
        SchemaForm(b, "F").control(SchemaControl(c.kind, "c", c.stored, c.placed));
        auto f = Fixture(b);
        ASSERT_EQ(CollectForms(f, c.listing), collect::RunResult::Collected);
        EXPECT_EQ(f.rows("SELECT PropertyNo, Bunrui, PropertyName, PropertyValue FROM T_AcFrmItem "
                         "ORDER BY rowid"),
                  c.rows);
    }
}

// Each control's TLWH for its stored placement.
std::string PlacementOf(const char* kind, const Stored& stored) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F").control(SchemaControl(kind, "c", stored));
    auto f = Fixture(b);
    EXPECT_EQ(CollectForms(f, kSimple), collect::RunResult::Collected);
    return f.rows("SELECT TLWH FROM T_AcFrmItem").at(0);
}

TEST(FormCollector, placementIsInCentimetresRoundedHalfUpToThreeDecimals) {
    EXPECT_EQ(
        PlacementOf("Label", {{"Top", 567}, {"Left", 1134}, {"Width", 1701}, {"Height", 850}}),
        "1cm・2cm・3cm・1.499cm");
    EXPECT_EQ(PlacementOf("PageBreak", {{"Top", 567}, {"Left", 1134}}), "1cm・2cm");
    EXPECT_EQ(PlacementOf("Label", {{"Top", 1}, {"Left", 0}, {"Width", 5670}, {"Height", 0}}),
              "0.002cm・0cm・10cm・0cm");
}

TEST(FormCollector, numbersEveryControlAlsoOneWithoutRowsAndRestartsItsRows) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F")
        .control(SchemaControl("TextBox", "氏名", kNoTabStop))
        .control(SchemaControl("Image", "ロゴ"))
        .control(998, "謎", {{"Visible", 1}, {"Top", 0}, {"Left", 0}, {"Width", 0}, {"Height", 0}})
        .control(SchemaControl("TextBox", "住所", kNoTabStop));
    auto f = Fixture(b);
    ASSERT_EQ(CollectForms(f, kDetailed), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT ControlNo, Name, ControlType, cntlVisible, group_concat(PropertyNo) "
                     "FROM T_AcFrmItem GROUP BY ControlNo"),
              (Lines{"1|氏名|ﾃｷｽﾄﾎﾞｯｸｽ|True|1,2,3", "4|住所|ﾃｷｽﾄﾎﾞｯｸｽ|True|1,2,3"}));
}

TEST(FormCollector, tabControlWithTwoPagesAndThreeTextBoxes) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F")
        .control(SchemaControl("TabCtl", "タブ", {{"TabIndex", 2}}))
        .control(SchemaControl("Page", "頁1", {{"Caption", "基本"}}))
        .control(SchemaControl("TextBox", "氏名", {{"ControlSource", "氏名"}}))
        .control(SchemaControl("TextBox", "かな", {{"ControlSource", "かな"}}))
        .control(SchemaControl("Page", "頁2", {{"Caption", "連絡先"}, {"Visible", false}}))
        .control(SchemaControl("TextBox", "電話"));
    auto f = Fixture(b);
    ASSERT_EQ(CollectForms(f, kSimple), collect::RunResult::Collected);
    EXPECT_EQ(
        f.rows("SELECT ControlNo, Name, ControlType, cntlVisible, Bunrui, PropertyName, "
               "PropertyValue FROM T_AcFrmItem ORDER BY rowid"),
        (Lines{"1|タブ|ﾀﾌﾞｺﾝﾄﾛｰﾙ|True|その他|ﾀﾌﾞｽﾄｯﾌﾟ・移動順|はい・2",
               "2|頁1|ﾍﾟｰｼﾞ|True|書式|標題|基本", "3|氏名|ﾃｷｽﾄﾎﾞｯｸｽ|True|ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|氏名",
               "4|かな|ﾃｷｽﾄﾎﾞｯｸｽ|True|ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|かな", "5|頁2|ﾍﾟｰｼﾞ|False|書式|標題|連絡先",
               "6|電話|ﾃｷｽﾄﾎﾞｯｸｽ|True|ﾃﾞｰﾀ|ｺﾝﾄﾛｰﾙｿｰｽ|なし"}));
}

TEST(FormCollector, formRowHoldsSettingsDocumentAndDescription) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F受注",
               {{"RecordSource", "受注"},
                {"Caption", std::string(99, 'x') + "  y"},
                {"DefaultView", 2},
                {"AllowEdits", false},
                {"PopUp", true},
                {"MenuBar", "mnu"}})
        .description("受注の入力");
    auto f = Fixture(b);
    ASSERT_EQ(CollectForms(f, kDetailed), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, RecordSource, \"Filter\", length(Caption), DefaultView, "
                     "AllowEdits, AllowDeletions, DataEntry, PopUp, sMenuBar, Midasi, FormName, "
                     "Description, DateCreated IS NOT NULL FROM T_AcFrmInfo"),
              (Lines{"1|ﾚｺｰﾄﾞｿｰｽ : 受注|フィルタ : |99|2|False|True|False|True|mnu|2|F受注|"
                     "受注の入力|1"}));
}

// The form's four event slots, Ibent1|IbentVL1|...|IbentVL4.
std::string EventSlots(const Stored& stored, std::int16_t listing, Lines unknown = {}) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F", stored);
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    target->forms[0].unknown = std::move(unknown);
    auto f = VbaFixture::ForTarget(target);
    EXPECT_EQ(CollectForms(f, listing), collect::RunResult::Collected);
    return f
        .rows(
            "SELECT Ibent1, IbentVL1, Ibent2, IbentVL2, Ibent3, IbentVL3, Ibent4, IbentVL4 "
            "FROM T_AcFrmInfo")
        .at(0);
}

TEST(FormCollector, fiveEventsKeepTheFirstFourOfTheEventTabCutToFitTheirSlot) {
    const std::string o58(58, 'o');
    EXPECT_EQ(
        EventSlots({{"OnClose", "=Fin()"},
                    {"OnCurrent", kProcedure},
                    {"AfterInsert", "M.After"},
                    {"OnOpen", o58 + "   z"},
                    {"OnTimer", kProcedure}},
                   kDetailed),
        "ﾚｺｰﾄﾞ移動時|[Event Procedure]|挿入後処理|M.After|開く時|" + o58 + "|閉じる時|=Fin()");
}

TEST(FormCollector, eventsTheDesignTellsComeBeforeUnknownOnes) {
    EXPECT_EQ(EventSlots({{"OnOpen", "=Init()"}, {"OnClose", kProcedure}}, kDetailed,
                         {"AfterInsert", "OnDirty", "OnError"}),
              "開く時|=Init()|閉じる時|[Event Procedure]|挿入後処理|(不明)|ﾀﾞｰﾃｨｰ時|(不明)");
}

// Key Preview sits among the events; it holds "False" or "True", never a procedure.
TEST(FormCollector, keyPreviewTakesNoEventSlotInEitherListing) {
    for (const std::int16_t listing : {kSimple, kDetailed})
        EXPECT_EQ(EventSlots({{"KeyPreview", true}, {"OnLoad", kProcedure}}, listing),
                  "読込時|[Event Procedure]||||||");
}

TEST(FormCollector, selectedFormRerunOnlyPreviewsWithoutAccess) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F1");
    SchemaForm(b, "F2");
    auto f = Fixture(b);
    f.state().pickers.formText = "F2";
    ASSERT_EQ(CollectForms(f, kSimple, 2), collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, FormName FROM T_AcFrmInfo"), Lines{"1|F2"});
    // Collecting again would need Access, which is gone now.
    f.access.reset();
    ASSERT_EQ(CollectForms(f, kSimple, 2), collect::RunResult::Previewed);
    EXPECT_EQ(f.events("report:").back(), "R_AcFrmCntl:0");
    EXPECT_NE(CollectForms(f, kDetailed, 2), collect::RunResult::Previewed);
}

TEST(FormCollector, allFormsShowEachNameMoveTheGaugeAndCloseEachForm) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F1");
    SchemaForm(b, std::string(150, 'n') + "F2");
    auto f = Fixture(b);
    ASSERT_EQ(CollectForms(f, kSimple), collect::RunResult::Collected);
    EXPECT_EQ(f.events("message:").front(), "フォーム情報　取得中　(F1)");
    EXPECT_EQ(f.events("progress:"), (Lines{"0", "50", "100", "100"}));
    EXPECT_TRUE(NothingOpen(f));
    // A name cut to 150 characters matches no document: its row has no name or dates.
    EXPECT_EQ(f.rows("SELECT objectNo, FormName, DateCreated IS NULL FROM T_AcFrmInfo"),
              (Lines{"1|F1|0", "2||1"}));
}

TEST(FormCollector, aFormThatDoesNotOpenCostsItselfAlone) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F壊");
    SchemaForm(b, "F良").control(SchemaControl("Label", "l", {{"Caption", "良"}}));
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    target->forms.erase(target->forms.begin());
    auto f = VbaFixture::ForTarget(target);
    EXPECT_EQ(CollectForms(f, kSimple), collect::RunResult::Failed);
    EXPECT_EQ(f.rows("SELECT objectNo, instr(RecordSource, '読み取れません'), AllowEdits, "
                     "FormName FROM T_AcFrmInfo"),
              (Lines{"1|1||F壊", "2|0|True|F良"}));
    EXPECT_EQ(f.rows("SELECT objectNo, PropertyValue FROM T_AcFrmItem"), Lines{"2|良"});
    ASSERT_EQ(f.events("box:").size(), 1u);
    EXPECT_TRUE(f.events("box:")[0].starts_with("場所:フォーム情報ｴﾗｰNo:3049"))
        << f.events("box:")[0];
    EXPECT_NE(f.events("box:")[0].find("　F壊: "), std::string::npos);
}

TEST(FormCollector, aPropertyTheControlLacksEndsTheRunAndClosesTheForm) {
    MemoryTargetBuilder b("/f.mdb");
    SchemaForm(b, "F").control(109, "t");
    auto f = Fixture(b);
    EXPECT_EQ(CollectForms(f, kSimple), collect::RunResult::Failed);
    ASSERT_EQ(f.events("box:").size(), 1u);
    EXPECT_TRUE(f.events("box:")[0].starts_with("場所:フォーム情報ｴﾗｰNo:3270"));
    EXPECT_TRUE(NothingOpen(f));
}

// The detailed rows of every form of a target read from files, named by form.
Lines DetailedRowsOf(const std::filesystem::path& target) {
    test::CollectorFixture f(host::access::FileEngine().openDatabase(target.string()));
    host::access::FileApplication access;
    f.state.options.form = kDetailed;
    auto ctx = f.context();
    ctx.access = &access;
    EXPECT_EQ(collect::RunFormCollection(ctx), collect::RunResult::Collected) << target;
    return f.rows(
        "SELECT i.FormName, c.ControlNo, c.PropertyNo, c.Name, c.ControlType, c.cntlVisible, "
        "c.TLWH, c.Bunrui, c.PropertyName, c.PropertyValue FROM T_AcFrmItem c JOIN T_AcFrmInfo i "
        "ON i.objectNo = c.objectNo ORDER BY i.FormName, c.ControlNo, c.PropertyNo");
}

// Strings.mdb and the text exports Access wrote of its forms describe the same controls.
TEST(FormCollector, stringsFormsListTheSameFromTheFileAndFromTheirExports) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto pair = data / "pairs/strings";
    const auto fromExports = DetailedRowsOf(pair);
    EXPECT_GT(fromExports.size(), 700u);
    EXPECT_EQ(DetailedRowsOf(pair / "Strings.mdb"), fromExports);
}

// The properties a file stores beyond Access's own (LabelX, OverlapFlags) must not shift the
// events of the check boxes and option buttons of northwind's option groups.
TEST(FormCollector, storedExtrasAreNeverListedAsEvents) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const auto& row : DetailedRowsOf(data / "mdb/northwind-ja.mdb"))
        EXPECT_EQ(row.find("|ｲﾍﾞﾝﾄ|?|"), std::string::npos) << row;
}

}  // namespace
