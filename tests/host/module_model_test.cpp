#include "host/access/module_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "host/error.h"

namespace zanfor::host {
namespace {

std::string Join(std::initializer_list<std::string_view> lines, std::string_view eol = "\r\n") {
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append(eol);
    return text;
}

// The sections must tile the module after the declarations, whatever the input.
void ExpectSectionsTileModule(const ModuleModel& model) {
    const long declarations = model.CountOfDeclarationLines();
    long next = declarations + 1;
    for (const Procedure& p : model.procedures()) {
        ASSERT_EQ(p.startLine, next) << p.name;
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

// "<declaration lines>" then " name(kind) start/body/count" per procedure, kind 0 left out.
std::string Sections(const ModuleModel& model) {
    ExpectSectionsTileModule(model);
    std::string out = std::to_string(model.CountOfDeclarationLines());
    for (const Procedure& p : model.procedures()) {
        out += " " + p.name;
        if (p.kind != ProcKind::Proc)
            out += "(" + std::to_string(static_cast<int>(p.kind)) + ")";
        out += " " + std::to_string(p.startLine) + "/" + std::to_string(p.bodyLine) + "/" +
               std::to_string(p.countLines);
    }
    return out;
}

int HostError(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        EXPECT_FALSE(e.description().empty());
        return e.number();
    }
    return 0;
}

TEST(ModuleModelTest, SplitsLinesAtEveryLineEndAndJoinsThemWithCrLf) {
    const std::pair<std::string_view, std::string> cases[] = {
        {"", ""},
        {"a\r\n", "a|"},
        {"a\n\nb", "a||b|"},
        {"a\rb\r\nc\n", "a|b|c|"},
        {"a\r\r\nb", "a||b|"},
        {"  x = 1  \t\r\n", "  x = 1  \t|"},
    };
    for (const auto& [text, lines] : cases) {
        const ModuleModel model(text);
        std::string got;
        for (long i = 1; i <= model.CountOfLines(); ++i)
            got += std::string(model.Line(i)) + "|";
        EXPECT_EQ(got, lines) << text;
    }
    const ModuleModel model("a\nb\n\nd");
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
    for (const auto& call : std::vector<std::function<void()>>{
             [&] { model.Lines(0, 1); }, [&] { model.Lines(5, 1); }, [&] { model.Lines(1, -1); },
             [&] { model.Line(0); }, [&] { model.Line(5); }, [&] { model.ProcOfLine(5, kind); },
             [&] { empty.Lines(1, 0); }, [&] { empty.ProcOfLine(1, kind); }}) {
        EXPECT_EQ(HostError(call), err::kSubscriptOutOfRange);
    }
    // An unknown name, or a known name of another kind.
    EXPECT_EQ(HostError([&] { model.ProcStartLine("Missing", ProcKind::Proc); }),
              err::kSubOrFunctionNotDefined);
    EXPECT_EQ(HostError([&] { model.ProcBodyLine("Value", ProcKind::Let); }),
              err::kSubOrFunctionNotDefined);
    EXPECT_EQ(model.ProcStartLine("FORM_load", ProcKind::Proc), 1);
    EXPECT_EQ(model.ProcBodyLine("value", ProcKind::Get), 3);
    // A repeated name and kind finds the first.
    const ModuleModel twice(Join({"Sub A()", "End Sub", "Sub a()", "End Sub"}));
    EXPECT_EQ(twice.ProcStartLine("a", ProcKind::Proc), 1);
    EXPECT_EQ(Sections(twice), "0 A 1/1/2 a 3/3/2");
}

TEST(ModuleModelTest, SectionBoundaries) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"Option Explicit", "", "Public gUser As String", "' メモ", ""}, "5"},
        // Comments above the first heading belong to it when there are no declarations.
        {{"' 説明", "", "Sub A()", "End Sub"}, "0 A 1/3/4"},
        {{"Dim x", "", "", "' A の説明", "Sub A()", "End Sub", "", "' B", "", "Sub B()", "End Sub"},
         "1 A 2/5/5 B 7/10/5"},
        {{"Option Explicit", "", "' c", "Sub A( _", "  x)", "End Sub", "", "Sub B()", "End Sub",
          ""},
         "1 A 2/4/5 B 7/8/4"},
        // Trailing comments and blanks go to the last procedure.
        {{"Sub A()", "End Sub", "Sub B()", "End Sub", "", "' おわり", "", ""}, "0 A 1/1/2 B 3/3/6"},
        {{"Dim x ' note _", "  still the note", "Sub A()", "End Sub"}, "2 A 3/3/2"},
        {{"Private m As Object", "Property Get Item() As Object", "End Property",
          "Property Let Item(v As Object)", "End Property", "Property Set Item(v As Object)",
          "End Property"},
         "1 Item(3) 2/2/2 Item(1) 4/4/2 Item(2) 6/6/2"},
        {{"Option Explicit", "", "Public Function _", "    Compute(ByVal a As Long, _",
          "            ByVal b As Long) As Long", "    Compute = a + b", "End Function"},
         "1 Compute 2/3/6"},
        // Exit Sub and End Sub in strings, comments and Rem end nothing.
        {{"Sub A()", "    s = \"End Sub\"", "    ' End Sub", "    x = 1: Rem End Sub",
          "    If x Then Exit Sub", "    MsgBox \"Don't\": End Sub", "Sub B()", "End Sub"},
         "0 A 1/1/6 B 7/7/2"},
        // A continued comment swallows the End Sub below it.
        {{"Sub A()", "    ' note _", "End Sub", "End Sub", "Sub B()", "End Sub"},
         "0 A 1/1/4 B 5/5/2"},
        // An underscore inside an open literal continues nothing.
        {{"Const s = \"abc _", "Sub A()", "End Sub"}, "1 A 2/2/2"},
        // End after a label, a line number or another statement.
        {{"Sub A()", "Done: End Sub", "Sub B()", "    Exit Sub: End Sub", "' c", "Sub C()",
          "10 End Sub", "Sub D(): End Sub", "Sub E()", "end   function  "},
         "0 A 1/1/2 B 3/3/2 C 5/6/3 D 8/8/1 E 9/9/2"},
        // A heading before End Sub takes the comments and blanks above it.
        {{"Sub A()", "    x = 1", "", "' B の説明", "Sub B()", "End Sub"}, "0 A 1/1/2 B 3/5/4"},
        // Stray code after End Sub goes to the next procedure.
        {{"Sub A()", "End Sub", "Dim y", "Sub B()", "End Sub"}, "0 A 1/1/2 B 3/4/3"},
    };
    // Whatever the line ends.
    for (const auto& [lines, sections] : cases) {
        for (std::string_view eol : {"\r\n", "\n", "\r"}) {
            std::string text;
            for (std::string_view line : lines)
                text.append(line).append(eol);
            EXPECT_EQ(Sections(ModuleModel(text)), sections) << text;
        }
    }
}

