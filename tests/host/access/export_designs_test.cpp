#include "host/access/export_designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "host/access/file_application.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    zanfor::util::WriteFileAtomically(file, text);
}

// The index of a property in a collection; nullopt when absent.
std::optional<std::size_t> indexOf(const Properties& props, std::string_view name) {
    for (std::size_t i = 0; i < props.count(); ++i) {
        if (props.at(i).name == name)
            return i;
    }
    return std::nullopt;
}

const Control& controlNamed(const DesignObject& o, std::string_view name) {
    for (const auto& c : o.controls) {
        if (c.name() == name)
            return c;
    }
    throw std::runtime_error("no control " + std::string(name));
}

// Access 2000 SaveAsText of a form: events on the form and on a text box, an option group with
// two kinds of buttons, a tab control, a label in the header, and its code.
constexpr const char* kForm = R"SAT(Version =19
VersionRequired =19
Begin Form
    PopUp = NotDefault
    AllowAdditions = NotDefault
    DefaultView =0
    Caption ="受注入力"
    RecordSource ="受注"
    OnCurrent ="[Event Procedure]"
    OnOpen ="[Event Procedure]"
    PrtMip = Begin
        0x6801000068010000
    End
    Begin
        Begin TextBox
            FontSize =9
        End
        Begin FormHeader
            Name ="FormHeader"
            Begin
                Begin Label
                    Name ="lblTitle"
                    Caption ="受注"
                    Left =567
                    Top =1134
                End
            End
        End
        Begin Section
            Name ="Detail"
            Begin
                Begin TextBox
                    Name ="txt数量"
                    ControlSource ="数量"
                    AfterUpdate ="[Event Procedure]"
                    Locked = NotDefault
                    Begin
                        Begin Label
                            Name ="lbl数量"
                            Caption ="数量"
                        End
                    End
                End
                Begin OptionGroup
                    Name ="grp区分"
                    Begin
                        Begin OptionButton
                            Name ="opt店頭"
                            OptionValue =1
                        End
                        Begin ToggleButton
                            Name ="tgl通販"
                            OptionValue =2
                        End
                    End
                End
                Begin OptionButton
                    Name ="opt単独"
                End
                Begin Tab
                    Name ="tab"
                    Begin
                        Begin Page
                            Name ="pg1"
                        End
                    End
                End
            End
        End
    End
End
CodeBehindForm
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Option Compare Database

Private Sub Form_Open(Cancel As Integer)
End Sub
)SAT";

constexpr const char* kReport = R"SAT(Version =20
Begin Report
    RecordSource ="受注"
    Begin
        Begin BreakLevel
            GroupHeader = NotDefault
            ControlSource ="得意先"
        End
        Begin BreakLevel
            SortOrder = NotDefault
            GroupFooter = NotDefault
            GroupOn =2
            GroupInterval =5
            KeepTogether =1
            ControlSource ="=Year([日付])"
        End
        Begin BreakHeader
            Name ="GroupHeader0"
            Begin
                Begin TextBox
                    Name ="txt得意先"
                End
            End
        End
        Begin Section
            Name ="Detail"
        End
        Begin BreakFooter
            Name ="GroupFooter1"
            Begin
                Begin TextBox
                    Name ="txt計"
                End
            End
        End
    End
End
)SAT";

class ExportApplication : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = dir_.path() / "販売.mdb.src";
        write(root_ / "forms/F受注.bas", kForm);
        write(root_ / "forms/F壊れ.bas", "Version =20\nBegin Form\n    Caption =\"x\n");
        write(root_ / "reports/R売上.report", kReport);
        write(root_ / "reports/R売上.cls",
              "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nEND\n"
              "Attribute VB_Name = \"Report_R売上\"\nOption Explicit\n");
        write(root_ / "macros/M受注.bas",
              "Version =196611\nBegin\n    MacroName =\"開く\"\n    Action =\"OpenForm\"\n"
              "    Argument =\"F受注\"\n    Argument =\"0\"\nEnd\n");
        write(root_ / "modules/mod共通.bas", "Option Explicit\n");
        app_.openCurrentDatabase(root_.string());
    }

    zanfor::test::TempDir dir_;
    fs::path root_;
    FileApplication app_;
};

