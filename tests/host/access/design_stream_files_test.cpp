// The stored designs of the real files: Strings.mdb against the exports Access wrote of it,
// the two Northwind copies against their control lists and the format note's worked examples,
// and every form, report and macro of every sample file.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "access_fixture.h"
#include "host/access/access_project.h"
#include "host/access/design_directory.h"
#include "host/access/design_printout.h"
#include "host/access/design_reader.h"
#include "host/access/file_application.h"
#include "host/access/macro_converter.h"
#include "host/error.h"
#include "host/export/design_text.h"
#include "host/export/saved_text.h"
#include "test_support.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::test::ControlNamed;
using zanfor::test::ErrorOf;
namespace exports = zanfor::host::exports;
namespace fs = std::filesystem;

// Yes/no settings the export writes as numbers ("AllowDatasheetView =0") are the same setting.
bool sameValue(const Value& a, const Value& b) {
    using Kind = Value::Kind;
    const auto number = [](const Value& v) {
        return v.kind() == Kind::Integer || v.kind() == Kind::Double;
    };
    if (a.kind() == Kind::Bool || b.kind() == Kind::Bool)
        return a == b || ((number(a) || number(b)) && a.toBool() == b.toBool());
    return a == b || (number(a) && number(b) && a.toDouble() == b.toDouble());
}

// Every difference left between a Strings.mdb form read from the file and the same form read
// from its export, with the reason it stays.
const std::pair<const char*, const char*> kExplained[] = {
    // The window of this form was moved between the save the export was taken from and the
    // one the file holds: all four edges shift by the same amount (1080, 315 twips).
    {"frmSERV_Progress/(form)/Left: 11520 | 10440", "window saved elsewhere"},
    {"frmSERV_Progress/(form)/Top: 4275 | 3960", "window saved elsewhere"},
    {"frmSERV_Progress/(form)/Right: 17190 | 16110", "window saved elsewhere"},
    {"frmSERV_Progress/(form)/Bottom: 6345 | 6030", "window saved elsewhere"},
};

// Each form of Strings.mdb opened from the file and from the export folder: every property of
// the form, its sections and its controls, the controls' order and holders; then the binary
// blocks, which the objects do not show.
TEST(DesignStreamFiles, stringsFormsEqualTheirExports) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path pair = data / "pairs/strings";
    FileApplication folder, file;
    folder.openCurrentDatabase(pair.string());
    file.openCurrentDatabase((pair / "Strings.mdb").string());
    ASSERT_EQ(file.exportDesigns(), nullptr);
    const auto names = StoredObjectNames(file.project(), ObjectType::Form);
    ASSERT_EQ(names.size(), 12u);
    std::set<std::string> found;
    std::size_t compared = 0;
    std::size_t pictures = 0;
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const auto differ = [&](const std::string& object, const std::string& what) {
            found.insert(name + "/" + object + ": " + what);
        };
        const auto compare = [&](const std::string& object, const Properties& exported,
                                 const Properties& stored) {
            for (const auto& p : exported) {
                const Property* s = stored.find(p.name);
                if (!s || !sameValue(p.value, s->value))
                    differ(object + "/" + p.name,
                           s ? p.value.toText() + " | " + s->value.toText() : "only in the export");
            }
            for (const auto& p : stored) {
                if (!exported.contains(p.name))
                    differ(object + "/" + p.name, "only in the file");
            }
            compared += exported.count();
        };
        const DesignObject& e = folder.openForm(name, View::Design);
        const DesignObject& d = file.openForm(name, View::Design);
        compare("(form)", e.properties, d.properties);
        EXPECT_EQ(d.pictureData, e.pictureData);
        EXPECT_EQ(d.hasModule(), e.hasModule());
        ASSERT_EQ(d.sections.size(), e.sections.size());
        for (std::size_t i = 0; i < e.sections.size(); ++i)
            compare(e.sections[i].get("Name").toText(), e.sections[i], d.sections[i]);
        ASSERT_EQ(d.controls.size(), e.controls.size());
        for (std::size_t i = 0; i < e.controls.size(); ++i) {
            ASSERT_EQ(d.controls[i].name(), e.controls[i].name());
            EXPECT_EQ(d.controls[i].parent, e.controls[i].parent) << e.controls[i].name();
            compare(e.controls[i].name(), e.controls[i].properties, d.controls[i].properties);
            EXPECT_EQ(d.controls[i].pictureData, e.controls[i].pictureData) << e.controls[i].name();
            pictures += !e.controls[i].pictureData.empty();
        }

        const fs::path path = pair / "Form" / (name + ".accfrm");
        const auto saved = exports::ParseSavedText(exports::ReadExportFile(path), path.string());
        const exports::DesignText text = exports::ReadDesignText(saved, path.string());
        std::map<std::string, std::set<std::string>> binaries;  // by object
        const auto exportedBinaries = [&](const std::string& object, const auto& properties) {
            for (const auto& p : properties) {
                if (p.value.kind == exports::SavedValue::Kind::Binary && p.name != "UnknownProp")
                    binaries[object].insert(p.name);
            }
        };
        exportedBinaries("(form)", text.properties);
        for (const auto& s : text.sections)
            exportedBinaries(s.name, s.properties);
        for (const auto& c : text.controls)
            exportedBinaries(c.name, c.properties);
        const auto detail = ReadStoredDesignDetail(file.project(), ObjectType::Form, name);
        ASSERT_TRUE(detail);
        for (const auto& item : detail->items) {
            const std::string object = &item == &detail->items.front() ? "(form)" : item.name;
            for (const auto& u : item.unnamed) {
                if (!item.defaults && !u.name.empty() && !binaries[object].erase(u.name))
                    differ(object + "/" + u.name, "binary only in the file");
            }
        }
        for (const auto& [object, left] : binaries) {
            for (const auto& n : left)
                differ(object + "/" + n, "binary only in the export");
        }
    }
    for (const auto& [difference, reason] : kExplained)
        EXPECT_EQ(found.erase(difference), 1u) << "no longer seen: " << difference;
    for (const auto& f : found)
        ADD_FAILURE() << "unexplained difference " << f;
    EXPECT_GT(compared, 5000u);
    EXPECT_EQ(pictures, 7u);  // one button picture on each of seven forms
}

