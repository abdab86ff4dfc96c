#include "collect/macro_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/access/module_model.h"

namespace {

using zanfor::collect::MacroStatement;
using zanfor::collect::ReadConvertedMacro;
using zanfor::host::ModuleModel;
using Lines = std::vector<std::string>;

// A converted procedure as the conversion lays it out, its actions indented by four.
std::string Procedure(const std::string& name, const Lines& actions) {
    std::string text = "Function " + name + "()\r\nOn Error GoTo " + name + "_Err\r\n";
    for (const auto& action : actions)
        text += "    " + action + "\r\n";
    return text + name + "_Exit:\r\n    Exit Function\r\n" + name +
           "_Err:\r\n    MsgBox Error$\r\n" + "    Resume " + name + "_Exit\r\nEnd Function\r\n";
}

std::vector<MacroStatement> Read(const std::string& text, long& procedureNo) {
    return ReadConvertedMacro(ModuleModel("Option Compare Database\r\n" + text), "受注", true,
                              procedureNo);
}

// Each statement of the macro "受注" as "action|comment|condition|argument;argument".
Lines Rows(const Lines& actions) {
    long procedureNo = 0;
    Lines rows;
    for (const auto& s : Read(Procedure("受注", actions), procedureNo)) {
        std::string arguments;
        for (const auto& a : s.arguments)
            arguments += (arguments.empty() ? "" : ";") + a;
        rows.push_back(std::to_string(s.actionNo) + "|" + s.comment + "|" + s.condition + "|" +
                       arguments);
    }
    return rows;
}

TEST(MacroReader, statementsTakeTheActionOfTheirKeywordAsAWordOfTheCode) {
    const Lines statements{R"(DoCmd.TransferText acExportDelim, "", "T", "C:\t.txt")",
                           R"(DoCmd.TransferDatabase acImport, "Microsoft Access", "C:\a.mdb")",
                           R"(DoCmd.TransferSpreadsheet acImport, 8, "Text", "C:\Database.xls")",
                           R"(DoCmd.OpenDiagram "D")",
                           R"(DoCmd.OpenDataAccessPage "P")",
                           "DoCmd.Quit",
                           R"(SendKeys "{F9}", True)",
                           R"(Call Shell("calc.exe", 1))",
                           "Call fxnOpenDbChecks()",
                           "Forms!F!EndDate = Date()",
                           R"(MsgBox "Sending", vbOKOnly, "")",
                           "Beep",
                           "End",
                           "Exit Function",
                           "' Append, then End",
                           R"(x = "DoCmd.Close")"};
    Lines actions;
    for (const auto& row : Rows(statements))
        actions.push_back(row.substr(0, row.find('|')));
    EXPECT_EQ(actions, (Lines{"19", "17", "34", "52", "53", "43", "11", "2", "22", "47", "27", "36",
                              "45", "25", "47"}));
}

struct RowsCase {
    const char* name;
    Lines actions;
    Lines rows;
};

class MacroReaderRows : public testing::TestWithParam<RowsCase> {};

TEST_P(MacroReaderRows, areTheStatementsWithTheirCommentConditionAndArguments) {
    EXPECT_EQ(Rows(GetParam().actions), GetParam().rows);
}

const std::string k200(200, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroReaderRows,
    testing::Values(
        RowsCase{"beepBelongsToTheMessageBoxAndEndIfIsARow",
                 {"' first", "' warn", "If ([a] = 1) Then", "    Beep",
                  R"(    MsgBox "x, y", vbCritical, "t")", "End If"},
                 {R"(27|warn|([a] = 1)|"x, y";警告;"t")", "45|||"}},
        RowsCase{"conditionEndsAtTheWordThen",
                 {R"(If ([Authenticated] And MsgBox("Then?", 4) = 6) Then)", "DoCmd.Maximize"},
                 {R"(41||([Authenticated] And MsgBox("Then?", 4) = 6)|)"}},
        RowsCase{"quotesAndIfInLiteralsSetNothing",
                 {R"(DoCmd.RunSQL "UPDATE T SET A='x'")", R"(MsgBox "If you close", 0, "")"},
                 {R"(1|||"UPDATE T SET A='x'")", R"(27|||"If you close";0;"")"}},
        RowsCase{"piecesButTheLastAreTranslatedAtMostTen",
                 {R"(DoCmd.OpenForm "F", acNormal, , , acEdit, acNormal)",
                  "DoCmd.SendObject 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12"},
                 {R"(21|||"F";標準;;;編集;acNormal)", "9|||1;2;3;4;5;6;7;8;9;10"}},
        RowsCase{
            "argumentsAreCutAt170And150",
            {"DoCmd.OpenQuery \"" + k200 + "\", acViewNormal", "Call " + k200 + "()", "[a] = [b]"},
            {"12|||\"" + k200.substr(0, 169), "22|||" + k200.substr(0, 150), "47|||[a] = [b]"}},
        RowsCase{"statementsWithoutArgumentsListNone",
                 {"DoCmd.Requery", R"(DoCmd.RunSQL "DELETE * FROM T")", "DoCmd.Close"},
                 {"39|||", R"(1|||"DELETE * FROM T")", "48|||"}},
        RowsCase{"exitLabelEndsTheActionsAndANameEndingInExitDoesNot",
                 {R"(DoCmd.RunMacro "Menu_Exit")", "受注_Exit:", "Beep"},
                 {R"(24|||"Menu_Exit")"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MacroReader, eachMacroOfAGroupIsAProcedureNumberedOnAndNamedWithinTheGroup) {
    long procedureNo = 7;
    const auto rows =
        Read(Procedure("受注_開く", {"' of 集計"}) + Procedure("受注_集計", {"Beep"}) +
                 Procedure("受注_閉じる", {"Beep"}),
             procedureNo);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].procName, "集計");
    EXPECT_EQ(rows[0].comment, "of 集計");  // a comment row above a macro's name is that macro's
    EXPECT_EQ(rows[1].procedureNo, 10);
    EXPECT_EQ(procedureNo, 10);
}

// Text no conversion writes: cut-off literals and names, broken UTF-8, headings without end.
TEST(MacroReader, damagedModuleTextReadsWithoutFailing) {
    for (const char* text :
         {"Function M()\r\nDoCmd.", "Function M()\r\nIf \"Then\r\n[ = \r\n",
          "Function M()\r\nMsgBox \xE3\x81\r\nBeep\r\n\xFF = \"",
          "Sub A()\r\nEnd Sub\r\nProperty Get A()\r\nEnd Property\r\nDoCmd.Close"}) {
        long procedureNo = 0;
        EXPECT_NO_THROW(Read(text, procedureNo)) << text;
    }
}

}  // namespace
