#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <initializer_list>
#include <utility>

#include "host/value.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using namespace zanfor::report;
using host::Value;

class Builder : public ::testing::Test {
protected:
    workdb::WorkDatabase db = workdb::WorkDatabase::open(":memory:");

    void add(std::string_view table,
             std::initializer_list<std::pair<std::string_view, Value>> fields) {
        workdb::RowWriter writer(db, table);
        writer.addNew();
        for (const auto& [name, value] : fields)
            writer.set(name, value);
        writer.update();
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

    static QStringList Captions(const ReportContent& c) {
        QStringList captions;
        for (const auto& col : c.tables.front().columns)
            captions << col.caption;
        return captions;
    }

    static Value Day(int y, int m, int d, int h = 0) {
        return host::Date{util::ToJetDate({y, m, d, h, 0, 0})};
    }
};

TEST_F(Builder, comparisonMatchesKindAndNameIgnoringCaseAndComparesDates) {
    struct Saved {
        const char* cls;
        const char* name;
        int day;
    };
    for (const Saved s : {Saved{"Form", "frm新規", 3}, Saved{"Form", "frm変更", 9},
                          Saved{"Module", "modCommon", 1}, Saved{"Table", "T_同じ", 2}}) {
        add("T_AcSaveObject",
            {{"Class", s.cls}, {"ObjectName", s.name}, {"DateUpdate", Day(2024, 2, s.day, 10)}});
    }
    for (const Saved s : {Saved{"Form", "frm変更", 8}, Saved{"Report", "rpt削除", 4},
                          Saved{"Module", "MODCOMMON", 1}, Saved{"Table", "T_同じ", 2}}) {
        add("T_AcSaveObjectOld",
            {{"Class", s.cls}, {"ObjectName", s.name}, {"DateUpdate", Day(2024, 2, s.day, 10)}});
    }
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
    int objectNo = 0;
    for (const char* name : names) {
        ++objectNo;
        for (int line = 1; line <= 2; ++line) {
            add("T_AcModule", {{"Label", "3"},
                               {"objectNo", objectNo},
                               {"ProcedureNo", objectNo},
                               {"ObjectName", name},
                               {"Line", line},
                               {"ProcedureName", ""},
                               {"Procedure", "Dim x"}});
        }
    }
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
        add("T_AcTblInfo", {{"objectNo", 1}, {"TableName", "T_顧客"}, {"Midasi", c.midasi}});
        const auto content = build("R_AcTblTable");
        EXPECT_EQ(content.subtitle, QString::fromUtf8(c.subtitle));
        const QStringList captions = Captions(content);
        EXPECT_EQ(captions.contains("主キー"), c.detailColumns);
        EXPECT_EQ(captions.contains("説明"), c.detailColumns);
        EXPECT_TRUE(captions.contains("フィールド名"));
    }
}

TEST_F(Builder, anEmptyTableGivesTheReportWithItsNoteAndNoRows) {
    for (const char* name : {"R_AcObjectAll", "R_AcModule", "R_AcFrmCntl", "R_AcHyousi"}) {
        const auto content = build(name);
        EXPECT_TRUE(content.empty) << name;
        EXPECT_TRUE(Rows(content).isEmpty()) << name;
        if (content.kind == ReportKind::Listing) {
            EXPECT_EQ(Texts(content, BlockType::Note), QStringList{kNoDataNote}) << name;
        }
    }
}

TEST_F(Builder, theFileNameLineComesFromTheFirstRowOfTheTitleTable) {
    EXPECT_FALSE(build("R_AcFile").hasFileLine);
    add("T_AcTitle", {{"FileName", "販売管理システム"}});
    const auto content = build("R_AcFile");
    EXPECT_TRUE(content.hasFileLine);
    EXPECT_EQ(content.fileLine, "販売管理システム");
}