// Every form and report of both Northwind copies: as many controls as TypeInfo lists, in the
// same names and types; then the values the format note's worked examples show.
// The exports were written on a Cyrillic system: the modules, which name no code page, are read
// in the one the forms' character sets name. modStrings was changed after the file was saved.
TEST(DesignStreamFiles, stringsModulesReadFromTheExportsInTheirCodePageAsFromTheFile) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path pair = data / "pairs/strings";
    FileApplication folder, file;
    folder.openCurrentDatabase(pair.string());
    file.openCurrentDatabase((pair / "Strings.mdb").string());
    const auto text = [](const Module& m) { return m.model().Lines(1, m.model().CountOfLines()); };
    std::vector<std::string> differing;
    for (const auto& m : file.project().modules()) {
        if (text(folder.openModule(m->name())) != text(*m))
            differing.push_back(m->name());
    }
    EXPECT_EQ(differing, std::vector<std::string>{"modStrings"});
    EXPECT_NE(text(folder.openModule("clsDebug")).find("Версия"), std::string::npos);
}

TEST(DesignStreamFiles, northwindDesignsHaveTheirControlListsAndTheirValues) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const char* file : {"mdb/northwind-en.mdb", "mdb/northwind-ja.mdb"}) {
        SCOPED_TRACE(file);
        const auto project = AccessProject::ReadFile((data / file).string());
        ASSERT_EQ(project->forms().size() + project->reports().size(), 36u);
        for (const bool report : {false, true}) {
            for (const auto& entry : report ? project->reports() : project->forms()) {
                const auto d = ReadStoredDesign(
                    *project, report ? ObjectType::Report : ObjectType::Form, entry.name);
                ASSERT_TRUE(d) << entry.name;
                // TypeInfo lists them in its own order, not the tree's, spelt as the module's
                // code spells them ("addpicture"), and a chart by its class 0x71, which VBA
                // sees as an object frame.
                std::multiset<std::pair<std::string, int>> listed, decoded;
                for (const auto& c : entry.controls)
                    listed.emplace(zanfor::util::UCase(c.name),
                                   c.controlType == 0x71 ? 114 : c.controlType);
                for (const auto& c : d->controls)
                    decoded.emplace(zanfor::util::UCase(c.name()), c.controlType());
                EXPECT_EQ(decoded, listed) << entry.name;
            }
        }
    }
    const auto en = AccessProject::ReadFile((data / "mdb/northwind-en.mdb").string());
    const auto dialog = ReadStoredDesign(*en, ObjectType::Form, "Sales by Year Dialog");
    EXPECT_EQ(zanfor::test::ValuesOf(dialog->properties, "Modal Width"), "True|4032");
    EXPECT_EQ(ControlNamed(*dialog, "BeginningDateLabel").parent, "BeginningDate");
    const auto reports = ReadStoredDesign(*en, ObjectType::Form, "Sales Reports Dialog");
    const Control& option = ControlNamed(*reports, "SalesByCategory");
    EXPECT_EQ(option.parent + " " + option.properties.get("OptionValue").toText(),
              "ReportToPrint 3");
    const auto amounts = ReadStoredDesign(*en, ObjectType::Report, "Sales Totals by Amount");
    EXPECT_EQ(amounts->groupLevel(0).groupOn, Value(9));
    EXPECT_EQ(amounts->groupLevel(0).groupInterval, Value(1000));
}

