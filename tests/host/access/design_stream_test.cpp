#include "host/access/design_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/access/access_project.h"
#include "host/access/design_directory.h"
#include "host/access/design_reader.h"
#include "host/error.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;

std::string le(std::uint64_t v, int width) {
    std::string b;
    for (int i = 0; i < width; ++i)
        b += static_cast<char>(v >> 8 * i & 0xFF);
    return b;
}

std::string utf16(std::string_view utf8) {
    std::string b;
    for (unsigned char c : utf8)  // the tests' names are ASCII
        b += le(c, 2);
    return b;
}

// Compact entries: a tag's range fixes the payload's size.
std::string flag(int tag) { return le(tag, 1); }
std::string byte(int tag, int v) { return le(tag, 1) + le(v, 1); }
std::string i16(int tag, int v) { return le(tag, 1) + le(static_cast<std::uint16_t>(v), 2); }
std::string i32(int tag, std::int64_t v) {
    return le(tag, 1) + le(static_cast<std::uint32_t>(v), 4);
}
std::string var(int tag, const std::string& payload) {
    if (payload.size() >= 0xFF)
        return le(tag, 1) + le(0xFF, 1) + le(payload.size(), 2) + payload;
    return le(tag, 1) + le(payload.size(), 1) + payload;
}
std::string text(int tag, std::string_view s) { return var(tag, utf16(s)); }

// Explicit entries: tag, property id, type, element size, length, payload.
std::string entry(int tag, int id, int type, const std::string& payload) {
    return le(tag, 4) + le(id, 2) + le(type, 4) + le(0, 4) + le(payload.size(), 4) + payload;
}

struct Obj {
    int cls;
    std::string properties;
    std::vector<Obj> children;
};

std::string encode(const Obj& o, bool explicitEncoding) {
    const int width = explicitEncoding ? 4 : 1;
    std::string b = le(o.cls, 2) + o.properties;
    if (o.children.empty())
        b += le(0xFD, width);
    else if (o.children.size() == 1)
        b += le(0xFE, width);
    else
        b += le(0xFF, width) + le(o.children.size(), 2);
    for (const auto& c : o.children)
        b += encode(c, explicitEncoding);
    return b;
}

std::string stream(int version, const Obj& root) {
    return le(version, 2) + le(version, 2) + le(0, 4) + encode(root, version >= 0x14);
}

DecodedDesign decodeForm(const std::string& blob, const std::string& delta = {},
                         int codePage = 1252) {
    return DecodeDesign(blob, delta, ObjectType::Form, "F", false, codePage);
}

const Control& controlNamed(const DesignObject& o, std::string_view name) {
    for (const auto& c : o.controls) {
        if (c.name() == name)
            return c;
    }
    throw std::runtime_error("no control " + std::string(name));
}

// Every way a stream can be malformed is reported with the object and the place.
TEST(DesignStream, malformedStreamsNameTheObjectAndTheOffset) {
    const Obj emptyForm{0x96, {}, {}};
    const Obj captioned{0x96, text(0xDD, "Caption"), {}};
    Obj deep{0x6D, {}, {}};
    for (int i = 0; i < 40; ++i)
        deep = Obj{0x6B, {}, {deep}};
    struct Case {
        const char* label;
        std::string bytes;
        const char* offset;
    };
    const std::string good = stream(0x13, emptyForm);
    const Case cases[] = {
        {"short header", good.substr(0, 5), "0x0000"},
        {"unknown version", le(0x12, 2) + good.substr(2), "0x0000"},
        {"reserved bytes", good.substr(0, 4) + le(1, 4) + good.substr(8), "0x0004"},
        {"tag of unknown size", stream(0x13, {0x96, i16(0x80, 1), {}}), "0x000A"},
        {"value past the end", stream(0x13, {0x96, text(0xDD, "Caption"), {}}).substr(0, 14),
         "0x000A"},
        {"bytes after the root", good + "x", "0x000B"},
        {"second child cut off", stream(0x13, {0x96, {}, {captioned, captioned}}).substr(0, 40),
         "0x0022"},
        {"more children than bytes", good.substr(0, 10) + "\xFF\xFF\xFF" + std::string(30, '\xFD'),
         "0x000B"},
        {"explicit tag cut off", stream(0x14, emptyForm).substr(0, 12), "0x000A"},
        {"explicit entry header cut off",
         stream(0x14, {0x96, entry(0x63, 0x96, 3, "\x01\x02"), {}}).substr(0, 15), "0x000E"},
        {"nesting too deep", stream(0x13, {0x96, {}, {Obj{0x98, {}, {deep}}}}), "0x006B"},
        {"explicit length past the end",
         stream(0x14, {0x96, entry(0x63, 0x96, 3, "\x01\x02"), {}}).substr(0, 28), "0x000A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            decodeForm(c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
            EXPECT_NE(e.description().find("フォーム 'F' の Blob"), std::string::npos)
                << e.description();
            EXPECT_NE(e.description().find(std::string("オフセット ") + c.offset),
                      std::string::npos)
                << e.description();
        }
    }
}

