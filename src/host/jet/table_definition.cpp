#include "host/jet/table_definition.h"

#include <algorithm>
#include <unordered_set>

#include "host/error.h"
#include "util/encoding.h"

namespace zanfor::host::jet {

namespace {

constexpr std::uint8_t kTdefPage = 0x02;

// Where the fields of a definition lie in each format.
struct Layout {
    std::size_t rowCount, numVarCols, numCols, numIndexes, numRealIndexes, usageMap, firstColumn;
    std::size_t realIndexEntry, columnEntry;
    std::size_t colNumber, colVarIndex, colMisc, colFlags, colFixedOffset, colLength;
    std::size_t nameLengthSize;
    std::size_t realIndexDefinition, realIndexColumnsAt, realIndexFlagsAt;
    std::size_t logicalIndexEntry, logicalAt;  // logicalAt: skip before index_num
};

constexpr Layout kJet4{16, 43, 45, 47, 51, 55, 63, 12, 25, 5, 7,
                       11, 15, 21, 23, 2,  52, 4,  46, 28, 4};
constexpr Layout kJet3{12, 23, 25, 27, 31, 35, 43, 8, 18, 1, 3, 9, 13, 14, 16, 1, 39, 0, 38, 20, 0};

// Where an ACE column entry keeps its extended flags.
constexpr std::size_t kAceExtFlags = 16;

class Cursor {
public:
    Cursor(std::string_view data, const std::string& table, std::uint32_t page)
        : data_(data), table_(table), page_(page) {}

    std::uint32_t u8(std::size_t at) const { return byte(at); }
    std::uint32_t u16(std::size_t at) const { return byte(at) | (byte(at + 1) << 8); }
    std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
    std::string_view slice(std::size_t at, std::size_t size) const {
        need(at, size);
        return data_.substr(at, size);
    }
    [[noreturn]] void fail(std::string_view what) const {
        throw Error(err::kDatabaseDamaged, "テーブル '" + table_ + "' の定義 (ページ " +
                                               std::to_string(page_) +
                                               ") が破損しています: " + std::string(what));
    }

private:
    std::uint32_t byte(std::size_t at) const {
        need(at, 1);
        return static_cast<unsigned char>(data_[at]);
    }
    void need(std::size_t at, std::size_t size) const {
        if (at > data_.size() || size > data_.size() - at)
            fail("範囲外");
    }
    std::string_view data_;
    const std::string& table_;
    std::uint32_t page_;
};

// The definition continues on further pages, each after its own 8-byte header.
std::string collectPages(std::string_view file, std::uint32_t first, const JetHeader& header,
                         const std::string& table) {
    const std::size_t size = header.pageSize;
    const std::size_t pages = file.size() / size;
    std::string data;
    std::unordered_set<std::uint32_t> seen;
    for (std::uint32_t page = first; page != 0;) {
        Cursor check(data, table, page);
        if (page >= pages || !seen.insert(page).second)
            check.fail("ページの連鎖");
        const std::string_view bytes = file.substr(page * size, size);
        if (static_cast<std::uint8_t>(bytes[0]) != kTdefPage)
            check.fail("定義ページではありません");
        data.append(data.empty() ? bytes : bytes.substr(8));
        page = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[4]) |
                                          (static_cast<unsigned char>(bytes[5]) << 8) |
                                          (static_cast<unsigned char>(bytes[6]) << 16) |
                                          (static_cast<unsigned char>(bytes[7]) << 24));
    }
    return data;
}

std::string readName(const Cursor& c, std::size_t& at, const Layout& l, const JetHeader& h) {
    const std::size_t length = l.nameLengthSize == 2 ? c.u16(at) : c.u8(at);
    at += l.nameLengthSize;
    const auto bytes = c.slice(at, length);
    at += length;
    return h.version == JetVersion::Jet4 ? util::Utf16LeToUtf8(bytes)
                                         : util::DecodeCodePage(bytes, h.codePage);
}

}  // namespace

TableDefinition ReadTableDefinition(std::string_view file, std::uint32_t page,
                                    const JetHeader& header, const std::string& tableName) {
    const Layout& l = header.version == JetVersion::Jet4 ? kJet4 : kJet3;
    const std::string data = collectPages(file, page, header, tableName);
    const Cursor c(data, tableName, page);

    TableDefinition def;
    def.rowCount = c.u32(l.rowCount);
    def.usageMap = c.u32(l.usageMap);
    def.variableColumnCount = static_cast<int>(c.u16(l.numVarCols));
    const std::size_t numCols = c.u16(l.numCols);
    const std::size_t numIndexes = c.u32(l.numIndexes);
    const std::size_t numReal = c.u32(l.numRealIndexes);
    // Jet allows 255 columns and 32 indexes; more means the counts are garbage.
    if (numCols > 4096 || numIndexes > 1024 || numReal > 1024)
        c.fail("列数または索引数");

    std::size_t at = l.firstColumn + numReal * l.realIndexEntry;
    for (std::size_t i = 0; i < numCols; ++i, at += l.columnEntry) {
        ColumnDefinition col;
        col.type = static_cast<int>(c.u8(at));
        col.number = static_cast<int>(c.u16(at + l.colNumber));
        col.varIndex = static_cast<int>(c.u16(at + l.colVarIndex));
        col.fixedOffset = static_cast<int>(c.u16(at + l.colFixedOffset));
        col.flags = static_cast<std::uint8_t>(c.u8(at + l.colFlags));
        col.length = static_cast<int>(c.u16(at + l.colLength));
        if (col.type == kJetNumeric) {
            col.precision = static_cast<int>(c.u8(at + l.colMisc));
            col.scale = static_cast<int>(c.u8(at + l.colMisc + 1));
        }
        if (header.aceVersion != 0) {
            if (col.type == kJetComplex)
                col.complexId = static_cast<std::int32_t>(c.u32(at + l.colMisc));
            col.calculated = (c.u8(at + kAceExtFlags) & kColumnCalculated) == kColumnCalculated;
        }
        def.columns.push_back(std::move(col));
    }
    for (auto& col : def.columns)
        col.name = readName(c, at, l, header);

    for (std::size_t i = 0; i < numReal; ++i, at += l.realIndexDefinition) {
        PhysicalIndex index;
        for (std::size_t k = 0; k < 10; ++k) {
            const std::size_t entry = at + l.realIndexColumnsAt + k * 3;
            const auto number = c.u16(entry);
            if (number == 0xFFFF)
                continue;
            index.columns.push_back({static_cast<int>(number), c.u8(entry + 2) == 0x02});
        }
        index.flags = static_cast<std::uint8_t>(c.u8(at + l.realIndexFlagsAt));
        def.physicalIndexes.push_back(std::move(index));
    }
    for (std::size_t i = 0; i < numIndexes; ++i, at += l.logicalIndexEntry) {
        const std::size_t e = at + l.logicalAt;
        LogicalIndex index;
        index.number = static_cast<int>(c.u32(e));
        index.physicalIndex = static_cast<int>(c.u32(e + 4));
        index.relatedIndex = static_cast<int>(static_cast<std::int32_t>(c.u32(e + 9)));
        index.relatedTablePage = c.u32(e + 13);
        index.type = static_cast<int>(c.u8(e + 19));
        def.indexes.push_back(std::move(index));
    }
    for (auto& index : def.indexes)
        index.name = readName(c, at, l, header);

    std::stable_sort(def.columns.begin(), def.columns.end(),
                     [](const auto& a, const auto& b) { return a.number < b.number; });
    return def;
}

}  // namespace zanfor::host::jet
