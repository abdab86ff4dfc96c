#include "host/access/macro_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "collect/vocabulary.h"
#include "host/access/module_model.h"
#include "test_support.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::util::InStr;
using zanfor::util::Left;
using zanfor::util::Mid;
using zanfor::util::Trim;
using zanfor::util::UCase;
namespace fs = std::filesystem;

// One row the macro collector writes: what it recovered from one statement line.
struct Recovered {
    int procedure = 0;  // running procedure number, from 1
    std::string procName;
    int action = 0;
    std::string comment;
    std::string condition;
    std::vector<std::string> arguments;
    std::string line;
};

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

// The macro collector's reading of a converted module, rule for rule.
std::vector<Recovered> Collect(const std::string& text, const std::string& macroName) {
    const ModuleModel module(text);
    std::vector<Recovered> rows;
    std::string comment;
    std::string condition;
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
            rows.push_back({procedureNo, Trim(Mid(proc, zanfor::util::Len(macroName) + 2, 150)),
                            action, comment, condition, Arguments(action, trimmed, next), line});
            comment.clear();
            condition.clear();
        }
    };
    ProcKind kind = ProcKind::Proc;
    std::string current = module.ProcOfLine(module.CountOfDeclarationLines() + 1, kind);
    handle(current);
    for (long l = module.CountOfDeclarationLines() + 1; l <= module.CountOfLines(); ++l) {
        const std::string proc = module.ProcOfLine(l, kind);
        if (proc != current) {
            current = proc;
            handle(current);
        }
    }
    return rows;
}

