#include "host/value.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "host/properties.h"

namespace {

using namespace zanfor::host;

TEST(Value, textFormsAndConversionsFollowVbs) {
    EXPECT_EQ(Value(0.1 + 0.2).toText(), "0.3");
    EXPECT_EQ(Value(1e20).toText(), "1E+20");
    EXPECT_EQ(Value(2.0).toText(), "2");
    EXPECT_EQ(Value(Date{37712.5}).toText(), "2003/04/01 12:00:00");
    EXPECT_TRUE(Value("-1").toBool());
    EXPECT_FALSE(Value("False").toBool());
    EXPECT_EQ(Value(true).toInteger(), -1);
    EXPECT_EQ(Value(" 42 ").toInteger(), 42);
    EXPECT_EQ(Value("abc").toInteger(), 0);
    EXPECT_EQ(Value(2.5).toInteger(), 2);  // half to even, as CLng
}

TEST(Properties, lookupIgnoresCaseAndReportsMissingAsDao) {
    Properties props{{"AccessVersion", "08.50"}, {"StartupForm", "メニュー"}};
    props.set("STARTUPFORM", "(表示しない)");
    EXPECT_EQ(props.get("startupform").toText(), "(表示しない)");
    EXPECT_EQ(props.at(1).name, "StartupForm");
    try {
        props.set("AppTitle", "x");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3270);
    }
    EXPECT_THROW(props.at(2), Error);
    // put adds what is missing and replaces what is there.
    props.put("AppTitle", "販売");
    props.put("AccessVersion", "09.50");
    EXPECT_EQ(props.count(), 3u);
    EXPECT_EQ(props.at(0).value.toText(), "09.50");
}

// Names found through the index exactly as a case-blind walk from the start finds them.
TEST(Properties, indexFindsWhatACaseBlindWalkFinds) {
    Properties props{{"Caption", 1}, {"ＡｂＣ", 2}, {"Ωmegaς", 3}, {"a\xFF", 4}, {"CAPTION", 5}};
    props.put("Ключ", 6);
    const Properties copy = props;
    const std::pair<const char*, int> cases[] = {
        {"caption", 1}, {"ａＢｃ", 2}, {"ωMEGAσ", 3}, {"A\xFF", 4}, {"кЛЮЧ", 6},
        {"a\xFE", 0},   {"ａbc", 0},   {"Ωmega", 0},  {"a\xC3", 0}, {"", 0},
    };
    for (const auto& [name, expected] : cases) {
        const Property* p = copy.find(name);
        EXPECT_EQ(p ? p->value.toInteger() : 0, expected) << name;
    }
    EXPECT_EQ(copy.indexOf("ключ"), 5u);
}

// A copy shares what it was made from: a change or an addition stays with the collection it was
// made on, in the place a collection of its own would give it.
TEST(Properties, copiesShareTheirEntriesAndKeepTheirChangesApart) {
    const Properties defaults{{"Name", ""}, {"Width", 0}, {"OnClick", ""}};
    Properties a = defaults;
    a.setAt(2, "[Event Procedure]");
    a.put("width", 1440);
    a.put("LabelX", -100);
    Properties b = a;
    b.set("Name", "txt");
    const auto listed = [](const Properties& p) {
        std::string text;
        for (const Property& e : p)
            text += e.name + "=" + e.value.toText() + ";";
        return text;
    };
    EXPECT_EQ(listed(defaults), "Name=;Width=0;OnClick=;");
    EXPECT_EQ(listed(a), "Name=;Width=1440;OnClick=[Event Procedure];LabelX=-100;");
    EXPECT_EQ(listed(b), "Name=txt;Width=1440;OnClick=[Event Procedure];LabelX=-100;");
    EXPECT_EQ(b.indexOf("labelx"), 3u);
    EXPECT_THROW(b.at(4), Error);
}

}  // namespace
