#include "host/access/macro_sheet.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "access_fixture.h"
#include "host/access/access_project.h"
#include "host/access/design_reader.h"
#include "host/error.h"
#include "host/export/macro_text.h"
#include "host/export/saved_text.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::test::Le;
using zanfor::test::Utf16;
namespace fs = std::filesystem;

struct SheetRow {
    int action;
    std::vector<std::string> strings;  // comment, condition, macro name, arguments; "" is absent
};

// Strings are given in ASCII for a UTF-16 sheet, or as the code page bytes of an older one.
std::string sheet(std::string_view version, const std::vector<SheetRow>& rows, bool wide) {
    std::string b = Le(3, 4) + std::string(8, '\xFF') + Le(0x20000, 4) + std::string(16, '\xFF');
    b += Le(version.size() * 2, 2) + Utf16(version) + Le(0, 2);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        std::array<std::uint16_t, 14> offsets;
        offsets.fill(0xFFFF);
        std::string block;
        for (std::size_t i = 0; i < rows[n].strings.size(); ++i) {
            if (const auto& s = rows[n].strings[i]; !s.empty()) {
                offsets[i + 1] = static_cast<std::uint16_t>(block.size());
                block += wide ? Utf16(s) + std::string(2, '\0') : s + std::string(1, '\0');
            }
        }
        b += Le(rows[n].action, 2) + Le(n + 1, 2);
        for (auto o : offsets)
            b += Le(o, 2);
        b += Le(block.size(), 2) + block + Le(0, 2);
    }
    return b;
}

using Fields = std::tuple<std::string, std::string, std::string, std::string,
                          std::vector<std::string>>;  // action, name, condition, comment, args

std::vector<Fields> fieldsOf(const MacroDefinition& m) {
    std::vector<Fields> rows;
    for (const auto& r : m.rows)
        rows.emplace_back(r.action, r.macroName, r.condition, r.comment, r.arguments);
    return rows;
}

MacroDefinition decode(const std::string& bytes, int codePage = 1252) {
    return DecodeMacroSheet(bytes, "M", codePage, "マクロ 'M' の Blob");
}

TEST(MacroSheet, rowsCarryNamesConditionsCommentsAndArguments) {
    const auto m = decode(sheet("33",
                                {{0, {"Attached."}},
                                 {34, {"Run it.", "", "^p", "Phone.Print"}},
                                 {22, {"", "[X]=1", "", "Hi", "-1", "", "T"}},
                                 {45, {"", "..."}}},
                                true));
    // An empty slot between arguments stays; those after the last are not arguments.
    EXPECT_EQ(fieldsOf(m), (std::vector<Fields>{
                               {"", "", "", "Attached.", {}},
                               {"RunMacro", "^p", "", "Run it.", {"Phone.Print"}},
                               {"MsgBox", "", "[X]=1", "", {"Hi", "-1", "", "T"}},
                               {"StopMacro", "", "...", "", {}},
                           }));
    // Access 2010 and later mark their sheets "23", with the macro's XML in a row's comment.
    EXPECT_EQ(fieldsOf(decode(sheet("23", {{0, {"_AXL:<x/>"}}, {9, {"", "", "", "0"}}}, true))),
              (std::vector<Fields>{{"", "", "", "_AXL:<x/>", {}}, {"Echo", "", "", "", {"0"}}}));
    // Sheets carried over from Access 97 hold their text in the project's code page.
    const std::vector<SheetRow> old = {
        {9, {zanfor::util::Utf8ToCp932("画面"), "", zanfor::util::Utf8ToCp932("商品"), "0"}}};
    for (const std::string_view version : {"22", ""}) {
        EXPECT_EQ(fieldsOf(decode(sheet(version, old, false), 932)),
                  (std::vector<Fields>{{"Echo", "商品", "", "画面", {"0"}}}))
            << version;
    }
}

TEST(MacroSheet, damagedSheetsNameTheMacroAndTheOffset) {
    const std::string good = sheet("33", {{33, {"", "", "", "F()"}}}, true);
    std::string outside = good;
    outside[0x28 + 4 + 2 * 4] = 0x40;  // the first argument's offset, past the row's strings
    std::string unterminated = good;
    unterminated[unterminated.size() - 4] = 'x';  // the argument's terminator
    const std::pair<std::string, const char*> cases[] = {
        {good.substr(0, 0x10), "オフセット 0x0000"},
        {sheet("44", {}, true), "'44'"},
        {sheet("33", {{99, {}}}, true), "アクション コード 99"},
        {outside, "行の外"},
        {unterminated, "終わりがありません"},
        {good.substr(0, good.size() - 3), "途中で"},
    };
    for (const auto& [bytes, reason] : cases) {
        try {
            decode(bytes);
            ADD_FAILURE() << "no error: " << reason;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
            EXPECT_NE(e.description().find("マクロ 'M' の Blob"), std::string::npos);
            EXPECT_NE(e.description().find(reason), std::string::npos) << e.description();
        }
    }
}

// Every macro of Strings.mdb against the export Access wrote of it.
TEST(MacroSheetFiles, stringsMacrosEqualTheirExports) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const fs::path pair = data / "pairs/strings";
    const auto project = AccessProject::ReadFile((pair / "Strings.mdb").string());
    const auto names = StoredObjectNames(*project, ObjectType::Macro);
    ASSERT_EQ(names.size(), 10u);
    for (const auto& name : names) {
        // The exports are in the exporting system's code page, Russian Windows.
        const fs::path file = pair / "Macro" / (name + ".accmac");
        const auto text = zanfor::host::exports::ParseSavedText(
            zanfor::host::exports::ReadExportFile(file, 1251), file.string());
        const auto exported = zanfor::host::exports::ReadMacroText(text, name, file.string());
        const auto stored = ReadStoredMacro(*project, name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(fieldsOf(*stored), fieldsOf(exported)) << name;
    }
}

}  // namespace