TEST(ModuleModelTest, RecognizesHeadingsOnly) {
    const std::pair<std::string_view, std::string> headings[] = {
        {"Friend Property Get P() As Long", "P(3)"},
        {"private static property let P(v)", "P(1)"},
        {"PUBLIC PROPERTY SET Obj (ByVal o As Object)", "Obj(2)"},
        {"Sub [My Proc]()", "My Proc"},
        {"Function Total$(x)", "Total"},
        {"Function Answer As Long", "Answer"},
        {"Sub Main ' Sub Other()", "Main"},
        {"Private Sub\tコマンド1_Click()", "コマンド1_Click"},
    };
    for (const auto& [line, heading] : headings)
        EXPECT_EQ(Sections(ModuleModel(line)), "0 " + heading + " 1/1/1") << line;
    for (std::string_view line :
         {"Public Declare PtrSafe Function X Lib \"y\" () As Long",
          "Public Event Changed(ByVal v As Long)", "Private Enum Colors",
          "Dim SubTotal As Currency", "Static Total As Long", "Sub_X = 1", "SubX()", "Exit Sub",
          "Call Sub1", "Property Value()", "Public Sub", "Sub (x)", "Sub A = 1",
          "' Sub Commented()", "s = \"Sub InString()\""})
        EXPECT_TRUE(ModuleModel(line).procedures().empty()) << line;
}

TEST(ModuleModelTest, HugeInputsStayLinear) {
    std::string text = "Option Explicit\n";
    for (int i = 0; i < 50000; ++i)
        text += "Sub P" + std::to_string(i) + "()\n    x = 1\nEnd Sub\n\n";
    const ModuleModel many(text);
    ASSERT_EQ(many.procedures().size(), 50000u);
    EXPECT_EQ(many.ProcStartLine("P49999", ProcKind::Proc), 199997);

    std::string longLine = "Sub A() ' " + std::string(5'000'000, '"') + "\nEnd Sub\n";
    for (int i = 0; i < 100000; ++i)
        longLine += "' _\n";
    EXPECT_EQ(Sections(ModuleModel(longLine)), "0 A 1/1/100002");
}

}  // namespace
}  // namespace zanfor::host
