#include "host/access/compound_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "access_fixture.h"
#include "host/error.h"
#include "host/export/expect_error.h"

namespace {

using namespace zanfor::host;
using access::ReadCompoundFile;
using access::StorageNode;
using zanfor::test::ExpectError;

constexpr std::uint32_t kNone = 0xFFFFFFFF, kEnd = 0xFFFFFFFE;
constexpr std::size_t kLeft = 68, kRight = 72, kChild = 76, kStart = 116, kSize = 120;

void Put(std::string& b, std::size_t at, std::uint64_t v, int width = 4) {
    for (int i = 0; i < width; ++i)
        b[at + i] = static_cast<char>(v >> 8 * i & 0xFF);
}

struct Entry {
    std::u16string name;
    int type;  // 1 storage, 2 stream, 5 root
    std::uint32_t left, right, child;
    std::string data;
};

// Laid out as mini stream, large streams, mini FAT, directory, DIFAT, FAT; the sector numbers
// are kept so that a test can damage one precise place.
struct Cfb {
    std::string bytes;
    std::size_t ss = 512;
    std::vector<std::uint32_t> fat, difat, dir, start;  // start: per entry, regular or mini
    std::uint32_t miniFat = kEnd;

    std::size_t at(std::uint32_t sector) const { return (sector + 1) * ss; }
    std::size_t entryAt(std::uint32_t id) const {
        return at(dir[id / (ss / 128)]) + id % (ss / 128) * 128;
    }
    void setEntry(std::uint32_t id, std::size_t field, std::uint32_t v) {
        Put(bytes, entryAt(id) + field, v);
    }
};

// Appends a chain of `n` units to `links`, each linked to the next; its first unit or kEnd.
std::uint32_t Chain(std::vector<std::uint32_t>& links, std::size_t n) {
    const auto first = static_cast<std::uint32_t>(links.size());
    for (std::size_t k = 0; k < n; ++k)
        links.push_back(k + 1 < n ? first + static_cast<std::uint32_t>(k) + 1 : kEnd);
    return n ? first : kEnd;
}

std::string Padded(std::string s, std::size_t unit, char fill = '\0') {
    s.resize((s.size() + unit - 1) / unit * unit, fill);
    return s;
}

Cfb BuildCfb(const std::vector<Entry>& entries, unsigned version = 3, std::size_t minFat = 1) {
    Cfb c;
    const std::size_t ss = c.ss = version == 3 ? 512 : 4096;
    std::string body, mini, miniFat, dir;  // body: the sectors after the header
    std::vector<std::uint32_t> links, miniLinks;
    const auto allocate = [&](const std::string& data) {
        body += Padded(data, ss);
        return Chain(links, (data.size() + ss - 1) / ss);
    };
    c.start.assign(entries.size(), kEnd);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& d = entries[i].data;
        if (entries[i].type == 2 && !d.empty() && d.size() < 4096) {
            c.start[i] = Chain(miniLinks, (d.size() + 63) / 64);
            mini += Padded(d, 64);
        }
    }
    const std::uint32_t miniStart = allocate(mini);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].type == 2 && entries[i].data.size() >= 4096)
            c.start[i] = allocate(entries[i].data);
    }
    for (const auto link : miniLinks)
        miniFat += zanfor::test::Le(link, 4);
    c.miniFat = allocate(Padded(miniFat, ss, '\xFF'));
    for (std::size_t i = 0; i < entries.size() || dir.size() % ss != 0; ++i) {
        const Entry e = i < entries.size() ? entries[i] : Entry{u"", 0, kNone, kNone, kNone, ""};
        std::string raw(128, '\0');
        for (std::size_t k = 0; k < e.name.size(); ++k)
            Put(raw, 2 * k, e.name[k], 2);
        Put(raw, 64, e.name.empty() ? 0 : 2 * e.name.size() + 2, 2);
        raw[66] = static_cast<char>(e.type);
        for (const auto& [at, id] :
             {std::pair{kLeft, e.left}, {kRight, e.right}, {kChild, e.child}})
            Put(raw, at, id);
        Put(raw, kStart, e.type == 5 ? miniStart : i < c.start.size() ? c.start[i] : 0);
        Put(raw, kSize, e.type == 5 ? mini.size() : e.data.size(), 8);
        dir += raw;
    }
    const std::uint32_t dirStart = allocate(dir);
    for (std::size_t i = 0; i < dir.size() / ss; ++i)
        c.dir.push_back(dirStart + static_cast<std::uint32_t>(i));

    // As many FAT sectors as it takes to list every sector, its own and the DIFAT's included.
    const std::size_t perDifat = ss / 4 - 1;
    std::size_t fats = minFat, difats = 0;
    for (;; ++fats) {
        difats = fats > 109 ? (fats - 109 + perDifat - 1) / perDifat : 0;
        if (fats * ss / 4 >= links.size() + fats + difats)
            break;
    }
    for (std::size_t i = 0; i < difats + fats; ++i) {
        (i < difats ? c.difat : c.fat).push_back(static_cast<std::uint32_t>(links.size()));
        links.push_back(i < difats ? 0xFFFFFFFC : 0xFFFFFFFD);
    }
    links.resize(fats * ss / 4, kNone);
    for (std::size_t d = 0; d < difats; ++d) {
        std::string sector;
        for (std::size_t k = 0; k < perDifat; ++k) {
            const std::size_t f = 109 + d * perDifat + k;
            sector += zanfor::test::Le(f < fats ? c.fat[f] : kNone, 4);
        }
        body += sector + zanfor::test::Le(d + 1 < difats ? c.difat[d + 1] : kEnd, 4);
    }
    for (const auto link : links)
        body += zanfor::test::Le(link, 4);
    std::string h = Padded("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", ss);
    const std::uint64_t shift = ss == 512 ? 9 : 12, difat0 = difats ? c.difat[0] : kEnd,
                        miniFats = (miniFat.size() + ss - 1) / ss;
    const std::uint64_t values[] = {0x3E,     version, 0xFFFE,    shift,    6,      fats,
                                    dirStart, 4096,    c.miniFat, miniFats, difat0, difats};
    const std::size_t offsets[] = {24, 26, 28, 30, 32, 44, 48, 56, 60, 64, 68, 72};
    for (std::size_t i = 0; i < std::size(offsets); ++i)
        Put(h, offsets[i], values[i], i < 5 ? 2 : 4);
    for (std::size_t i = 0; i < 109; ++i)
        Put(h, 76 + 4 * i, i < fats ? c.fat[i] : kNone);
    c.bytes = h + body;
    return c;
}

