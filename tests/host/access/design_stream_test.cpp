// Designs built entry by entry: how each encoding reads, what the reader makes of what no table
// names, and how damage is reported.

#include "host/access/design_stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "access_fixture.h"
#include "host/access/access_project.h"
#include "host/access/design_directory.h"
#include "host/access/design_reader.h"
#include "host/error.h"
#include "host/export/expect_error.h"
#include "util/encoding.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using zanfor::test::ControlNamed;
using zanfor::test::ErrorOf;
using zanfor::test::ExpectError;
using zanfor::test::Le;
using zanfor::test::Utf16;
using zanfor::test::ValuesOf;

// Compact entries: a tag's range fixes the payload's size.
std::string flag(int tag) { return Le(tag, 1); }
std::string byte(int tag, int v) { return Le(tag, 1) + Le(v, 1); }
std::string i16(int tag, int v) { return Le(tag, 1) + Le(static_cast<std::uint16_t>(v), 2); }
std::string i32(int tag, std::int64_t v) {
    return Le(tag, 1) + Le(static_cast<std::uint32_t>(v), 4);
}
std::string var(int tag, const std::string& payload) {
    if (payload.size() >= 0xFFFF)
        return Le(tag, 1) + Le(0xFF, 1) + Le(0xFFFF, 2) + Le(payload.size(), 4) + payload;
    if (payload.size() >= 0xFF)
        return Le(tag, 1) + Le(0xFF, 1) + Le(payload.size(), 2) + payload;
    return Le(tag, 1) + Le(payload.size(), 1) + payload;
}
std::string text(int tag, std::string_view s) { return var(tag, Utf16(s)); }

// Explicit entries: tag, property id, type, element size, length, payload.
std::string entry(int tag, int id, int type, const std::string& payload) {
    return Le(tag, 4) + Le(id, 2) + Le(type, 4) + Le(0, 4) + Le(payload.size(), 4) + payload;
}

struct Obj {
    int cls;
    std::string properties;
    std::vector<Obj> children;
};

std::string encode(const Obj& o, bool explicitEncoding) {
    const int width = explicitEncoding ? 4 : 1;
    std::string b = Le(o.cls, 2) + o.properties;
    if (o.children.empty())
        b += Le(0xFD, width);
    else if (o.children.size() == 1)
        b += Le(0xFE, width);
    else
        b += Le(0xFF, width) + Le(o.children.size(), 2);
    for (const auto& c : o.children)
        b += encode(c, explicitEncoding);
    return b;
}

std::string stream(int version, const Obj& root) {
    return Le(version, 2) + Le(version, 2) + Le(0, 4) + encode(root, version >= 0x14);
}

DecodedDesign decodeForm(const std::string& blob, const std::string& delta = {},
                         int codePage = 1252) {
    return DecodeDesign(blob, delta, ObjectType::Form, "F", false, codePage);
}

