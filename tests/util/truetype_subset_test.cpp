#include "util/truetype_subset.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace zanfor::util {
namespace {

std::string Be(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    return out;
}

std::uint32_t ReadBe(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
    return v;
}

const std::string kBox(8, '\0');
const std::string kSimple1 = Be(1, 2) + kBox + "one.";
const std::string kSimple3 = Be(1, 2) + kBox + "three.";
// Two parts: glyph 3 with word arguments, then glyph 1 with byte arguments and a scale.
const std::string kComposite = Be(0xFFFF, 2) + kBox + Be(0x0021, 2) + Be(3, 2) + Be(0, 4) +
                               Be(0x0008, 2) + Be(1, 2) + Be(0, 2) + Be(0x4000, 2);

// Five glyphs, three of them with metrics of their own; glyph 4 lies past the glyph table.
std::map<std::string, std::string> Face() {
    const std::string glyf = kSimple1 + kComposite + kSimple3;
    std::string loca;
    for (std::size_t offset : {std::size_t{0}, std::size_t{0}, kSimple1.size(),
                               kSimple1.size() + kComposite.size(), glyf.size(), glyf.size() + 8})
        loca += Be(static_cast<std::uint32_t>(offset / 2), 2);
    std::string head(54, '\0');
    head.replace(18, 2, Be(1000, 2));
    head.replace(36, 8, Be(0xFF9C, 2) + Be(0xFF38, 2) + Be(900, 2) + Be(800, 2));
    std::string hhea(36, '\0');
    hhea.replace(4, 4, Be(880, 2) + Be(0xFF88, 2));
    hhea.replace(34, 2, Be(3, 2));
    return {{"head", head},
            {"hhea", hhea},
            {"maxp", Be(0x00005000, 4) + Be(5, 2)},
            {"hmtx", Be(500, 2) + Be(1, 2) + Be(600, 2) + Be(2, 2) + Be(700, 2) + Be(3, 2) +
                         Be(4, 2) + Be(5, 2)},
            {"loca", loca},
            {"glyf", glyf},
            {"prep", "\xB0\x01"}};
}

std::optional<TrueTypeSubset> Read(const std::map<std::string, std::string>& tables) {
    return TrueTypeSubset::FromTables([&](std::string_view tag) {
        const auto it = tables.find(std::string(tag));
        return it == tables.end() ? std::string() : it->second;
    });
}

std::map<std::string, std::string> Tables(const std::string& file) {
    std::map<std::string, std::string> tables;
    const std::uint32_t count = ReadBe(file, 4, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t record = 12 + i * 16;
        tables[file.substr(record, 4)] =
            file.substr(ReadBe(file, record + 8, 4), ReadBe(file, record + 12, 4));
    }
    return tables;
}

TEST(TrueTypeSubset, keepsTheGlyphsUsedRenumberedWithTheirPartsMetricsAndAValidChecksum) {
    auto face = Read(Face());
    ASSERT_TRUE(face);
    EXPECT_EQ(face->use(2), 1);
    EXPECT_EQ(face->use(2), 1);
    EXPECT_EQ(face->use(99), 0) << "past the last glyph: .notdef";
    EXPECT_EQ(face->ascent(), 880);
    EXPECT_EQ(face->descent(), -120);
    EXPECT_EQ(face->boundingBox(), (std::vector<double>{-100, -200, 900, 800}));

    const std::string file = face->build();
    ASSERT_EQ(face->size(), 4u) << ".notdef, the composite and its two parts";
    auto tables = Tables(file);
    EXPECT_EQ(ReadBe(tables["maxp"], 4, 2), 4u);
    EXPECT_EQ(ReadBe(tables["hhea"], 34, 2), 4u);
    EXPECT_EQ(ReadBe(tables["head"], 50, 2), 1u) << "long offsets";
    EXPECT_EQ(tables["prep"], "\xB0\x01");
    // The parts are numbered after the glyphs drawn, in the order the composite names them.
    const std::string& glyf = tables["glyf"];
    const std::string& loca = tables["loca"];
    auto glyph = [&](int g) {
        const auto begin = ReadBe(loca, static_cast<std::size_t>(g) * 4, 4);
        return glyf.substr(begin, ReadBe(loca, static_cast<std::size_t>(g + 1) * 4, 4) - begin);
    };
    EXPECT_EQ(glyph(0), "");
    const std::string composite = glyph(1);
    ASSERT_GE(composite.size(), kComposite.size());
    EXPECT_EQ(ReadBe(composite, 12, 2), 2u);
    EXPECT_EQ(ReadBe(composite, 20, 2), 3u);
    EXPECT_EQ(glyph(2).substr(0, kSimple3.size()), kSimple3);
    EXPECT_EQ(glyph(3).substr(0, kSimple1.size()), kSimple1);
    for (const auto& [g, advance, lsb] : {std::tuple{0, 500, 1}, std::tuple{1, 700, 3},
                                          std::tuple{2, 700, 4}, std::tuple{3, 600, 2}}) {
        EXPECT_EQ(ReadBe(tables["hmtx"], static_cast<std::size_t>(g) * 4, 2),
                  static_cast<std::uint32_t>(advance));
        EXPECT_EQ(ReadBe(tables["hmtx"], static_cast<std::size_t>(g) * 4 + 2, 2),
                  static_cast<std::uint32_t>(lsb));
        EXPECT_EQ(face->advance(static_cast<std::uint16_t>(g)), advance);
    }
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < file.size(); at += 4)
        sum += ReadBe(file, at, 4);
    EXPECT_EQ(sum, 0xB1B0AFBAu);
}

TEST(TrueTypeSubset, damagedTablesRefuseTheFaceOrEmptyTheGlyph) {
    using Damage = std::function<void(std::map<std::string, std::string>&)>;
    const std::map<std::string, Damage> refused{
        {"no outlines (a CFF face)", [](auto& t) { t.erase("glyf"); }},
        {"short head", [](auto& t) { t["head"].resize(50); }},
        {"no units per em", [](auto& t) { t["head"].replace(18, 2, Be(0, 2)); }},
        {"no glyphs", [](auto& t) { t["maxp"].replace(4, 2, Be(0, 2)); }},
        {"more metrics than glyphs", [](auto& t) { t["hhea"].replace(34, 2, Be(6, 2)); }},
        {"short locations", [](auto& t) { t["loca"].resize(10); }},
        {"short metrics", [](auto& t) { t["hmtx"].resize(14); }},
    };
    for (const auto& [what, damage] : refused) {
        auto tables = Face();
        damage(tables);
        EXPECT_FALSE(Read(tables)) << what;
    }
    // A glyph past the outlines, and a composite whose last part says more follow, are
    // written empty.
    auto tables = Face();
    tables["glyf"][kSimple1.size() + 19] = 0x28;
    auto face = Read(tables);
    ASSERT_TRUE(face);
    face->use(4);
    face->use(2);
    auto loca = Tables(face->build())["loca"];
    for (std::size_t g : {1, 2, 3})
        EXPECT_EQ(ReadBe(loca, g * 4, 4), 0u) << g;
}

}  // namespace
}  // namespace zanfor::util