TEST_F(Builder, controlPropertiesShowTheControlOnlyOnItsFirstRowAndKeepTheValueForPageTops) {
    add("T_AcFrmInfo", {{"objectNo", 1}, {"FormName", "frmA"}, {"Midasi", 2}});
    for (int control = 1; control <= 2; ++control) {
        for (int property = 1; property <= 2; ++property) {
            add("T_AcFrmItem", {{"objectNo", 1},
                                {"ControlNo", control},
                                {"PropertyNo", property},
                                {"Name", control == 1 ? "txtA" : "txtB"},
                                {"ControlType", "ﾃｷｽﾄﾎﾞｯｸｽ"},
                                {"cntlVisible", "True"},
                                {"TLWH", "1cm・2cm・3cm・1cm"},
                                {"Bunrui", "ﾃﾞｰﾀ"},
                                {"PropertyName", property == 1 ? "ｺﾝﾄﾛｰﾙｿｰｽ" : "ｽﾃｰﾀｽﾊﾞｰ"},
                                {"PropertyValue", "x"}});
        }
    }
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

TEST_F(Builder, stepCountsAreTotalledPerObjectAndOverall) {
    struct Section {
        const char* object;
        int objectNo;
        int comments;
        int blanks;
        int code;
    };
    int no = 0;
    for (const Section s :
         {Section{"modA", 1, 2, 1, 5}, Section{"modA", 1, 1, 0, 9}, Section{"modB", 2, 4, 2, 10}}) {
        add("T_AcProcCount", {{"Object", "Module"},
                              {"ObjectName", s.object},
                              {"ProcedureName", "p"},
                              {"objectNo", s.objectNo},
                              {"ProcedureNo", ++no},
                              {"ComentCnt", s.comments},
                              {"SpaceCnt", s.blanks},
                              {"ProcCnt", s.code},
                              {"TotalCnt", s.comments + s.blanks + s.code}});
    }
    const auto totals = Rows(build("R_AcModStep"), BlockType::TotalRow);
    EXPECT_EQ(totals, (QStringList{"小計|3|1|14|18|", "小計|4|2|10|16|", "総計|7|3|24|34|"}));
}

TEST_F(Builder, aTableWithoutFieldsKeepsItsHeadingAndSettingsButHasNoRows) {
    add("T_AcTblInfo", {{"objectNo", 1}, {"TableName", "T_空"}, {"Midasi", 2}});
    add("T_AcTblInfo", {{"objectNo", 2}, {"TableName", "T_有"}, {"Midasi", 2}});
    add("T_AcTblItem", {{"objectNo", 2}, {"FieldNo", 1}, {"FieldName", "ID"}});
    const auto content = build("R_AcTblTable");
    EXPECT_EQ(Texts(content, BlockType::Heading), (QStringList{"T_空", "T_有"}));
    ASSERT_EQ(Rows(content).size(), 1);
    EXPECT_TRUE(Rows(content).front().startsWith("1|ID|"));
}

TEST_F(Builder, indexRowsWithoutTableNameBelongToTheTableOfTheirNumber) {
    add("T_AcIndex", {{"objectNo", 1},
                      {"FieldNo", 1},
                      {"TableName", "T_受注"},
                      {"IndexName", "PrimaryKey"},
                      {"FieldName", "受注番号"},
                      {"Primary", true}});
    add("T_AcIndex", {{"objectNo", 1}, {"FieldNo", 2}, {"FieldName", "明細番号"}});
    add("T_AcIndex", {{"objectNo", 1},
                      {"FieldNo", 3},
                      {"TableName", "T_受注"},
                      {"IndexName", "ix日付"},
                      {"FieldName", "受注日"}});
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
    add("T_AcMacro", {{"objectNo", 1},
                      {"ProcedureNo", 5},
                      {"ObjectName", "mcr"},
                      {"ActionNo", 21},
                      {"LineNo", 3},
                      {"ProcName", ""},
                      {"Procedure", "DoCmd.OpenForm \"F\""},
                      {"Midasi", 2}});
    for (int no : {3, 1, 2}) {
        add("T_AcMacro2", {{"ProcedureNo", 5},
                           {"LineNo", 3},
                           {"HikiNo", no},
                           {"Hikisu", "引数" + std::to_string(no)},
                           {"ActionNo", 21}});
    }
    const auto content = build("R_AcMacro");
    ASSERT_EQ(Rows(content).size(), 1);
    EXPECT_TRUE(Rows(content).front().contains("1. 引数1\n2. 引数2\n3. 引数3"));
    EXPECT_TRUE(Rows(content).front().contains("フォームを開く"));
    EXPECT_EQ(Texts(content, BlockType::RowHeading), QStringList{"mcr"});
}

TEST_F(Builder, objectReferencesListObjectsKnownOnlyFromTheirCode) {
    add("T_AcLinkObject", {{"objectNo", 1},
                           {"ObjectName", "frmA"},
                           {"ControlNo", 0},
                           {"Bunrui", "ＳＱＬ"},
                           {"PropertyName", "ﾚｺｰﾄﾞｿｰｽ"},
                           {"PropertyValue", "SELECT 1"},
                           {"Midasi", 1}});
    add("T_AcLinkModule", {{"objectNo", 2},
                           {"ProcedureNo", 1},
                           {"Bunrui", "ﾓｼﾞｭｰﾙ"},
                           {"ObjectName", "frmB"},
                           {"Procedure", "Form_Load"},
                           {"LinkProcedure", "共通処理"},
                           {"MotoName", "modCommon"}});
    const auto content = build("R_AcLinkObject");
    EXPECT_EQ(content.subtitle, "（フォーム）");
    EXPECT_EQ(Texts(content, BlockType::Heading), (QStringList{"frmA", "frmB"}));
    bool callShown = false;
    for (const auto& b : content.blocks) {
        for (const auto& cell : b.cells)
            callShown = callShown || cell.text == "共通処理";
    }
    EXPECT_TRUE(callShown);
}

}  // namespace