// Every way a stream can be malformed, and every tree no design has, is reported with the
// object and the place.
TEST(DesignStream, malformedStreamsNameTheObjectAndTheOffset) {
    const Obj emptyForm{0x96, {}, {}}, captioned{0x96, text(0xDD, "Caption"), {}};
    const Obj detail{0x98, text(0xDF, "Detail"), {}};
    Obj deep{0x6D, {}, {}};
    for (int i = 0; i < 40; ++i)
        deep = Obj{0x6B, {}, {deep}};
    const std::string good = stream(0x13, emptyForm);
    const std::string explicitEntry = stream(0x14, {0x96, entry(0x63, 0x96, 3, "\x01\x02"), {}});
    const std::pair<std::string, const char*> cases[] = {
        {good.substr(0, 5), "(オフセット 0x0000): "},             // short header
        {Le(0x12, 2) + good.substr(2), "(オフセット 0x0000): "},  // unknown version
        {good.substr(0, 4) + Le(1, 4) + good.substr(8), "(オフセット 0x0004): "},  // reserved
        {stream(0x13, {0x96, i16(0x80, 1), {}}), "(オフセット 0x000A): "},  // tag of unknown size
        {stream(0x13, captioned).substr(0, 14), "(オフセット 0x000A): "},   // value past the end
        {good + "x", "(オフセット 0x000B): "},                              // bytes after the root
        {stream(0x13, {0x96, {}, {captioned, captioned}}).substr(0, 40), "(オフセット 0x0022): "},
        {good.substr(0, 10) + "\xFF\xFF\xFF" + std::string(30, '\xFD'), "(オフセット 0x000B): "},
        {explicitEntry.substr(0, 28), "(オフセット 0x000A): "},  // explicit length past the end
        {stream(0x13, {0x96, {}, {Obj{0x98, {}, {deep}}}}), "(オフセット 0x006B): "},  // too deep
        {stream(0x13, {0x97, {}, {}}), "ルートのクラス"},
        {stream(0x13, {0x96, {}, {detail, Obj{0x6D, {}, {}}}}), "セクションの外"},
        {stream(0x13, {0x96, {}, {Obj{0x9F, {}, {}}, detail}}), "グループ化"},
        {stream(0x13, {0x96, {}, {Obj{0x98, {}, {detail}}}}), "コントロールの位置"},
        // A record of a class no table knows is sized by its entries: one that cannot be sized
        // or runs past the end is damage all the same.
        {stream(0x13, {0x96, {}, {Obj{0x98, {}, {Obj{0x55, i16(0x80, 1), {}}}}}}),
         "(オフセット 0x0010): クラス 0x55 のタグ 0x80"},
        {stream(0x13, {0x96, {}, {Obj{0x55, text(0xDC, "Odd"), {}}}}).substr(0, 18),
         "(オフセット 0x000D): 値の長さ"},
    };
    for (const auto& [bytes, expected] : cases) {
        std::string d;
        EXPECT_EQ(ErrorOf([&] { decodeForm(bytes); }, &d), err::kProjectStorageDamaged) << expected;
        EXPECT_EQ(d.rfind("フォーム 'F' の Blob を読めません (オフセット 0x", 0), 0u) << d;
        EXPECT_NE(d.find(expected), std::string::npos) << d;
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
    // A yes/no tag alone means "not the default": Modal defaults to No.
    EXPECT_EQ(ValuesOf(o.properties, "Name Caption BorderStyle Modal PopUp"),
              "F|Dialog|3|True|False");
    ASSERT_EQ(o.sections.size(), 1u);
    EXPECT_EQ(o.sections[0].get("Height"), Value(1000));

    std::string order;  // each control and its holder
    for (const auto& c : o.controls)
        order += c.name() + "<" + c.parent + " ";
    EXPECT_EQ(order, "Start<Detail StartLabel<Start Group<Detail Opt1<Group ");
    const Control& start = ControlNamed(o, "Start");
    // Stored, stored, from the form's default record (twice), the built-in default.
    EXPECT_EQ(ValuesOf(start.properties, "ControlType Visible Left Width SpecialEffect Top"),
              "109|False|100|2000|0|0");
    // Only a member of an option group has an option value.
    EXPECT_EQ(ControlNamed(o, "Opt1").properties.get("OptionValue"), Value(2));
    EXPECT_FALSE(start.properties.contains("OptionValue"));
}

// Text of older streams is in the project's code page; a value of 255 bytes or more has a
// two-byte length, one of 65535 or more (a large form picture) a four-byte one; a tag repeated
// (damaged bytes may do so) keeps one entry, the last.
TEST(DesignStream, compactValuesReadWhateverTheirEncodingOrRepeats) {
    const std::string blob =
        stream(0x11, {0x96, var(0xDD, zanfor::util::Utf8ToCp932("売上高")), {}});
    EXPECT_EQ(decodeForm(blob, {}, 932).object.properties.get("Caption"), Value("売上高"));
    EXPECT_NE(decodeForm(blob, {}, 1252).object.properties.get("Caption"), Value("売上高"));
    const std::string sql(300, 'S');
    std::string values = text(0xDC, sql);
    for (int i = 0; i < 5000; ++i)
        values += text(0xDD, i % 2 ? "odd" : "even");
    const std::string large(40000, 'L');
    values += text(0xDD, large);
    const auto d = decodeForm(stream(0x13, {0x96, values + flag(0x05) + flag(0x05), {}}));
    EXPECT_EQ(ValuesOf(d.object.properties, "RecordSource Caption Modal"),
              sql + "|" + large + "|True");
    EXPECT_EQ(d.items.front().stored.size(), 5u);  // Name, RecordSource, Caption, Modal, HasModule
}

TEST(DesignStream, explicitEntriesCarryTheirTypeAndLaterPropertiesStayOut) {
    const Obj box{0x6D,
                  entry(0x48, 0x0A, 2, Le(3, 1)) +       // not in the table: named by its id
                      entry(0x120, 0x0A, 2, Le(4, 1)) +  // a later Access's slot: not named
                      entry(0xDC, 0x14, 0x0A, Utf16("Box")),
                  {}};
    const Obj root{0x96,
                   entry(0x1C, 0x175, 1, "") +             // yes/no, no value: not the default
                       entry(0x112, 0x1A6, 1, Le(0, 2)) +  // yes/no with its value
                       entry(0x63, 0x96, 3, Le(6655, 2)) + entry(0x190, 0x246, 4, Le(7, 4)),
                   {Obj{0x98, entry(0xDF, 0x14, 0x0A, Utf16("Detail")), {box}}}};
    const auto d = decodeForm(stream(0x14, root));
    EXPECT_EQ(ValuesOf(d.object.properties, "AllowDesignChanges AllowDatasheetView Width"),
              "False|False|6655");
    ASSERT_EQ(d.items.front().unnamed.size(), 1u);
    EXPECT_EQ(d.items.front().unnamed[0].tag, 0x190u);
    EXPECT_EQ(ControlNamed(d.object, "Box").properties.get("BorderWidth"), Value(3));
}

TEST(DesignStream, blobDeltaIsMergedObjectByObject) {
    const Obj box{0x6D, text(0xDC, "Box"), {}};
    const std::string blob = stream(0x13, {0x96, {}, {Obj{0x98, text(0xDF, "Detail"), {box}}}});
    const Obj deltaBox{0x6D, entry(0x103, 0x1BE, 1, Le(0xFFFF, 2)), {}};
    const std::string delta = stream(0x14, {0x96, {}, {Obj{0x98, {}, {deltaBox}}}});
    const auto d = decodeForm(blob, delta);
    EXPECT_EQ(ControlNamed(d.object, "Box").properties.get("AsianLineBreak"), Value(true));

    // A BlobDelta that does not read, or does not match the tree, is named as such.
    ExpectError(
        [&] { decodeForm(blob, Le(0x16, 2) + delta.substr(2)); }, err::kProjectStorageDamaged,
        "フォーム 'F' の BlobDelta を読めません (オフセット 0x0000): 未知のバージョン 0x0016");
    const std::string misshapen = stream(0x14, {0x96, {}, {Obj{0x98, {}, {}}}});
    ExpectError([&] { decodeForm(blob, misshapen); }, err::kProjectStorageDamaged, "BlobDelta");
}

TEST(DesignStream, reportGroupLevelsTakeDefaultsForWhatIsNotStored) {
    const std::string amount = flag(0x00) + flag(0x02) + i16(0x60, 9) + i32(0x9C, 1000);
    const Obj byAmount{0x9F, amount + text(0xDC, "SaleAmount"), {}};
    const Obj byCountry{0x9F, text(0xDC, "Country"), {}};
    const Obj detail{0x98, text(0xDF, "Detail"), {}};
    const Obj footer{0x9E, i16(0x61, 1) + text(0xDF, "GroupFooter1"), {}};
    const std::string blob = stream(0x13, {0x97, {}, {byAmount, byCountry, detail, footer}});
    const auto d = DecodeDesign(blob, {}, ObjectType::Report, "R", false, 1252).object;
    ASSERT_EQ(d.groupLevels.size(), 2u);
    std::string levels;  // sort, header, footer, group on, interval, together, source
    for (const GroupLevel& g : d.groupLevels) {
        for (const Value& v : {g.sortOrder, g.groupHeader, g.groupFooter, g.groupOn,
                               g.groupInterval, g.keepTogether, g.controlSource})
            levels += v.toText() + " ";
    }
    EXPECT_EQ(levels, "True False True 9 1000 0 SaleAmount False False False 0 1 0 Country ");
    ASSERT_EQ(d.sections.size(), 2u);
    EXPECT_EQ(d.sections[1].get("BreakLevel"), Value(1));
}

// Each space-separated probe must read as unknown, or, after "!", must not.
template <typename Object>
void ExpectUnknown(const Object& o, const std::string& probes) {
    std::istringstream in(probes);
    for (std::string p; in >> p;) {
        const bool known = p[0] == '!';
        EXPECT_EQ(o.isUnknown(p.substr(known)), !known) << p;
    }
}

// Where an object stores entries no table names, those may be any property of their kind
// (yes/no or text) that no table names either: such properties read as unknown, not as their
// defaults. 0x2D and 0xD5 are a yes/no and a text no table names for a form or a text box.
TEST(DesignStream, onlyUnnamedPropertiesOfAStoredUnnamedKindAreUnknown) {
    const std::string unnamedFlag = flag(0x2D), unnamedText = text(0xD5, "?");
    struct Case {
        std::string form, box, defaults;  // the entries of the form, its box, its default record
        const char* formProbes;
        const char* boxProbes;
        int control = 0x6D;
    };
    const Case cases[] = {
        {"", flag(0x02), "", "!DataEntry !HelpFile", "!Locked !IMEHold !ShortcutMenuBar"},
        {"", unnamedFlag, "", "!DataEntry",
         "IMEHold Vertical !Locked !ShortcutMenuBar !IMEMode !ControlType"},
        {"", unnamedText, "", "", "ShortcutMenuBar OnMouseMove !ControlSource !Name !IMEHold"},
        {"", "", unnamedFlag, "", "IMEHold !Locked"},
        {unnamedFlag + unnamedText, "", "", "DataEntry HelpFile !PopUp !RecordSource !Name",
         "!IMEHold"},
        {unnamedFlag + flag(0x19), "", "", "DataEntry !OrderByOn !MenuBar", ""},
        // A picture embedded without its path: the path is not told.
        {"", var(0xDF, std::string(40, '\x11')), "", "", "Picture !PictureType !SizeMode", 0x67},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxProbes);
        std::vector<Obj> children;
        if (!c.defaults.empty())
            children.push_back({c.control, c.defaults, {}});
        children.push_back(
            {0x98, text(0xDF, "Detail"), {{c.control, c.box + text(0xDC, "Box"), {}}}});
        const DesignObject d = decodeForm(stream(0x13, {0x96, c.form, children})).object;
        ASSERT_EQ(d.controls.size(), 1u);
        ExpectUnknown(d, c.formProbes);
        ExpectUnknown(d.controls[0], c.boxProbes);
    }
}

