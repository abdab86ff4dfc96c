// The Access project of an Access 2007+ file: ExploreTheWorld.accdb, read alone (a copy without
// the export beside it, which would win), against the export committed with it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "host/access/design_printout.h"
#include "host/access/design_reader.h"
#include "host/access/export_modules.h"
#include "host/access/file_application.h"
#include "test_support.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace fs = std::filesystem;

TEST(AccdbProject, exploreTheWorldEqualsItsCommittedExport) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path source = data / "accdb/explore-the-world";
    zanfor::test::TempDir dir;
    fs::copy_file(source / "ExploreTheWorld.accdb", dir / "ExploreTheWorld.accdb");
    FileApplication file, folder;
    file.openCurrentDatabase((dir / "ExploreTheWorld.accdb").string());
    folder.openCurrentDatabase((source / "ExploreTheWorld.accdb.src").string());

    const auto exported =
        ReadExportedModules(*exports::ExportFolder::Open(source / "ExploreTheWorld.accdb.src"));
    EXPECT_EQ(exported.size(), 24u);
    for (const auto& m : exported) {
        const auto mine = m.kind == ExportedKind::Form ? file.project().formModule(m.objectName)
                                                       : file.project().module(m.name);
        const ModuleModel text(m.text);
        EXPECT_EQ(mine ? mine->model().Lines(1, mine->model().CountOfLines()) : "none",
                  text.Lines(1, text.CountOfLines()))
            << m.name;
    }
    // Every control: its name, type, holder, place and size.
    auto controls = [](FileApplication& app, const std::string& form) {
        std::string out;
        for (const auto& c : app.openForm(form, View::Design).controls) {
            out += form + "." + c.name() + " " + std::to_string(c.controlType()) + " " + c.parent;
            for (const char* p : {"Left", "Top", "Width", "Height"})
                out += " " + c.properties.get(p).toText();
            out += "\n";
        }
        return out;
    };
    std::string stored, saved;
    for (const auto& name : StoredObjectNames(file.project(), ObjectType::Form)) {
        stored += controls(file, name);
        saved += controls(folder, name);
    }
    EXPECT_EQ(std::count(stored.begin(), stored.end(), '\n'), 82);
    EXPECT_EQ(stored, saved);
    // Properties Access 2007 added are named in the listing, not taken into the design.
    std::ostringstream listing;
    PrintStoredObject(file.project(), ObjectType::Form, "cns_Country", listing);
    EXPECT_NE(listing.str().find("id 0x268, 4 bytes at 0x0561: ThemeFontIndex, Access 2007+"),
              std::string::npos);
}

}  // namespace