// Every form, report and macro of every sample .mdb whose project reads: each decodes, or fails
// with the error naming the object and the offset.
TEST(DesignStreamFiles, everyDesignOfEverySampleFileDecodesOrNamesWhereItFails) {
    ZANFOR_REQUIRE_TESTDATA(data);
    std::size_t decoded = 0;
    std::vector<std::string> failures;
    for (const auto& f : fs::recursive_directory_iterator(data)) {
        if (f.path().extension() != ".mdb" && f.path().extension() != ".accdb")
            continue;
        std::shared_ptr<const AccessProject> project;
        try {
            project = AccessProject::ReadFile(f.path().string());
        } catch (const Error&) {
            continue;  // Access 97 and password-protected files: no project to read
        }
        for (const auto type : {ObjectType::Form, ObjectType::Report, ObjectType::Macro}) {
            for (const auto& name : StoredObjectNames(*project, type)) {
                try {
                    const bool found = type == ObjectType::Macro
                                           ? ReadStoredMacro(*project, name).has_value()
                                           : ReadStoredDesign(*project, type, name).has_value();
                    EXPECT_TRUE(found) << f.path() << " " << name;
                    ++decoded;
                } catch (const Error& e) {
                    EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
                    EXPECT_NE(e.description().find("オフセット 0x"), std::string::npos);
                    failures.push_back(f.path().filename().string() + ": " + e.description());
                }
            }
        }
    }
    for (const auto& failure : failures)
        ADD_FAILURE() << failure;
    EXPECT_GE(decoded, 100u);
}

// A target opened without an export: its designs and macros come from the file, and the file
// stays as it was.
TEST(DesignStreamFiles, applicationReadsTheFileAloneAndLeavesItUnchanged) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path path = data / "mdb/northwind-ja.mdb";
    const std::string before = zanfor::test::FileBytes(path);
    FileApplication app;
    app.openCurrentDatabase(path.string());
    EXPECT_EQ(app.openForm("受注", View::Design).module->name(), "Form_受注");
    // Whether an object has code is the project's answer, given without opening its design.
    app.close(ObjectType::Form, "受注");
    EXPECT_EQ(app.documentModule(ObjectType::Report, "納品書")->name(), "Report_納品書");
    EXPECT_EQ(app.documentModule(ObjectType::Form, "スタートアップ"), nullptr);
    EXPECT_TRUE(app.openObjectNames().empty());
    EXPECT_EQ(ErrorOf([&] { app.documentModule(ObjectType::Report, "無い"); }), 2103);
    EXPECT_NE(ConvertMacro(app.macroDefinition("Autokeys サンプル")).find("得意先電話リスト"),
              std::string::npos);
    EXPECT_EQ(ErrorOf([&] { app.macroDefinition("無いマクロ"); }), 2046);
    app.closeCurrentDatabase();
    EXPECT_EQ(zanfor::test::FileBytes(path), before);
}

// The developer's listing of one stored object: every property with where its value came from,
// and the stored entries no table names.
TEST(DesignStreamFiles, listingShowsEveryPropertyWithItsOrigin) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto en = AccessProject::ReadFile((data / "mdb/northwind-en.mdb").string());
    std::ostringstream form;
    ASSERT_TRUE(PrintStoredObject(*en, ObjectType::Form, "Sales by Year Dialog", form));
    for (const char* line :
         {"Form \"Sales by Year Dialog\"  (version 0x13, required 0x13)",
          "    Caption = \"Sales by Year Dialog\"  [stored]",
          "Defaults of TextBox  (class 0x6D, offset 0x018B)",
          "Label \"BeginningDateLabel\" in \"BeginningDate\"", "    AllowEdits = True  [default]",
          "    BackStyle = 0  [form default]", "GUID, binary)"}) {
        EXPECT_NE(form.str().find(line), std::string::npos) << line;
    }
    EXPECT_FALSE(PrintStoredObject(*en, ObjectType::Report, "No Such Report", form));
}

}  // namespace