TEST_F(ExportApplication, aFormsPropertiesAreTheSchemasWithTheStoredValues) {
    const DesignObject& f = app_.openForm("f受注", View::Design);
    EXPECT_EQ(f.name, "F受注");
    EXPECT_EQ(f.kind, ObjectType::Form);
    EXPECT_EQ(f.properties.get("PopUp"), Value(true));
    EXPECT_EQ(f.properties.get("AllowAdditions"), Value(false));
    EXPECT_EQ(f.properties.get("Caption"), Value("受注入力"));
    EXPECT_EQ(f.properties.get("HasModule"), Value(true));
    // Binary values are not read: the printer settings keep their empty default.
    const auto* printer = f.properties.find("PrtMip");
    EXPECT_TRUE(!printer || printer->value.isNull());
    // The collectors read the form's events by index, 82 to 112.
    for (const char* event : {"OnOpen", "OnCurrent"}) {
        const auto i = indexOf(f.properties, event);
        ASSERT_TRUE(i) << event;
        EXPECT_GE(*i, 82u) << event;
        EXPECT_LE(*i, 112u) << event;
        EXPECT_EQ(f.properties.at(*i).value, Value("[Event Procedure]"));
    }
    const Control& txt = controlNamed(f, "txt数量");
    const auto i = indexOf(txt.properties, "AfterUpdate");
    ASSERT_TRUE(i);
    EXPECT_GE(*i, 66u);
    EXPECT_LE(*i, 80u);
    EXPECT_EQ(txt.properties.at(*i).value, Value("[Event Procedure]"));
    EXPECT_EQ(txt.properties.get("Locked"), Value(true));
    EXPECT_EQ(txt.properties.get("FontSize"), Value(9));
}

TEST_F(ExportApplication, controlsKeepTheOrderOfTheTextAndTheirContainers) {
    const DesignObject& f = app_.openForm("F受注", View::Design);
    struct Row {
        const char* name;
        int type;
        const char* parent;
        int section;
    };
    const Row expected[] = {
        {"lblTitle", 100, "FormHeader", 1},
        {"txt数量", 109, "Detail", 0},
        {"lbl数量", 100, "txt数量", 0},
        {"grp区分", 107, "Detail", 0},
        {"opt店頭", 105, "grp区分", 0},
        {"tgl通販", 122, "grp区分", 0},
        {"opt単独", 105, "Detail", 0},
        {"tab", 123, "Detail", 0},
        {"pg1", 124, "tab", 0},
    };
    ASSERT_EQ(f.controls.size(), std::size(expected));
    for (std::size_t i = 0; i < f.controls.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(f.controls[i].name(), expected[i].name);
        EXPECT_EQ(f.controls[i].controlType(), expected[i].type);
        EXPECT_EQ(f.controls[i].parent, expected[i].parent);
        EXPECT_EQ(f.controls[i].properties.get("Section"), Value(expected[i].section));
    }
    EXPECT_EQ(controlNamed(f, "lblTitle").properties.get("Left"), Value(567));
    ASSERT_EQ(f.sections.size(), 2u);
}

// A button inside an option group has OptionValue where the collectors look for it.
TEST_F(ExportApplication, optionGroupMembersHaveTheirOptionValueAtTheIndexRead) {
    const DesignObject& f = app_.openForm("F受注", View::Design);
    EXPECT_EQ(controlNamed(f, "opt店頭").properties.at(3).name, "OptionValue");
    EXPECT_EQ(controlNamed(f, "opt店頭").properties.at(3).value, Value(1));
    EXPECT_EQ(controlNamed(f, "tgl通販").properties.at(7).name, "OptionValue");
    EXPECT_NE(controlNamed(f, "opt単独").properties.at(3).name, "OptionValue");
}