// A record of a class no table knows is left out wherever it stands, with what it holds, and
// the rest of the design reads; the listing keeps it with its entries unnamed.
TEST(DesignStream, recordsOfAnUnknownClassAreLeftOutAndTheRestReads) {
    const Obj label{0x64, text(0xDC, "Lbl"), {}};
    const Obj odd{0x55, flag(0x05) + text(0xDC, "Odd"), {Obj{0x6D, text(0xDC, "Inner"), {}}}};
    const Obj group{0x6B, text(0xDC, "Group"), {odd, Obj{0x6A, text(0xDC, "Opt"), {}}}};
    // The controls, then the skipped record's holder.
    const std::tuple<Obj, const char*, const char*> cases[] = {
        {{0x96, {}, {odd, {0x98, text(0xDF, "Detail"), {label}}}}, "Lbl ", ""},
        {{0x96, {}, {{0x98, text(0xDF, "Detail"), {odd, label}}}}, "Lbl ", "Detail"},
        {{0x96, {}, {{0x98, text(0xDF, "Detail"), {group, label}}}}, "Group Opt Lbl ", "Group"},
    };
    for (const auto& [root, controls, parent] : cases) {
        const auto d = decodeForm(stream(0x13, root));
        std::string names;
        for (const auto& control : d.object.controls)
            names += control.name() + " ";
        EXPECT_EQ(names, controls);
        std::vector<std::string> skipped;  // kind, holder, entries no table names
        for (const auto& item : d.items) {
            if (item.objectClass == 0x55)
                skipped.push_back(item.kind + "|" + item.parent + "|" +
                                  std::to_string(item.unnamed.size()));
        }
        EXPECT_EQ(skipped, std::vector<std::string>{"|" + std::string(parent) + "|2"});
    }
}

