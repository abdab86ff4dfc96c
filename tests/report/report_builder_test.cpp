#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "report/page_layout.h"
#include "report/report_fixture.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using namespace zanfor::report;
using host::Value;

class Builder : public ::testing::Test {
protected:
    workdb::WorkDatabase db = workdb::WorkDatabase::open(":memory:");

    void add(std::string_view table, std::string_view columns, const std::vector<test::Row>& rows) {
        test::AddRows(db, table, columns, rows);
    }

    ReportContent build(std::string_view name) {
        const ReportDef* def = FindReportDefinition(name);
        EXPECT_NE(def, nullptr) << name;
        return BuildReport(db, *def, QDateTime(QDate(2024, 5, 1), QTime(9, 0)));
    }

    static QStringList Texts(const ReportContent& c, BlockType type) {
        QStringList texts;
        for (const auto& b : c.blocks) {
            if (b.type == type)
                texts << b.text;
        }
        return texts;
    }

    // The cell texts of the detail rows, one string per row joined by "|".
    static QStringList Rows(const ReportContent& c, BlockType type = BlockType::Row) {
        QStringList rows;
        int table = -1;
        for (const auto& b : c.blocks) {
            if (b.type == BlockType::TableBegin)
                table = b.table;
            if (b.type != type || table != 0)
                continue;
            QStringList cells;
            for (const auto& cell : b.cells)
                cells << cell.text;
            rows << cells.join(u'|');
        }
        return rows;
    }

    static Value Day(int y, int m, int d, int h = 0) {
        return host::Date{util::ToJetDate({y, m, d, h, 0, 0})};
    }
};

TEST_F(Builder, comparisonMatchesKindAndNameIgnoringCaseAndComparesDates) {
    add("T_AcSaveObject", "Class,ObjectName,DateUpdate",
        {{"Form", "frm新規", Day(2024, 2, 3, 10)},
         {"Form", "frm変更", Day(2024, 2, 9, 10)},
         {"Module", "modCommon", Day(2024, 2, 1, 10)},
         {"Table", "T_同じ", Day(2024, 2, 2, 10)}});
    add("T_AcSaveObjectOld", "Class,ObjectName,DateUpdate",
        {{"Form", "frm変更", Day(2024, 2, 8, 10)},
         {"Report", "rpt削除", Day(2024, 2, 4, 10)},
         {"Module", "MODCOMMON", Day(2024, 2, 1, 10)},
         {"Table", "T_同じ", Day(2024, 2, 2, 10)}});
    const auto content = build("R_AcObjectUpdate");
    EXPECT_EQ(Texts(content, BlockType::Heading),
              (QStringList{"テーブル", "フォーム", "レポート", "モジュール"}));
    EXPECT_EQ(Rows(content),
              (QStringList{"変更なし|T_同じ|2024/02/02 10:00:00|2024/02/02 10:00:00",
                           "追加|frm新規||2024/02/03 10:00:00",
                           "更新|frm変更|2024/02/08 10:00:00|2024/02/09 10:00:00",
                           "削除|rpt削除|2024/02/04 10:00:00|",
                           "変更なし|modCommon|2024/02/01 10:00:00|2024/02/01 10:00:00"}));
}

TEST_F(Builder, syllabaryVariantsOrderObjectsByTheirJapaneseReading) {
    const char* names[] = {"わくせい", "アイテム", "ｶｷｸｹｺ", "さしすせそ", "abc"};
    std::vector<test::Row> rows;
    for (int no = 1; no <= 5; ++no) {
        for (int line = 1; line <= 2; ++line)
            rows.push_back({"3", no, no, names[no - 1], line, "", "Dim x"});
    }
    add("T_AcModule", "Label,objectNo,ProcedureNo,ObjectName,Line,ProcedureName,Procedure", rows);
    EXPECT_EQ(Texts(build("R_AcModule"), BlockType::Heading),
              (QStringList{"わくせい", "アイテム", "ｶｷｸｹｺ", "さしすせそ", "abc"}));
    for (const char* report : {"R_AcModule50", "R_AcModule250"}) {
        EXPECT_EQ(Texts(build(report), BlockType::Heading),
                  (QStringList{"abc", "アイテム", "ｶｷｸｹｺ", "さしすせそ", "わくせい"}))
            << report;
    }
}

