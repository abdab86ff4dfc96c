#include "vba/code_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/access/module_model.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using vba::LineClass;

TEST(VbaCodeLine, classifiesAndSkipsLines) {
    const struct {
        std::string line;
        LineClass expected;
        bool skipped;
    } cases[] = {
        {"    rem note", LineClass::Comment, false},
        {"Rem", LineClass::Code, false},  // no blank after the word
        {"Remark = 1", LineClass::Code, false},
        {"x = 1 ' set", LineClass::Code, false},
        {"\xE3\x80\x80", LineClass::Blank, true},  // the ideographic blank
        {"  option compare database", LineClass::Code, true},
        {"OptionValue = 1", LineClass::Code, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vba::ClassifyLine(c.line), c.expected) << c.line;
        EXPECT_EQ(vba::IsSkippedLine(c.line), c.skipped) << c.line;
    }
}

// "-" stands for a field the line leaves out.
std::string Text(const std::optional<std::string>& field) { return field.value_or("-"); }

TEST(VbaCodeLine, headingGivesScopeKindParametersAndResultType) {
    const std::pair<std::string, std::string> cases[] = {
        {"Function F(a() As Long) As Long", "-|Function|a() As Long|Long"},
        // Kinds the test does not know keep their scope but no kind.
        {"Friend Function Owner() As Form", "-||-|Form"},
        {"Private Static Function Next_() As Long", "1||-|Long"},
        // The list's own parenthesis closes it; "As" counts as a word only.
        {"Public Function Names() As String()", "0|Function|-|String()"},
        {"Sub S(Optional t = \"(a) As b\")", "-|Sub|Optional t = \"(a) As b\"|-"},
        {"Function GetAsset As Long", "-|Function|-|Long"},
    };
    for (const auto& [heading, expected] : cases) {
        const vba::HeadingFields got = vba::ParseHeading(heading);
        const std::string scope = got.isPrivate ? std::to_string(*got.isPrivate) : "-";
        EXPECT_EQ(scope + "|" + got.kind + "|" + Text(got.parameters) + "|" + Text(got.resultType),
                  expected);
    }
}

TEST(VbaCodeLine, continuationMarkInACommentDoesNotContinueTheHeading) {
    const host::ModuleModel model(test::Code({"Sub A() ' done _", "' more", "End Sub"}));
    long last = 0;
    EXPECT_EQ(vba::JoinHeading(model, 1, last), "Sub A()");
    EXPECT_EQ(last, 1);
}

TEST(VbaCodeLine, declareStatementsOnlyAreExternalFunctions) {
    const auto continued = vba::ParseDeclare("Public Declare Sub apiBeep Lib \"user32\" _");
    ASSERT_TRUE(continued);
    EXPECT_EQ(continued->name + "|" + continued->kind, "apiBeep|Sub");
    EXPECT_FALSE(continued->isPrivate);
    for (const char* line :
         {"MsgBox \"Declare Function x\"", "x = 1 ' Declare Sub y", "Private DeclareCount As Long"})
        EXPECT_FALSE(vba::ParseDeclare(line)) << line;
}

TEST(VbaCodeLine, dimCallKeywordTableAndCommentMark) {
    const std::pair<std::string, std::string> cases[] = {
        {"Global g As Integer", "1|Global|変数|g As Integer|-"},
        {"If ok Then Call Done(x) ' fin", "6|Call|呼出|Done(x)| fin"},
        // The comment mark right behind the text, and an apostrophe inside a literal.
        {"Dim x As Long' note", "4|Dim|変数|x As Long| note"},
        {"Const SQL = \"WHERE 名前='a'\" ' 条件", "5|Const|定数|SQL = \"WHERE 名前='a'\"| 条件"},
    };
    for (const auto& [line, expected] : cases) {
        const auto got = vba::ParseDimCall(line);
        ASSERT_TRUE(got) << line;
        EXPECT_EQ(std::to_string(got->code) + "|" + std::string(got->type) + "|" +
                      std::string(got->bunrui) + "|" + got->text + "|" + Text(got->comment),
                  expected);
    }
    // Keywords in a comment, a literal or a longer name, and Dim after the start, are no
    // statements.
    for (const char* line : {"x = 1: Rem Call Foo", "MsgBox \"Call me\"", "lngRecall = 0",
                             "x = 1: Dim y", "ReDim a(5)"})
        EXPECT_FALSE(vba::ParseDimCall(line)) << line;
}

TEST(VbaCodeLine, dimCallKeepsLongTextWholeAndCutsTheCommentAt255Characters) {
    const std::string note = test::Repeat("注", 300);
    const std::string values(300, 'v');
    const auto got = vba::ParseDimCall("Const L = \"" + values + "\" ' " + note);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->text, "L = \"" + values + "\"");
    EXPECT_EQ(got->comment, " " + note.substr(0, 254 * 3));
}

}  // namespace