std::string Pattern(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(i * 31 + seed * 7 + i / 251);
    return s;
}

// Root (0) holds storage "VBA" (1), "Small" (2, three mini sectors) and "Large" (3, regular);
// "VBA" holds "dir" (4, one mini sector) and "Module1" (5, regular). VBA is read first.
std::vector<Entry> Sample() {
    return {{u"Root Entry", 5, kNone, kNone, 2, ""},
            {u"VBA", 1, kNone, kNone, 4, ""},
            {u"Small", 2, 1, 3, kNone, Pattern(130, 1)},
            {u"Large", 2, kNone, kNone, kNone, Pattern(9000, 2)},
            {u"dir", 2, kNone, 5, kNone, Pattern(64, 3)},
            {u"Module1", 2, kNone, kNone, kNone, Pattern(4096, 4)}};
}

int ErrorNumber(const std::string& bytes) {
    return zanfor::test::ErrorOf([&] { ReadCompoundFile(bytes); });
}

std::vector<std::string> Names(const StorageNode& n) {
    std::vector<std::string> names;
    for (const auto& c : n.children)
        names.push_back(c.name);
    return names;
}

TEST(CompoundFile, ReadsStreamsOfEverySizeWithOrWithoutDifat) {
    for (const int version : {3, 4}) {
        for (std::size_t fats : {1, 240}) {
            const auto entries = Sample();
            const Cfb cfb = BuildCfb(entries, version, version == 4 && fats > 1 ? 110 : fats);
            const StorageNode root = ReadCompoundFile(cfb.bytes);
            EXPECT_EQ(Names(root), (std::vector<std::string>{"VBA", "Small", "Large"}));
            for (const auto& [path, entry] :
                 {std::pair{"small", 2}, {"Large", 3}, {"VBA/dir", 4}, {"VBA/Module1", 5}})
                EXPECT_EQ(root.find(path)->data, entries[entry].data) << path;
            EXPECT_TRUE(!root.find("VBA")->isStream && root.find("VBA/dir")->isStream);
        }
        for (std::size_t size : {0, 1, 63, 64, 65, 4095, 4096, 4097, 12289}) {
            const std::vector<Entry> e = {{u"Root Entry", 5, kNone, kNone, 1, ""},
                                          {u"S", 2, kNone, kNone, kNone, Pattern(size, 9)}};
            EXPECT_EQ(ReadCompoundFile(BuildCfb(e, version).bytes).find("S")->data, e[1].data);
        }
    }
}

TEST(CompoundFile, SiblingsComeLeftToRightAndNamesDecodeFromUtf16) {
    // Siblings C(B(A), E(D, モジュール)) walk as A B C D E モジュール.
    const std::vector<Entry> e = {{u"Root Entry", 5, kNone, kNone, 3, ""},
                                  {u"A", 2, kNone, kNone, kNone, "a"},
                                  {u"B", 2, 1, kNone, kNone, "b"},
                                  {u"C", 2, 2, 5, kNone, "c"},
                                  {u"D", 2, kNone, kNone, kNone, "d"},
                                  {u"E", 2, 4, 6, kNone, "e"},
                                  {u"モジュール", 1, kNone, kNone, kNone, ""}};
    Cfb cfb = BuildCfb(e);
    cfb.setEntry(4, kSize + 4, 0xDEADBEEF);  // version 3 ignores the high half of a size
    const StorageNode root = ReadCompoundFile(cfb.bytes);
    EXPECT_EQ(Names(root), (std::vector<std::string>{"A", "B", "C", "D", "E", "モジュール"}));
    EXPECT_EQ(root.find("D")->data, "d");
}

