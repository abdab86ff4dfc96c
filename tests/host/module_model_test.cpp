#include "host/access/module_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "host/error.h"

namespace zanfor::host {
namespace {

std::string Join(std::initializer_list<std::string_view> lines, std::string_view eol = "\r\n") {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append(eol);
    }
    return text;
}

struct Expected {
    std::string name;
    ProcKind kind = ProcKind::Proc;
    long start = 0;
    long body = 0;
    long count = 0;
};

// The sections must tile the module after the declarations, whatever the input.
void ExpectSectionsTileModule(const ModuleModel& model) {
    const long declarations = model.CountOfDeclarationLines();
    long next = declarations + 1;
    for (std::size_t i = 0; i < model.procedures().size(); ++i) {
        const Procedure& p = model.procedures()[i];
        ASSERT_EQ(p.startLine, next) << p.name;
        ASSERT_GE(p.countLines, 1) << p.name;
        ASSERT_GE(p.bodyLine, p.startLine) << p.name;
        ASSERT_LT(p.bodyLine, p.startLine + p.countLines) << p.name;
        for (long line : {p.startLine, p.bodyLine, p.startLine + p.countLines - 1}) {
            ProcKind kind = ProcKind::Let;
            ASSERT_EQ(model.ProcOfLine(line, kind), p.name) << line;
            ASSERT_EQ(kind, p.kind) << line;
        }
        next += p.countLines;
    }
    EXPECT_EQ(next - 1, model.CountOfLines());
    if (declarations > 0) {
        ProcKind kind = ProcKind::Get;
        EXPECT_EQ(model.ProcOfLine(declarations, kind), "");
        EXPECT_EQ(kind, ProcKind::Proc);
    }
}

void ExpectProcedures(const ModuleModel& model, long declarations,
                      const std::vector<Expected>& expected) {
    EXPECT_EQ(model.CountOfDeclarationLines(), declarations);
    ASSERT_EQ(model.procedures().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Procedure& p = model.procedures()[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(p.name, expected[i].name);
        EXPECT_EQ(p.kind, expected[i].kind);
        EXPECT_EQ(p.startLine, expected[i].start);
        EXPECT_EQ(p.bodyLine, expected[i].body);
        EXPECT_EQ(p.countLines, expected[i].count);
    }
    ExpectSectionsTileModule(model);
}

void ExpectHostError(int number, const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error " << number;
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_FALSE(e.description().empty());
    }
}

TEST(ModuleModelTest, SplitsLinesAtEveryLineEndAndKeepsTheirText) {
    const struct {
        std::string_view text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\n", {""}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\rb\r\nc\n", {"a", "b", "c"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\n\r", {"", ""}},
        {"  x = 1  \t\r\n\r\n", {"  x = 1  \t", ""}},
    };
    for (const auto& c : cases) {
        const ModuleModel model(c.text);
        ASSERT_EQ(model.CountOfLines(), static_cast<long>(c.lines.size())) << c.text;
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(model.Line(static_cast<long>(i) + 1), c.lines[i]) << c.text;
        }
    }
}

TEST(ModuleModelTest, LinesJoinsWithCrLfAndStopsAtTheEnd) {
    const ModuleModel model("a\nb\n\nd");
    EXPECT_EQ(model.Lines(1, 4), "a\r\nb\r\n\r\nd");
    EXPECT_EQ(model.Lines(2, 2), "b\r\n");
    EXPECT_EQ(model.Lines(3, 100), "\r\nd");
    EXPECT_EQ(model.Lines(1, LONG_MAX), "a\r\nb\r\n\r\nd");
    EXPECT_EQ(model.Lines(4, 0), "");
}

TEST(ModuleModelTest, OutOfRangeAndUnknownNamesRaiseHostErrors) {
    const ModuleModel model(
        Join({"Sub Form_Load()", "End Sub", "Property Get Value()", "End Property"}));
    const ModuleModel empty("");
    ProcKind kind = ProcKind::Proc;
    const std::vector<std::function<void()>> outOfRange = {
        [&] { model.Lines(0, 1); },
        [&] { model.Lines(5, 1); },
        [&] { model.Lines(1, -1); },
        [&] { model.Line(0); },
        [&] { model.Line(5); },
        [&] { model.ProcOfLine(0, kind); },
        [&] { model.ProcOfLine(5, kind); },
        [&] { empty.Lines(1, 0); },
        [&] { empty.ProcOfLine(1, kind); },
    };
    for (const auto& call : outOfRange) {
        ExpectHostError(err::kSubscriptOutOfRange, call);
    }
    const std::vector<std::function<void()>> notDefined = {
        [&] { model.ProcStartLine("Missing", ProcKind::Proc); },
        [&] { model.ProcBodyLine("Value", ProcKind::Proc); },
        [&] { model.ProcCountLines("Value", ProcKind::Let); },
        [&] { model.ProcStartLine("Form_Load", ProcKind::Get); },
        [&] { model.ProcStartLine("", ProcKind::Proc); },
    };
    for (const auto& call : notDefined) {
        ExpectHostError(err::kSubOrFunctionNotDefined, call);
    }
    EXPECT_EQ(model.ProcStartLine("FORM_load", ProcKind::Proc), 1);
    EXPECT_EQ(model.ProcBodyLine("value", ProcKind::Get), 3);
}

TEST(ModuleModelTest, RealisticFormModule) {
    const std::string text = Join({
        "Option Compare Database",                                                         // 1
        "Option Explicit",                                                                 // 2
        "",                                                                                // 3
        "' 受注フォーム: 顧客ごとの受注を入力する",                                        // 4
        "Private mblnDirty As Boolean",                                                    // 5
        "Private Const cstrTitle As String = \"受注入力\"",                                // 6
        "",                                                                                // 7
        "' フォームを開いたときに初期値を設定する",                                        // 8
        "Private Sub Form_Load()",                                                         // 9
        "    Me.Caption = cstrTitle & \" - 'End Sub'\"",                                   // 10
        "    mblnDirty = False",                                                           // 11
        "End Sub",                                                                         // 12
        "",                                                                                // 13
        "'-----------------------------------------",                                      // 14
        "' 保存ボタン",                                                                    // 15
        "'-----------------------------------------",                                      // 16
        "Private Sub cmd保存_Click()",                                                     // 17
        "On Error GoTo Err_Handler",                                                       // 18
        "    If Not mblnDirty Then Exit Sub",                                              // 19
        "    DoCmd.RunCommand acCmdSaveRecord",                                            // 20
        "Exit_Handler:",                                                                   // 21
        "    Exit Sub",                                                                    // 22
        "Err_Handler:",                                                                    // 23
        "    MsgBox Err.Description, vbExclamation, cstrTitle",                            // 24
        "    Resume Exit_Handler",                                                         // 25
        "End Sub",                                                                         // 26
        "",                                                                                // 27
        "Public Function 合計金額(ByVal lng受注ID As Long, _",                             // 28
        "                         Optional ByVal bln税込 As Boolean = True) As Currency",  // 29
        "    Dim curSubTotal As Currency ' End Function はここではない",                   // 30
        "    curSubTotal = Nz(DSum(\"金額\", \"受注明細\", \"受注ID=\" & lng受注ID), 0)",  // 31
        "    If bln税込 Then curSubTotal = curSubTotal * 1.05",                            // 32
        "    合計金額 = curSubTotal",                                                      // 33
        "End Function",                                                                    // 34
        "",                                                                                // 35
        "Property Get 顧客名() As String",                                                 // 36
        "    顧客名 = Nz(Me!顧客名, \"\")",                                                // 37
        "End Property",                                                                    // 38
        "",                                                                                // 39
        "Property Let 顧客名(ByVal strValue As String)",                                   // 40
        "    Me!顧客名 = strValue",                                                        // 41
        "End Property",                                                                    // 42
        "' 末尾のコメント",                                                                // 43
        "",                                                                                // 44
    });
    const ModuleModel model(text);
    EXPECT_EQ(model.CountOfLines(), 44);
    ExpectProcedures(model, 6,
                     {{"Form_Load", ProcKind::Proc, 7, 9, 6},
                      {"cmd保存_Click", ProcKind::Proc, 13, 17, 14},
                      {"合計金額", ProcKind::Proc, 27, 28, 8},
                      {"顧客名", ProcKind::Get, 35, 36, 4},
                      {"顧客名", ProcKind::Let, 39, 40, 6}});
    EXPECT_EQ(model.ProcStartLine("顧客名", ProcKind::Let), 39);
    EXPECT_EQ(model.ProcCountLines("CMD保存_click", ProcKind::Proc), 14);
}

TEST(ModuleModelTest, SectionBoundaries) {
    const struct {
        const char* what;
        std::string text;
        long declarations;
        std::vector<Expected> procedures;
    } cases[] = {
        {"empty module", "", 0, {}},
        {"only options", Join({"Option Compare Database", "Option Explicit"}), 2, {}},
        {"only declarations, trailing comment and blank",
         Join({"Option Explicit", "", "Public gUser As String", "' メモ", ""}),
         5,
         {}},
        {"only comments", Join({"' a", "", "Rem b"}), 3, {}},
        {"starts with a procedure",
         Join({"Sub A()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 2}}},
        {"comments above the first heading, no declarations",
         Join({"' 説明", "", "Sub A()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 3, 4}}},
        {"blank lines and comments above headings belong to them",
         Join({"Dim x", "", "", "' A の説明", "Sub A()", "End Sub", "", "' B", "", "Sub B()",
               "End Sub"}),
         1,
         {{"A", ProcKind::Proc, 2, 5, 5}, {"B", ProcKind::Proc, 7, 10, 5}}},
        {"trailing comments and blanks go to the last procedure",
         Join({"Sub A()", "End Sub", "Sub B()", "End Sub", "", "' おわり", "", ""}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 2}, {"B", ProcKind::Proc, 3, 3, 6}}},
        {"a declaration with a continued comment",
         Join({"Dim x ' note _", "  still the note", "Sub A()", "End Sub"}),
         2,
         {{"A", ProcKind::Proc, 3, 3, 2}}},
        {"property get, let and set of one name",
         Join({"Private m As Object", "Property Get Item() As Object", "End Property",
               "Property Let Item(v As Object)", "End Property", "Property Set Item(v As Object)",
               "End Property"}),
         1,
         {{"Item", ProcKind::Get, 2, 2, 2},
          {"Item", ProcKind::Let, 4, 4, 2},
          {"Item", ProcKind::Set, 6, 6, 2}}},
        {"heading continued over three lines",
         Join({"Option Explicit", "", "Public Function _", "    Compute(ByVal a As Long, _",
               "            ByVal b As Long) As Long", "    Compute = a + b", "End Function"}),
         1,
         {{"Compute", ProcKind::Proc, 2, 3, 6}}},
        {"Declare Function is a declaration",
         Join({"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "", "Sub A()",
               "End Sub"}),
         1,
         {{"A", ProcKind::Proc, 2, 3, 3}}},
        {"Exit Sub and End Sub in strings, comments and Rem end nothing",
         Join({"Sub A()", "    s = \"End Sub\"", "    ' End Sub", "    x = 1: Rem End Sub",
               "    If x Then Exit Sub", "    MsgBox \"Don't\": End Sub", "Sub B()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 6}, {"B", ProcKind::Proc, 7, 7, 2}}},
        {"a continued comment swallows the End Sub below it",
         Join({"Sub A()", "    ' note _", "End Sub", "End Sub", "Sub B()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 4}, {"B", ProcKind::Proc, 5, 5, 2}}},
        {"an underscore inside an open literal continues nothing",
         Join({"Const s = \"abc _", "Sub A()", "End Sub"}),
         1,
         {{"A", ProcKind::Proc, 2, 2, 2}}},
        {"End after a label, a line number or another statement",
         Join({"Sub A()", "Done: End Sub", "Sub B()", "    Exit Sub: End Sub", "' c", "Sub C()",
               "10 End Sub", "Sub D(): End Sub", "Sub E()", "end   function  "}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 2},
          {"B", ProcKind::Proc, 3, 3, 2},
          {"C", ProcKind::Proc, 5, 6, 3},
          {"D", ProcKind::Proc, 8, 8, 1},
          {"E", ProcKind::Proc, 9, 9, 2}}},
        {"a heading before End Sub takes the comments and blanks above it",
         Join({"Sub A()", "    x = 1", "", "' B の説明", "Sub B()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 2}, {"B", ProcKind::Proc, 3, 5, 4}}},
        {"stray code after End Sub goes to the next procedure",
         Join({"Sub A()", "End Sub", "Dim y", "Sub B()", "End Sub"}),
         0,
         {{"A", ProcKind::Proc, 1, 1, 2}, {"B", ProcKind::Proc, 3, 4, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectProcedures(ModuleModel(c.text), c.declarations, c.procedures);
    }
}

TEST(ModuleModelTest, RecognizesHeadingsOnly) {
    const struct {
        std::string_view line;
        const char* name;  // nullptr: not a heading
        ProcKind kind;
    } cases[] = {
        {"Sub A()", "A", ProcKind::Proc},
        {"Public Sub A(ByVal x As Long)", "A", ProcKind::Proc},
        {"Private Function F() As Long", "F", ProcKind::Proc},
        {"Friend Property Get P() As Long", "P", ProcKind::Get},
        {"Public Static Sub S()", "S", ProcKind::Proc},
        {"Static Function SF()", "SF", ProcKind::Proc},
        {"private static property let P(v)", "P", ProcKind::Let},
        {"PUBLIC PROPERTY SET Obj (ByVal o As Object)", "Obj", ProcKind::Set},
        {"Private Sub コマンド1_Click()", "コマンド1_Click", ProcKind::Proc},
        {"Public Function 合計()", "合計", ProcKind::Proc},
        {"Sub [My Proc]()", "My Proc", ProcKind::Proc},
        {"Function Total$(x)", "Total", ProcKind::Proc},
        {"Function Answer As Long", "Answer", ProcKind::Proc},
        {"Sub Main ' Sub Other()", "Main", ProcKind::Proc},
        {"Sub\tTabbed()", "Tabbed", ProcKind::Proc},
        {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", nullptr, {}},
        {"Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", nullptr, {}},
        {"Public Declare PtrSafe Function X Lib \"y\" () As Long", nullptr, {}},
        {"Public Event Changed(ByVal v As Long)", nullptr, {}},
        {"Private Enum Colors", nullptr, {}},
        {"Private Type Point", nullptr, {}},
        {"Dim SubTotal As Currency", nullptr, {}},
        {"Static Total As Long", nullptr, {}},
        {"Sub_X = 1", nullptr, {}},
        {"SubX()", nullptr, {}},
        {"Exit Sub", nullptr, {}},
        {"End Sub", nullptr, {}},
        {"Call Sub1", nullptr, {}},
        {"Property Value()", nullptr, {}},
        {"Public Sub", nullptr, {}},
        {"Sub (x)", nullptr, {}},
        {"Sub A = 1", nullptr, {}},
        {"' Sub Commented()", nullptr, {}},
        {"Rem Sub Commented()", nullptr, {}},
        {"s = \"Sub InString()\"", nullptr, {}},
    };
    for (const auto& c : cases) {
        const ModuleModel model(c.line);
        if (c.name == nullptr) {
            EXPECT_TRUE(model.procedures().empty()) << c.line;
            continue;
        }
        ASSERT_EQ(model.procedures().size(), 1u) << c.line;
        EXPECT_EQ(model.procedures()[0].name, c.name) << c.line;
        EXPECT_EQ(model.procedures()[0].kind, c.kind) << c.line;
    }
}

TEST(ModuleModelTest, RepeatedNameAndKindFindsTheFirst) {
    const ModuleModel model(Join({"Sub A()", "End Sub", "Sub a()", "End Sub"}));
    EXPECT_EQ(model.ProcStartLine("a", ProcKind::Proc), 1);
    ProcKind kind = ProcKind::Get;
    EXPECT_EQ(model.ProcOfLine(4, kind), "a");
    ExpectSectionsTileModule(model);
}

TEST(ModuleModelTest, LineEndsDoNotChangeTheAnswers) {
    const std::initializer_list<std::string_view> lines = {
        "Option Explicit", "", "' c", "Sub A( _", "  x)", "End Sub", "", "Sub B()", "End Sub", ""};
    const ModuleModel reference(Join(lines, "\n"));
    for (std::string_view eol : {"\r\n", "\r"}) {
        const ModuleModel model(Join(lines, eol));
        ExpectProcedures(model, 1,
                         {{"A", ProcKind::Proc, 2, 4, 5}, {"B", ProcKind::Proc, 7, 8, 4}});
        EXPECT_EQ(model.Lines(1, 10), reference.Lines(1, 10));
    }
    ExpectProcedures(reference, 1,
                     {{"A", ProcKind::Proc, 2, 4, 5}, {"B", ProcKind::Proc, 7, 8, 4}});
}

TEST(ModuleModelTest, SurvivesArbitraryBytes) {
    const std::string_view pieces[] = {
        "Sub ",     "End Sub",  "Function ", "Property Get ",
        "\"",       "'",        " _",        "\r",
        "\n",       "\r\n",     ":",         "Rem ",
        "X",        "(",        "\xff",      std::string_view("\0", 1),
        " ",        "Private ", "[",         "]",
        "\xe3\x81", "10 ",      "$"};
    std::uint32_t seed = 12345;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = round % 60;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text.append(pieces[(seed >> 16) % std::size(pieces)]);
        }
        const ModuleModel model(text);
        ExpectSectionsTileModule(model);
        if (::testing::Test::HasFailure()) {
            FAIL() << "input: " << testing::PrintToString(text);
        }
    }
}

TEST(ModuleModelTest, HugeInputsStayLinear) {
    std::string text = "Option Explicit\n";
    for (int i = 0; i < 50000; ++i) {
        text += "Sub P" + std::to_string(i) + "()\n    x = 1\nEnd Sub\n\n";
    }
    const ModuleModel many(text);
    EXPECT_EQ(many.CountOfLines(), 200001);
    ASSERT_EQ(many.procedures().size(), 50000u);
    EXPECT_EQ(many.ProcStartLine("P49999", ProcKind::Proc), 199997);
    EXPECT_EQ(many.ProcCountLines("P49999", ProcKind::Proc), 5);

    std::string longLine = "Sub A() ' " + std::string(5'000'000, '"') + "\nEnd Sub\n";
    for (int i = 0; i < 100000; ++i) {
        longLine += "' _\n";
    }
    const ModuleModel wide(longLine);
    ExpectProcedures(wide, 0, {{"A", ProcKind::Proc, 1, 1, 100002}});
}

}  // namespace
}  // namespace zanfor::host
