#include "host/access/access_project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "host/access/export_modules.h"
#include "host/access/file_application.h"
#include "host/access/project_storage.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace fs = std::filesystem;

fs::path testdata() {
    auto data = zanfor::test::SharedTestData();
    return data ? *data : fs::path();
}

#define REQUIRE_TESTDATA()  \
    if (testdata().empty()) \
    GTEST_SKIP() << "../shared/testdata is absent"

struct Counts {
    std::size_t standard, classes, formModules, reportModules;
};

Counts countsOf(const AccessProject& p) {
    Counts c{0, 0, 0, 0};
    for (const auto& m : p.modules())
        (m->type() == ModuleType::Standard ? c.standard : c.classes)++;
    for (const auto& f : p.forms()) {
        EXPECT_EQ(f.hasModule, p.formModule(f.name) != nullptr) << f.name;
        c.formModules += f.hasModule;
    }
    for (const auto& r : p.reports()) {
        EXPECT_EQ(r.hasModule, p.reportModule(r.name) != nullptr) << r.name;
        c.reportModules += r.hasModule;
    }
    return c;
}

TEST(AccessProject, modulesAndCodeBehindFormsOfRealFiles) {
    REQUIRE_TESTDATA();
    struct Case {
        const char* file;
        Counts expected;
        std::size_t forms, reports;
    };
    const Case cases[] = {
        {"mdb/northwind-ja.mdb", {2, 0, 11, 8}, 22, 14},
        {"mdb/northwind-en.mdb", {2, 0, 10, 2}, 22, 14},
        {"mdb/ailtonz-Matriz.mdb", {8, 2, 6, 0}, 6, 0},
        {"mdb/ailtonz-CodBarra39Etiquetas_2003.mdb", {3, 0, 1, 1}, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto project = AccessProject::ReadFile((testdata() / c.file).string());
        const Counts got = countsOf(*project);
        EXPECT_EQ(got.standard, c.expected.standard);
        EXPECT_EQ(got.classes, c.expected.classes);
        EXPECT_EQ(got.formModules, c.expected.formModules);
        EXPECT_EQ(got.reportModules, c.expected.reportModules);
        EXPECT_EQ(project->forms().size(), c.forms);
        EXPECT_EQ(project->reports().size(), c.reports);
    }
    const auto matriz = AccessProject::ReadFile((testdata() / "mdb/ailtonz-Matriz.mdb").string());
    EXPECT_EQ(matriz->module("cDIBSection")->type(), ModuleType::Class);
    EXPECT_EQ(matriz->module("clsCommonDialog")->type(), ModuleType::Class);
}

// Procedure boundaries drawn by hand on three modules of the Japanese Northwind: each row is
// name, first line of its section, heading line, lines of the section.
TEST(AccessProject, procedureBoundariesMatchThoseDrawnByHand) {
    REQUIRE_TESTDATA();
    const auto project = AccessProject::ReadFile((testdata() / "mdb/northwind-ja.mdb").string());
    struct Expected {
        const char* module;
        long lines, declarations;
        std::vector<std::tuple<std::string, long, long, long>> procedures;
    };
    const Expected cases[] = {
        {"ユーティリティ関数", 18, 2, {{"IsLoaded", 3, 4, 16}}},
        {"スタートアップ",
         101,
         2,
         {{"OpenStartup", 3, 5, 36},
          {"IsItAReplica", 39, 40, 27},
          {"HideStartupForm", 66, 68, 29},
          {"CloseForm", 95, 95, 7}}},
        {"Form_レポート印刷ダイアログ",
         85,
         2,
         {{"PrintReports", 3, 5, 33},
          {"キャンセル_Click", 36, 37, 16},
          {"プレビュー_Click", 52, 53, 9},
          {"印刷_Click", 61, 62, 8},
          {"レポートの種類_AfterUpdate", 69, 72, 17}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        const auto module = project->module(c.module);
        ASSERT_NE(module, nullptr);
        const auto& m = module->model();
        EXPECT_EQ(m.CountOfLines(), c.lines);
        EXPECT_EQ(m.CountOfDeclarationLines(), c.declarations);
        ASSERT_EQ(m.procedures().size(), c.procedures.size());
        for (std::size_t i = 0; i < c.procedures.size(); ++i) {
            const auto& [name, start, body, count] = c.procedures[i];
            EXPECT_EQ(m.procedures()[i].name, name);
            EXPECT_EQ(m.ProcStartLine(name, ProcKind::Proc), start);
            EXPECT_EQ(m.ProcBodyLine(name, ProcKind::Proc), body);
            EXPECT_EQ(m.ProcCountLines(name, ProcKind::Proc), count);
        }
    }
    EXPECT_EQ(project->module("ユーティリティ関数")->model().Line(5),
              "' 指定したフォームがフォーム ビューまたはデータシート ビューで開かれている場合 True "
              "を返します。");
}

TEST(AccessProject, accessObjectRowsMustBeWholeAndInOrder) {
    auto header = [](std::uint32_t length) {
        std::string h(8, '\0');
        for (int i = 0; i < 4; ++i)
            h[4 + i] = static_cast<char>(length >> (8 * i));
        return h;
    };
    auto errorOf = [](const std::map<std::int64_t, std::string>& rows) {
        try {
            AssembleAccessObjects(rows);
        } catch (const Error& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(AssembleAccessObjects({{0, header(6)}, {2, "def"}, {1, "abc"}}), "abcdef");
    // Rows running past the length keep their bytes; rows stopping short are padded.
    EXPECT_EQ(AssembleAccessObjects({{0, header(4)}, {1, "abcdef"}}), "abcdef");
    EXPECT_EQ(AssembleAccessObjects({{0, header(5)}, {1, "ab"}}), std::string("ab\0\0\0", 5));
    EXPECT_EQ(errorOf({{1, "abc"}}), err::kProjectStorageDamaged);
    EXPECT_EQ(errorOf({{0, "short"}, {1, "abc"}}), err::kProjectStorageDamaged);
    EXPECT_EQ(errorOf({{0, header(6)}, {1, "abc"}, {3, "def"}}), err::kProjectStorageDamaged);
}

TEST(AccessProject, accessNinetySevenFilesAreRefusedForTheirProject) {
    REQUIRE_TESTDATA();
    try {
        AccessProject::ReadFile((testdata() / "mdb/mdbtestdata-nwind-jet3.mdb").string());
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kOlderAccessVersion);
    }
    FileApplication app;
    EXPECT_THROW(app.openCurrentDatabase((testdata() / "mdb/queryTestV1997.mdb").string()), Error);
}

TEST(FileApplication, formsGiveTheirControlsAndCodeAndCloseWithoutTrace) {
    REQUIRE_TESTDATA();
    const auto path = testdata() / "mdb/northwind-en.mdb";
    const auto before = zanfor::test::FileBytes(path);
    FileApplication app;
    app.openCurrentDatabase(path.string());
    auto& form = app.openForm("Suppliers", View::Design);
    ASSERT_TRUE(form.hasModule());
    EXPECT_EQ(form.module->name(), "Form_Suppliers");
    bool sawSupplierId = false;
    for (const auto& c : form.controls)
        sawSupplierId |= c.name() == "SupplierID" && c.controlType() == 109;
    EXPECT_TRUE(sawSupplierId);
    app.close(ObjectType::Form, "Suppliers");
    EXPECT_FALSE(app.openForm("Categories", View::Design).hasModule());
    EXPECT_EQ(app.openModule("Utility Functions").type(), ModuleType::Standard);
    EXPECT_THROW(app.openModule("No Such Module"), Error);
    EXPECT_THROW(app.openReport("No Such Report", View::Design), Error);
    EXPECT_EQ(app.currentDb().tableDefs().empty(), false);
    app.closeCurrentDatabase();
    EXPECT_EQ(zanfor::test::FileBytes(path), before);
}

TEST(ExportedModules, exportSetsGiveModulesAndCodeBehindForms) {
    REQUIRE_TESTDATA();
    auto count = [](const std::vector<ExportedModule>& modules, ExportedKind kind) {
        return std::count_if(modules.begin(), modules.end(),
                             [&](const ExportedModule& m) { return m.kind == kind; });
    };
    const auto vcs =
        ReadExportedModules(testdata() / "exports/msaccess-vcs-testing/Testing.accdb.src");
    EXPECT_EQ(count(vcs, ExportedKind::Standard), 4);
    EXPECT_EQ(count(vcs, ExportedKind::Form), 4);
    const auto birds = ReadExportedModules(testdata() / "exports/ncrn-birds/source");
    EXPECT_EQ(count(birds, ExportedKind::Standard) + count(birds, ExportedKind::Class), 14);
    EXPECT_EQ(count(birds, ExportedKind::Form), 37);
    const auto strings = ReadExportedModules(testdata() / "pairs/strings");
    EXPECT_EQ(count(strings, ExportedKind::Class), 2);
    for (const auto& m : strings) {
        for (const auto& line : zanfor::util::SplitLines(m.text)) {
            EXPECT_NE(line.rfind("Attribute VB_", 0), 0u) << m.name;
            EXPECT_NE(line.rfind("VERSION 1.0 CLASS", 0), 0u) << m.name;
        }
    }
}

TEST(ExportedModules, headerAndAttributeLinesAreNotPartOfTheCode) {
    EXPECT_EQ(ModuleTextOf("VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                           "Attribute VB_Name = \"clsA\"\r\nAttribute VB_Exposed = False\r\n"
                           "Option Explicit\r\n\r\nPublic Sub A()\r\nEnd Sub\r\n"),
              "Option Explicit\r\n\r\nPublic Sub A()\r\nEnd Sub");
    EXPECT_EQ(ModuleTextOf("\xEF\xBB\xBFOption Explicit"), "\xEF\xBB\xBFOption Explicit");
    EXPECT_EQ(
        ModuleTextOf("Attribute VB_Name = \"m\"\nSub B()\n  Attribute B.VB_UserMemId = 0\nEnd Sub"),
        "Sub B()\r\n  Attribute B.VB_UserMemId = 0\r\nEnd Sub");
}

TEST(ExportedModules, anExportBesideTheFileWinsOverItsModules) {
    REQUIRE_TESTDATA();
    zanfor::test::TempDir dir;
    const auto target = dir / "nw.mdb";
    fs::copy_file(testdata() / "mdb/northwind-en.mdb", target);
    fs::create_directories(dir / "nw.mdb.src" / "modules");
    zanfor::util::WriteFileAtomically(dir / "nw.mdb.src" / "modules" / "Startup.bas",
                                      "Attribute VB_Name = \"Startup\"\r\nOption Explicit\r\n"
                                      "Function Exported()\r\nEnd Function\r\n");
    const auto project = AccessProject::ReadFile(target.string());
    const auto startup = project->module("Startup");
    ASSERT_NE(startup, nullptr);
    EXPECT_EQ(startup->model().procedures().at(0).name, "Exported");
    EXPECT_NE(project->module("Utility Functions"), nullptr);
}

}  // namespace
