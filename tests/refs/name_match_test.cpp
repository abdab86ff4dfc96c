#include "refs/name_match.h"

#include <gtest/gtest.h>

namespace {

using zanfor::refs::NamesWhole;

TEST(NamesWhole, findsTheNameAsAWholeWordWithCaseAndNeverInsideALongerOne) {
    struct Case {
        const char* text;
        const char* name;
        bool found;
    };
    const Case cases[] = {
        {"SELECT * FROM Item;", "Item", true},
        {"SELECT [Item].ID FROM [Item]", "Item", true},
        {"SELECT Item.ID, ItemPrice FROM X", "Item", true},
        {"SELECT ItemPrice FROM Prices", "Item", false},
        {"SELECT * FROM T_Items", "T_Item", false},
        {"SELECT * FROM item", "Item", false},
        {"=DLookUp(\"x\",\"Item\")", "Item", true},
        {"SELECT * FROM 得意先マスタ", "得意先", false},
        {"SELECT 得意先.ID FROM 得意先", "得意先", true},
        {"SELECT * FROM [Order Details]", "Order Details", true},
        {"=SaveAll()+Save()", "Save", true},
        {"=SaveAll()", "Save", false},
        {"anything", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesWhole(c.text, c.name), c.found) << c.text << " / " << c.name;
}

}  // namespace
