#include "host/access/macro_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/access/access_project.h"
#include "host/access/design_reader.h"
#include "host/access/macro_converter.h"
#include "host/error.h"
#include "host/export/export_folder.h"
#include "host/export/macro_text.h"
#include "host/export/saved_text.h"
#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
namespace fs = std::filesystem;

std::string le(std::uint64_t v, int width) {
    std::string b;
    for (int i = 0; i < width; ++i)
        b += static_cast<char>(v >> 8 * i & 0xFF);
    return b;
}

std::string utf16(std::string_view ascii) {
    std::string b;
    for (unsigned char c : ascii)
        b += le(c, 2);
    return b;
}

struct SheetRow {
    int action;
    int number;
    // Comment, condition, macro name, then the arguments; nullopt is an empty slot.
    std::vector<std::optional<std::string>> strings;
};

// Strings are given as the bytes the sheet holds (UTF-16 or single-byte) without terminators.
std::string sheet(std::string_view version, const std::vector<SheetRow>& rows, bool wide) {
    std::string b = le(3, 4) + std::string(8, '\xFF') + le(0x20000, 4) + std::string(16, '\xFF');
    b += le(version.size() * 2, 2) + utf16(version) + le(0, 2);
    const std::string terminator(wide ? 2 : 1, '\0');
    for (const auto& r : rows) {
        std::array<std::uint16_t, 14> offsets;
        offsets.fill(0xFFFF);
        std::string block;
        for (std::size_t i = 0; i < r.strings.size(); ++i) {
            if (r.strings[i]) {
                offsets[i + 1] = static_cast<std::uint16_t>(block.size());
                block += *r.strings[i] + terminator;
            }
        }
        b += le(r.action, 2) + le(r.number, 2);
        for (auto o : offsets)
            b += le(o, 2);
        b += le(block.size(), 2) + block + le(0, 2);
    }
    return b;
}

MacroDefinition decode(const std::string& bytes, int codePage = 1252) {
    return DecodeMacroSheet(bytes, "M", codePage, "マクロ 'M' の Blob");
}

TEST(MacroSheet, rowsCarryNamesConditionsCommentsAndArguments) {
    const auto w = [](std::string_view s) { return std::optional<std::string>(utf16(s)); };
    const std::vector<SheetRow> rows = {
        {0, 1, {w("Attached to the form.")}},
        {34, 3, {w("Run it."), std::nullopt, w("^p"), w("Phone List.Print")}},
        {22,
         4,
         {std::nullopt, w("[X]=1"), std::nullopt, w("Hello"), w("-1"), std::nullopt, w("Title")}},
        {45, 5, {std::nullopt, w("..."), std::nullopt}},
    };
    const MacroDefinition m = decode(sheet("33", rows, true));
    EXPECT_EQ(m.name, "M");
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(m.rows[0].action, "");
    EXPECT_EQ(m.rows[0].comment, "Attached to the form.");
    EXPECT_EQ(m.rows[1].action, "RunMacro");
    EXPECT_EQ(m.rows[1].macroName, "^p");
    EXPECT_EQ(m.rows[1].arguments, std::vector<std::string>{"Phone List.Print"});
    EXPECT_EQ(m.rows[2].action, "MsgBox");
    EXPECT_EQ(m.rows[2].condition, "[X]=1");
    // An empty slot between arguments stays; those after the last are not arguments.
    EXPECT_EQ(m.rows[2].arguments, (std::vector<std::string>{"Hello", "-1", "", "Title"}));
    EXPECT_EQ(m.rows[3].action, "StopMacro");
    EXPECT_EQ(m.rows[3].condition, "...");
    EXPECT_TRUE(m.rows[3].arguments.empty());
}

