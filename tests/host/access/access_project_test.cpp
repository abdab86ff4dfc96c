#include "host/access/access_project.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <vector>

#include "access_fixture.h"
#include "host/access/export_modules.h"
#include "host/access/project_storage.h"
#include "host/error.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace fs = std::filesystem;

// Counts from the files' own VBA project listings: standard, class, form and report modules.
TEST(AccessProject, modulesAndCodeBehindFormsOfRealFiles) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::pair<const char*, std::array<std::size_t, 4>> cases[] = {
        {"mdb/northwind-ja.mdb", {2, 0, 11, 8}},
        {"mdb/ailtonz-Matriz.mdb", {8, 2, 6, 0}},
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file);
        const auto p = AccessProject::ReadFile((data / file).string());
        std::array<std::size_t, 4> got{};
        for (const auto& m : p->modules())
            ++got[m->type() == ModuleType::Standard ? 0 : 1];
        for (const auto& f : p->forms()) {
            EXPECT_EQ(f.hasModule, p->formModule(f.name) != nullptr) << f.name;
            got[2] += f.hasModule;
        }
        for (const auto& r : p->reports()) {
            EXPECT_EQ(r.hasModule, p->reportModule(r.name) != nullptr) << r.name;
            got[3] += r.hasModule;
        }
        EXPECT_EQ(got, expected);
    }
}

// A real module's text keeps its lines, in CP932 decoded; its procedures were counted by hand.
TEST(AccessProject, realModulesKeepTheirLinesAndProcedures) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto project = AccessProject::ReadFile((data / "mdb/northwind-ja.mdb").string());
    const auto startup = project->module("スタートアップ");
    ASSERT_NE(startup, nullptr);
    EXPECT_EQ(startup->model().CountOfLines(), 101);
    EXPECT_EQ(startup->model().procedures().size(), 4u);
    EXPECT_EQ(startup->model().ProcBodyLine("HideStartupForm", ProcKind::Proc), 68);
    EXPECT_EQ(project->module("ユーティリティ関数")->model().Line(5),
              "' 指定したフォームがフォーム ビューまたはデータシート ビューで開かれている場合 True "
              "を返します。");
}

TEST(AccessProject, accessObjectRowsMustBeWholeAndInOrder) {
    const std::string length6("\0\0\0\0\x06\0\0\0", 8), length5("\0\0\0\0\x05\0\0\0", 8);
    EXPECT_EQ(AssembleAccessObjects({{0, length6}, {2, "def"}, {1, "abc"}}), "abcdef");
    // Rows stopping short of the length are padded.
    EXPECT_EQ(AssembleAccessObjects({{0, length5}, {1, "ab"}}), std::string("ab\0\0\0", 5));
    for (const std::map<std::int64_t, std::string>& rows :
         {std::map<std::int64_t, std::string>{{1, "abc"}},
          {{0, "short"}, {1, "abc"}},
          {{0, length6}, {1, "abc"}, {3, "def"}}}) {
        EXPECT_EQ(zanfor::test::ErrorOf([&] { AssembleAccessObjects(rows); }),
                  err::kProjectStorageDamaged);
    }
}

TEST(AccessProject, accessNinetySevenFilesAreRefusedForTheirProject) {
    ZANFOR_REQUIRE_TESTDATA(data);
    EXPECT_EQ(zanfor::test::ErrorOf([&] {
                  AccessProject::ReadFile((data / "mdb/mdbtestdata-nwind-jet3.mdb").string());
              }),
              err::kOlderAccessVersion);
}

TEST(ExportedModules, headerAndAttributeLinesAreNotPartOfTheCode) {
    EXPECT_EQ(ModuleTextOf("VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
                           "Attribute VB_Name = \"clsA\"\r\nAttribute VB_Exposed = False\r\n"
                           "Option Explicit\r\n\r\nPublic Sub A()\r\nEnd Sub\r\n"),
              "Option Explicit\r\n\r\nPublic Sub A()\r\nEnd Sub");
    EXPECT_EQ(ModuleTextOf("\xEF\xBB\xBFOption Explicit"), "\xEF\xBB\xBFOption Explicit");
    // An attribute inside a procedure is code: only the header's are taken out.
    EXPECT_EQ(
        ModuleTextOf("Attribute VB_Name = \"m\"\nSub B()\n  Attribute B.VB_UserMemId = 0\nEnd Sub"),
        "Sub B()\r\n  Attribute B.VB_UserMemId = 0\r\nEnd Sub");
}

// The code behind a design starts after a line that is "CodeBehindForm" and nothing else.
TEST(ExportedModules, designCodeStartsAfterTheWholeCodeBehindFormLine) {
    const struct {
        const char* design;
        const char* code;  // nullptr: no module
    } cases[] = {
        {"Begin Form\r\nEnd\r\nCodeBehindForm\r\nOption Explicit\r\nSub A()\r\nEnd Sub\r\n",
         "Option Explicit\r\nSub A()\r\nEnd Sub"},
        {"Begin Form\n    Tag =\"CodeBehindForm\"\nEnd\n  CodeBehindForm \nOption Explicit\n",
         "Option Explicit"},
        // A last empty line is not part of the code; the one before it is.
        {"Begin Form\rEnd\rCodeBehindForm\rSub A()\r\rEnd Sub\r\r\r", "Sub A()\r\n\r\nEnd Sub\r\n"},
        {"Begin Form\r\nEnd\r\nCodeBehindForm", ""},
        {"Begin Form\r\n    Caption =\"CodeBehindForm\"\r\nEnd\r\n", nullptr},
    };
    for (const auto& c : cases) {
        zanfor::test::TempDir dir;
        fs::create_directories(dir / "forms");
        zanfor::util::WriteFileAtomically(dir / "forms" / "F.bas", c.design);
        const auto modules =
            ReadExportedModules(*zanfor::host::exports::ExportFolder::Open(dir.path()));
        ASSERT_EQ(modules.size(), c.code ? 1u : 0u) << c.design;
        if (c.code) {
            EXPECT_EQ(modules[0].text, c.code) << c.design;
        }
    }
}

TEST(ExportedModules, anExportBesideTheFileWinsOverItsModules) {
    ZANFOR_REQUIRE_TESTDATA(data);
    zanfor::test::TempDir dir;
    const auto target = dir / "nw.mdb";
    fs::copy_file(data / "mdb/northwind-en.mdb", target);
    fs::create_directories(dir / "nw.mdb.src" / "modules");
    zanfor::util::WriteFileAtomically(dir / "nw.mdb.src" / "modules" / "Startup.bas",
                                      "Attribute VB_Name = \"Startup\"\r\nOption Explicit\r\n"
                                      "Function Exported()\r\nEnd Function\r\n");
    const auto project = AccessProject::ReadFile(target.string());
    EXPECT_EQ(project->module("Startup")->model().procedures().at(0).name, "Exported");
    EXPECT_NE(project->module("Utility Functions"), nullptr);
}

}  // namespace