TEST_F(ExportApplication, theCodeBehindAFormIsItsModule) {
    const DesignObject& f = app_.openForm("F受注", View::Design);
    ASSERT_TRUE(f.hasModule());
    EXPECT_EQ(f.module->name(), "Form_F受注");
    EXPECT_EQ(f.module->model().Lines(1, 1), "Option Compare Database");
    EXPECT_EQ(app_.openModule("Form_F受注").name(), "Form_F受注");
    const DesignObject& r = app_.openReport("R売上", View::Design);
    ASSERT_TRUE(r.hasModule());
    EXPECT_EQ(r.module->model().Lines(1, 1), "Option Explicit");
}

TEST_F(ExportApplication, aReportsGroupLevelsComeFromItsBreakLevels) {
    const DesignObject& r = app_.openReport("R売上", View::Design);
    ASSERT_EQ(r.groupLevels.size(), 2u);
    EXPECT_EQ(r.groupLevel(0).controlSource, Value("得意先"));
    EXPECT_EQ(r.groupLevel(0).groupHeader, Value(true));
    EXPECT_EQ(r.groupLevel(0).sortOrder, Value(false));
    EXPECT_EQ(r.groupLevel(0).groupInterval, Value(1));
    EXPECT_EQ(r.groupLevel(1).sortOrder, Value(true));
    EXPECT_EQ(r.groupLevel(1).groupFooter, Value(true));
    EXPECT_EQ(r.groupLevel(1).groupOn, Value(2));
    EXPECT_EQ(r.groupLevel(1).groupInterval, Value(5));
    EXPECT_EQ(r.groupLevel(1).keepTogether, Value(1));
    try {
        r.groupLevel(2);
        ADD_FAILURE() << "no error past the last level";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kNoGroupLevel);
    }
    // A group's header and footer sections are numbered for the level they belong to.
    EXPECT_EQ(controlNamed(r, "txt得意先").properties.get("Section"), Value(5));
    EXPECT_EQ(controlNamed(r, "txt計").properties.get("Section"), Value(8));
}

TEST_F(ExportApplication, closingWithoutSavingChangesNothing) {
    DesignObject& f = app_.openForm("F受注", View::Design);
    f.properties.set("Caption", Value("変更"));
    f.controls.clear();
    app_.close(ObjectType::Form, "f受注");
    EXPECT_TRUE(app_.openObjectNames().empty());
    const DesignObject& again = app_.openForm("F受注", View::Design);
    EXPECT_EQ(again.properties.get("Caption"), Value("受注入力"));
    EXPECT_EQ(again.controls.size(), 9u);
}

TEST_F(ExportApplication, convertsAMacroIntoAModuleThatCanBeDeleted) {
    const std::string name = std::string(kConvertedMacroPrefix) + "M受注";
    app_.selectObject(ObjectType::Macro, "M受注");
    app_.runCommand(kCmdConvertMacrosToVisualBasic);
    const Module& m = app_.openModule(name);
    EXPECT_EQ(m.name(), name);
    EXPECT_EQ(m.type(), ModuleType::Standard);
    EXPECT_GT(m.model().CountOfLines(), 0);
    app_.close(ObjectType::Module, name);
    app_.deleteObject(ObjectType::Module, name);
    EXPECT_TRUE(app_.openObjectNames().empty());
    try {
        app_.openModule(name);
        ADD_FAILURE() << "the converted module is still there";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 2516);
    }
    // Only what the conversion made can be deleted; the target's own modules stay.
    for (const char* module : {name.c_str(), "mod共通"}) {
        try {
            app_.deleteObject(ObjectType::Module, module);
            ADD_FAILURE() << "deleted " << module;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 2046);
        }
    }
    EXPECT_EQ(app_.currentDb().container("Modules").documents.size(), 1u);
}

