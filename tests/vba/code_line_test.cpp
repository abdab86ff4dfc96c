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
        {"' note", LineClass::Comment, false},
        {"      ' indented", LineClass::Comment, false},
        {"    rem note", LineClass::Comment, false},
        {"Rem", LineClass::Code, false},  // no blank after the word
        {"Remark = 1", LineClass::Code, false},
        {"x = 1 ' set", LineClass::Code, false},
        {"\xE3\x80\x80", LineClass::Blank, true},  // the ideographic blank
        {"", LineClass::Blank, true},
        {"  option compare database", LineClass::Code, true},
        {"OptionValue = 1", LineClass::Code, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vba::ClassifyLine(c.line), c.expected) << c.line;
        EXPECT_EQ(vba::IsSkippedLine(c.line), c.skipped) << c.line;
    }
}

TEST(VbaCodeLine, headingGivesScopeKindParametersAndResultType) {
    const std::optional<std::string> null;
    const struct {
        std::string heading;
        std::optional<bool> isPrivate;
        std::string kind;
        std::optional<std::string> parameters, resultType;
    } cases[] = {
        {"Sub Main()", std::nullopt, "Sub", null, null},
        {"Function F(a() As Long) As Long", std::nullopt, "Function", "a() As Long", "Long"},
        {"Public Function 合計(ByVal 単価 As Currency) As Currency", false, "Function",
         "ByVal 単価 As Currency", "Currency"},
        // Kinds the test does not know keep their scope but no kind.
        {"Friend Function Owner() As Form", std::nullopt, "", null, "Form"},
        {"Private Static Function Next_() As Long", true, "", null, "Long"},
        // The list's own parenthesis closes it; "As" counts as a word only.
        {"Public Function Names() As String()", false, "Function", null, "String()"},
        {"Sub S(Optional t = \"(a) As b\")", std::nullopt, "Sub", "Optional t = \"(a) As b\"",
         null},
        {"Function GetAsset As Long", std::nullopt, "Function", null, "Long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        const vba::HeadingFields got = vba::ParseHeading(c.heading);
        EXPECT_EQ(got.isPrivate, c.isPrivate);
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.parameters, c.parameters);
        EXPECT_EQ(got.resultType, c.resultType);
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
    for (const char* line : {"MsgBox \"Declare Function x\"", "x = 1 ' Declare Sub y",
                             "Private DeclareCount As Long"}) {
        EXPECT_FALSE(vba::ParseDeclare(line)) << line;
    }
}

TEST(VbaCodeLine, dimCallKeywordTableAndCommentMark) {
    const std::optional<std::string> null;
    const struct {
        std::string line;
        std::int16_t code;
        std::string type, bunrui, text;
        std::optional<std::string> comment;
    } cases[] = {
        {"Dim i As Long", 4, "Dim", "変数", "i As Long", null},
        {"Private Const A = 1 ' max", 5, "Const", "定数", "A = 1", " max"},
        {"Global g As Integer", 1, "Global", "変数", "g As Integer", null},
        {"Public 顧客名 As String '名前", 2, "Public", "変数", "顧客名 As String", "名前"},
        {"If ok Then Call Done(x) ' fin", 6, "Call", "呼出", "Done(x)", " fin"},
        // The comment mark right behind the text, and an apostrophe inside a literal.
        {"Dim x As Long' note", 4, "Dim", "変数", "x As Long", " note"},
        {"Const SQL = \"WHERE 名前='a'\" ' 条件", 5, "Const", "定数", "SQL = \"WHERE 名前='a'\"",
         " 条件"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto got = vba::ParseDimCall(c.line);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->code, c.code);
        EXPECT_EQ(std::string(got->type) + "|" + std::string(got->bunrui) + "|" + got->text,
                  c.type + "|" + c.bunrui + "|" + c.text);
        EXPECT_EQ(got->comment, c.comment);
    }
    // Keywords in a comment, a literal or a longer name, and Dim after the start, are no
    // statements.
    for (const char* line :
         {"x = 1 ' Call Foo", "Rem Call Foo", "x = 1: Rem Call Foo", "MsgBox \"Call me\"",
          "lngRecall = 0", "IsPublic = True", "x = 1: Dim y", "ReDim a(5)"}) {
        EXPECT_FALSE(vba::ParseDimCall(line)) << line;
    }
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
