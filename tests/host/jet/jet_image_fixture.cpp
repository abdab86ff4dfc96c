#include "host/jet/jet_image_fixture.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "host/jet/table_definition.h"

namespace zanfor::test {

namespace {

using host::jet::JetVersion;
namespace jet = host::jet;

struct JetColumn {
    std::string name;
    int type = 0;            // host::jet::JetType
    std::size_t length = 0;  // text and binary: bytes of storage
    std::uint8_t flags = 0;  // kColumnFixed is added for the fixed-length types
};

// A row slot of a data page: its bytes and the flags of its offset entry, 0x8000 deleted,
// 0x4000 moved (the bytes point elsewhere).
struct JetSlot {
    std::string bytes;
    std::uint16_t flags = 0;
};

// A stored value; nothing is Null (and a Bool's false).
using JetCell = std::optional<std::string>;

constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL"

// The sample's pages in file order, after the header and an empty page.
enum Page : std::uint32_t {
    kCatalogDefinition = 2,
    kItemsDefinition,
    kLongValues,
    kRows,
    kOverflow,
    kCatalogRows,
    kUsageMaps,
    kPageCount
};

// Where a definition's fields lie (mdbtools' HACKING, "TDEF"), per format.
struct Layout {
    std::size_t rowCount, varCols, cols, indexes, realIndexes, usageMap, firstEntry;
    std::size_t realEntry, columnEntry, colNumber, colVarIndex, colFlags, colFixed, colLength;
    std::size_t realDefinition, realColumnsAt, realFlagsAt, logicalEntry, logicalAt;
    std::size_t rowCountOnDataPage;
};
constexpr Layout kJet4{16, 43, 45, 47, 51, 55, 63, 12, 25, 5,
                       7,  15, 21, 23, 52, 4,  46, 28, 4,  0x0c};
constexpr Layout kJet3{12, 23, 25, 27, 31, 35, 43, 8, 18, 1, 3, 13, 14, 16, 39, 0, 38, 20, 0, 0x08};

bool isFixed(int type) {
    return type != jet::kJetText && type != jet::kJetMemo && type != jet::kJetOle &&
           type != jet::kJetBinary;
}

// Of the fixed-length types the images use; a yes/no lives in the null mask.
std::size_t fixedSize(const JetColumn& c) {
    return c.type == jet::kJetBool   ? 0
           : c.type == jet::kJetInt  ? 2
           : c.type == jet::kJetLong ? 4
                                     : 8;
}

void put(std::string& page, std::size_t at, std::uint64_t value, int size) {
    page.replace(at, static_cast<std::size_t>(size), LittleEndian(value, size));
}

// The RC4 stream of the key c7 da 39 6b, which Jet lays over the header from 0x18 (mdbtools'
// HACKING).
constexpr char kHeaderMask[] =
    "\xb5\x6f\x03\x62\x61\x08\xc2\x55\xeb\xa9\x67\x72\x43\x3f\x00\x9c\x7a\x9f\x90\xff\x80\x9a"
    "\x31\xc5\x79\xba\xed\x30\xbc\xdf\xcc\x9d\x63\xd9\xe4\xc3\x7b\x42\xfb\x8a\xbc\x4e\x86\xfb"
    "\xec\x37\x5d\x44\x9c\xfa\xc6\x5e\x28\xe6\x13\xb6\x8a\x60\x54\x94\x7b\x36\xf5\x72\xdf\xb1"
    "\x77\xf4\x13\x43\xcf\xaf\xb1\x33\x34\x61\x79\x5b\x92\xb5\x7c\x2a\x05\xf1\x7c\x99\x01\x1b"
    "\x98\xfd\x12\x4f\x4a\x94\x6c\x3e\x60\x26\x5f\x95\xf8\xd0\x89\x24\x85\x67\xc6\x1f\x27\x44"
    "\xd2\xee\xcf\x65\xed\xff\x07\xc7\x46\xa1\x78\x16\x0c\xed\xe9\x2d\x62\xd4";

// The page layouts of one format.
struct Format {
    explicit Format(JetVersion version)
        : jet4(version == JetVersion::Jet4),
          pageSize(jet4 ? 4096 : 2048),
          l(jet4 ? kJet4 : kJet3) {}

