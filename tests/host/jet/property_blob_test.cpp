#include "host/jet/property_blob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "host/jet/mdb_file.h"
#include "test_support.h"
#include "util/vb_string.h"

namespace zanfor::host::jet {
namespace {

using namespace std::string_literals;

std::string Le(std::uint64_t n, int size) {
    std::string out;
    for (int i = 0; i < size; ++i)
        out += static_cast<char>(n >> (8 * i) & 0xFF);
    return out;
}

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

struct Entry {
    int type;
    int nameIndex;
    std::string value;
};

std::string Values(int type, const std::string& owner, const std::vector<Entry>& entries) {
    std::string body = Le(6 + owner.size(), 4) + Le(owner.size(), 2) + owner;
    for (const auto& e : entries)
        body += Le(8 + e.value.size(), 2) + '\x01' + static_cast<char>(e.type) +
                Le(e.nameIndex, 2) + Le(e.value.size(), 2) + e.value;
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

TEST(PropertyBlob, eachJetTypeGivesItsValue) {
    const std::vector<std::tuple<int, std::string, Value>> cases = {
        {1, "\x01", true},
        {1, "\0"s, false},
        {1, "", Value()},
        {2, "\xFF", 255},
        {3, "\xFF\xFF", -1},
        {3, Le(119, 4), 119},  // Integer properties such as ProjVer are often 4 bytes wide
        {3, "\x01\x02\x03", Value()},
        {4, Le(-215, 4), -215},
        {5, Le(12345678, 8), 1234.5678},
        {5, Le(1, 4), Value()},
        {6, Le(0x3DCCCCCD, 4), 0.1},
        {7, Le(0x4004000000000000, 8), 2.5},
        {7, Le(0, 4), Value()},
        {8, Le(0x40E1D58000000000, 8), Date{36524.0}},
        {9, "\x12\x34", Value()},
        {11, "\x12\x34", Value()},
        {10, Ucs2(u"仕入先"), "仕入先"},
        {12, Ucs2(u"a\U0001F600b"), "a\U0001F600b"},
        {12, Ucs2(u"x") + "\0\xD8"s, "x\uFFFD"},
        {12, "\xFF\xFE"s + "ab\0B0D0\0c"s, "abあいc"},
        {12, "\xFF\xFE"s + "a\0B"s, "a"},
        {15, "\x67\x45\x23\x01\xAB\x89\xEF\xCD\x01\x23\x45\x67\x89\xAB\xCD\xEF",
         "{01234567-89AB-CDEF-0123-456789ABCDEF}"},
        {99, "x", Value()},
    };
    for (const auto& [type, bytes, expected] : cases) {
        const auto blob = ParseJet4(NamePool({Ucs2(u"P")}), Values(0, "", {{type, 0, bytes}}));
        ASSERT_EQ(blob.object.count(), 1u) << type;
        EXPECT_EQ(blob.object.at(0).value, expected) << type << " " << expected.toText();
    }
}

TEST(PropertyBlob, emptyOwnerIsTheObjectAndColumnBlocksMergeWithoutRegardToCase) {
    const auto blob =
        ParseJet4(NamePool({Ucs2(u"Description"), Ucs2(u"Caption"), Ucs2(u"Unused")}),
                  Values(0, "", {{10, 0, Ucs2(u"table")}}),
                  Values(1, Ucs2(u"Name"), {{12, 1, Ucs2(u"a")}}), Values(1, Ucs2(u"Zip"), {}),
                  Values(1, Ucs2(u"NAME"), {{10, 0, Ucs2(u"b")}, {12, 1, Ucs2(u"c")}}));
    EXPECT_EQ(blob.object.count(), 1u);
    EXPECT_EQ(blob.object.get("Description"), Value("table"));
    ASSERT_EQ(blob.columns.size(), 2u);
    EXPECT_EQ(blob.columns[0].first, "Name");
    EXPECT_EQ(blob.columns[1].first, "Zip");
    const Properties& name = blob.columns[0].second;
    ASSERT_EQ(name.count(), 2u);
    EXPECT_EQ(name.at(0).name, "Caption");
    EXPECT_EQ(name.at(0).value, Value("c"));
    EXPECT_EQ(name.at(1).value, Value("b"));
}

TEST(PropertyBlob, jet3TextIsInTheCodePageAndOtherSignaturesGiveNothing) {
    const std::string blob =
        NamePool({"Description"}) + Values(1, "\x8F\xA4\x95\x69", {{10, 0, "\x90\xE0\x96\xBE"}});
    const auto jet3 = ParsePropertyBlob(std::string(kJet3).append(blob), JetVersion::Jet3, 932);
    ASSERT_EQ(jet3.columns.size(), 1u);
    EXPECT_EQ(jet3.columns[0].first, "商品");
    EXPECT_EQ(jet3.columns[0].second.get("Description"), Value("説明"));
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
        const auto blob = ParseJet4(pool, first, tail);
        EXPECT_EQ(blob.object.get("A"), Value(1)) << what;
        EXPECT_TRUE(blob.columns.empty()) << what;
        EXPECT_EQ(blob.object.count(), b.isNull() ? 1u : 2u) << what;
        if (!b.isNull()) {
            EXPECT_EQ(blob.object.get("B"), b) << what;
        }
    }
}

struct RealBlob {
    std::string bytes;
    JetHeader header;
    PropertyBlob parse(std::size_t length = std::string::npos) const {
        return ParsePropertyBlob(std::string_view(bytes).substr(0, length), header.version,
                                 header.codePage);
    }
};

constexpr int kTable = 1;
constexpr int kDatabase = 2;

RealBlob ReadRealBlob(const std::string& file, const std::string& name, int type) {
    JetFile jet(*test::SharedTestData() / "mdb" / file);
    TableReader reader(jet, "MSysObjects");
    while (reader.next()) {
        if (reader.value("Name").toText() == name && reader.value("Type").toInteger() == type)
            return {reader.bytes(reader.columnIndex("LvProp")).data, jet.header()};
    }
    return {{}, jet.header()};
}

Properties Column(const PropertyBlob& blob, std::string_view name) {
    for (const auto& [column, properties] : blob.columns) {
        if (column == name)
            return properties;
    }
    return {};
}

TEST(PropertyBlob, realFilesGiveTheirDocumentedProperties) {
    if (!test::SharedTestData())
        GTEST_SKIP() << "shared test data is absent";
    const auto db = ReadRealBlob("northwind-ja.mdb", "MSysDb", kDatabase).parse().object;
    EXPECT_EQ(db.get("AccessVersion"), Value("08.50"));
    EXPECT_EQ(db.get("StartupForm"), Value("メイン スイッチボード"));
    EXPECT_EQ(db.get("StartUpShowDBWindow"), Value(true));
    EXPECT_EQ(db.get("HijriCalendar"), Value(false));
    EXPECT_FALSE(db.contains("AppTitle")) << "named in the pool but given no value";

    const auto suppliers = ReadRealBlob("northwind-ja.mdb", "仕入先", kTable).parse();
    EXPECT_EQ(suppliers.object.get("Description"), Value("仕入先名、住所、電話番号"));
    EXPECT_EQ(suppliers.object.get("GUID"), Value());
    EXPECT_EQ(Column(suppliers, "ホームページ").get("Description"),
              Value("仕入先のWWW (World Wide Web) のホームページ"));

    const auto jet3 =
        ReadRealBlob("mdbtestdata-nwind-jet3.mdb", "MSysDb", kDatabase).parse().object;
    EXPECT_EQ(jet3.get("AccessVersion"), Value("07.53"));
    EXPECT_EQ(jet3.get("StartUpMenuBar"), Value("NorthwindCustomMenuBar"));
    const auto products =
        ReadRealBlob("ailtonz-CodBarra39Etiquetas.mdb", "Produtos", kTable).parse();
    EXPECT_EQ(Column(products, "PreçoUnitário").get("DecimalPlaces"), Value(255));
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

TEST(PropertyBlob, everyTruncationOfARealBlobIsAPrefixOfTheWhole) {
    if (!test::SharedTestData())
        GTEST_SKIP() << "shared test data is absent";
    for (const auto& [file, name] : {std::pair("northwind-ja.mdb", "仕入先"),
                                     std::pair("mdbtestdata-nwind-jet3.mdb", "Shippers")}) {
        const RealBlob real = ReadRealBlob(file, name, kTable);
        const auto whole = Lines(real.parse());
        ASSERT_GT(whole.size(), 20u) << name;
        for (std::size_t length = 0; length < real.bytes.size(); ++length) {
            const auto part = Lines(real.parse(length));
            ASSERT_LE(part.size(), whole.size());
            ASSERT_TRUE(std::equal(part.begin(), part.end(), whole.begin())) << name << length;
        }
    }
}

TEST(PropertyBlob, aForgedFloodOfNamesIsCutAtAThousandPerOwner) {
    std::vector<std::string> names;
    std::vector<Entry> entries;
    for (int i = 0; i < 3000; ++i) {
        names.push_back(Ucs2(u"P" + std::u16string(1, static_cast<char16_t>(0x4E00 + i))));
        entries.push_back({4, i, Le(i, 4)});
    }
    entries.push_back({4, 0, Le(-1, 4)});
    const auto blob = ParseJet4(NamePool(names), Values(0, "", entries));
    EXPECT_EQ(blob.object.count(), 1024u);
    EXPECT_EQ(blob.object.at(0).value, Value(-1));
    EXPECT_EQ(blob.object.at(1023).value, Value(1023));
}

TEST(PropertyBlob, randomAndMutatedBytesGiveOnlyValidText) {
    std::mt19937 random(20240611);
    std::string base = std::string(kJet4) + NamePool({Ucs2(u"A"), Ucs2(u"B")}) +
                       Values(1, Ucs2(u"C"), {{10, 1, Ucs2(u"text")}, {3, 0, Le(5, 2)}});
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = base;
        if (round % 2 == 0) {
            bytes.resize(4 + random() % 64);
            for (std::size_t i = 4; i < bytes.size(); ++i)
                bytes[i] = static_cast<char>(random() % 4 == 0 ? random() : random() % 16);
        } else {
            for (int flips = 0; flips < 3; ++flips)
                bytes[4 + random() % (bytes.size() - 4)] = static_cast<char>(random());
        }
        if (round % 3 == 0)
            bytes.replace(0, 4, kJet3);
        for (const auto& line : Lines(ParsePropertyBlob(bytes, JetVersion::Jet4, 932)))
            ASSERT_TRUE(util::IsValidUtf8(line)) << round;
    }
}

}  // namespace
}  // namespace zanfor::host::jet
