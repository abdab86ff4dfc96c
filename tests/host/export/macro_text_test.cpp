#include "host/export/macro_text.h"

#include <gtest/gtest.h>

#include "host/error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;
using zanfor::host::access::MacroDefinition;

MacroDefinition read(const std::string& text) {
    return ReadMacroText(ParseSavedText(text, "m.bas"), "mcr受注", "m.bas");
}

TEST(ExportMacroText, readsTheRowsOfAMacroGroup) {
    const auto m = read(R"SAT(Version =196611
ColumnsShown =3
Begin
    MacroName ="開く"
    Condition ="IsNull([Forms]![F]![ID])"
    Action ="MsgBox"
    Comment ="未入力なら知らせる"
    Argument ="IDがありません"
    Argument ="-1"
    Argument ="0"
    Argument =""
End
Begin
    Condition ="..."
    Action ="StopMacro"
End
Begin
    Comment ="コメントだけの行"
End
Begin
    MacroName ="閉じる"
    Action ="Close"
    Argument ="2"
    Argument ="F受注"
    Argument ="0"
End
)SAT");
    EXPECT_EQ(m.name, "mcr受注");
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(m.rows[0].macroName, "開く");
    EXPECT_EQ(m.rows[0].condition, "IsNull([Forms]![F]![ID])");
    EXPECT_EQ(m.rows[0].action, "MsgBox");
    EXPECT_EQ(m.rows[0].comment, "未入力なら知らせる");
    EXPECT_EQ(m.rows[0].arguments, (std::vector<std::string>{"IDがありません", "-1", "0", ""}));
    EXPECT_EQ(m.rows[1].macroName, "");
    EXPECT_EQ(m.rows[1].condition, "...");
    EXPECT_TRUE(m.rows[1].arguments.empty());
    EXPECT_EQ(m.rows[2].action, "");
    EXPECT_EQ(m.rows[2].comment, "コメントだけの行");
    EXPECT_EQ(m.rows[3].arguments.at(1), "F受注");
}

// Later versions append the macro as XML in comment-only rows; they are no rows of the sheet.
constexpr const char* kXmlRows = R"SAT(Begin
    Comment ="_AXL:<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"no\"?>\015\012<UserI"
        "nterfaceMacro xmlns=\"http://schemas.microsoft.com/office/accessservices/2009/11/app"
        "lication\"><Statements><Comment>起動時</Comment><Action Name=\"OpenForm\"><Argument"
        " Name=\"FormName\">frmMain</Argument></Action></Statements>"
End
Begin
    Comment ="_AXL:<ConditionalBlock><If><Condition>[x]&gt;1</Condition><Statements><Action Na"
        "me=\"Beep\"/><Action Name=\"StopMacro\"/></Statements></If></ConditionalBlock></UserInt"
        "erfaceMacro>"
End
)SAT";

TEST(ExportMacroText, leavesOutTheXmlRowsWhenTheSheetHasRows) {
    const auto m =
        read(std::string("Version =196611\nBegin\n    Action =\"Beep\"\nEnd\n") + kXmlRows);
    ASSERT_EQ(m.rows.size(), 1u);
    EXPECT_EQ(m.rows[0].action, "Beep");
}

TEST(ExportMacroText, readsAMacroKeptOnlyAsXml) {
    const auto m = read(std::string("Version =196611\n") + kXmlRows);
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(m.rows[0].comment, "起動時");
    EXPECT_EQ(m.rows[1].action, "OpenForm");
    EXPECT_EQ(m.rows[1].arguments, std::vector<std::string>{"frmMain"});
    EXPECT_EQ(m.rows[2].action, "Beep");
    EXPECT_EQ(m.rows[2].condition, "[x]>1");
    EXPECT_EQ(m.rows[3].condition, "...");
}

TEST(ExportMacroText, rejectsBlocksInsideARow) {
    for (const char* text : {"Begin\n    Action =\"Beep\"\n    Begin\n    End\nEnd",
                             "Begin\n    Comment =\"_AXL:<Statements><Action>\"\nEnd"}) {
        try {
            read(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kExportMalformed);
            EXPECT_NE(e.description().find("m.bas"), std::string::npos);
        }
    }
}

}  // namespace
