#include "host/jet/property_blob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "host/jet/jet_image_fixture.h"
#include "host/jet/mdb_file.h"
#include "test_support.h"

namespace zanfor::host::jet {
namespace {

using namespace std::string_literals;

std::string Le(std::uint64_t n, int size) { return test::LittleEndian(n, size); }

std::string Ucs2(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out += Le(c, 2);
    return out;
}

std::string Chunk(int type, const std::string& body) {
    return Le(6 + body.size(), 4) + Le(type, 2) + body;
}

std::string NamePool(const std::vector<std::string>& names) {
    std::string body;
    for (const auto& name : names)
        body += Le(name.size(), 2) + name;
    return Chunk(0x80, body);
}

using Entry = std::tuple<int, int, std::string>;  // type, name index, value

std::string Values(int type, const std::string& owner, const std::vector<Entry>& entries) {
    std::string body = Le(6 + owner.size(), 4) + Le(owner.size(), 2) + owner;
    for (const auto& [valueType, name, value] : entries)
        body += Le(8 + value.size(), 2) + '\x01' + static_cast<char>(valueType) + Le(name, 2) +
                Le(value.size(), 2) + value;
    return Chunk(type, body);
}

constexpr std::string_view kJet4{"MR2\0", 4};
constexpr std::string_view kJet3{"KKD\0", 4};

template <typename... Chunks>
PropertyBlob ParseJet4(const Chunks&... chunks) {
    std::string bytes(kJet4);
    (bytes.append(chunks), ...);
    return ParsePropertyBlob(bytes, JetVersion::Jet4, 1252);
}

// One line per owner and per property, so that whole blobs compare as sequences.
std::vector<std::string> Lines(const PropertyBlob& blob) {
    std::vector<std::string> lines;
    auto add = [&lines](const std::string& owner, const Properties& properties) {
        lines.push_back(owner);
        for (const auto& p : properties)
            lines.push_back(owner + "." + p.name +
                            std::to_string(static_cast<int>(p.value.kind())) + p.value.toText());
    };
    add("", blob.object);
    for (const auto& [column, properties] : blob.columns)
        add(column, properties);
    return lines;
}

TEST(PropertyBlob, eachJetTypeGivesItsValue) {
    // A value whose length does not fit its type reads as Null.
    const std::vector<std::tuple<int, std::string, Value>> cases = {
        {1, "\x01", true},
        {2, "\xFF", 255},
        {3, "\xFF\xFF", -1},
        {3, Le(119, 4), 119},  // Integer properties such as ProjVer are often 4 bytes wide
        {3, "\x01\x02\x03", Value()},
        {5, Le(12345678, 8), 1234.5678},
        {6, Le(0x3DCCCCCD, 4), 0.1},
        {8, Le(0x40E1D58000000000, 8), Date{36524.0}},
        {11, "\x12\x34", Value()},
        {12, Ucs2(u"a\U0001F600b") + "\0\xD8"s, "a\U0001F600b\uFFFD"},
        {12, "\xFF\xFE"s + "ab\0B0D0\0c"s, "abあいc"},
        {12, "\xFF\xFE"s + "a\0B"s, "a"},
        {15, "\x67\x45\x23\x01\xAB\x89\xEF\xCD\x01\x23\x45\x67\x89\xAB\xCD\xEF",
         "{01234567-89AB-CDEF-0123-456789ABCDEF}"},
    };
    for (const auto& [type, bytes, expected] : cases) {
        const auto blob = ParseJet4(NamePool({Ucs2(u"P")}), Values(0, "", {{type, 0, bytes}}));
        EXPECT_EQ(blob.object.get("P"), expected) << type << " " << expected.toText();
    }
}

TEST(PropertyBlob, emptyOwnerIsTheObjectAndColumnBlocksMergeWithoutRegardToCase) {
    const auto blob =
        ParseJet4(NamePool({Ucs2(u"Description"), Ucs2(u"Caption"), Ucs2(u"Unused")}),
                  Values(0, "", {{10, 0, Ucs2(u"table")}}),
                  Values(1, Ucs2(u"Name"), {{12, 1, Ucs2(u"a")}}), Values(1, Ucs2(u"Zip"), {}),
                  Values(1, Ucs2(u"NAME"), {{10, 0, Ucs2(u"b")}, {12, 1, Ucs2(u"c")}}));
    EXPECT_EQ(Lines(blob),
              (std::vector<std::string>{"", ".Description4table", "Name", "Name.Caption4c",
                                        "Name.Description4b", "Zip"}));
}

TEST(PropertyBlob, jet3TextIsInTheCodePageAndOtherSignaturesGiveNothing) {
    const std::string blob =
        NamePool({"Description"}) + Values(1, "\x8F\xA4\x95\x69", {{10, 0, "\x90\xE0\x96\xBE"}});
    const auto jet3 = ParsePropertyBlob(std::string(kJet3).append(blob), JetVersion::Jet3, 932);
    EXPECT_EQ(Lines(jet3), (std::vector<std::string>{"", "商品", "商品.Description4説明"}));
    for (const std::string& foreign : {""s, "MR2"s, "XXXX" + blob})
        EXPECT_EQ(ParsePropertyBlob(foreign, JetVersion::Jet4, 1252).columns.size(), 0u);
}

std::string ObjectChunk(const std::string& entries) {
    return Chunk(0, Le(6, 4) + Le(0, 2) + entries);
}

TEST(PropertyBlob, damageKeepsWhatPrecededIt) {
    const std::string pool = NamePool({Ucs2(u"A"), Ucs2(u"B")});
    const std::string first = Values(0, "", {{4, 0, Le(1, 4)}});
    const std::string b2 = Le(12, 2) + "\x01\x04" + Le(1, 2) + Le(4, 2) + Le(2, 4);
    const std::vector<std::tuple<std::string, std::string, Value>> cases = {
        {"bad name index skips one entry", Values(0, "", {{4, 7, Le(9, 4)}, {4, 1, Le(2, 4)}}), 2},
        {"zero entry length", ObjectChunk(b2 + Le(0, 2) + "junkjunk" + b2), 2},
        {"value longer than entry",
         ObjectChunk(b2 + Le(9, 2) + "\x01\x04" + Le(0, 2) + Le(32, 2) + "x" + b2), 2},
        {"huge chunk length", Le(0xFFFFFFFF, 4) + ObjectChunk(b2).substr(4) + "z", 2},
        {"owner longer than its block",
         Values(1, "", {{4, 1, Le(2, 4)}}).replace(10, 2, "\xFF\xFF") +
             Values(0, "", {{4, 1, Le(3, 4)}}),
         3},
        {"chunk length below its header", Le(3, 4) + ObjectChunk(b2), Value()},
    };
    for (const auto& [what, tail, b] : cases) {
        std::vector<std::string> expected = {"", ".A21"};
        if (!b.isNull())
            expected.push_back(".B2" + b.toText());
        EXPECT_EQ(Lines(ParseJet4(pool, first, tail)), expected) << what;
    }
}

// The properties of the object of that name and type (1 table, 2 database), as Lines.
std::vector<std::string> RealLines(const std::string& file, const std::string& name, int type) {
    JetFile jet(*test::SharedTestData() / "mdb" / file);
    for (TableReader reader(jet, "MSysObjects"); reader.next();) {
        if (reader.value("Name").toText() == name && reader.value("Type").toInteger() == type)
            return Lines(ParsePropertyBlob(reader.bytes(reader.columnIndex("LvProp")).data,
                                           jet.header().version, jet.header().codePage));
    }
    return {};
}

TEST(PropertyBlob, realFilesGiveTheirDocumentedProperties) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const std::tuple<const char*, const char*, int, std::string> cases[] = {
        {"northwind-ja.mdb", "MSysDb", 2, ".StartUpForm4メイン スイッチボード"},
        {"northwind-ja.mdb", "仕入先", 1,
         "ホームページ.Description4仕入先のWWW (World Wide Web) のホームページ"},
        {"mdbtestdata-nwind-jet3.mdb", "MSysDb", 2, ".StartUpMenuBar4NorthwindCustomMenuBar"},
    };
    for (const auto& [file, name, type, line] : cases) {
        const auto lines = RealLines(file, name, type);
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    // Named in the pool but given no value (the first case shows these lines are read).
    for (const auto& line : RealLines("northwind-ja.mdb", "MSysDb", 2))
        EXPECT_NE(line.rfind(".AppTitle", 0), 0u);
}

}  // namespace
}  // namespace zanfor::host::jet