    // A row of a table of these columns, one cell per column.
    std::string row(const std::vector<JetColumn>& columns,
                    const std::vector<JetCell>& cells) const {
        const int size = jet4 ? 2 : 1;  // of the counts and offsets
        std::string fixed, variable, nullMask((columns.size() + 7) / 8, '\0');
        std::vector<std::size_t> offsets;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto& cell = i < cells.size() ? cells[i] : JetCell{};
            if (cell)
                nullMask[i / 8] = static_cast<char>(nullMask[i / 8] | (1 << (i % 8)));
            if (isFixed(columns[i].type)) {
                std::string value = cell && columns[i].type != jet::kJetBool ? *cell : "";
                value.resize(fixedSize(columns[i]), '\0');
                fixed += value;
            } else {
                offsets.push_back(variable.size());
                variable += cell.value_or("");
            }
        }
        std::string out = LittleEndian(columns.size(), size) + fixed + variable;
        if (offsets.empty())
            return out + nullMask;
        // The offsets lie backwards before the count, the end of the last value first.
        out += LittleEndian(out.size(), size);
        for (auto it = offsets.rbegin(); it != offsets.rend(); ++it)
            out += LittleEndian(*it + size + fixed.size(), size);
        return out + LittleEndian(offsets.size(), size) + nullMask;
    }

    // Text as a Jet 4 (UCS-2) or Jet 3 (one byte per character) column stores it.
    std::string text(const std::u16string& s) const {
        std::string out;
        for (char16_t c : s)
            out += LittleEndian(c, jet4 ? 2 : 1);
        return out;
    }

    // A memo's 12-byte header for `data`: inline after it (0x80), on one LVAL row (0x40) or
    // chained over several (0).
    static std::string longValue(std::uint8_t kind, const std::string& data,
                                 std::uint32_t pointer) {
        return LittleEndian(data.size() | (std::uint32_t{kind} << 24), 4) +
               LittleEndian(pointer, 4) + LittleEndian(0, 4) + (kind == 0x80 ? data : "");
    }

    // A data page; long values go on one whose owner is kLongValueOwner.
    std::string dataPage(std::uint32_t owner, const std::vector<JetSlot>& slots) const {
        std::string page(pageSize, '\0');
        page.replace(0, 2, "\x01\x01");
        put(page, 4, owner, 4);
        put(page, l.rowCountOnDataPage, slots.size(), 2);
        // Rows fill the page from its end, the first slot last.
        std::size_t end = pageSize;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            end -= slots[i].bytes.size();
            page.replace(end, slots[i].bytes.size(), slots[i].bytes);
            put(page, l.rowCountOnDataPage + 2 + 2 * i, end | slots[i].flags, 2);
        }
        return page;
    }

    // `primaryKey`: one on the first column.
    std::string definitionPage(const std::vector<JetColumn>& columns, bool primaryKey,
                               std::size_t rowCount, std::uint32_t usageMap) const {
        const int size = jet4 ? 2 : 1;  // of a name's length
        std::string page(pageSize, '\0');
        page.replace(0, 2, "\x02\x01");
        const std::size_t real = primaryKey ? 1 : 0;
        put(page, l.rowCount, rowCount, 4);
        put(page, l.cols, columns.size(), 2);
        put(page, l.indexes, real, 4);
        put(page, l.realIndexes, real, 4);
        put(page, l.usageMap, usageMap, 4);
        std::size_t at = l.firstEntry + real * l.realEntry;
        std::size_t fixedOffset = 0;
        std::size_t varIndex = 0;
        for (std::size_t i = 0; i < columns.size(); ++i, at += l.columnEntry) {
            const auto& c = columns[i];
            const bool fixed = isFixed(c.type);
            page[at] = static_cast<char>(c.type);
            put(page, at + l.colNumber, i, 2);
            put(page, at + l.colVarIndex, fixed ? 0 : varIndex++, 2);
            page[at + l.colFlags] = static_cast<char>(c.flags | (fixed ? jet::kColumnFixed : 0));
            put(page, at + l.colFixed, fixed ? fixedOffset : 0, 2);
            put(page, at + l.colLength, fixed ? fixedSize(c) : c.length, 2);
            fixedOffset += fixed ? fixedSize(c) : 0;
        }
        put(page, l.varCols, varIndex, 2);
        auto name = [&](const std::string& s) {
            const auto bytes = LittleEndian(s.size() * size, size) + text({s.begin(), s.end()});
            page.replace(at, bytes.size(), bytes);
            at += bytes.size();
        };
        for (const auto& c : columns)
            name(c.name);
        if (primaryKey) {
            for (std::size_t k = 0; k < 10; ++k)
                put(page, at + l.realColumnsAt + 3 * k, k == 0 ? 0 : 0xFFFF, 2);
            page[at + l.realColumnsAt + 2] = 0x01;
            page[at + l.realFlagsAt] = static_cast<char>(jet::kIndexUnique | jet::kIndexRequired);
            at += l.realDefinition;
            put(page, at + l.logicalAt + 9, 0xFFFFFFFF, 4);
            page[at + l.logicalAt + 19] = 0x01;
            at += l.logicalEntry;
            name("PrimaryKey");
        }
        return page;
    }

    bool jet4;
    std::size_t pageSize;
    const Layout& l;
};

}  // namespace