TEST_F(ExportApplication, reportsWhatCannotBeOpenedWithAccessNumbers) {
    struct Case {
        const char* name;
        std::function<void()> call;
        int number;
    };
    const Case cases[] = {
        {"missing form", [&] { app_.openForm("無い", View::Design); }, err::kNoSuchObject},
        {"missing report", [&] { app_.openReport("無い", View::Design); }, 2103},
        {"malformed form", [&] { app_.openForm("F壊れ", View::Design); }, err::kExportMalformed},
        {"converting without a macro selected",
         [&] { app_.runCommand(kCmdConvertMacrosToVisualBasic); }, 2046},
        {"converting a macro that is not there",
         [&] {
             app_.selectObject(ObjectType::Macro, "無い");
             app_.runCommand(kCmdConvertMacrosToVisualBasic);
         },
         2046},
        {"another command",
         [&] {
             app_.selectObject(ObjectType::Macro, "M受注");
             app_.runCommand(1);
         },
         2046},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error: " << c.name;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
            if (c.number == err::kExportMalformed) {
                EXPECT_NE(e.description().find("F壊れ.bas' の 3 行目"), std::string::npos);
            }
        }
    }
    app_.closeCurrentDatabase();
    EXPECT_THROW(app_.openForm("F受注", View::Design), Error);
}

TEST_F(ExportApplication, theEngineOpensAFolderAsAWholeTarget) {
    FileEngine engine;
    auto db = engine.openDatabase(root_.string());
    EXPECT_EQ(db->container("Scripts").documents.at(0).name, "M受注");
    try {
        engine.openDatabase((dir_.path() / "無い.mdb").string());
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kCannotOpenFile);
    }
}

// Beside an .mdb, the export's design of an object wins over what the file holds; the others
// still come from the file.
TEST(ExportApplicationBesideFile, exportWinsObjectByObject) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        GTEST_SKIP() << "../shared/testdata is absent";
    zanfor::test::TempDir dir;
    const fs::path mdb = dir / "Compacta.mdb";
    fs::copy_file(*data / "mdb/ailtonz-Compacta.mdb", mdb);
    write(dir / "Compacta.mdb.src/forms/FrmAbout.bas", kForm);
    write(dir / "Compacta.mdb.src/macros/autoexec.bas",
          "Version =196611\nBegin\n    Action =\"Beep\"\nEnd\n");
    const std::string before = zanfor::test::FileBytes(mdb);

    FileApplication app;
    app.openCurrentDatabase(mdb.string());
    EXPECT_EQ(app.openForm("FrmAbout", View::Design).controls.size(), 9u);
    // Not in the export: the design stored in the file, with its whole property collection.
    const DesignObject& fromFile = app.openForm("FrmBco", View::Design);
    EXPECT_EQ(fromFile.properties.get("Caption"), Value("Compactador"));
    ASSERT_FALSE(fromFile.controls.empty());
    EXPECT_EQ(fromFile.controls[0].name(), "Caixa18");
    EXPECT_EQ(fromFile.controls[0].parent, "Detalhe");
    EXPECT_GT(fromFile.controls[0].properties.count(), 10u);
    EXPECT_TRUE(fromFile.hasModule());
    app.selectObject(ObjectType::Macro, "autoexec");
    app.runCommand(kCmdConvertMacrosToVisualBasic);
    EXPECT_GT(
        app.openModule(std::string(kConvertedMacroPrefix) + "autoexec").model().CountOfLines(), 0);
    app.closeCurrentDatabase();
    EXPECT_EQ(zanfor::test::FileBytes(mdb), before);
}

fs::path testdata() {
    auto data = zanfor::test::SharedTestData();
    return data ? *data : fs::path();
}

#define REQUIRE_TESTDATA()  \
    if (testdata().empty()) \
    GTEST_SKIP() << "../shared/testdata is absent"