// A form with a default text-box record, a detail section, a text box with its attached label
// and an option group holding a check box.
Obj sampleForm() {
    const Obj label{0x64, text(0xDC, "StartLabel") + text(0xDD, "Start:"), {}};
    const Obj startBox{0x6D, flag(0x00) + i16(0x60, 100) + text(0xDC, "Start"), {label}};
    const Obj member{0x6A, i32(0x9C, 2) + text(0xDC, "Opt1"), {}};
    const Obj group{0x6B, text(0xDC, "Group"), {member}};
    const Obj detail{0x98, i16(0x60, 1000) + text(0xDF, "Detail"), {startBox, group}};
    const Obj defaults{0x6D, byte(0x34, 0) + i16(0x62, 2000), {}};
    return {0x96, flag(0x05) + byte(0x39, 3) + text(0xDD, "Dialog"), {defaults, detail}};
}

TEST(DesignStream, compactTreeGivesPropertiesSectionsAndControlsInOrder) {
    const DecodedDesign d = decodeForm(stream(0x13, sampleForm()));
    const DesignObject& o = d.object;
    EXPECT_EQ(o.properties.get("Name"), Value("F"));
    EXPECT_EQ(o.properties.get("Caption"), Value("Dialog"));
    EXPECT_EQ(o.properties.get("BorderStyle"), Value(3));
    // A yes/no tag alone means "not the default": Modal defaults to No.
    EXPECT_EQ(o.properties.get("Modal"), Value(true));
    EXPECT_EQ(o.properties.get("PopUp"), Value(false));
    ASSERT_EQ(o.sections.size(), 1u);
    EXPECT_EQ(o.sections[0].get("Height"), Value(1000));

    std::vector<std::pair<std::string, std::string>> order;
    for (const auto& c : o.controls)
        order.emplace_back(c.name(), c.parent);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Start", "Detail"}, {"StartLabel", "Start"}, {"Group", "Detail"}, {"Opt1", "Group"}};
    EXPECT_EQ(order, expected);

    const Control& start = controlNamed(o, "Start");
    EXPECT_EQ(start.controlType(), 109);
    EXPECT_EQ(start.properties.get("Visible"), Value(false));
    EXPECT_EQ(start.properties.get("Left"), Value(100));
    EXPECT_EQ(start.properties.get("Width"), Value(2000));       // the form's default record
    EXPECT_EQ(start.properties.get("SpecialEffect"), Value(0));  // ditto
    EXPECT_EQ(start.properties.get("Top"), Value(0));            // built-in default
    // Only a member of an option group has an option value.
    EXPECT_EQ(controlNamed(o, "Opt1").properties.get("OptionValue"), Value(2));
    EXPECT_FALSE(start.properties.contains("OptionValue"));
}

TEST(DesignStream, listingTellsWhereEachValueCameFrom) {
    const DecodedDesign d = decodeForm(stream(0x13, sampleForm()));
    const DecodedItem* start = nullptr;
    for (const auto& item : d.items) {
        if (item.name == "Start")
            start = &item;
    }
    ASSERT_NE(start, nullptr);
    ASSERT_EQ(start->origins.size(), start->properties.count());
    auto originOf = [&](std::string_view name) {
        for (std::size_t i = 0; i < start->properties.count(); ++i) {
            if (start->properties.at(i).name == name)
                return start->origins[i];
        }
        throw std::runtime_error("no property");
    };
    EXPECT_EQ(originOf("Left"), PropertyOrigin::Stored);
    EXPECT_EQ(originOf("Width"), PropertyOrigin::Template);
    EXPECT_EQ(originOf("Top"), PropertyOrigin::Default);
}

TEST(DesignStream, textOfOlderStreamsIsInTheProjectCodePage) {
    const std::string caption = zanfor::util::Utf8ToCp932("売上高ダイアログ");
    const std::string blob = stream(0x11, {0x96, var(0xDD, caption), {}});
    EXPECT_EQ(decodeForm(blob, {}, 932).object.properties.get("Caption"),
              Value("売上高ダイアログ"));
    EXPECT_NE(decodeForm(blob, {}, 1252).object.properties.get("Caption"),
              Value("売上高ダイアログ"));
}

