#include "host/export/design_text.h"

#include <gtest/gtest.h>

#include "host/error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

// A form with the shapes of nesting Access writes: an attached label inside its text box, an
// option group with its buttons (one with its own label), a tab control with pages holding
// controls, in two sections, after the per-type default settings.
constexpr const char* kForm = R"SAT(Version =19
VersionRequired =19
Begin Form
    PopUp = NotDefault
    Caption ="受注"
    Begin
        Begin Label
            FontName ="MS UI Gothic"
            FontSize =9
        End
        Begin TextBox
            FontSize =10
        End
        Begin FormHeader
            Name ="FormHeader"
            Begin
                Begin Label
                    Name ="lblTitle"
                    FontSize =14
                End
            End
        End
        Begin Section
            Name ="Detail"
            Begin
                Begin TextBox
                    Name ="txt受注日"
                    Begin
                        Begin Label
                            Name ="lbl受注日"
                        End
                    End
                End
                Begin OptionGroup
                    Name ="grp区分"
                    Begin
                        Begin OptionButton
                            Name ="opt1"
                            Begin
                                Begin Label
                                    Name ="lblOpt1"
                                End
                            End
                        End
                        Begin ToggleButton
                            Name ="tgl2"
                        End
                    End
                End
                Begin Tab
                    Name ="tab"
                    Begin
                        Begin Page
                            Name ="p1"
                            Begin
                                Begin CheckBox
                                    Name ="chk"
                                End
                            End
                        End
                        Begin Page
                            Name ="p2"
                        End
                    End
                End
                Begin EmptyCell
                    Name ="cell"
                End
            End
        End
    End
End
)SAT";

TEST(ExportDesignText, controlsComeDepthFirstWithTheirParents) {
    const DesignText d = ReadDesignText(ParseSavedText(kForm, "f.bas"), "f.bas");
    EXPECT_FALSE(d.report);
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[0].name, "FormHeader");
    EXPECT_EQ(d.sections[1].kind, "Section");
    struct Row {
        const char* name;
        const char* type;
        int code;
        int parent;
        int section;
    };
    const Row expected[] = {
        {"lblTitle", "Label", 100, -1, 0},   {"txt受注日", "TextBox", 109, -1, 1},
        {"lbl受注日", "Label", 100, 1, 1},   {"grp区分", "OptionGroup", 107, -1, 1},
        {"opt1", "OptionButton", 105, 3, 1}, {"lblOpt1", "Label", 100, 4, 1},
        {"tgl2", "ToggleButton", 122, 3, 1}, {"tab", "TabCtl", 123, -1, 1},
        {"p1", "Page", 124, 7, 1},           {"chk", "CheckBox", 106, 8, 1},
        {"p2", "Page", 124, 7, 1},           {"cell", "EmptyCell", 0, -1, 1},
    };
    ASSERT_EQ(d.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < d.controls.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(d.controls[i].name, expected[i].name);
        EXPECT_EQ(d.controls[i].typeName, expected[i].type);
        EXPECT_EQ(d.controls[i].controlType, expected[i].code);
        EXPECT_EQ(d.controls[i].parent, expected[i].parent);
        EXPECT_EQ(d.controls[i].section, expected[i].section);
    }
}

TEST(ExportDesignText, aControlStartsFromTheFormsDefaultsForItsType) {
    const DesignText d = ReadDesignText(ParseSavedText(kForm, "f.bas"), "f.bas");
    const auto& title = d.controls.at(0);
    // The defaults come first so that the control's own value, later, overrides them.
    ASSERT_EQ(title.properties.size(), 4u);
    EXPECT_EQ(title.properties[0].name, "FontName");
    EXPECT_EQ(title.properties[1].value.text, "9");
    EXPECT_EQ(title.properties[3].name, "FontSize");
    EXPECT_EQ(title.properties[3].value.text, "14");
    // No default block for option buttons: only the control's own properties.
    EXPECT_EQ(d.controls.at(4).properties.size(), 1u);
}

TEST(ExportDesignText, readsGroupLevelsAndCodeOfReports) {
    const auto text = ParseSavedText(R"SAT(Version =20
Begin Report
    Begin
        Begin BreakLevel
            GroupHeader = NotDefault
            ControlSource ="得意先"
        End
        Begin BreakLevel
            SortOrder = NotDefault
            ControlSource ="=Year([日付])"
        End
        Begin BreakHeader
            Name ="GroupHeader0"
        End
        Begin Section
            Name ="Detail"
        End
    End
End
CodeBehindForm
Option Compare Database
)SAT",
                                     "r.report");
    const DesignText d = ReadDesignText(text, "r.report");
    EXPECT_TRUE(d.report);
    ASSERT_EQ(d.groupLevels.size(), 2u);
    EXPECT_EQ(d.groupLevels[1].back().value.text, "=Year([日付])");
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[0].kind, "BreakHeader");
    ASSERT_TRUE(d.code);
    EXPECT_EQ(*d.code, "Option Compare Database");
}

TEST(ExportDesignText, textWithoutFormOrReportIsAnError) {
    try {
        ReadDesignText(ParseSavedText("Version =196611\nBegin\n    Action =\"Beep\"\nEnd", "m.bas"),
                       "m.bas");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kExportMalformed);
        EXPECT_NE(e.description().find("m.bas"), std::string::npos);
    }
}

TEST(ExportDesignText, mapsBlockKindsToControlTypes) {
    struct Case {
        const char* kind;
        int code;
        const char* typeName;
    };
    const Case cases[] = {
        {"Tab", 123, "TabCtl"},          {"UnboundObjectFrame", 114, "ObjectFrame"},
        {"Subform", 112, "Subform"},     {"BoundObjectFrame", 108, "BoundObjectFrame"},
        {"PageBreak", 118, "PageBreak"}, {"CustomControl", 119, "CustomControl"},
        {"WebBrowser", 0, "WebBrowser"}};
    for (const auto& c : cases) {
        const ControlKind k = ControlKindOf(c.kind);
        EXPECT_EQ(k.code, c.code) << c.kind;
        EXPECT_EQ(k.typeName, c.typeName) << c.kind;
    }
}

}  // namespace