TEST_F(Builder, theCollectedVariantChoosesSubtitleAndColumns) {
    struct Case {
        int midasi;
        const char* subtitle;
        bool detailColumns;
    };
    for (const Case c : {Case{2, "（簡易）", false}, Case{3, "（詳細）", true}}) {
        db.execute("delete * from T_AcTblInfo;");
        add("T_AcTblInfo", "objectNo,TableName,Midasi", {{1, "T_顧客", c.midasi}});
        const auto content = build("R_AcTblTable");
        EXPECT_EQ(content.subtitle, QString::fromUtf8(c.subtitle));
        QStringList captions;
        for (const auto& col : content.tables.front().columns)
            captions << col.caption;
        EXPECT_EQ(captions.contains("主キー"), c.detailColumns);
        EXPECT_EQ(captions.contains("説明"), c.detailColumns);
        EXPECT_TRUE(captions.contains("フィールド名"));
    }
}

TEST_F(Builder, controlPropertiesShowTheControlOnlyOnItsFirstRowAndKeepTheValueForPageTops) {
    add("T_AcFrmInfo", "objectNo,FormName,Midasi", {{1, "frmA", 2}});
    std::vector<test::Row> items;
    for (int control = 1; control <= 2; ++control) {
        for (int property = 1; property <= 2; ++property) {
            items.push_back({1, control, property, control == 1 ? "txtA" : "txtB", "ﾃｷｽﾄﾎﾞｯｸｽ",
                             "True", "1cm・2cm・3cm・1cm", "ﾃﾞｰﾀ",
                             property == 1 ? "ｺﾝﾄﾛｰﾙｿｰｽ" : "ｽﾃｰﾀｽﾊﾞｰ", "x"});
        }
    }
    add("T_AcFrmItem",
        "objectNo,ControlNo,PropertyNo,Name,ControlType,cntlVisible,TLWH,Bunrui,PropertyName,"
        "PropertyValue",
        items);
    const auto content = build("R_AcFrmCntl");
    std::vector<const Block*> rows;
    for (const auto& b : content.blocks) {
        if (b.type == BlockType::Row && b.cells.size() == 8)
            rows.push_back(&b);
    }
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0]->cells[1].text, "txtA");
    EXPECT_EQ(rows[1]->cells[1].text, "");
    EXPECT_EQ(rows[1]->cells[1].repeated, "txtA");
    EXPECT_EQ(rows[2]->cells[1].text, "txtB");
    EXPECT_TRUE(rows[2]->divider) << "a rule separates the controls";
    EXPECT_FALSE(rows[1]->divider);
}

// A sort of every code line before the first page took a tenth of a long listing's time.
TEST_F(Builder, moduleListingsReadTheLinesInIndexOrderWithoutSorting) {
    for (const char* name : {"R_AcModule", "R_AcModule2"}) {
        workdb::Query plan(db,
                           "EXPLAIN QUERY PLAN " + std::string(FindReportDefinition(name)->sql));
        int steps = 0;
        for (; plan.next(); ++steps)
            EXPECT_EQ(plan.value("detail").toText().find("TEMP B-TREE"), std::string::npos) << name;
        EXPECT_GT(steps, 0) << name;
    }
}

TEST_F(Builder, stepCountsAreTotalledPerObjectAndOverall) {
    add("T_AcProcCount",
        "Object,ObjectName,ProcedureName,objectNo,ProcedureNo,ComentCnt,SpaceCnt,ProcCnt,TotalCnt",
        {{"Module", "modA", "p", 1, 1, 2, 1, 5, 8},
         {"Module", "modA", "p", 1, 2, 1, 0, 9, 10},
         {"Module", "modB", "p", 2, 3, 4, 2, 10, 16}});
    const auto totals = Rows(build("R_AcModStep"), BlockType::TotalRow);
    EXPECT_EQ(totals, (QStringList{"小計|3|1|14|18|", "小計|4|2|10|16|", "総計|7|3|24|34|"}));
}

