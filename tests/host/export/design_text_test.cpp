#include "host/export/design_text.h"

#include <gtest/gtest.h>

#include "host/export/expect_error.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::exports;

// A form with the shapes of nesting Access writes: an attached label inside its text box, a
// tab control with a page holding a control, in two sections, after the per-type defaults.
constexpr const char* kForm = R"SAT(Version =19
Begin Form
    Begin
        Begin Label
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
                    End
                End
            End
        End
    End
End
)SAT";

TEST(ExportDesignText, controlsComeDepthFirstWithTheirParentsAndTheirTypesDefaults) {
    const DesignText d = ReadDesignText(ParseSavedText(kForm, "f.bas"), "f.bas");
    EXPECT_FALSE(d.report);
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[0].name, "FormHeader");
    EXPECT_EQ(d.sections[1].kind, "Section");
    // "name type code parent section; " per control.
    std::string controls;
    for (const auto& c : d.controls)
        controls += c.name + " " + c.typeName + " " + std::to_string(c.controlType) + " " +
                    std::to_string(c.parent) + " " + std::to_string(c.section) + "; ";
    EXPECT_EQ(controls,
              "lblTitle Label 100 -1 0; txt受注日 TextBox 109 -1 1; lbl受注日 Label 100 1 1; "
              "tab TabCtl 123 -1 1; p1 Page 124 3 1; chk CheckBox 106 4 1; ");
    // The defaults come first so that the control's own value, later, overrides them.
    std::string title;
    for (const auto& p : d.controls.at(0).properties)
        title += p.name + "=" + p.value.text + " ";
    EXPECT_EQ(title, "FontSize=9 Name=lblTitle FontSize=14 ");
    // No default block for pages: only the control's own properties.
    EXPECT_EQ(d.controls.at(4).properties.size(), 1u);
    EXPECT_EQ(ControlKindOf("UnboundObjectFrame").typeName, "ObjectFrame");
    EXPECT_EQ(ControlKindOf("WebBrowser").code, 0);
}

TEST(ExportDesignText, readsGroupLevelsAndCodeOfReports) {
    const auto text = ParseSavedText(R"SAT(Version =20
Begin Report
    Begin
        Begin BreakLevel
            ControlSource ="=Year([日付])"
        End
        Begin BreakHeader
            Name ="GroupHeader0"
        End
    End
End
CodeBehindForm
Option Compare Database
)SAT",
                                     "r.report");
    const DesignText d = ReadDesignText(text, "r.report");
    EXPECT_TRUE(d.report);
    ASSERT_EQ(d.groupLevels.size(), 1u);
    EXPECT_EQ(d.groupLevels[0].back().value.text, "=Year([日付])");
    EXPECT_EQ(d.sections.at(0).kind, "BreakHeader");
    EXPECT_EQ(d.code.value_or("none"), "Option Compare Database");
}

TEST(ExportDesignText, textWithoutFormOrReportIsAnError) {
    zanfor::test::ExpectError(
        [] { ReadDesignText(ParseSavedText("Version =196611\nBegin\nEnd", "m.bas"), "m.bas"); },
        err::kExportMalformed, "m.bas");
}

}  // namespace
