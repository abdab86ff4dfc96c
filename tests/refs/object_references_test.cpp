// The object reference sources: forms and a report built in code, a form that does not read,
// and two forms of a real file against lists made by reading their designs.

#include "refs/object_references.h"

#include <gtest/gtest.h>

#include "collect/design_fixture.h"

namespace {

using namespace zanfor;
using collect::RunResult;
using host::memory::MemoryTargetBuilder;
using test::SchemaControl;
using test::SchemaForm;
using test::VbaFixture;
using Lines = std::vector<std::string>;

const char* const kRowsSql =
    "SELECT ControlNo, PropertyNo, Bunrui, ControlName, ControlBunrui, PropertyName, "
    "PropertyValue, MotoName FROM T_AcLinkObject ORDER BY rowid";

// A line break after the keyword makes SQL too; a longer word or no blank does not.
const std::pair<const char*, const char*> kSources[] = {
    {"S1", "SELECT\r\n* FROM T"}, {"S2", "SELECTION"}, {"S3", "SELECT*FROM T"}};

VbaFixture FormFixture() {
    MemoryTargetBuilder b("/refs.mdb");
    const test::Placed grouped{.inOptionGroup = true};
    SchemaForm(b, "F",
               {{"RecordSource", "  select * from T"},
                {"OnOpen", "[Event Procedure]"},
                {"OnClose", "mcr.閉じる"}})
        .control(SchemaControl("Label", "l"))
        .control(SchemaControl("TextBox", "t",
                               {{"ControlSource", "=Tax(1)+Calc(2)"}, {"OnClick", "m.t"}}))
        .control(SchemaControl(
            "ListBox", "v",
            {{"RowSourceType", "Value List"}, {"RowSource", "a;b"}, {"OnDblClick", "mV"}}))
        .control(SchemaControl("ComboBox", "c", {{"RowSource", "q顧客"}}))
        .control(SchemaControl("CheckBox", "g", {{"DefaultValue", "=Calc()"}, {"OnGotFocus", "mG"}},
                               grouped))
        .control(SchemaControl("CheckBox", "k", {{"DefaultValue", "=Taxes()+Tax()"}}))
        .control(SchemaControl("OptionGroup", "o", {{"AfterUpdate", "mO.u"}}))
        .control(SchemaControl("Subform", "s", {{"SourceObject", "F明細"}}));
    for (const auto& [name, sql] : kSources)
        SchemaForm(b, name, {{"RecordSource", sql}});
    auto f = VbaFixture::ForTarget(b.build());
    f.state().counts.forms = 4;
    f.state().support.formMode = 1;
    f.state().support.procedures = {{"Calc", "M1"}, {"Tax", "M2"}};
    return f;
}

TEST(ObjectReferences, formRowsFollowEachControlTypeAndTheRowCounter) {
    auto f = FormFixture();
    auto ctx = f.context();
    ASSERT_EQ(refs::RunFormReferences(ctx), RunResult::Collected);
    const Lines form{
        "0|0|ＳＱＬ|||ﾚｺｰﾄﾞｿｰｽ|  select * from T|",
        "0|1|マクロ|フォーム||開く時|[Event Procedure]|[Event Procedure]",
        "0|2|マクロ|フォーム||閉じる時|mcr.閉じる|mcr",
        // The first procedure of the table wins; its row takes the counter as it stands.
        "2|2|ﾕｰｻﾞｰ関数|t|ﾃｷｽﾄﾎﾞｯｸｽ|ｺﾝﾄﾛｰﾙｿｰｽ|Calc|M1",
        "2|3|マクロ|t|ﾃｷｽﾄﾎﾞｯｸｽ|ｸﾘｯｸ時|m.t|m",
        // A value list is no source; a list control starts the counter again.
        "3|1|マクロ|v|ﾘｽﾄﾎﾞｯｸｽ|ﾀﾞﾌﾞﾙｸﾘｯｸ時|mV|mV",
        "4|1|ﾃｰﾌﾞﾙ/ｸｴﾘｰ|c|ｺﾝﾎﾞﾎﾞｯｸｽ|値集合ｿｰｽ|q顧客|",
        // A member of an option group is not scanned, and its stored DefaultValue, which its
        // collection in Access lacks, moves none of its events. Taxes is no use of Tax.
        "5|2|マクロ|g|ﾁｪｯｸﾎﾞｯｸｽ|ﾌｫｰｶｽ取得後|mG|mG",
        "6|2|ﾕｰｻﾞｰ関数|k|ﾁｪｯｸﾎﾞｯｸｽ|規定値|Tax|M2",
        // An option group's events are read although its collection has more than 43 entries.
        "7|3|マクロ|o|ｵﾌﾟｼｮﾝｸﾞﾙｰﾌﾟ|更新後処理|mO.u|mO",
        "8|1|ﾃｰﾌﾞﾙ/ｸｴﾘｰ|s|ｻﾌﾞﾌｫｰﾑ/ｻﾌﾞﾚﾎﾟｰﾄ|ｿｰｽｵﾌﾞｼﾞｪｸﾄ|F明細|",
    };
    Lines all = form;
    for (const char* row :
         {"0|0|ＳＱＬ|||ﾚｺｰﾄﾞｿｰｽ|SELECT\r\n* FROM T|", "0|0|ﾃｰﾌﾞﾙ/ｸｴﾘｰ|||ﾚｺｰﾄﾞｿｰｽ|SELECTION|",
          "0|0|ﾃｰﾌﾞﾙ/ｸｴﾘｰ|||ﾚｺｰﾄﾞｿｰｽ|SELECT*FROM T|"})
        all.push_back(row);
    EXPECT_EQ(f.rows(kRowsSql), all);
    EXPECT_EQ(f.rows("SELECT DISTINCT objectNo, ObjectName, Midasi FROM T_AcLinkObject"),
              (Lines{"1|F|1", "2|S1|1", "3|S2|1", "4|S3|1"}));
    EXPECT_EQ(f.events("message:").at(1), "F(ｵﾌﾞｼﾞｪｸﾄ情報)　取得中");
    EXPECT_EQ(f.events("progress:"), (Lines{"0", "25", "50", "75", "100", "100"}));
    EXPECT_EQ(f.events("report:"), Lines{"R_AcLinkObject:0"});

    // Without standard modules no user function is found, and every event row stays.
    f.state().support.procedures.clear();
    f.state().support.formMode = 2;
    f.state().support.formText = "F";
    ASSERT_EQ(refs::RunFormReferences(ctx), RunResult::Collected);
    Lines withoutFunctions;
    for (const auto& row : form) {
        if (row.find("ﾕｰｻﾞｰ関数") == std::string::npos)
            withoutFunctions.push_back(row);
    }
    EXPECT_EQ(f.rows(kRowsSql), withoutFunctions);
}

TEST(ObjectReferences, reportRowsAndTheCodeOfTheChosenReport) {
    MemoryTargetBuilder b("/refs.mdb");
    test::SchemaReport(b, "R", {{"OnNoData", "mR.空"}})
        .control(
            SchemaControl("OptionGroup", "o", {{"ControlSource", "=Calc()"}}, {.inReport = true}))
        .control(SchemaControl("CommandButton", "b", {}, {.inReport = true}))
        .control(SchemaControl("CheckBox", "k", {{"DefaultValue", "=Calc()"}}, {.inReport = true}))
        .code("Sub Report_Open(Cancel As Integer)\r\n    x = Calc()\r\nEnd Sub\r\n");
    auto f = VbaFixture::ForTarget(b.build());
    f.state().support.procedures = {{"Calc", "M1"}};
    f.state().support.reportText = "R";
    auto ctx = f.context();
    ASSERT_EQ(refs::RunReportReferences(ctx), RunResult::Collected);
    EXPECT_EQ(f.rows(kRowsSql), (Lines{"0|1|マクロ|レポート||空ﾃﾞｰﾀ時|mR.空|mR",
                                       "1|1|ﾕｰｻﾞｰ関数|o|ｵﾌﾟｼｮﾝｸﾞﾙｰﾌﾟ|ｺﾝﾄﾛｰﾙｿｰｽ|Calc|M1"}));
    EXPECT_EQ(f.rows("SELECT DISTINCT objectNo, Midasi FROM T_AcLinkObject"), Lines{"1|2"});
    EXPECT_EQ(f.rows("SELECT objectNo, Bunrui, ObjectName, Procedure, LinkProcedure, MotoName "
                     "FROM T_AcLinkModule"),
              Lines{"1|ﾓｼﾞｭｰﾙ|R|Report_Open|Calc|M1"});
    EXPECT_EQ(f.events("message:"), (Lines{"ｵﾌﾞｼﾞｪｸﾄ参照元情報(ﾚﾎﾟｰﾄ)", "ﾚﾎﾟｰﾄｵﾌﾞｼﾞｪｸﾄ情報　取得中",
                                           "ﾚﾎﾟｰﾄﾓｼﾞｭｰﾙ情報　取得中", "終了しました"}));
}

TEST(ObjectReferences, aFormThatDoesNotReadIsNotedAndTheRunGoesOn) {
    MemoryTargetBuilder b("/refs.mdb");
    SchemaForm(b, "F壊");
    SchemaForm(b, "F良", {{"RecordSource", "T"}});
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    target->forms.erase(target->forms.begin());
    auto f = VbaFixture::ForTarget(target);
    f.state().support.formMode = 1;
    auto ctx = f.context();
    EXPECT_EQ(refs::RunFormReferences(ctx), RunResult::Failed);
    EXPECT_EQ(f.rows("SELECT objectNo, ObjectName, instr(PropertyValue, '読み取れません') > 0 "
                     "FROM T_AcLinkObject"),
              (Lines{"1|F壊|1", "2|F良|0"}));
    ASSERT_EQ(f.events("box:").size(), 1u);
    EXPECT_NE(f.events("box:")[0].find("　F壊: "), std::string::npos);
}

TEST(ObjectReferencesRealFiles, rowsOfTwoFormsEqualTheListsReadFromTheirDesigns) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const struct {
        const char* form;
        Lines rows;  // ControlNo|PropertyNo|Bunrui|ControlName|PropertyName|PropertyValue|MotoName
    } cases[] = {
        // The events of the combo boxes the design does not tell, and the label offsets the
        // grouped check boxes store after their events, give no rows.
        {"受注",
         {"0|0|ﾃｰﾌﾞﾙ/ｸｴﾘｰ||ﾚｺｰﾄﾞｿｰｽ|受注クエリ|",
          "3|1|ＳＱＬ|得意先コード|値集合ｿｰｽ|SELECT DISTINCT 得意先.得意先コード, 得意先.得意先名, "
          "得意先.フリガナ FROM 得意先 ORDER BY 得意先.フリガナ; |",
          "3|2|マクロ|得意先コード|更新前処理|[Event Procedure]|[Event Procedure]",
          "3|3|マクロ|得意先コード|更新後処理|[Event Procedure]|[Event Procedure]",
          "5|1|ＳＱＬ|社員コード|値集合ｿｰｽ|SELECT DISTINCT 社員.社員コード, 社員.氏名, "
          "社員.フリガナ "
          "FROM 社員 ORDER BY 社員.フリガナ; |",
          "17|1|ﾃｰﾌﾞﾙ/ｸｴﾘｰ|受注サブフォーム|ｿｰｽｵﾌﾞｼﾞｪｸﾄ|Form.受注サブフォーム|",
          "32|2|マクロ|納品書印刷|ｸﾘｯｸ時|[Event Procedure]|[Event Procedure]"}},
        {"得意先電話リスト",
         {"0|0|ﾃｰﾌﾞﾙ/ｸｴﾘｰ||ﾚｺｰﾄﾞｿｰｽ|得意先|",
          "19|1|マクロ|会社名フィルタ|更新後処理|得意先電話リスト.五十音順ボタン|"
          "得意先電話リスト"}},
    };
    auto f = VbaFixture::ForFile(data / "mdb" / "northwind-ja.mdb");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        f.state().support.formText = c.form;
        auto ctx = f.context();
        ASSERT_EQ(refs::RunFormReferences(ctx), RunResult::Collected);
        EXPECT_EQ(f.rows("SELECT ControlNo, PropertyNo, Bunrui, ControlName, PropertyName, "
                         "PropertyValue, MotoName FROM T_AcLinkObject ORDER BY rowid"),
                  c.rows);
    }
}

}  // namespace