MacroRow Row(std::string action, std::vector<std::string> arguments = {}, std::string comment = "",
             std::string condition = "", std::string macroName = "") {
    return {std::move(macroName), std::move(condition), std::move(action), std::move(arguments),
            std::move(comment)};
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

TEST(MacroConvert, moduleLayoutIsTheOneAccessWrote) {
    const std::string rule = "'" + std::string(60, '-');
    const MacroDefinition macro{
        "AutoExec", {Row("OpenForm", {"メニュー", "0", "", "", "-1", "0"}, "メニューを開く")}};
    EXPECT_EQ(ConvertMacro(macro),
              Join({"Option Compare Database",
                    "",
                    rule,
                    "' AutoExec",
                    "'",
                    rule,
                    "Function AutoExec()",
                    "On Error GoTo AutoExec_Err",
                    "",
                    "    ' メニューを開く",
                    R"(    DoCmd.OpenForm "メニュー", acNormal, "", "", , acNormal)",
                    "",
                    "",
                    "AutoExec_Exit:",
                    "    Exit Function",
                    "",
                    "AutoExec_Err:",
                    "    MsgBox Error$",
                    "    Resume AutoExec_Exit",
                    "",
                    "End Function"}));
}

TEST(MacroConvert, actionsBecomeTheStatementsAccessWrote) {
    const std::pair<MacroRow, std::vector<std::string>> cases[] = {
        {Row("OpenReport", {"売上", "2", "", "[区分]=1"}),
         {R"(DoCmd.OpenReport "売上", acViewPreview, "", "[区分]=1")"}},
        {Row("Close", {"", "", "0"}), {R"(DoCmd.Close , "", acSavePrompt)"}},
        {Row("Quit", {}), {"DoCmd.Quit acSave"}},
        {Row("RunCommand", {"97"}), {"DoCmd.RunCommand acCmdSaveRecord"}},
        {Row("RunCommand", {"9999"}), {"DoCmd.RunCommand 9999"}},
        {Row("RunMacro", {"受注.開く", "", ""}), {R"(DoCmd.RunMacro "受注.開く", , "")"}},
        {Row("FindRecord", {"abc", "1", "0", "2", "0", "-1", "-1"}),
         {R"(DoCmd.FindRecord "abc", acEntire, False, acSearchAll, False, acCurrent, True)"}},
        {Row("ApplyFilter", {"", "=[Forms]![F]![抽出]"}),
         {R"(DoCmd.ApplyFilter "", [Forms]![F]![抽出])"}},
        {Row("MsgBox", {"He said \"hi\"", "", "4", "確認"}),
         {"Beep", R"(MsgBox "He said ""hi""", vbInformation, "確認")"}},
        {Row("MsgBox", {"完了", "0", "", ""}), {R"(MsgBox "完了", vbOKOnly, "")"}},
        {Row("SendKeys", {"{ENTER}", "0"}), {R"(SendKeys "{ENTER}", False)"}},
        {Row("RunCode", {"Init ()"}), {"Call Init()"}},
        {Row("RunCode", {"=UpdateModule(\"\",3)"}), {R"(Call UpdateModule("",3))"}},
        {Row("StopMacro"), {"Exit Function"}},
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

struct Expected {
    std::string procName;
    int action;
    std::string comment, condition;
    std::vector<std::string> arguments;
};

void ExpectRecovered(const std::vector<Recovered>& got, const std::vector<Expected>& expected,
                     const std::string& what) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(what + ": " + got[i].line);
        EXPECT_EQ(got[i].procName, expected[i].procName);
        EXPECT_EQ(got[i].action, expected[i].action);
        EXPECT_EQ(got[i].comment, expected[i].comment);
        EXPECT_EQ(got[i].condition, expected[i].condition);
        EXPECT_EQ(got[i].arguments, expected[i].arguments);
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
    const std::vector<Expected> expected = {
        {"開く",
         21,
         "受注入力を開く",
         "",
         {"\"F受注\"", "標準", "\"\"", "\"[状態]=1\"", "編集", "acDialog"}},
        {"開く", 27, "", "(IsNull([顧客]))", {"\"未登録です\"", "注意!", "\"確認\""}},
        {"開く", 45, "", "", {}},  // End If: the collector's record of StopMacro
        {"開く", 39, "", "", {"\"明細\""}},
        {"集計", 26, "ここから集計", "", {"False"}},
        {"集計", 12, "", "([区分]=2)", {"\"q集計\"", "ﾃﾞｰﾀｼｰﾄﾋﾞｭｰ", "acEdit"}},
        {"集計", 45, "", "", {}},
        {"集計", 47, "", "", {"[Forms]![F受注]![合計] = DSum(\"額\",\"T\")"}},
        {"集計", 36, "合図", "", {}},
        {"集計", 45, "", "", {}},  // "SENDKEYS" holds "END", which the collector tests first
        {"再計算", 22, "", "", {"Recalc()"}},
        {"再計算", 2, "", "", {"Shell(\"calc.exe\", 1)"}},
        {"再計算",
         19,
         "",
         "",
         {"acExportDelim", "\"\"", "\"T受注\"", "\"C:\\受注.txt\"", "はい", "\"\""}},
    };
    const auto got = Collect(ConvertMacro(macro), macro.name);
    ExpectRecovered(got, expected, "group");
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(got[3].procedure, 1);
    EXPECT_EQ(got[4].procedure, 2);
    EXPECT_EQ(got.back().procedure, 3);
}

TEST(MacroConvert, argumentsSplitIntoAtMostTenPieces) {
    const MacroDefinition macro{"送信",
                                {Row("SendObject", {"3", "R月報", "Snapshot Format", "a@x.jp",
                                                    "b@x.jp", "", "月報, 4月", "本文", "0", ""})}};
    const auto got = Collect(ConvertMacro(macro), macro.name);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].action, 9);
    // The comma inside the subject splits it too, so the last argument is cut off.
    EXPECT_EQ(
        got[0].arguments,
        (std::vector<std::string>{"acSendReport", "\"R月報\"", "\"Snapshot Format\"", "\"a@x.jp\"",
                                  "\"b@x.jp\"", "\"\"", "\"月報", "4月\"", "\"本文\"", "いいえ"}));
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
    for (const auto& r : Collect(text, macro.name))
        procNames.push_back(r.procName);
    EXPECT_EQ(procNames, (std::vector<std::string>{"", "a_b", "a_b1", "A_B2", "c_d"}));

    const std::string empty = ConvertMacro({"空", {}});
    ASSERT_EQ(ModuleModel(empty).procedures().size(), 1u);
    EXPECT_TRUE(Collect(empty, "空").empty());
}

TEST(MacroConvert, commentsAndConditionsOverSeveralLinesStayWhole) {
    const MacroDefinition macro{"M", {Row("Beep", {}, "一行目\r\n二行目", "[a]=1 And\r\n[b]=2")}};
    const std::string text = ConvertMacro(macro);
    EXPECT_NE(
        text.find("    If ([a]=1 And [b]=2) Then\r\n        ' 一行目\r\n        ' 二行目\r\n"),
        std::string::npos);
    const auto got = Collect(text, "M");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].comment, "二行目");
    EXPECT_EQ(got[0].condition, "([a]=1 And [b]=2)");
}

// The exports' macros: "Begin"/"End" blocks of MacroName, Condition, Action, Comment and
// Argument lines; quoted values with \" and \ooo escapes, continued on lines of their own.
std::vector<MacroRow> ParseMacroExport(const std::string& text) {
    auto unquote = [](std::string_view v) {
        std::string out;
        for (std::size_t i = v.find('"') + 1; i < v.rfind('"'); ++i) {
            if (v[i] == '\\' && v[i + 1] == '0') {
                out += static_cast<char>(std::stoi(std::string(v.substr(i + 1, 3)), nullptr, 8));
                i += 3;
            } else {
                i += v[i] == '\\' ? 1 : 0;
                out += v[i];
            }
        }
        return out;
    };
    std::vector<MacroRow> rows;
    std::string* last = nullptr;
    for (const auto& line : zanfor::util::SplitLines(text)) {
        const std::string t = Trim(line);
        const auto eq = t.find(" =");
        if (t == "Begin") {
            rows.emplace_back();
        } else if (t.starts_with('"') && last != nullptr) {
            *last += unquote(t);
        } else if (eq != std::string::npos && !rows.empty()) {
            MacroRow& row = rows.back();
            const std::string key = t.substr(0, eq), value = unquote(t.substr(eq));
            if (key == "MacroName")
                last = &(row.macroName = value);
            if (key == "Condition")
                last = &(row.condition = value);
            if (key == "Action")
                last = &(row.action = value);
            if (key == "Comment")
                last = &(row.comment = value);
            if (key == "Argument")
                last = &row.arguments.emplace_back(value);
        }
    }
    return rows;
}

TEST(MacroConvert, realExportsRoundTripThroughTheCollector) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "../shared/testdata is absent";
    auto opening = [](const std::string& form) {
        return std::vector<std::string>{"\"" + form + "\"", "標準", "\"\"", "\"\"", "", "acNormal"};
    };
    const std::pair<fs::path, std::vector<Expected>> cases[] = {
        // The collector takes every line holding "END" for the end of a block, here the
        // function's name ("fxnOpENDbChecks").
        {"exports/ncrn-birds/source/macros/AutoExec.bas", {{"", 45, "", "", {}}}},
        // Key names are no Visual Basic names: "^+A" becomes "__A".
        {"exports/ncrn-birds/source/macros/Autokeys.bas",
         {{"__A", 21, "Open the administrative console for managing the NRDT application.", "",
           opening("frm_Admin_Console")},
          {"__A",
           48,
           "Close the switchboard form.",
           "",
           {"ﾌｫｰﾑ", "\"frm_Switchboard\"", "acSaveNo"}}}},
        // The comment line itself holds "End" ("Back End"), so it becomes a row of its own.
        {"exports/ube-utility/ubeUtility V1-4.mdb.src/macros/AutoKeys.bas",
         {{"__Z", 45, "Open Back End Update Input Form with CONTROL + SHIFT + Z", "", {}},
          {"__Z", 21, "", "", opening("ubeForm")}}},
        // Later Access versions add comment rows holding the macro as XML; they change nothing.
        {"exports/msaccess-vcs-testing/Testing.accdb.src/macros/AutoExec.macro",
         {{"", 21, "", "", opening("frmMain")}, {"", 22, "", "", {"RunTests()"}}}},
        {"pairs/strings/Macro/CloseAll.accmac", {{"", 22, "", "", {"CloseAll()"}}}},
        {"pairs/strings/Macro/Initialize.accmac",
         {{"", 22, "Инициализация приложения", "", {"Init()"}}}},
        {"pairs/strings/Macro/UpdateModuleRevision.accmac",
         {{"", 22, "Обновление версии модуля", "", {"UpdateModule(\"\",\"\",3,True)"}}}},
    };
    for (const auto& [file, expected] : cases) {
        const std::string bytes = zanfor::test::FileBytes(*data / file);
        // The Strings pair is Russian Windows text; the others are UTF-8.
        const std::string text =
            zanfor::util::IsValidUtf8(bytes) ? bytes : zanfor::util::DecodeCodePage(bytes, 1251);
        const MacroDefinition macro{file.stem().string(), ParseMacroExport(text)};
        ASSERT_FALSE(macro.rows.empty()) << file;
        ExpectRecovered(Collect(ConvertMacro(macro), macro.name), expected, file.string());
    }
}

}  // namespace