std::string LittleEndian(std::uint64_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

std::string JetHeaderPage(JetVersion version, int codePage, const std::u16string& password,
                          double created) {
    const bool jet4 = version == JetVersion::Jet4;
    std::string page(jet4 ? 4096 : 2048, '\0');
    page.replace(0, 20, std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20));
    page[0x14] = jet4 ? 1 : 0;
    std::array<std::uint8_t, 128> plain{};
    plain[0x3c - 0x18] = static_cast<std::uint8_t>(codePage);
    plain[0x3d - 0x18] = static_cast<std::uint8_t>(codePage >> 8);
    std::memcpy(&plain[0x72 - 0x18], &created, 8);
    // Jet 4 keeps the password as UCS-2 masked again by the creation date's whole days.
    const auto days = jet4 ? static_cast<std::uint32_t>(static_cast<std::int32_t>(created)) : 0u;
    for (std::size_t i = 0; i < (jet4 ? 40u : 20u); ++i) {
        const std::size_t ch = jet4 ? i / 2 : i;
        const int b = ch < password.size() ? password[ch] >> (jet4 ? 8 * (i % 2) : 0) : 0;
        plain[0x42 - 0x18 + i] = static_cast<std::uint8_t>(b ^ (days >> (8 * (i % 4))));
    }
    for (std::size_t i = 0; i < (jet4 ? 128u : 126u); ++i)
        page[0x18 + i] = static_cast<char>(plain[i] ^ static_cast<std::uint8_t>(kHeaderMask[i]));
    return page;
}

SampleDatabase BuildSampleDatabase(JetVersion version) {
    const Format f(version);
    const std::vector<JetColumn> catalog = {{"Id", jet::kJetLong},
                                            {"Name", jet::kJetText, 510},
                                            {"Type", jet::kJetInt},
                                            {"Flags", jet::kJetLong}};
    const std::vector<JetColumn> items = {{"ID", jet::kJetLong, 0, jet::kColumnAutoLong},
                                          {"Done", jet::kJetBool},
                                          {"Price", jet::kJetMoney},
                                          {"Added", jet::kJetDateTime},
                                          {"Name", jet::kJetText, f.jet4 ? 100u : 50u},
                                          {"Notes", jet::kJetMemo, 0, jet::kColumnHyperlink}};
    const auto single = f.text(u"one LVAL row");
    const auto first = f.text(u"chained ");
    const auto second = f.text(u"memo");
    const std::uint32_t lv = kLongValues << 8;
    const auto row = [&](int id, std::vector<JetCell> cells) {
        cells.insert(cells.begin(), LittleEndian(static_cast<std::uint64_t>(id), 4));
        return f.row(items, cells);
    };
    const JetCell null;
    const auto date = LittleEndian(std::bit_cast<std::uint64_t>(37712.5), 8);
    // A usage map of type 0: its first page, then one bit per page from there.
    const auto map = [](std::initializer_list<std::uint32_t> pages) {
        std::string bitmap(kPageCount / 8 + 1, '\0');
        for (const auto p : pages)
            bitmap[p / 8] = static_cast<char>(bitmap[p / 8] | (1 << (p % 8)));
        return std::string(1, '\0') + LittleEndian(0, 4) + bitmap;
    };
    const std::string pages[] = {
        JetHeaderPage(version),
        std::string(f.pageSize, '\0'),
        f.definitionPage(catalog, false, 1, kUsageMaps << 8 | 0),
        f.definitionPage(items, true, 4, kUsageMaps << 8 | 1),
        f.dataPage(kLongValueOwner,
                   {{single}, {LittleEndian(lv | 2, 4) + first}, {LittleEndian(0, 4) + second}}),
        f.dataPage(kItemsDefinition,
                   {{row(1, {"", LittleEndian(125000, 8), date, f.text(u"Apple"),
                             Format::longValue(0x80, f.text(u"short"), 0)})},
                    {row(2, {null, null, null, f.text(u"Gone")}), 0x8000},
                    {row(3, {null, null, null, null, Format::longValue(0x40, single, lv | 0)})},
                    {LittleEndian(kOverflow << 8 | 1, 4), 0x4000}}),
        f.dataPage(kItemsDefinition, {{row(5, {"", null, null, f.text(u"Pear")})},
                                      {row(4, {null, null, null, f.text(u"Moved"),
                                               Format::longValue(0, first + second, lv | 1)}),
                                       0x8000}}),
        f.dataPage(kCatalogDefinition,
                   {{f.row(catalog, {LittleEndian(kItemsDefinition, 4), f.text(u"Items"),
                                     LittleEndian(1, 2), LittleEndian(0, 4)})}}),
        f.dataPage(0, {{map({kCatalogRows})}, {map({kRows, kOverflow})}}),
    };
    SampleDatabase db{"", kItemsDefinition, kRows, kOverflow, kLongValues, f.pageSize};
    for (const auto& page : pages)
        db.bytes += page;
    return db;
}

}  // namespace zanfor::test