TEST(MacroSheet, sheetsCarriedOverFromAccess97HoldCodePageText) {
    const std::string comment = zanfor::util::Utf8ToCp932("画面の更新を行いません。");
    const std::string name = zanfor::util::Utf8ToCp932("商品の追加");
    for (const std::string_view version : {"22", ""}) {
        SCOPED_TRACE(std::string(version));
        const MacroDefinition m =
            decode(sheet(version, {{9, 1, {comment, std::nullopt, name, "0"}}}, false), 932);
        ASSERT_EQ(m.rows.size(), 1u);
        EXPECT_EQ(m.rows[0].action, "Echo");
        EXPECT_EQ(m.rows[0].comment, "画面の更新を行いません。");
        EXPECT_EQ(m.rows[0].macroName, "商品の追加");
        EXPECT_EQ(m.rows[0].arguments, std::vector<std::string>{"0"});
    }
}

TEST(MacroSheet, damagedSheetsNameTheMacroAndTheOffset) {
    const std::string good =
        sheet("33", {{33, 1, {std::nullopt, std::nullopt, std::nullopt, utf16("F()")}}}, true);
    const std::size_t rowAt = 0x28;
    std::string outside = good;
    outside[rowAt + 4 + 2 * 4] = 0x40;  // the first argument's offset, past the row's strings
    std::string unterminated = good;
    unterminated[unterminated.size() - 4] = 'x';  // the argument's terminator
    struct Case {
        const char* label;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"short header", good.substr(0, 0x10), "オフセット 0x0000"},
        {"unknown version", sheet("44", {}, true), "'44'"},
        {"unknown action", sheet("33", {{99, 1, {}}}, true), "アクション コード 99"},
        {"string outside its row", outside, "行の外"},
        {"string without terminator", unterminated, "終わりがありません"},
        {"row cut off", good.substr(0, good.size() - 3), "途中で"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            decode(c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
            EXPECT_NE(e.description().find("マクロ 'M' の Blob"), std::string::npos);
            EXPECT_NE(e.description().find(c.reason), std::string::npos) << e.description();
        }
    }
}

fs::path testdata() {
    auto data = zanfor::test::SharedTestData();
    return data ? *data : fs::path();
}

#define REQUIRE_TESTDATA()  \
    if (testdata().empty()) \
    GTEST_SKIP() << "../shared/testdata is absent"

// Every macro of Strings.mdb against the export Access wrote of it.
TEST(MacroSheetFiles, stringsMacrosEqualTheirExports) {
    REQUIRE_TESTDATA();
    const fs::path pair = testdata() / "pairs/strings";
    const auto project = AccessProject::ReadFile((pair / "Strings.mdb").string());
    const auto names = StoredObjectNames(*project, ObjectType::Macro);
    ASSERT_EQ(names.size(), 10u);
    // The exports are in the exporting system's code page (1251), which the forms reveal.
    const int codePage = zanfor::host::exports::ExportFolder::Open(pair)->codePage();
    EXPECT_EQ(codePage, 1251);
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const fs::path file = pair / "Macro" / (name + ".accmac");
        const auto text = zanfor::host::exports::ParseSavedText(
            zanfor::host::exports::ReadExportFile(file, codePage), file.string());
        const MacroDefinition exported =
            zanfor::host::exports::ReadMacroText(text, name, file.string());
        const auto stored = ReadStoredMacro(*project, name);
        ASSERT_TRUE(stored);
        ASSERT_EQ(stored->rows.size(), exported.rows.size());
        for (std::size_t i = 0; i < exported.rows.size(); ++i) {
            const MacroRow& a = stored->rows[i];
            const MacroRow& b = exported.rows[i];
            EXPECT_EQ(a.macroName, b.macroName);
            EXPECT_EQ(a.condition, b.condition);
            EXPECT_EQ(a.action, b.action);
            EXPECT_EQ(a.arguments, b.arguments);
            EXPECT_EQ(a.comment, b.comment);
        }
        // What the conversion makes of the macro does not depend on where it was read.
        EXPECT_EQ(ConvertMacro(*stored), ConvertMacro(exported));
    }
}

std::vector<std::string> actionsOf(const MacroDefinition& m) {
    std::vector<std::string> actions;
    for (const auto& r : m.rows)
        actions.push_back(r.action + (r.condition == "..." ? " ..." : ""));
    return actions;
}

