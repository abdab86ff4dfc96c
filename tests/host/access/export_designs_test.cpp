#include "host/access/export_designs.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <vector>

#include "access_fixture.h"
#include "host/access/file_application.h"
#include "host/error.h"
#include "host/export/expect_error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::test::ControlNamed;
using zanfor::test::ErrorOf;
namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view text) {
    fs::create_directories(file.parent_path());
    zanfor::util::WriteFileAtomically(file, text);
}

// Access 2000 SaveAsText of a form: an event, a default record, an option group with two kinds
// of buttons, pictures embedded with and without their file, a label in the header, its code.
constexpr const char* kForm = R"SAT(Version =19
Begin Form
    PopUp = NotDefault
    AllowAdditions = NotDefault
    Caption ="受注入力"
    OnOpen ="[Event Procedure]"
    PrtMip = Begin
        0x68010000
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
                End
            End
        End
        Begin Section
            Name ="Detail"
            Begin
                Begin TextBox
                    Name ="txt数量"
                    Locked = NotDefault
                    Begin
                        Begin Label
                            Name ="lbl数量"
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
                Begin Image
                    Name ="imgData"
                    PictureData = Begin
                        0x28000000
                    End
                End
                Begin Image
                    Name ="imgFile"
                    Picture ="logo.bmp"
                    PictureData = Begin
                        0x28000000
                    End
                End
            End
        End
    End
End
CodeBehindForm
Attribute VB_Creatable = True
Option Compare Database
)SAT";

constexpr const char* kReport = R"SAT(Version =20
Begin Report
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
            ControlSource ="=Year([日付])"
        End
        Begin BreakHeader
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
              "Attribute VB_Name = \"Report_R売上\"\nOption Explicit\n");
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
    EXPECT_EQ(zanfor::test::ValuesOf(f.properties, "PopUp AllowAdditions Caption OnOpen"),
              "True|False|受注入力|[Event Procedure]");
    // Binary values are not read: the printer settings keep their empty default.
    const auto* printer = f.properties.find("PrtMip");
    EXPECT_TRUE(!printer || printer->value.isNull());
    const Control& txt = ControlNamed(f, "txt数量");
    // FontSize comes from the form's default record.
    EXPECT_EQ(zanfor::test::ValuesOf(txt.properties, "Locked FontSize"), "True|9");
    // Access shows a Picture for a picture embedded without its file, which the text does not
    // hold; one with its file keeps the file's name.
    EXPECT_TRUE(ControlNamed(f, "imgData").isUnknown("Picture"));
    EXPECT_FALSE(ControlNamed(f, "imgFile").isUnknown("Picture"));
    EXPECT_TRUE(f.unknown.empty());
    ASSERT_TRUE(f.hasModule());
    EXPECT_EQ(f.module->name(), "Form_F受注");
    EXPECT_EQ(f.module->model().Lines(1, 1), "Option Compare Database");
}

// The Controls collection in the order of the text, each with its holder and section; a
// button inside an option group has OptionValue at the index the collectors read.
TEST_F(ExportApplication, controlsKeepTheOrderOfTheTextAndTheirContainers) {
    const DesignObject& f = app_.openForm("F受注", View::Design);
    std::vector<std::string> got;
    for (const Control& c : f.controls)
        got.push_back(c.name() + " " + std::to_string(c.controlType()) + " " + c.parent + " " +
                      c.properties.get("Section").toText());
    EXPECT_EQ(got, (std::vector<std::string>{
                       "lblTitle 100 FormHeader 1", "txt数量 109 Detail 0", "lbl数量 100 txt数量 0",
                       "grp区分 107 Detail 0", "opt店頭 105 grp区分 0", "tgl通販 122 grp区分 0",
                       "opt単独 105 Detail 0", "imgData 103 Detail 0", "imgFile 103 Detail 0"}));
    EXPECT_EQ(f.sections.size(), 2u);
    EXPECT_EQ(ControlNamed(f, "opt店頭").properties.at(3).value, Value(1));
    EXPECT_EQ(ControlNamed(f, "tgl通販").properties.at(7).name, "OptionValue");
    EXPECT_NE(ControlNamed(f, "opt単独").properties.at(3).name, "OptionValue");
    // Closing without saving drops the changes.
    DesignObject& changed = app_.openForm("F受注", View::Design);
    changed.controls.clear();
    app_.close(ObjectType::Form, "f受注");
    EXPECT_TRUE(app_.openObjectNames().empty());
    EXPECT_EQ(app_.openForm("F受注", View::Design).controls.size(), 9u);
}