struct DamageCase {
    const char* name;
    int version;
    std::function<void(Cfb&)> damage;
    const char* expected;  // part of the description naming what is wrong
    std::size_t fats = 1;
};

const DamageCase kDamage[] = {
    {"ShortHeader", 3, [](Cfb& c) { c.bytes.resize(300); }, "見出し"},
    {"NoSignature", 3, [](Cfb& c) { c.bytes[0] = 'X'; }, "識別子"},
    {"Version3With4096Sectors", 3, [](Cfb& c) { Put(c.bytes, 30, 12, 2); }, "版 3"},
    {"UnknownVersion", 3, [](Cfb& c) { Put(c.bytes, 26, 5, 2); }, "版 5"},
    {"MiniSectorShift", 3, [](Cfb& c) { Put(c.bytes, 32, 7, 2); }, "ミニセクター"},
    {"MiniStreamCutoff", 3, [](Cfb& c) { Put(c.bytes, 56, 8192); }, "境目"},
    {"FatCountBeyondFile", 3, [](Cfb& c) { Put(c.bytes, 44, 0x40000000); }, "FAT のセクター数"},
    {"FatSectorOutsideFile", 3, [](Cfb& c) { Put(c.bytes, 76, 5000); }, "範囲外"},
    {"DifatCountShort", 3, [](Cfb& c) { Put(c.bytes, 72, 1); }, "DIFAT が", 240},
    {"FatCycleInStream", 3,
     [](Cfb& c) { Put(c.bytes, c.at(c.fat[0]) + 4 * (c.start[3] + 1), c.start[3]); }, "循環"},
    {"StreamsShareSectors", 3, [](Cfb& c) { c.setEntry(5, kStart, c.start[3]); }, "重なって"},
    {"StreamSizeBeyondChain", 3, [](Cfb& c) { c.setEntry(3, kSize, 9000 + 3 * 512); },
     "チェーンより大きく"},
    {"TruncatedInLastSector", 3, [](Cfb& c) { c.bytes.resize(c.bytes.size() - 100); },
     "ファイルの終わり"},
    {"SiblingIsItself", 3, [](Cfb& c) { c.setEntry(4, kRight, 4); }, "循環"},
    {"EntryIdOutOfRange", 3, [](Cfb& c) { c.setEntry(2, kLeft, 40); }, "範囲外"},
    {"RootIsNotRoot", 3, [](Cfb& c) { c.bytes[c.entryAt(0) + 66] = 1; }, "ルート"},
    {"UnusedEntryInTree", 3, [](Cfb& c) { c.bytes[c.entryAt(5) + 66] = 0; }, "種類"},
    {"NameLengthOdd", 3, [](Cfb& c) { Put(c.bytes, c.entryAt(2) + 64, 7, 2); }, "名前の長さ"},
    {"MiniChainCycle", 3, [](Cfb& c) { Put(c.bytes, c.at(c.miniFat) + 4, 0); }, "循環"},
    {"MiniStreamsShareSectors", 3, [](Cfb& c) { c.setEntry(4, kStart, c.start[2]); }, "重なって"},
    {"MiniSectorOutsideMiniFat", 4, [](Cfb& c) { c.setEntry(2, kStart, 5000); }, "ミニ FAT"},
    {"MiniSectorOutsideMiniStream", 3, [](Cfb& c) { c.setEntry(0, kSize, 3 * 64 + 10); },
     "ミニストリームの外"},
    {"MiniSizeBeyondChain", 3, [](Cfb& c) { c.setEntry(2, kSize, 4000); }, "チェーンより大きく"},
    {"MiniFatMissing", 4, [](Cfb& c) { Put(c.bytes, 60, kEnd); }, "ミニ FAT"},
};

TEST(CompoundFile, DamageIsReportedNamingTheFault) {
    for (const auto& c : kDamage) {
        SCOPED_TRACE(c.name);
        Cfb cfb = BuildCfb(Sample(), c.version, c.fats);
        ASSERT_EQ(ErrorNumber(cfb.bytes), 0);
        c.damage(cfb);
        ExpectError([&] { ReadCompoundFile(cfb.bytes); }, err::kProjectStorageDamaged, c.expected);
    }
}

TEST(CompoundFile, DeepNestingAndEveryTruncationAreDamage) {
    std::vector<Entry> nested = {{u"Root Entry", 5, kNone, kNone, 1, ""}};
    for (std::uint32_t i = 1; i <= 200; ++i)
        nested.push_back({u"S", 1, kNone, kNone, i < 200 ? i + 1 : kNone, ""});
    ExpectError([&] { ReadCompoundFile(BuildCfb(nested).bytes); }, err::kProjectStorageDamaged,
                "入れ子");

    const std::string bytes = BuildCfb(Sample()).bytes;
    for (std::size_t size = 0; size < bytes.size(); size += 37)
        EXPECT_EQ(ErrorNumber(bytes.substr(0, size)), err::kProjectStorageDamaged) << size;
}

}  // namespace