TEST(DesignStream, variableValuesOf255BytesAndMoreHaveATwoByteLength) {
    const std::string sql(300, 'S');
    const auto d = decodeForm(stream(0x13, {0x96, text(0xDC, sql) + text(0xDD, "c"), {}}));
    EXPECT_EQ(d.object.properties.get("RecordSource"), Value(sql));
    EXPECT_EQ(d.object.properties.get("Caption"), Value("c"));
}

// Damaged bytes may repeat a tag: the object keeps one entry, the last, however many repeats.
TEST(DesignStream, aRepeatedTagKeepsItsLastValue) {
    std::string repeats;
    for (int i = 0; i < 5000; ++i)
        repeats += text(0xDD, i % 2 ? "odd" : "even");
    const auto d = decodeForm(stream(0x13, {0x96, repeats + flag(0x05) + flag(0x05), {}}));
    EXPECT_EQ(d.object.properties.get("Caption"), Value("odd"));
    EXPECT_EQ(d.object.properties.get("Modal"), Value(true));
    EXPECT_EQ(d.items.front().stored.size(), 4u);  // Name, Caption, Modal, HasModule
}

TEST(DesignStream, explicitEntriesCarryTheirTypeAndLaterPropertiesStayOut) {
    const Obj box{0x6D,
                  entry(0x48, 0x0A, 2, le(3, 1)) +       // not in the table: named by its id
                      entry(0x120, 0x0A, 2, le(4, 1)) +  // a later Access's slot: not named
                      entry(0xDC, 0x14, 0x0A, utf16("Box")),
                  {}};
    const Obj root{0x96,
                   entry(0x1C, 0x175, 1, "") +             // yes/no, no value: not the default
                       entry(0x112, 0x1A6, 1, le(0, 2)) +  // yes/no with its value
                       entry(0x63, 0x96, 3, le(6655, 2)) + entry(0x190, 0x246, 4, le(7, 4)),
                   {Obj{0x98, entry(0xDF, 0x14, 0x0A, utf16("Detail")), {box}}}};
    const auto d = decodeForm(stream(0x14, root));
    const auto& p = d.object.properties;
    EXPECT_EQ(p.get("AllowDesignChanges"), Value(false));
    EXPECT_EQ(p.get("AllowDatasheetView"), Value(false));
    EXPECT_EQ(p.get("Width"), Value(6655));
    ASSERT_EQ(d.items.front().unnamed.size(), 1u);
    EXPECT_EQ(d.items.front().unnamed[0].tag, 0x190u);
    const Control& b = controlNamed(d.object, "Box");
    EXPECT_EQ(b.properties.get("BorderWidth"), Value(3));
}

TEST(DesignStream, blobDeltaIsMergedObjectByObject) {
    const Obj box{0x6D, text(0xDC, "Box"), {}};
    const std::string blob = stream(0x13, {0x96, {}, {Obj{0x98, text(0xDF, "Detail"), {box}}}});
    const Obj deltaBox{0x6D, entry(0x103, 0x1BE, 1, le(0xFFFF, 2)), {}};
    const std::string delta = stream(0x14, {0x96, {}, {Obj{0x98, {}, {deltaBox}}}});
    const auto d = decodeForm(blob, delta);
    EXPECT_EQ(controlNamed(d.object, "Box").properties.get("AsianLineBreak"), Value(true));

    // A BlobDelta that does not read is named as such.
    try {
        decodeForm(blob, le(0x16, 2) + delta.substr(2));
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("フォーム 'F' の BlobDelta"), std::string::npos)
            << e.description();
        EXPECT_NE(e.description().find("未知のバージョン 0x0016"), std::string::npos);
    }

    const std::string misshapen = stream(0x14, {0x96, {}, {Obj{0x98, {}, {}}}});
    try {
        decodeForm(blob, misshapen);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(e.description().find("BlobDelta"), std::string::npos) << e.description();
    }
}

TEST(DesignStream, reportGroupLevelsTakeDefaultsForWhatIsNotStored) {
    const Obj byAmount{
        0x9F,
        flag(0x00) + flag(0x02) + i16(0x60, 9) + i32(0x9C, 1000) + text(0xDC, "SaleAmount"),
        {}};
    const Obj byCountry{0x9F, text(0xDC, "Country"), {}};
    const Obj detail{0x98, text(0xDF, "Detail"), {}};
    const Obj footer{0x9E, i16(0x61, 1) + text(0xDF, "GroupFooter1"), {}};
    const std::string blob = stream(0x13, {0x97, {}, {byAmount, byCountry, detail, footer}});
    const auto d = DecodeDesign(blob, {}, ObjectType::Report, "R", false, 1252).object;
    ASSERT_EQ(d.groupLevels.size(), 2u);
    const GroupLevel& first = d.groupLevel(0);
    EXPECT_EQ(first.sortOrder, Value(true));
    EXPECT_EQ(first.groupHeader, Value(false));
    EXPECT_EQ(first.groupFooter, Value(true));
    EXPECT_EQ(first.groupOn, Value(9));
    EXPECT_EQ(first.groupInterval, Value(1000));
    EXPECT_EQ(first.controlSource, Value("SaleAmount"));
    const GroupLevel& second = d.groupLevel(1);
    EXPECT_EQ(second.sortOrder, Value(false));
    EXPECT_EQ(second.groupInterval, Value(1));
    EXPECT_EQ(second.keepTogether, Value(0));
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[1].get("BreakLevel"), Value(1));
}

