#include "host/access/macro_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collect/vocabulary.h"
#include "host/access/file_application.h"
#include "host/access/module_model.h"
#include "test_support.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::util::InStr;
using zanfor::util::Left;
using zanfor::util::Mid;
using zanfor::util::Trim;
using zanfor::util::UCase;

bool Contains(std::string_view s, std::string_view what) { return InStr(s, what) > 0; }

// The statement's action number in the collector's order of tests; `skip` when the line is a
// beep that belongs to the message box below it, or an assignment inside a condition.
int ActionNumber(const std::string& line, const std::string& nextLine, bool& skip) {
    const std::string up = UCase(line);
    skip = false;
    if (Contains(up, "DOCMD")) {
        const int n = zanfor::collect::MacroActionNo(Mid(line, InStr(up, "DOCMD") + 6, 5));
        if (n == 98)
            return Contains(up, "DIAGRAM") ? 52 : 53;
        if (n == 99)
            return Contains(up, "DATABASE") ? 17 : Contains(up, "TEXT") ? 19 : 34;
        return n;
    }
    const std::pair<const char*, int> tests[] = {{"END", 45},       {"BEEP", 36},
                                                 {"MSGBOX", 27},    {"SENDKEYS", 11},
                                                 {"CALL SHELL", 2}, {" = ", 47}};
    for (const auto& [word, n] : tests) {
        if (Contains(up, word)) {
            skip = (n == 36 && Contains(UCase(nextLine), "MSGBOX")) ||
                   (n == 47 && Contains(UCase(Trim(line)), "IF "));
            return n;
        }
    }
    return 22;
}

bool In(int n, std::initializer_list<int> list) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

std::vector<std::string> Arguments(int action, const std::string& trimmed,
                                   const std::string& nextLine) {
    const std::string after = Mid(trimmed, InStr(trimmed, " ") + 1);
    if (action < 1 || action > 52 || In(action, {3, 25, 36, 37, 40, 41, 42, 45, 46}))
        return {};
    if (action == 1)
        return {Trim(Left(after, 170) + (Contains(trimmed, ";") ? "" : Left(Trim(nextLine), 170)))};
    if (In(action, {2, 13, 14, 22, 26, 38, 39, 43, 52}))
        return {Trim(Left(after, 150))};
    if (action == 47)
        return {Left(trimmed, 150)};
    std::vector<std::string> pieces;
    std::string text = Left(after, 170);
    while (pieces.size() < 10) {
        const std::size_t comma = InStr(text, ",");
        if (comma == 0) {
            pieces.push_back(Trim(text));
            break;
        }
        pieces.push_back(zanfor::collect::AccessConstantLabel(Trim(Left(text, comma - 1))));
        text = Mid(text, comma + 1);
    }
    return pieces;
}

// The macro collector's reading of a converted module, rule for rule: each row it writes as
// "procedure number, name | action | comment | condition | arguments".
std::vector<std::string> Rows(const std::string& text, const std::string& macroName) {
    const ModuleModel module(text);
    std::vector<std::string> rows;
    std::string comment, condition;
    int procedureNo = 0;
    auto handle = [&](const std::string& proc) {
        ++procedureNo;
        const long body = module.ProcBodyLine(proc, ProcKind::Proc);
        const long last = module.ProcStartLine(proc, ProcKind::Proc) +
                          module.ProcCountLines(proc, ProcKind::Proc) - 1;
        for (long l = body; l <= last; ++l) {
            const std::string line = module.Lines(l, 1);
            const std::string up = UCase(line);
            if (Contains(up, "_EXIT") || Contains(up, "ERROR$") || Contains(up, "END FUNCTION"))
                break;
            const std::string trimmed = Trim(line);
            if (Contains(trimmed, "'"))
                comment = Trim(Mid(trimmed, 2, 150));
            if (Contains(UCase(trimmed), "IF ")) {
                const auto then = static_cast<long>(InStr(UCase(trimmed), "THEN"));
                EXPECT_GE(then, 5) << "the collector would fail on: " << line;
                condition = Trim(Mid(trimmed, 4, static_cast<std::size_t>(std::max(0L, then - 5))));
            }
            const bool statement = Contains(up, "DOCMD") || Contains(up, "BEEP") ||
                                   Contains(up, "SENDKEYS") || Contains(up, "MSGBOX") ||
                                   Contains(up, "CALL") || Contains(up, "END") ||
                                   Contains(up, " = ");
            if (!statement)
                continue;
            const std::string next = l < module.CountOfLines() ? module.Lines(l + 1, 1) : "";
            bool skip = false;
            const int action = ActionNumber(line, next, skip);
            if (skip)
                continue;
            std::string arguments;
            for (const auto& a : Arguments(action, trimmed, next))
                arguments += (arguments.empty() ? "" : ";") + a;
            rows.push_back(std::to_string(procedureNo) + " " +
                           Trim(Mid(proc, zanfor::util::Len(macroName) + 2, 150)) + "|" +
                           std::to_string(action) + "|" + comment + "|" + condition + "|" +
                           arguments);
            comment.clear();
            condition.clear();
        }
    };
    for (const auto& procedure : module.procedures())
        handle(procedure.name);
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
                  "1 開く|45|||",  // End If: the collector's record of StopMacro
                  R"(1 開く|39|||"明細")",
                  "2 集計|26|ここから集計||False",
                  R"(2 集計|12||([区分]=2)|"q集計";ﾃﾞｰﾀｼｰﾄﾋﾞｭｰ;acEdit)",
                  "2 集計|45|||",
                  R"(2 集計|47|||[Forms]![F受注]![合計] = DSum("額","T"))",
                  "2 集計|36|合図||",
                  "2 集計|45|||",  // "SENDKEYS" holds "END", which the collector tests first
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

// Macros of real exports, read as the application reads them, through the collector.
TEST(MacroConvert, realExportsRoundTripThroughTheCollector) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::tuple<const char*, const char*, std::vector<std::string>> cases[] = {
        // The collector takes every line holding "END" for the end of a block, here the
        // function's name ("fxnOpENDbChecks").
        {"exports/ncrn-birds/source", "AutoExec", {"1 |45|||"}},
        // Key names are no Visual Basic names: "^+A" becomes "__A".
        {"exports/ncrn-birds/source",
         "Autokeys",
         {R"(1 __A|21|Open the administrative console for managing the NRDT application.||"frm_Admin_Console";標準;"";"";;acNormal)",
          R"(1 __A|48|Close the switchboard form.||ﾌｫｰﾑ;"frm_Switchboard";acSaveNo)"}},
        // The comment line itself holds "End" ("Back End"), so it becomes a row of its own.
        {"exports/ube-utility/ubeUtility V1-4.mdb.src",
         "AutoKeys",
         {"1 __Z|45|Open Back End Update Input Form with CONTROL + SHIFT + Z||",
          R"(1 __Z|21|||"ubeForm";標準;"";"";;acNormal)"}},
        // Later Access versions add comment rows holding the macro as XML; they change nothing.
        {"exports/msaccess-vcs-testing/Testing.accdb.src",
         "AutoExec",
         {R"(1 |21|||"frmMain";標準;"";"";;acNormal)", "1 |22|||RunTests()"}},
    };
    for (const auto& [folder, name, expected] : cases) {
        FileApplication app;
        app.openCurrentDatabase((data / folder).string());
        EXPECT_EQ(Rows(ConvertMacro(app.macroDefinition(name)), name), expected) << name;
    }
}

}  // namespace