TEST_F(Builder, aTableWithoutFieldsKeepsItsHeadingAndSettingsButHasNoRows) {
    add("T_AcTblInfo", "objectNo,TableName,Midasi", {{1, "T_空", 2}, {2, "T_有", 2}});
    add("T_AcTblItem", "objectNo,FieldNo,FieldName", {{2, 1, "ID"}});
    const auto content = build("R_AcTblTable");
    EXPECT_EQ(Texts(content, BlockType::Heading), (QStringList{"T_空", "T_有"}));
    ASSERT_EQ(Rows(content).size(), 1);
    EXPECT_TRUE(Rows(content).front().startsWith("1|ID|"));
}

TEST_F(Builder, indexRowsWithoutTableNameBelongToTheTableOfTheirNumber) {
    add("T_AcIndex", "objectNo,FieldNo,TableName,IndexName,FieldName,Primary",
        {{1, 1, "T_受注", "PrimaryKey", "受注番号", true},
         {1, 2, {}, {}, "明細番号", false},
         {1, 3, "T_受注", "ix日付", "受注日", false}});
    const auto content = build("R_AcTblIndex");
    EXPECT_EQ(Texts(content, BlockType::Heading), QStringList{"T_受注"});
    EXPECT_EQ(Rows(content), (QStringList{"PrimaryKey|受注番号|○|||||", "|明細番号||||||",
                                          "ix日付|受注日||||||"}));
    int dividers = 0;
    for (const auto& b : content.blocks)
        dividers += b.type == BlockType::Row && b.divider ? 1 : 0;
    EXPECT_EQ(dividers, 1) << "one rule between the two indexes";
}

TEST_F(Builder, macroArgumentsFollowTheirNumbersWhateverOrderTheyWereWritten) {
    add("T_AcMacro", "objectNo,ProcedureNo,ObjectName,ActionNo,LineNo,ProcName,Procedure,Midasi",
        {{1, 5, "mcr", 21, 3, "", "DoCmd.OpenForm \"F\"", 2}});
    add("T_AcMacro2", "ProcedureNo,LineNo,ActionNo,HikiNo,Hikisu",
        {{5, 3, 21, 3, "引数3"}, {5, 3, 21, 1, "引数1"}, {5, 3, 21, 2, "引数2"}});
    const auto content = build("R_AcMacro");
    ASSERT_EQ(Rows(content).size(), 1);
    EXPECT_TRUE(Rows(content).front().contains("1. 引数1\n2. 引数2\n3. 引数3"));
    EXPECT_TRUE(Rows(content).front().contains("フォームを開く"));
    EXPECT_EQ(Texts(content, BlockType::RowHeading), QStringList{"mcr"});
}

TEST_F(Builder, objectDescriptionsGetTheRoomShortColumnsDoNotNeedAndLabelsStayWhole) {
    std::string description;
    for (int i = 0; i < 9; ++i)
        description += "受注明細を月ごとに集計";
    add("T_DataBase", "DbNo,Stitle", {{0, "販売管理"}});
    add("T_AcObject", "objectNo,Class,ObjectName,DateCreate,DateUpdate,Midasi,Description",
        {{1, "Form", "frm受注", Day(2019, 4, 1, 9), Day(2023, 11, 2, 17), 7, description}});
    const auto content = build("R_AcObjectAll");
    const Document doc = LayOutReport(content, A4Twips(content.orientation));
    int lines = 0;  // 7 when the description had a fifth of the width
    for (const Placement& p : doc.placements)
        lines = std::max(lines, p.lineCount);
    EXPECT_LE(lines, 4);
    EXPECT_TRUE(std::ranges::any_of(doc.pages.front().texts,
                                    [](auto& t) { return t.text == "アプリケーションタイトル"; }));
}

}  // namespace