TEST_F(ExportApplication, aReportsGroupLevelsComeFromItsBreakLevels) {
    const DesignObject& r = app_.openReport("R売上", View::Design);
    ASSERT_TRUE(r.hasModule());
    EXPECT_EQ(r.module->model().Lines(1, 1), "Option Explicit");
    ASSERT_EQ(r.groupLevels.size(), 2u);
    std::string levels;  // source, header, sort, group on, interval
    for (const GroupLevel& g : r.groupLevels) {
        for (const Value& v :
             {g.controlSource, g.groupHeader, g.sortOrder, g.groupOn, g.groupInterval})
            levels += v.toText() + " ";
    }
    EXPECT_EQ(levels, "得意先 True False 0 1 =Year([日付]) False True 2 5 ");
    EXPECT_EQ(ErrorOf([&] { r.groupLevel(2); }), err::kNoGroupLevel);
    // A group's header and footer sections are numbered for the level they belong to.
    EXPECT_EQ(ControlNamed(r, "txt得意先").properties.get("Section"), Value(5));
    EXPECT_EQ(ControlNamed(r, "txt計").properties.get("Section"), Value(8));
}

// The code readers make the target current again each; the target is decoded once per run
// all the same, and anew only when it changed.
TEST_F(ExportApplication, reopeningTheUnchangedTargetReusesWhatWasDecoded) {
    const Module* before = &app_.openModule("mod共通");
    app_.closeCurrentDatabase();
    EXPECT_THROW(app_.currentDb(), Error);
    app_.openCurrentDatabase(root_.string());
    EXPECT_EQ(app_.decodeCount(), 1);
    EXPECT_EQ(&app_.openModule("mod共通"), before);
    fs::last_write_time(root_, fs::last_write_time(root_) + std::chrono::seconds(5));
    app_.closeCurrentDatabase();
    app_.openCurrentDatabase(root_.string());
    EXPECT_EQ(app_.decodeCount(), 2);
}

TEST_F(ExportApplication, reportsWhatCannotBeOpenedWithAccessNumbers) {
    EXPECT_EQ(ErrorOf([&] { app_.openForm("無い", View::Design); }), err::kNoSuchObject);
    EXPECT_EQ(ErrorOf([&] { app_.openReport("無い", View::Design); }), 2103);
    EXPECT_EQ(ErrorOf([&] { app_.macroDefinition("無い"); }), 2046);
    zanfor::test::ExpectError([&] { app_.openForm("F壊れ", View::Design); }, err::kExportMalformed,
                              "F壊れ.bas' の 3 行目");
    EXPECT_EQ(ErrorOf([&] { FileEngine().openDatabase((dir_.path() / "無い.mdb").string()); }),
              err::kCannotOpenFile);
}

// Beside an .mdb, the export's design of an object wins over what the file holds; the others
// still come from the file.
TEST(ExportApplicationBesideFile, exportWinsObjectByObject) {
    ZANFOR_REQUIRE_TESTDATA(data);
    zanfor::test::TempDir dir;
    const fs::path mdb = dir / "Compacta.mdb";
    fs::copy_file(data / "mdb/ailtonz-Compacta.mdb", mdb);
    write(dir / "Compacta.mdb.src/forms/FrmAbout.bas", kForm);
    FileApplication app;
    app.openCurrentDatabase(mdb.string());
    EXPECT_EQ(app.openForm("FrmAbout", View::Design).controls.size(), 9u);
    // Not in the export: the design stored in the file, with its whole property collection.
    const DesignObject& fromFile = app.openForm("FrmBco", View::Design);
    EXPECT_EQ(fromFile.properties.get("Caption"), Value("Compactador"));
    EXPECT_TRUE(fromFile.hasModule());
}

// Every form and report of real export sets opens, each control with its holder: counted as
// the sets' files show them (forms, those with code, reports, those with grouping levels).
TEST(ExportRealDesigns, everyFormAndReportOfTheExportSetsOpens) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::pair<const char*, std::array<std::size_t, 4>> cases[] = {
        {"exports/ncrn-birds/source", {42, 37, 21, 14}},
        {"exports/msaccess-vcs-testing/Testing.accdb.src", {5, 4, 3, 1}},
    };
    for (const auto& [folder, expected] : cases) {
        FileApplication app;
        app.openCurrentDatabase((data / folder).string());
        std::array<std::size_t, 4> got{};
        for (const auto type : {ObjectType::Form, ObjectType::Report}) {
            const bool form = type == ObjectType::Form;
            for (const auto& d : app.currentDb().container(form ? "Forms" : "Reports").documents) {
                const DesignObject& o = form ? app.openForm(d.name, View::Design)
                                             : app.openReport(d.name, View::Design);
                got[form ? 0 : 2] += 1;
                got[form ? 1 : 3] += form ? o.hasModule() : !o.groupLevels.empty();
                for (const auto& control : o.controls)
                    EXPECT_FALSE(control.parent.empty()) << d.name << "." << control.name();
                app.close(type, d.name);
            }
        }
        EXPECT_EQ(got, expected) << folder;
    }
}

}  // namespace