std::string dirEntry(std::string_view nameBytes, std::size_t counted, std::uint32_t number) {
    return Le(4, 1) + Le(counted + 4, 1) + std::string(nameBytes) + Le(number, 4);
}

TEST(DesignDirectory, namesAndStorageNumbersWithTheUnderCountRecovered) {
    const std::string ichiran("\x00\x4E\xA7\x89", 4);  // 一覧: its first character's low byte is 0
    const std::pair<std::string, std::string> cases[] = {
        {dirEntry(Utf16("Orders"), 12, 5) + dirEntry(Utf16("Main"), 8, 12), "Orders=5 Main=12 "},
        // The name's length counted short, even to nothing, as some files have it.
        {dirEntry(ichiran, 0, 7) + dirEntry(Utf16("A"), 2, 3), "一覧=7 A=3 "},
        {dirEntry(ichiran, 0, 0), "一覧=0 "},
        {dirEntry(Utf16("Orders"), 12, 5).substr(0, 10), ""},
    };
    for (const auto& [data, expected] : cases) {
        std::string got;
        for (const auto& e : ReadDirData(Le(0, 4) + data))
            got += e.name + "=" + std::to_string(e.storage) + " ";
        EXPECT_EQ(got, expected);
    }
}

// A project whose stored form does not read: opening it names the form, its stream and the
// offset; a form the project does not store is no error, just absent.
TEST(DesignDirectory, storedObjectsAreFoundThroughDirDataAndDamageIsNamed) {
    const std::string dir = Le(0, 4) + dirEntry(Utf16("Good"), 8, 1) + dirEntry(Utf16("Bad"), 6, 2);
    const std::string good = stream(0x13, {0x96, text(0xDD, "Hello"), {}});
    const auto blob = [](std::string name, std::string data) {
        return StorageNode{std::move(name), false, {}, {{"Blob", true, std::move(data), {}}}};
    };
    const StorageNode dirData{std::string("\x03") + "DirData", true, dir, {}};
    const StorageNode forms{
        "Forms", false, {}, {dirData, blob("1", good), blob("2", good.substr(0, 12))}};
    const auto project = AccessProject::FromStorage({"Root Entry", false, {}, {forms}});

    EXPECT_EQ(StoredObjectNames(*project, ObjectType::Form),
              (std::vector<std::string>{"Good", "Bad"}));
    const auto ok = ReadStoredDesign(*project, ObjectType::Form, "good");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->name + " " + ok->properties.get("Caption").toText(), "Good Hello");
    EXPECT_FALSE(ReadStoredDesign(*project, ObjectType::Form, "Missing"));
    EXPECT_FALSE(ReadStoredDesign(*project, ObjectType::Report, "Good"));
    ExpectError([&] { ReadStoredDesign(*project, ObjectType::Form, "Bad"); },
                err::kProjectStorageDamaged,
                "フォーム 'Bad' の Blob を読めません (オフセット 0x000A)");
}

}  // namespace
