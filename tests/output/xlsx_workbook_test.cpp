#include "output/xlsx_workbook.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "output/xlsx_package.h"
#include "test_support.h"
#include "util/jet_date.h"

namespace {

using namespace zanfor;
using output::XlsxWorkbook;

std::string OneSheetBook() {
    auto book = XlsxWorkbook::create();
    book.addSheet("Object");
    book.setValue(0, 1, 1, "a");
    return book.toBytes();
}

// The valid one-sheet workbook with one part replaced by `text`.
std::string WithPart(const std::string& part, std::string_view text) {
    auto package = output::XlsxPackage::fromBytes(OneSheetBook(), "t");
    package.addXml(part, text);
    return package.toBytes();
}

TEST(XlsxWorkbook, damagedInputIsAnErrorNeverACrash) {
    const std::string good = OneSheetBook();
    const std::pair<const char*, std::string> cases[] = {
        {"notZip", "PK\x03\x04 not really a zip"},
        {"empty", ""},
        {"truncated", good.substr(0, good.size() / 2)},
        {"notAWorkbook", WithPart("xl/workbook.xml", "<book/>")},
        {"badRels", WithPart("xl/_rels/workbook.xml.rels", "<Relationships/>")},
        {"notAWorksheet", WithPart("xl/worksheets/sheet1.xml", "<chartsheet/>")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        try {
            auto book = XlsxWorkbook::fromBytes(bytes);
            book.cellText(0, 1, 1);
            ADD_FAILURE() << "accepted";
        } catch (const host::Error& e) {
            EXPECT_EQ(e.number(), output::kWorkbookDamaged);
            EXPECT_NE(e.description().find("壊れている"), std::string::npos);
        }
    }
    test::TempDir dir;
    try {
        XlsxWorkbook::open(dir / "none.xlsx");
        ADD_FAILURE() << "accepted";
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), host::err::kFileNotFound);
    }
}

TEST(XlsxWorkbook, valuesSurviveSavingAndReading) {
    struct Case {
        host::Value value;
        std::string shown;
    };
    const Case cases[] = {
        {"日本語 text ", "日本語 text "},
        {std::string("a\x01z"), "a_x0001_z"},  // XML cannot hold the control character
        {std::string("bad\xff"), "bad\xEF\xBF\xBD"},
        {1.5, "1.5"},
        {std::int64_t{42}, "42"},
        {true, "TRUE"},
        {host::Date{util::ToJetDate({2024, 1, 2, 3, 4, 5})}, "2024/01/02 3:04:05"},
        {host::Date{util::ToJetDate({2024, 1, 2})}, "2024/01/02"},
        {host::Value(), ""},
    };
    test::TempDir dir;
    auto book = XlsxWorkbook::create();
    const int s = book.addSheet("S");
    for (std::size_t k = 0; k < std::size(cases); ++k)
        book.setValue(s, static_cast<int>(k) + 1, 2, cases[k].value);
    book.save(dir / "b.xlsx");
    const auto read = XlsxWorkbook::open(dir / "b.xlsx");
    for (std::size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(read.cellText(s, static_cast<int>(k) + 1, 2), cases[k].shown) << k;
    EXPECT_EQ(read.lastUsedRow(s), static_cast<int>(std::size(cases)) - 1);
}

TEST(XlsxWorkbook, sheetsAreFoundIgnoringCaseAndNamedValidly) {
    auto book = XlsxWorkbook::create();
    book.addSheet("Query");
    EXPECT_EQ(book.addSheet("query"), 1);
    book.addSheet("a[b]:c/d*e?f\\g0123456789012345678901234567890");
    EXPECT_EQ(book.sheetNames(),
              (std::vector<std::string>{"Query", "query (2)", "abcdefg012345678901234567890123"}));
    EXPECT_EQ(book.sheetIndex("QUERY"), 0);
    try {
        book.sheetIndex("Table");
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.number(), host::err::kSubscriptOutOfRange);
    }
}

TEST(XlsxWorkbook, widthsCountWideCharactersTwice) {
    const std::pair<std::string_view, double> cases[] = {
        {"abc", 3}, {"日本", 4}, {"ｶﾀｶﾅ", 4}, {"ab\nabcde", 5}, {"", 0}};
    for (const auto& [text, width] : cases)
        EXPECT_EQ(output::TextWidth(text), width) << text;
    EXPECT_EQ(output::ColumnName(1), "A");
    EXPECT_EQ(output::ColumnName(27), "AA");
    EXPECT_EQ(output::ColumnName(78), "BZ");
    EXPECT_EQ(output::RangeAddress({4, 1, 10, 6}), "A4:F10");
}

}  // namespace
