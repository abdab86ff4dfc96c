#include "host/access/macro_converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/macro_reader.h"
#include "host/access/module_model.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::util::Trim;

// The collector's reading of a converted module: each statement as
// "procedure number, name | action | comment | condition | arguments".
std::vector<std::string> Rows(const std::string& text, const std::string& macroName) {
    long procedureNo = 0;
    std::vector<std::string> rows;
    for (const auto& s :
         zanfor::collect::ReadConvertedMacro(ModuleModel(text), macroName, true, procedureNo)) {
        std::string arguments;
        for (const auto& a : s.arguments)
            arguments += (arguments.empty() ? "" : ";") + a;
        rows.push_back(std::to_string(s.procedureNo) + " " + s.procName + "|" +
                       std::to_string(s.actionNo) + "|" + s.comment + "|" + s.condition + "|" +
                       arguments);
    }
    return rows;
}

MacroRow Row(std::string action, std::vector<std::string> arguments = {}, std::string comment = "",
             std::string condition = "", std::string macroName = "") {
    return {std::move(macroName), std::move(condition), std::move(action), std::move(arguments),
            std::move(comment)};
}

TEST(MacroConvert, moduleLayoutIsTheOneAccessWrote) {
    const std::string rule = "'" + std::string(60, '-') + "\r\n";
    const MacroDefinition macro{
        "AutoExec", {Row("OpenForm", {"メニュー", "0", "", "", "-1", "0"}, "メニューを開く")}};
    EXPECT_EQ(ConvertMacro(macro),
              "Option Compare Database\r\n\r\n" + rule + "' AutoExec\r\n'\r\n" + rule +
                  "Function AutoExec()\r\nOn Error GoTo AutoExec_Err\r\n\r\n"
                  "    ' メニューを開く\r\n"
                  "    DoCmd.OpenForm \"メニュー\", acNormal, \"\", \"\", , acNormal\r\n\r\n\r\n"
                  "AutoExec_Exit:\r\n    Exit Function\r\n\r\n"
                  "AutoExec_Err:\r\n    MsgBox Error$\r\n    Resume AutoExec_Exit\r\n\r\n"
                  "End Function");
}

