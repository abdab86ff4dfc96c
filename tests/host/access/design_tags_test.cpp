// The tags named from the samples, read back from the real files against the text exports Access
// wrote of the same objects; then a record of a class no tag table knows, in a real file.

#include "host/access/design_tags.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/access/access_project.h"
#include "host/access/design_reader.h"
#include "host/export/saved_text.h"
#include "test_support.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace exports = zanfor::host::exports;
namespace fs = std::filesystem;

// Where a property sits: the form or report itself (empty), its default record of a SaveAsText
// kind ("=CheckBox"), or the control of that name.
const DecodedItem* decodedHolder(const DecodedDesign& d, std::string_view holder) {
    if (holder.empty())
        return &d.items.front();
    const bool defaults = holder[0] == '=';
    for (const auto& item : d.items) {
        if (defaults ? item.defaults && item.kind == holder.substr(1)
                     : !item.defaults && item.name == holder)
            return &item;
    }
    return nullptr;
}

// The same place in the export, depth first: a default record is a block of that kind in a bare
// "Begin", where Access writes it before the sections.
const exports::SavedBlock* exportedHolder(const exports::SavedBlock& block,
                                          std::string_view holder) {
    for (const auto& child : block.children) {
        if (holder.empty()     ? child.kind == "Form" || child.kind == "Report"
            : holder[0] == '=' ? block.kind.empty() && child.kind == holder.substr(1)
                               : child.text("Name") == holder)
            return &child;
        if (const auto* found = exportedHolder(child, holder))
            return found;
    }
    return nullptr;
}

struct PairCase {
    const char* object;  // the file name in pairs/arrow-of-light/src, without .txt
    const char* holder;
    const char* property;
    const char* decoded;  // the value's text as the design reads it
};

// One case per tag the Arrow of Light pair established (E), each where that pair's designs
// store it.
const PairCase kArrowOfLight[] = {
    {"frmTbl818CubScoutAwards.frm", "", "AutoResize", "False"},
    {"frmTbl818CubScoutAwards.frm", "", "OrderByOn", "True"},
    {"frmTbl818CubScoutAwards.frm", "", "PictureSizeMode", "1"},
    {"frmTbl818CubScoutAwards.frm", "", "OrderBy", "qryCubScoutsActive.DenTypeID"},
    {"fsfrTbl818CubScoutAwards.frm", "", "FilterOn", "True"},
    {"fsfrTbl818CubScoutAwards.frm", "", "Filter", "((qryCubScoutsActive.DenType=\"W2\"))"},
    {"frmTbl818CubScoutAwards.frm", "=Rectangle", "BorderWidth", "1"},
    {"frmTbl818CubScoutAwards.frm", "=Image", "SpecialEffect", "1"},
    {"frmTbl818CubScoutAwards.frm", "=CheckBox", "BorderWidth", "3"},
    {"frmTbl818CubScoutAwards.frm", "=BoundObjectFrame", "SpecialEffect", "1"},
    {"frmTbl818CubScoutAwards.frm", "=BoundObjectFrame", "OldBorderStyle", "0"},
    {"frmTbl818CubScoutAwards.frm", "=BoundObjectFrame", "BackStyle", "0"},
    {"frmTbl818CubScoutAwards.frm", "=ComboBox", "BackStyle", "0"},
    {"frmTbl818CubScoutAwards.frm", "=UnboundObjectFrame", "SpecialEffect", "1"},
    {"frmTbl818CubScoutAwards.frm", "=Tab", "BackStyle", "0"},
    {"fsfrTbl818CubScoutAwards.frm", "txtActive", "Locked", "True"},
    {"rptAofL_Trail.rpt", "", "DefaultView", "0"},
    {"rptAofL_Trail.rpt", "=ListBox", "OldBorderStyle", "0"},
    {"rptAofL_Trail.rpt", "Box126", "BorderWidth", "0"},
    {"rptAofL_Trail.rpt", "Text79", "FontItalic", "True"},
    {"rptGraduation.rpt", "DenType", "Visible", "False"},
    {"rptPackReport.rpt", "", "OrderByOn", "True"},
    {"rptPackReport.rpt", "", "OrderBy", "Lookup_DenType.DenType DESC"},
};

TEST(DesignTags, arrowOfLightDesignsReadAsAccessExportedThem) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path pair = data / "pairs/arrow-of-light";
    const auto project = AccessProject::ReadFile((pair / "818_Scouts 2010.mdb").string());
    for (const auto& c : kArrowOfLight) {
        SCOPED_TRACE(std::string(c.object) + " " + c.holder + " " + c.property);
        const fs::path path = pair / "src" / (std::string(c.object) + ".txt");
        const auto saved = exports::ParseSavedText(exports::ReadExportFile(path), path.string());
        const exports::SavedBlock* exported = exportedHolder(saved.root, c.holder);
        ASSERT_NE(exported, nullptr);
        const exports::SavedProperty* p = exported->find(c.property);
        ASSERT_NE(p, nullptr);
        const bool notDefault = p->value.kind == exports::SavedValue::Kind::NotDefault;
        const auto type =
            fs::path(c.object).extension() == ".rpt" ? ObjectType::Report : ObjectType::Form;
        const auto design =
            ReadStoredDesignDetail(*project, type, fs::path(c.object).stem().string());
        ASSERT_TRUE(design);
        const DecodedItem* item = decodedHolder(*design, c.holder);
        ASSERT_NE(item, nullptr);
        const Property* decoded = item->properties.find(c.property);
        ASSERT_NE(decoded, nullptr);
        // A default record keeps "NotDefault" as the export writes it; an object's yes/no
        // reads as the opposite of its default.
        EXPECT_EQ(decoded->value.toText(), item->defaults && notDefault ? "NotDefault" : c.decoded);
        if (!notDefault) {
            EXPECT_EQ(p->value.text, c.decoded);
        }
    }
}

// The French Northwind's class 0x79 stands among the default records of two forms: both forms
// read whole, and the record is listed where it stands with its two flags.
TEST(DesignTags, frenchNorthwindRecordsOfClass79AreListedAndSkipped) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto project = AccessProject::ReadFile((data / "mdb/comptoir-fr.mdb").string());
    const std::pair<const char*, std::size_t> forms[] = {{"Catégories", 0x0465},
                                                         {"Sous-formulaire Catégories", 0x0369}};
    for (const auto& [name, offset] : forms) {
        const auto design = ReadStoredDesignDetail(*project, ObjectType::Form, name);
        ASSERT_TRUE(design) << name;
        EXPECT_FALSE(design->object.controls.empty()) << name;
        const DecodedItem* record = nullptr;
        for (const auto& item : design->items) {
            if (item.objectClass == 0x79)
                record = &item;
        }
        ASSERT_NE(record, nullptr) << name;
        EXPECT_EQ(record->offset, offset);
        ASSERT_EQ(record->unnamed.size(), 2u);
        EXPECT_EQ(record->unnamed[0].tag, 0x05u);
        EXPECT_EQ(record->unnamed[1].tag, 0x06u);
    }
}

}  // namespace
