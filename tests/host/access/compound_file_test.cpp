#include "host/access/compound_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "host/error.h"
#include "host/jet/mdb_file.h"
#include "test_support.h"

namespace {

using namespace zanfor::host;
using access::ReadCompoundFile;
using access::StorageNode;

constexpr std::uint32_t kNone = 0xFFFFFFFF, kEnd = 0xFFFFFFFE;
constexpr std::size_t kLeft = 68, kRight = 72, kChild = 76, kStart = 116, kSize = 120;

void Put(std::string& b, std::size_t at, std::uint64_t v, int width = 4) {
    for (int i = 0; i < width; ++i)
        b[at + i] = static_cast<char>(v >> 8 * i & 0xFF);
}

std::uint32_t Get32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 4; i-- > 0;)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
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
    void setFat(std::uint32_t s, std::uint32_t next) {
        Put(bytes, at(fat[s / (ss / 4)]) + s % (ss / 4) * 4, next);
    }
    void setEntry(std::uint32_t id, std::size_t field, std::uint32_t v) {
        Put(bytes, entryAt(id) + field, v);
    }
};

Cfb BuildCfb(const std::vector<Entry>& entries, int version = 3, std::size_t minFat = 1) {
    Cfb c;
    c.ss = version == 3 ? 512 : 4096;
    const std::size_t ss = c.ss;
    std::vector<std::string> sectors;
    std::vector<std::uint32_t> links;
    auto allocate = [&](std::string_view data) {
        const auto first = data.empty() ? kEnd : static_cast<std::uint32_t>(sectors.size());
        for (std::size_t i = 0; i < data.size(); i += ss) {
            sectors.push_back(std::string(data.substr(i, ss)) +
                              std::string(ss - std::min(ss, data.size() - i), '\0'));
            links.push_back(i + ss < data.size() ? static_cast<std::uint32_t>(sectors.size())
                                                 : kEnd);
        }
        return first;
    };
    std::string mini, miniFat, dir;
    c.start.assign(entries.size(), kEnd);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& d = entries[i].data;
        if (entries[i].type != 2 || d.empty() || d.size() >= 4096)
            continue;
        c.start[i] = static_cast<std::uint32_t>(mini.size() / 64);
        for (std::size_t k = 0; k < d.size(); k += 64) {
            miniFat += std::string(4, '\0');
            Put(miniFat, miniFat.size() - 4, k + 64 < d.size() ? mini.size() / 64 + 1 : kEnd);
            mini +=
                d.substr(k, 64) + std::string(64 - std::min<std::size_t>(64, d.size() - k), '\0');
        }
    }
    const std::uint32_t miniStart = allocate(mini);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].type == 2 && entries[i].data.size() >= 4096)
            c.start[i] = allocate(entries[i].data);
    }
    while (miniFat.size() % ss != 0)
        miniFat += "\xFF\xFF\xFF\xFF";
    c.miniFat = allocate(miniFat);
    for (std::size_t i = 0; i < entries.size() || dir.size() % ss != 0; ++i) {
        std::string raw(128, '\0');
        const Entry e = i < entries.size() ? entries[i] : Entry{u"", 0, kNone, kNone, kNone, ""};
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
        c.dir.push_back(dirStart + i);

    const std::size_t perDifat = ss / 4 - 1;
    std::size_t fats = minFat, difats = 0;
    for (;; ++fats) {
        difats = fats > 109 ? (fats - 109 + perDifat - 1) / perDifat : 0;
        if (fats * ss / 4 >= sectors.size() + fats + difats)
            break;
    }
    for (std::size_t i = 0; i < difats + fats; ++i) {
        (i < difats ? c.difat : c.fat).push_back(static_cast<std::uint32_t>(sectors.size()));
        sectors.emplace_back(ss, '\0');
        links.push_back(i < difats ? 0xFFFFFFFC : 0xFFFFFFFD);
    }
    links.resize(fats * ss / 4, kNone);
    for (std::size_t i = 0; i < links.size(); ++i)
        Put(sectors[c.fat[i / (ss / 4)]], i % (ss / 4) * 4, links[i]);
    for (std::size_t d = 0; d < difats; ++d) {
        for (std::size_t k = 0; k < perDifat; ++k) {
            const std::size_t f = 109 + d * perDifat + k;
            Put(sectors[c.difat[d]], 4 * k, f < fats ? c.fat[f] : kNone);
        }
        Put(sectors[c.difat[d]], 4 * perDifat, d + 1 < difats ? c.difat[d + 1] : kEnd);
    }
    std::string h(ss, '\0');
    h.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    const std::tuple<std::size_t, std::uint64_t, int> fields[] = {
        {24, 0x3E, 2},
        {26, version, 2},
        {28, 0xFFFE, 2},
        {30, ss == 512 ? 9 : 12, 2},
        {32, 6, 2},
        {44, fats, 4},
        {48, dirStart, 4},
        {56, 4096, 4},
        {60, c.miniFat, 4},
        {64, miniFat.size() / ss, 4},
        {68, difats ? c.difat[0] : kEnd, 4},
        {72, difats, 4}};
    for (const auto& [at, value, width] : fields)
        Put(h, at, value, width);
    for (std::size_t i = 0; i < 109; ++i)
        Put(h, 76 + 4 * i, i < fats ? c.fat[i] : kNone);
    c.bytes = h;
    for (const auto& s : sectors)
        c.bytes += s;
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

int ErrorNumber(const std::string& bytes, std::string* description = nullptr) {
    try {
        ReadCompoundFile(bytes);
    } catch (const Error& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

std::vector<std::string> Names(const StorageNode& n) {
    std::vector<std::string> names;
    for (const auto& c : n.children)
        names.push_back(c.name);
    return names;
}

class CompoundFileVersions : public testing::TestWithParam<int> {};

TEST_P(CompoundFileVersions, ReadsStreamsOfEverySizeWithOrWithoutDifat) {
    for (std::size_t fats : {1, 240}) {
        const auto entries = Sample();
        const Cfb cfb = BuildCfb(entries, GetParam(), GetParam() == 4 && fats > 1 ? 110 : fats);
        EXPECT_EQ(cfb.difat.empty(), fats == 1);
        const StorageNode root = ReadCompoundFile(cfb.bytes);
        EXPECT_EQ(Names(root), (std::vector<std::string>{"VBA", "Small", "Large"}));
        EXPECT_EQ(root.find("small")->data, entries[2].data);
        EXPECT_EQ(root.find("Large")->data, entries[3].data);
        EXPECT_EQ(root.find("VBA/dir")->data, entries[4].data);
        EXPECT_EQ(root.find("VBA/Module1")->data, entries[5].data);
        EXPECT_TRUE(!root.find("VBA")->isStream && root.find("VBA/dir")->isStream);
    }
    for (std::size_t size : {0, 1, 63, 64, 65, 4095, 4096, 4097, 12289}) {
        const std::vector<Entry> e = {{u"Root Entry", 5, kNone, kNone, 1, ""},
                                      {u"S", 2, kNone, kNone, kNone, Pattern(size, 9)}};
        EXPECT_EQ(ReadCompoundFile(BuildCfb(e, GetParam()).bytes).find("S")->data, e[1].data);
    }
}

INSTANTIATE_TEST_SUITE_P(CompoundFileV3AndV4, CompoundFileVersions, testing::Values(3, 4));

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
    {"ByteOrder", 4, [](Cfb& c) { Put(c.bytes, 28, 0xFEFF, 2); }, "バイト順"},
    {"MiniSectorShift", 3, [](Cfb& c) { Put(c.bytes, 32, 7, 2); }, "ミニセクター"},
    {"MiniStreamCutoff", 3, [](Cfb& c) { Put(c.bytes, 56, 8192); }, "境目"},
    {"FatCountBeyondFile", 3, [](Cfb& c) { Put(c.bytes, 44, 0x40000000); }, "FAT のセクター数"},
    {"FatSectorOutsideFile", 3, [](Cfb& c) { Put(c.bytes, 76, 5000); }, "範囲外"},
    {"FatSectorListedTwice", 4,
     [](Cfb& c) {
         Put(c.bytes, 44, 2);
         Put(c.bytes, 80, c.fat[0]);
     },
     "循環"},
    {"DifatCountShort", 3, [](Cfb& c) { Put(c.bytes, 72, 1); }, "DIFAT が", 240},
    {"DifatChainEndsEarly", 3, [](Cfb& c) { Put(c.bytes, 68, kEnd); }, "DIFAT が", 240},
    {"DifatCycle", 3, [](Cfb& c) { Put(c.bytes, c.at(c.difat[0]) + 508, c.difat[0]); }, "循環",
     240},
    {"DifatOutsideFile", 4, [](Cfb& c) { Put(c.bytes, 68, 0xFFFFFF); }, "範囲外", 110},
    {"FatCycleInStream", 3, [](Cfb& c) { c.setFat(c.start[3] + 1, c.start[3]); }, "循環"},
    {"FatSelfLoopInDirectory", 4, [](Cfb& c) { c.setFat(c.dir[0], c.dir[0]); }, "循環"},
    {"ChainRunsIntoFreeSector", 3, [](Cfb& c) { c.setFat(c.start[3], kNone); }, "範囲外"},
    {"StreamStartsOutsideFat", 3, [](Cfb& c) { c.setEntry(3, kStart, 70000); }, "範囲外"},
    {"StreamStartsPastEndOfFile", 4, [](Cfb& c) { c.setEntry(3, kStart, c.bytes.size() / 4096); },
     "範囲外"},
    {"StreamsShareSectors", 3, [](Cfb& c) { c.setEntry(5, kStart, c.start[3]); }, "重なって"},
    {"StreamSizeBeyondChain", 3, [](Cfb& c) { c.setEntry(3, kSize, 9000 + 3 * 512); },
     "チェーンより大きく"},
    {"HugeStreamSize", 4, [](Cfb& c) { Put(c.bytes, c.entryAt(3) + kSize, 1ull << 62, 8); },
     "チェーンより大きく"},
    {"TruncatedInLastSector", 3, [](Cfb& c) { c.bytes.resize(c.bytes.size() - 100); },
     "ファイルの終わり"},
    {"TruncatedToHalf", 4, [](Cfb& c) { c.bytes.resize(c.bytes.size() / 2); }, ""},
    {"SiblingIsItself", 3, [](Cfb& c) { c.setEntry(4, kRight, 4); }, "循環"},
    {"ChildIsTheRoot", 3, [](Cfb& c) { c.setEntry(1, kChild, 0); }, "循環"},
    {"EntryReachedTwice", 4, [](Cfb& c) { c.setEntry(5, kLeft, 4); }, "循環"},
    {"StorageIsItsOwnChild", 3, [](Cfb& c) { c.setEntry(1, kChild, 1); }, "循環"},
    {"EntryIdOutOfRange", 3, [](Cfb& c) { c.setEntry(2, kLeft, 40); }, "範囲外"},
    {"EntryIdReservedValue", 4, [](Cfb& c) { c.setEntry(0, kChild, 0xFFFFFFFA); }, "範囲外"},
    {"RootIsNotRoot", 3, [](Cfb& c) { c.bytes[c.entryAt(0) + 66] = 1; }, "ルート"},
    {"UnusedEntryInTree", 3, [](Cfb& c) { c.bytes[c.entryAt(5) + 66] = 0; }, "種類"},
    {"NameLengthOdd", 3, [](Cfb& c) { Put(c.bytes, c.entryAt(2) + 64, 7, 2); }, "名前の長さ"},
    {"NameLengthTooLong", 4, [](Cfb& c) { Put(c.bytes, c.entryAt(2) + 64, 66, 2); }, "名前の長さ"},
    {"MiniChainCycle", 3, [](Cfb& c) { Put(c.bytes, c.at(c.miniFat) + 4, 0); }, "循環"},
    {"MiniStreamsShareSectors", 3, [](Cfb& c) { c.setEntry(4, kStart, c.start[2]); }, "重なって"},
    {"MiniSectorOutsideMiniFat", 4, [](Cfb& c) { c.setEntry(2, kStart, 5000); }, "ミニ FAT"},
    {"MiniSectorOutsideMiniStream", 3, [](Cfb& c) { c.setEntry(0, kSize, 3 * 64 + 10); },
     "ミニストリームの外"},
    {"MiniSizeBeyondChain", 3, [](Cfb& c) { c.setEntry(2, kSize, 4000); }, "チェーンより大きく"},
    {"MiniFatMissing", 4, [](Cfb& c) { Put(c.bytes, 60, kEnd); }, "ミニ FAT"},
};

class CompoundFileDamage : public testing::TestWithParam<DamageCase> {};

TEST_P(CompoundFileDamage, IsStorageDamagedNamingTheFault) {
    Cfb cfb = BuildCfb(Sample(), GetParam().version, GetParam().fats);
    ASSERT_EQ(ErrorNumber(cfb.bytes), 0);
    GetParam().damage(cfb);
    std::string description;
    EXPECT_EQ(ErrorNumber(cfb.bytes, &description), err::kProjectStorageDamaged);
    EXPECT_NE(description.find(GetParam().expected), std::string::npos) << description;
}

INSTANTIATE_TEST_SUITE_P(CompoundFileCases, CompoundFileDamage, testing::ValuesIn(kDamage),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(CompoundFile, DeepNestingAndEveryTruncationAreDamage) {
    std::vector<Entry> nested = {{u"Root Entry", 5, kNone, kNone, 1, ""}};
    for (std::uint32_t i = 1; i <= 200; ++i)
        nested.push_back({u"S", 1, kNone, kNone, i < 200 ? i + 1 : kNone, ""});
    std::string description;
    EXPECT_EQ(ErrorNumber(BuildCfb(nested).bytes, &description), err::kProjectStorageDamaged);
    EXPECT_NE(description.find("入れ子"), std::string::npos) << description;

    const std::string bytes = BuildCfb(Sample()).bytes;
    for (std::size_t size = 0; size < bytes.size(); size += 37) {
        EXPECT_EQ(ErrorNumber(bytes.substr(0, size)), err::kProjectStorageDamaged) << size;
    }
}

// The compound file of an Access 2000 format file, joined from the rows of MSysAccessObjects.
std::optional<std::string> AccessObjectsBytes(const char* name) {
    const auto data = zanfor::test::SharedTestData();
    if (!data)
        return std::nullopt;
    jet::JetFile file(*data / "mdb" / name);
    jet::TableReader r(file, "MSysAccessObjects");
    std::map<std::int64_t, std::string> rows;
    while (r.next())
        rows[r.value("ID").toInteger()] = r.bytes(r.columnIndex("Data")).data;
    std::string bytes;
    for (const auto& [id, chunk] : rows)
        bytes += id > 0 ? chunk : "";
    bytes.resize(Get32(rows.at(0), 4));
    return bytes;
}

TEST(CompoundFileRealFiles, Access2000ProjectsKeepVbaUnderVbaProject) {
    for (const char* name : {"northwind-ja.mdb", "northwind-en.mdb"}) {
        const auto bytes = AccessObjectsBytes(name);
        if (!bytes)
            GTEST_SKIP() << "../shared/testdata is absent";
        const StorageNode root = ReadCompoundFile(*bytes);
        const StorageNode* vba = root.find("VBA/VBAProject/VBA");
        ASSERT_NE(vba, nullptr) << name;
        EXPECT_TRUE(vba->child("dir")->isStream);
        EXPECT_GT(vba->child("_VBA_PROJECT")->data.size(), 0u);
        EXPECT_NE(root.find("VBA/VBAProject/PROJECT"), nullptr) << name;
        EXPECT_GT(root.find("Forms")->children.size(), 10u) << name;
    }
}

std::size_t StreamBytes(const StorageNode& n) {
    std::size_t total = n.data.size();
    for (const auto& c : n.children)
        total += StreamBytes(c);
    return total;
}

TEST(CompoundFileFuzz, MutatedFilesNeverCrashLoopOrOverAllocate) {
    std::vector<std::string> inputs = {BuildCfb(Sample(), 3).bytes, BuildCfb(Sample(), 4).bytes,
                                       BuildCfb(Sample(), 3, 240).bytes};
    if (auto real = AccessObjectsBytes("northwind-ja.mdb"))
        inputs.push_back(*real);
    std::mt19937 rng(20240601);
    const std::uint32_t values[] = {0,          1,          3,    0x1000, 0xFFFFFFFA,
                                    0xFFFFFFFC, 0xFFFFFFFD, kEnd, kNone,  0x7FFFFFFF};
    int errors = 0, reads = 0;
    for (int round = 0; round < 3250; ++round) {
        // The real file is large; it takes one round in thirteen.
        std::string bytes = inputs[round % 13 == 0 ? inputs.size() - 1 : round % 3];
        const std::size_t ss = bytes[30] == 12 ? 4096 : 512;
        // Mostly the header, the FAT (the last sector of a built file) and the directory.
        const std::size_t regions[] = {0, bytes.size() - ss, (Get32(bytes, 48) + 1) * ss,
                                       (Get32(bytes, 76) + 1) * ss};
        for (int m = 1 + static_cast<int>(rng() % 4); m > 0 && !bytes.empty(); --m) {
            const std::size_t at = regions[rng() % 4] + rng() % (ss / 4) * 4;
            const unsigned kind = rng() % 8;
            if (kind == 0) {
                bytes.resize(rng() % bytes.size());
            } else if (kind == 1) {
                bytes[rng() % bytes.size()] = static_cast<char>(rng());
            } else if (at + 4 <= bytes.size()) {
                Put(bytes, at, kind < 4 ? rng() : values[rng() % std::size(values)]);
            }
        }
        try {
            // Sectors are never shared, so no file can yield more than it holds.
            EXPECT_LE(StreamBytes(ReadCompoundFile(bytes)), bytes.size());
            ++reads;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kProjectStorageDamaged);
            ++errors;
        }
    }
    EXPECT_GT(errors, 1000);
    EXPECT_GT(reads, 100);
}

}  // namespace