// An Access 2000 export whose form has event procedures in OnOpen and OnCurrent and a text box
// with one in AfterUpdate: each sits inside the range the collectors read.
TEST(ExportRealDesigns, eventProceduresSitAtTheIndexesRead) {
    REQUIRE_TESTDATA();
    FileApplication app;
    app.openCurrentDatabase((testdata() / "exports/ube-utility/ubeUtility V1-4.mdb.src").string());
    const DesignObject& f = app.openForm("ubeForm", View::Design);
    std::vector<std::string> formEvents;
    for (std::size_t i = 82; i <= 112 && i < f.properties.count(); ++i) {
        if (i != 108 && f.properties.at(i).value == Value("[Event Procedure]"))
            formEvents.push_back(f.properties.at(i).name);
    }
    for (const char* e : {"OnOpen", "OnCurrent"}) {
        EXPECT_NE(std::find(formEvents.begin(), formEvents.end(), e), formEvents.end()) << e;
    }
    const Control& txt = controlNamed(f, "txtLastRef");
    std::vector<std::string> controlEvents;
    for (std::size_t i = 66; i <= 80; ++i) {
        if (txt.properties.at(i).value == Value("[Event Procedure]"))
            controlEvents.push_back(txt.properties.at(i).name);
    }
    EXPECT_EQ(controlEvents, (std::vector<std::string>{"AfterUpdate", "OnKeyPress"}));
    EXPECT_TRUE(f.hasModule());
}

TEST(ExportRealDesigns, everyFormAndReportOfTheExportSetsOpens) {
    REQUIRE_TESTDATA();
    struct Case {
        const char* folder;
        std::size_t forms, formsWithCode, reports, groupedReports, macroRows;
    };
    const Case cases[] = {
        {"exports/ncrn-birds/source", 42, 37, 21, 14, 3},
        {"exports/ube-utility/ubeUtility V1-4.mdb.src", 2, 1, 0, 0, 1},
        {"exports/msaccess-vcs-testing/Testing.accdb.src", 5, 4, 3, 1, 2},
        {"pairs/strings", 12, 12, 0, 0, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        FileApplication app;
        app.openCurrentDatabase((testdata() / c.folder).string());
        auto& db = app.currentDb();
        std::size_t withCode = 0, controls = 0;
        for (const auto& d : db.container("Forms").documents) {
            const DesignObject& f = app.openForm(d.name, View::Design);
            withCode += f.hasModule() ? 1 : 0;
            controls += f.controls.size();
            for (const auto& control : f.controls)
                EXPECT_FALSE(control.parent.empty()) << d.name << "." << control.name();
            app.close(ObjectType::Form, d.name);
        }
        std::size_t grouped = 0;
        for (const auto& d : db.container("Reports").documents) {
            const DesignObject& r = app.openReport(d.name, View::Design);
            grouped += r.groupLevels.empty() ? 0 : 1;
            app.close(ObjectType::Report, d.name);
        }
        std::size_t rows = 0;
        for (const auto& d : db.container("Scripts").documents) {
            rows += app.macroDefinition(d.name).rows.size();
            app.selectObject(ObjectType::Macro, d.name);
            app.runCommand(kCmdConvertMacrosToVisualBasic);
            const std::string module = std::string(kConvertedMacroPrefix) + d.name;
            EXPECT_GT(app.openModule(module).model().CountOfLines(), 0);
            app.close(ObjectType::Module, module);
            app.deleteObject(ObjectType::Module, module);
        }
        EXPECT_EQ(db.container("Forms").documents.size(), c.forms);
        EXPECT_EQ(withCode, c.formsWithCode);
        EXPECT_GT(controls, 0u);
        EXPECT_EQ(db.container("Reports").documents.size(), c.reports);
        EXPECT_EQ(grouped, c.groupedReports);
        EXPECT_EQ(rows, c.macroRows);
        EXPECT_TRUE(app.openObjectNames().empty());
    }
}

}  // namespace