TEST(MacroConvert, actionsBecomeTheStatementsAccessWrote) {
    const std::pair<MacroRow, std::vector<std::string>> cases[] = {
        {Row("OpenReport", {"売上", "2", "", "[区分]=1"}),
         {R"(DoCmd.OpenReport "売上", acViewPreview, "", "[区分]=1")"}},
        {Row("Close", {"", "", "0"}), {R"(DoCmd.Close , "", acSavePrompt)"}},
        {Row("Quit", {}), {"DoCmd.Quit acSave"}},
        {Row("FindRecord", {"abc", "1", "0", "2", "0", "-1", "-1"}),
         {R"(DoCmd.FindRecord "abc", acEntire, False, acSearchAll, False, acCurrent, True)"}},
        {Row("ApplyFilter", {"", "=[Forms]![F]![抽出]"}),
         {R"(DoCmd.ApplyFilter "", [Forms]![F]![抽出])"}},
        {Row("MsgBox", {"He said \"hi\"", "", "4", "確認"}),
         {"Beep", R"(MsgBox "He said ""hi""", vbInformation, "確認")"}},
        {Row("RunCode", {"=UpdateModule(\"\",3)"}), {R"(Call UpdateModule("",3))"}},
        {Row("StopAllMacros"), {"End"}},
        {Row("AddMenu", {"File", "mFile", ""}), {}},
    };
    for (const auto& [row, expected] : cases) {
        const ModuleModel module(ConvertMacro({"M", {row}}));
        std::vector<std::string> lines;
        for (long l = module.ProcBodyLine("M", ProcKind::Proc) + 3; !module.Line(l).empty(); ++l)
            lines.push_back(Trim(module.Line(l)));
        EXPECT_EQ(lines, expected) << row.action;
    }
}

TEST(MacroConvert, macroGroupRoundTripsThroughTheCollector) {
    const MacroDefinition macro{
        "受注",
        {Row("OpenForm", {"F受注", "0", "", "[状態]=1", "1", "3"}, "受注入力を開く", "", "開く"),
         Row("MsgBox", {"未登録です", "-1", "3", "確認"}, "", "IsNull([顧客])"),
         Row("StopMacro", {}, "", "..."), Row("Requery", {"明細"}),
         Row("", {}, "ここから集計", "", "集計"), Row("SetWarnings", {"0"}),
         Row("OpenQuery", {"q集計", "0", "1"}, "", "[区分]=2"),
         Row("SetValue", {"[Forms]![F受注]![合計]", "=DSum(\"額\",\"T\")"}),
         Row("Beep", {}, "合図"), Row("SendKeys", {"{F9}", "-1"}),
         Row("RunCode", {"=Recalc()"}, "", "", "再計算"), Row("RunApp", {"calc.exe"}),
         Row("TransferText", {"2", "", "T受注", "C:\\受注.txt", "-1", "", ""})}};
    EXPECT_EQ(Rows(ConvertMacro(macro), macro.name),
              (std::vector<std::string>{
                  R"(1 開く|21|受注入力を開く||"F受注";標準;"";"[状態]=1";編集;acDialog)",
                  R"(1 開く|27||(IsNull([顧客]))|"未登録です";注意!;"確認")",
                  "1 開く|25|||",
                  "1 開く|45|||",  // the End If closing the condition of StopMacro
                  R"(1 開く|39|||"明細")",
                  "2 集計|26|ここから集計||False",
                  R"(2 集計|12||([区分]=2)|"q集計";ﾃﾞｰﾀｼｰﾄﾋﾞｭｰ;acEdit)",
                  "2 集計|45|||",
                  R"(2 集計|47|||[Forms]![F受注]![合計] = DSum("額","T"))",
                  "2 集計|36|合図||",
                  R"(2 集計|11|||"{F9}";True)",
                  "3 再計算|22|||Recalc()",
                  R"(3 再計算|2|||Shell("calc.exe", 1))",
                  R"(3 再計算|19|||acExportDelim;"";"T受注";"C:\受注.txt";はい;"")",
              }));
}

// Every macro must stay a procedure of its own, or the collector merges or loses its actions.
TEST(MacroConvert, procedureNamesStayApartAndRecognisable) {
    const MacroDefinition macro{
        "1 処理",
        {Row("Beep"), Row("Maximize", {}, "", "", "a b"), Row("Minimize", {}, "", "", "a_b"),
         Row("Restore", {}, "", "", "A_B"), Row("CancelEvent", {}, "", "", "c-d")}};
    const std::string text = ConvertMacro(macro);
    EXPECT_NE(text.find("Function [1_処理_a_b]()"), std::string::npos);
    std::vector<std::string> procNames;
    for (const auto& r : Rows(text, macro.name))
        procNames.push_back(r.substr(2, r.find('|') - 2));
    EXPECT_EQ(procNames, (std::vector<std::string>{"", "a_b", "a_b1", "A_B2", "c_d"}));

    const std::string empty = ConvertMacro({"空", {}});
    ASSERT_EQ(ModuleModel(empty).procedures().size(), 1u);
    EXPECT_TRUE(Rows(empty, "空").empty());
}

TEST(MacroConvert, commentsAndConditionsOverSeveralLinesStayWhole) {
    const MacroDefinition macro{"M", {Row("Beep", {}, "一行目\r\n二行目", "[a]=1 And\r\n[b]=2")}};
    const std::string text = ConvertMacro(macro);
    EXPECT_NE(
        text.find("    If ([a]=1 And [b]=2) Then\r\n        ' 一行目\r\n        ' 二行目\r\n"),
        std::string::npos);
    EXPECT_EQ(Rows(text, "M").at(0), "1 |36|二行目|([a]=1 And [b]=2)|");
}

}  // namespace