std::size_t countOf(const std::vector<std::string>& actions, std::string_view action) {
    return static_cast<std::size_t>(std::count(actions.begin(), actions.end(), action));
}

// The English and Japanese Northwind hold the same macros, one in UTF-16, the other carried over
// in CP932, except where the Japanese edition was adapted: its phone list filters by the rows of
// the kana table instead of A to Z, and it has no postal-code check for European countries.
TEST(MacroSheetFiles, northwindMacrosAgreeAcrossLanguagesAndWithTheirComments) {
    REQUIRE_TESTDATA();
    const auto en = AccessProject::ReadFile((testdata() / "mdb/northwind-en.mdb").string());
    const auto ja = AccessProject::ReadFile((testdata() / "mdb/northwind-ja.mdb").string());
    EXPECT_EQ(StoredObjectNames(*en, ObjectType::Macro).size(), 6u);
    EXPECT_EQ(StoredObjectNames(*ja, ObjectType::Macro).size(), 5u);
    const std::pair<const char*, const char*> same[] = {
        {"Sample Autokeys", "Autokeys サンプル"},
        {"Customer Labels Dialog", "得意先宛名ラベルダイアログ"},
        {"Sales Totals by Amount", "売上順受注高"},
    };
    for (const auto& [english, japanese] : same) {
        SCOPED_TRACE(english);
        const auto a = ReadStoredMacro(*en, english);
        const auto b = ReadStoredMacro(*ja, japanese);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(actionsOf(*a), actionsOf(*b));
    }

    auto phoneEn = actionsOf(*ReadStoredMacro(*en, "Customer Phone List"));
    auto phoneJa = actionsOf(*ReadStoredMacro(*ja, "得意先電話リスト"));
    EXPECT_EQ(countOf(phoneEn, "ApplyFilter"), 26u);
    EXPECT_EQ(countOf(phoneJa, "ApplyFilter"), 11u);
    std::erase(phoneEn, "ApplyFilter");
    std::erase(phoneJa, "ApplyFilter");
    EXPECT_EQ(phoneEn, phoneJa);

    const auto suppliersEn = ReadStoredMacro(*en, "Suppliers");
    const auto suppliersJa = ReadStoredMacro(*ja, "仕入先");
    ASSERT_TRUE(suppliersEn && suppliersJa);
    const auto postal =
        std::find_if(suppliersEn->rows.begin(), suppliersEn->rows.end(),
                     [](const MacroRow& r) { return r.macroName == "Validate Postal Codes"; });
    ASSERT_NE(postal, suppliersEn->rows.end());
    // The row above the check is its comment ("Attached to the BeforeUpdate property ...").
    ASSERT_EQ((postal - 1)->action, "");
    auto shared = actionsOf(*suppliersEn);
    shared.resize(static_cast<std::size_t>(postal - suppliersEn->rows.begin()) - 1);
    EXPECT_EQ(shared, actionsOf(*suppliersJa));

    const auto autokeys = ReadStoredMacro(*ja, "Autokeys サンプル");
    ASSERT_EQ(autokeys->rows.size(), 2u);
    EXPECT_EQ(autokeys->rows[1].macroName, "^p");
    EXPECT_EQ(autokeys->rows[1].action, "RunMacro");
    EXPECT_EQ(autokeys->rows[1].arguments, std::vector<std::string>{"得意先電話リスト.印刷"});

    const auto customers = ReadStoredMacro(*en, "Customers");
    ASSERT_TRUE(customers);
    const MacroRow* validate = nullptr;
    for (const auto& r : customers->rows) {
        if (r.macroName == "ValidateID")
            validate = &r;
    }
    ASSERT_NE(validate, nullptr);
    EXPECT_EQ(validate->action, "MsgBox");
    EXPECT_EQ(validate->condition.rfind("DLookUp(", 0), 0u) << validate->condition;
    EXPECT_EQ((validate + 1)->condition, "...");
    EXPECT_EQ((validate + 1)->action, "CancelEvent");
}

}  // namespace