TEST(DesignStream, treesNoDesignHasAreRejected) {
    const Obj detail{0x98, text(0xDF, "Detail"), {}};
    struct Case {
        const char* label;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"report root for a form", stream(0x13, {0x97, {}, {}}), "ルートのクラス"},
        {"unknown class", stream(0x13, {0x96, {}, {Obj{0x98, {}, {Obj{0x73, {}, {}}}}}}),
         "未知のオブジェクト クラス 0x73"},
        {"control after a section", stream(0x13, {0x96, {}, {detail, Obj{0x6D, {}, {}}}}),
         "セクションの外"},
        {"grouping in a form", stream(0x13, {0x96, {}, {Obj{0x9F, {}, {}}, detail}}), "グループ化"},
        {"section inside a section", stream(0x13, {0x96, {}, {Obj{0x98, {}, {detail}}}}),
         "コントロールの位置"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            decodeForm(c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
            EXPECT_NE(e.description().find(c.reason), std::string::npos) << e.description();
        }
    }
}

std::string dirEntry(std::string_view nameBytes, std::size_t counted, std::uint32_t number) {
    return le(4, 1) + le(counted + 4, 1) + std::string(nameBytes) + le(number, 4);
}

TEST(DesignDirectory, namesAndStorageNumbersWithTheUnderCountRecovered) {
    const std::string ichiran("\x00\x4E\xA7\x89", 4);  // 一覧: its first character's low byte is 0
    struct Case {
        const char* label;
        std::string data;
        std::vector<std::pair<std::string, std::uint32_t>> expected;
    };
    const Case cases[] = {
        {"as written",
         le(0, 4) + dirEntry(utf16("Orders"), 12, 5) + dirEntry(utf16("Main"), 8, 12),
         {{"Orders", 5}, {"Main", 12}}},
        {"length counted short",
         le(0, 4) + dirEntry(ichiran, 0, 7) + dirEntry(utf16("A"), 2, 3),
         {{"一覧", 7}, {"A", 3}}},
        {"counted short, storage 0", le(0, 4) + dirEntry(ichiran, 0, 0), {{"一覧", 0}}},
        {"entry cut off", le(0, 4) + dirEntry(utf16("Orders"), 12, 5).substr(0, 10), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::pair<std::string, std::uint32_t>> got;
        for (const auto& e : ReadDirData(c.data))
            got.emplace_back(e.name, e.storage);
        EXPECT_EQ(got, c.expected);
    }
}

// A project whose stored form does not read: opening it names the form, its stream and the
// offset; a form the project does not store is no error, just absent.
TEST(DesignDirectory, storedObjectsAreFoundThroughDirDataAndDamageIsNamed) {
    const std::string dir = le(0, 4) + dirEntry(utf16("Good"), 8, 1) + dirEntry(utf16("Bad"), 6, 2);
    const std::string good = stream(0x13, {0x96, text(0xDD, "Hello"), {}});
    StorageNode forms{"Forms", false, {}, {}};
    forms.children.push_back(
        {"\x03"
         "DirData",
         true,
         dir,
         {}});
    forms.children.push_back({"1", false, {}, {{"Blob", true, good, {}}}});
    forms.children.push_back({"2", false, {}, {{"Blob", true, good.substr(0, 12), {}}}});
    StorageNode root{"Root Entry", false, {}, {forms}};
    const auto project = AccessProject::FromStorage(root);

    EXPECT_EQ(StoredObjectNames(*project, ObjectType::Form),
              (std::vector<std::string>{"Good", "Bad"}));
    const auto ok = ReadStoredDesign(*project, ObjectType::Form, "good");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->name, "Good");
    EXPECT_EQ(ok->properties.get("Caption"), Value("Hello"));
    EXPECT_FALSE(ReadStoredDesign(*project, ObjectType::Form, "Missing"));
    EXPECT_FALSE(ReadStoredDesign(*project, ObjectType::Report, "Good"));
    try {
        ReadStoredDesign(*project, ObjectType::Form, "Bad");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
        EXPECT_NE(e.description().find("フォーム 'Bad' の Blob を読めません (オフセット 0x000A)"),
                  std::string::npos)
            << e.description();
    }
}

}  // namespace
