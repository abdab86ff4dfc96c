#include "host/export/macro_text.h"

#include <gtest/gtest.h>

#include "host/export/expect_error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

// "name|condition|action|comment|arguments; " per row.
std::string read(const std::string& text) {
    const auto m = ReadMacroText(ParseSavedText(text, "m.bas"), "mcr受注", "m.bas");
    std::string out;
    for (const auto& r : m.rows) {
        out += r.macroName + "|" + r.condition + "|" + r.action + "|" + r.comment + "|";
        for (const auto& a : r.arguments)
            out += a + ",";
        out += "; ";
    }
    return out;
}

TEST(ExportMacroText, readsTheRowsOfAMacroGroup) {
    EXPECT_EQ(read(R"SAT(Version =196611
ColumnsShown =3
Begin
    MacroName ="開く"
    Condition ="IsNull([Forms]![F]![ID])"
    Action ="MsgBox"
    Comment ="未入力なら知らせる"
    Argument ="IDがありません"
    Argument =""
End
Begin
    Condition ="..."
    Action ="StopMacro"
End
)SAT"),
              "開く|IsNull([Forms]![F]![ID])|MsgBox|未入力なら知らせる|IDがありません,,; "
              "|...|StopMacro||; ");
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

TEST(ExportMacroText, readsTheXmlRowsOnlyWhenTheSheetHasNone) {
    EXPECT_EQ(read(std::string("Version =196611\nBegin\n    Action =\"Beep\"\nEnd\n") + kXmlRows),
              "||Beep||; ");
    EXPECT_EQ(read(std::string("Version =196611\n") + kXmlRows),
              "|||起動時|; ||OpenForm||frmMain,; |[x]>1|Beep||; |...|StopMacro||; ");
}

TEST(ExportMacroText, rejectsBlocksInsideARow) {
    for (const char* text : {"Begin\n    Action =\"Beep\"\n    Begin\n    End\nEnd",
                             "Begin\n    Comment =\"_AXL:<Statements><Action>\"\nEnd"}) {
        zanfor::test::ExpectError([&] { read(text); }, err::kExportMalformed, "m.bas");
    }
}

}  // namespace
