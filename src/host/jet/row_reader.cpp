#include "host/jet/row_reader.h"

#include <algorithm>
#include <cstring>

#include "host/error.h"
#include "host/jet/column_types.h"
#include "host/jet/mdb_file.h"
#include "util/encoding.h"

namespace zanfor::host::jet {

namespace {

constexpr std::uint8_t kDataPage = 0x01;
constexpr std::uint8_t kUsageMapPage = 0x05;
constexpr std::uint16_t kDeletedRow = 0x8000;
constexpr std::uint16_t kMovedRow = 0x4000;
constexpr std::uint16_t kOffsetMask = 0x1FFF;
constexpr int kMaxMoves = 8;
constexpr std::size_t kCalculatedDataAt = 20;

std::uint32_t u8(std::string_view b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
std::uint32_t u16(std::string_view b, std::size_t at) { return u8(b, at) | (u8(b, at + 1) << 8); }
std::uint32_t u32(std::string_view b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}

std::size_t rowCountOffset(const JetHeader& h) {
    return h.version == JetVersion::Jet4 ? 0x0c : 0x08;
}

// The size of a fixed-length column's value.
std::size_t fixedSize(const ColumnDefinition& c) {
    if (c.calculated)
        return static_cast<std::size_t>(c.length);
    const JetColumnType* type = FindJetColumnType(c.type);
    const int bytes = type != nullptr ? type->rowBytes : kColumnBytes;
    return static_cast<std::size_t>(bytes == kColumnBytes ? c.length : bytes);
}

std::int64_t signedValue(std::string_view b) {
    std::uint64_t v = 0;
    for (std::size_t i = b.size(); i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b[i]);
    if (!b.empty() && b.size() < 8 && (static_cast<unsigned char>(b.back()) & 0x80)) {
        v |= ~std::uint64_t{0} << (8 * b.size());
    }
    return static_cast<std::int64_t>(v);
}

std::string guidText(std::string_view b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr int kOrder[] = {3,  2, 1, 0,  -1, 5,  4,  -1, 7,  6,
                                     -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
    std::string out = "{";
    for (int i : kOrder) {
        if (i < 0) {
            out += '-';
            continue;
        }
        const auto c = static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    return out + "}";
}

// Decimal: a sign byte and a 128-bit magnitude as four little-endian words, most significant
// word first.
double numericValue(std::string_view b, int scale) {
    double magnitude = 0;
    for (std::size_t word = 0; word < 4; ++word) {
        magnitude = magnitude * 4294967296.0 + static_cast<double>(u32(b, 1 + word * 4));
    }
    for (int i = 0; i < scale; ++i)
        magnitude /= 10;
    return (static_cast<unsigned char>(b[0]) & 0x80) ? -magnitude : magnitude;
}

}  // namespace

std::string DecodeJetText(std::string_view bytes, const JetHeader& header) {
    if (header.version == JetVersion::Jet3)
        return util::DecodeCodePage(bytes, header.codePage);
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE) {
        return util::Utf16LeToUtf8(bytes);
    }
    // Compressed: one-byte characters until a 0x00 switches to UCS-2 and back.
    std::string ucs2;
    bool compressed = true;
    std::size_t start = 2;
    auto flush = [&](std::size_t end) {
        const auto segment = bytes.substr(start, end - start);
        if (compressed) {
            for (char c : segment) {
                ucs2 += c;
                ucs2 += '\0';
            }
        } else {
            ucs2.append(segment.substr(0, segment.size() & ~std::size_t{1}));
        }
    };
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        if (bytes[i] != '\0')
            continue;
        flush(i);
        compressed = !compressed;
        start = i + 1;
    }
    flush(bytes.size());
    return util::Utf16LeToUtf8(ucs2);
}

RowReader::RowReader(std::string_view file, const JetHeader& header, const TableDefinition& table,
                     std::uint32_t tablePage, std::string name)
    : file_(file), header_(header), table_(&table), tablePage_(tablePage), name_(std::move(name)) {
    const std::size_t pageSize = header_.pageSize;
    const std::size_t pageCount = file_.size() / pageSize;
    const auto map = rowAt(table.usageMap >> 8, table.usageMap & 0xFF, false);
    if (map.empty()) {
        throw Error(err::kDatabaseDamaged, "テーブル '" + name_ + "' のページ一覧を読めません。");
    }
    auto addPage = [&](std::uint64_t page) {
        if (page > 0 && page < pageCount)
            pages_.push_back(static_cast<std::uint32_t>(page));
        else if (page >= pageCount)
            ++missingPages_;
    };
    if (u8(map, 0) == 0 && map.size() >= 5) {
        const std::uint64_t first = u32(map, 1);
        for (std::size_t i = 5; i < map.size(); ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                if (u8(map, i) >> bit & 1)
                    addPage(first + (i - 5) * 8 + static_cast<unsigned>(bit));
            }
        }
    } else if (u8(map, 0) == 1) {
        // Each listed page is a bitmap of (page size - 4) * 8 pages.
        const std::size_t perMapPage = (pageSize - 4) * 8;
        for (std::size_t i = 1, k = 0; i + 4 <= map.size(); i += 4, ++k) {
            const std::uint32_t mapPage = u32(map, i);
            if (mapPage >= pageCount)
                ++missingPages_;
            if (mapPage == 0 || mapPage >= pageCount)
                continue;
            const auto bitmap = file_.substr(mapPage * pageSize, pageSize);
            if (u8(bitmap, 0) != kUsageMapPage)
                continue;
            for (std::size_t b = 4; b < pageSize; ++b) {
                for (int bit = 0; bit < 8; ++bit) {
                    if (u8(bitmap, b) >> bit & 1) {
                        addPage(k * perMapPage + (b - 4) * 8 + static_cast<unsigned>(bit));
                    }
                }
            }
        }
    }
}

// The bytes of row `slot` of data page `page`; a moved row is followed to its new place when
// asked. Empty for a deleted slot or anything out of bounds.
std::string_view RowReader::rowAt(std::uint32_t page, std::size_t slot, bool followMoved) const {
    const std::size_t pageSize = header_.pageSize;
    const std::size_t rco = rowCountOffset(header_);
    for (int moves = 0; moves <= kMaxMoves; ++moves) {
        if (page == 0 || page >= file_.size() / pageSize)
            return {};
        const auto p = file_.substr(static_cast<std::size_t>(page) * pageSize, pageSize);
        if (u8(p, 0) != kDataPage || slot >= u16(p, rco) || rco + 2 + 2 * (slot + 1) > pageSize) {
            return {};
        }
        const std::uint32_t entry = u16(p, rco + 2 + 2 * slot);
        const std::size_t start = entry & kOffsetMask;
        const std::size_t end = slot == 0 ? pageSize : (u16(p, rco + 2 * slot) & kOffsetMask);
        if (start >= end || end > pageSize)
            return {};
        const auto row = p.substr(start, end - start);
        // A moved row leaves a pointer behind, and its new copy is marked deleted so that
        // scans do not meet it twice; only the pointer leads to it.
        if (moves == 0 && (entry & kDeletedRow))
            return {};
        if (!(entry & kMovedRow) || !followMoved)
            return row;
        if (row.size() < 4)
            return {};
        const std::uint32_t pointer = u32(row, 0);
        page = pointer >> 8;
        slot = pointer & 0xFF;
    }
    return {};
}

bool RowReader::next() {
    const std::size_t rco = rowCountOffset(header_);
    while (pageIndex_ < pages_.size()) {
        const std::uint32_t page = pages_[pageIndex_];
        const auto p =
            file_.substr(static_cast<std::size_t>(page) * header_.pageSize, header_.pageSize);
        if (u8(p, 0) != kDataPage || u32(p, 4) != tablePage_ || slot_ >= u16(p, rco)) {
            ++pageIndex_;
            slot_ = 0;
            continue;
        }
        const auto row = rowAt(page, slot_++, true);
        if (!row.empty() && crack(row))
            return true;
    }
    return false;
}

bool RowReader::crack(std::string_view row) {
    const bool jet4 = header_.version == JetVersion::Jet4;
    const std::size_t n = row.size();
    const std::size_t countSize = jet4 ? 2 : 1;
    if (n < countSize)
        return false;
    columnsInRow_ = jet4 ? u16(row, 0) : u8(row, 0);
    const std::size_t maskSize = (columnsInRow_ + 7) / 8;
    if (maskSize + countSize > n)
        return false;
    nullMask_ = row.substr(n - maskSize);
    fixedStart_ = countSize;
    varOffsets_.clear();
    row_ = row;
    if (table_->variableColumnCount == 0)
        return true;

    if (jet4) {
        if (n < maskSize + 4)
            return false;
        const std::size_t varLenAt = n - maskSize - 2;
        const std::size_t varCount = u16(row, varLenAt);
        if (2 * (varCount + 1) + countSize > varLenAt)
            return false;
        for (std::size_t i = 0; i <= varCount; ++i) {
            varOffsets_.push_back(u16(row, varLenAt - 2 * (i + 1)));
        }
    } else {
        if (n < maskSize + 2)
            return false;
        const std::size_t varLenAt = n - maskSize - 1;
        const std::size_t varCount = u8(row, varLenAt);
        std::size_t jumps = (n - 1) / 256;
        if (varLenAt < jumps + varCount + 2)
            return false;
        const std::size_t tableEnd = varLenAt - jumps;  // the offset table ends here
        // The last jump entry may be a dummy counted from the row's size alone.
        if ((tableEnd - 1 - varCount) / 256 < jumps)
            --jumps;
        std::size_t used = 0;
        for (std::size_t i = 0; i <= varCount; ++i) {
            while (used < jumps && i == u8(row, varLenAt - 1 - used))
                ++used;
            varOffsets_.push_back(u8(row, tableEnd - 1 - i) + used * 256);
        }
    }
    for (std::size_t i = 0; i + 1 < varOffsets_.size(); ++i) {
        if (varOffsets_[i] > varOffsets_[i + 1] || varOffsets_[i + 1] > n)
            return false;
    }
    return true;
}

bool RowReader::isNull(const ColumnDefinition& column) const {
    const auto bit = static_cast<std::size_t>(column.number);
    if (bit >= columnsInRow_ || bit / 8 >= nullMask_.size())
        return true;
    return (u8(nullMask_, bit / 8) >> (bit % 8) & 1) == 0;
}

std::string_view RowReader::stored(const ColumnDefinition& column) const {
    if (isNull(column) || column.type == kJetBool)
        return {};
    if (column.calculated) {
        // The result follows a header that ends with its length.
        const auto wrapped = storedPlain(column);
        if (wrapped.size() < kCalculatedDataAt)
            return {};
        const std::size_t length = u32(wrapped, kCalculatedDataAt - 4);
        return wrapped.substr(kCalculatedDataAt,
                              std::min(length, wrapped.size() - kCalculatedDataAt));
    }
    return storedPlain(column);
}

std::string_view RowReader::storedPlain(const ColumnDefinition& column) const {
    if (column.flags & kColumnFixed) {
        const std::size_t start = fixedStart_ + static_cast<std::size_t>(column.fixedOffset);
        const std::size_t size = fixedSize(column);
        const std::size_t end =
            varOffsets_.empty() ? row_.size() - nullMask_.size() : varOffsets_[0];
        if (start + size > end || start + size > row_.size())
            return {};
        return row_.substr(start, size);
    }
    const auto slot = static_cast<std::size_t>(column.varIndex);
    if (slot + 1 >= varOffsets_.size())
        return {};
    return row_.substr(varOffsets_[slot], varOffsets_[slot + 1] - varOffsets_[slot]);
}

Value RowReader::value(const ColumnDefinition& column) const {
    if (column.type == kJetBool)
        return !isNull(column);
    const auto b = stored(column);
    if (isNull(column))
        return {};
    switch (column.type) {
        case kJetByte:
            return b.size() == 1 ? Value(static_cast<std::int64_t>(u8(b, 0))) : Value();
        case kJetInt:
        case kJetLong:
        case kJetComplex:
        case kJetBigInt:
            return b.empty() ? Value() : Value(signedValue(b));
        case kJetExtendedDateTime:
            return std::string(b.substr(0, b.find('\0')));
        case kJetMoney:
            return b.size() == 8 ? Value(static_cast<double>(signedValue(b)) / 10000.0) : Value();
        case kJetFloat: {
            if (b.size() != 4)
                return {};
            float f = 0;
            std::memcpy(&f, b.data(), 4);
            return static_cast<double>(f);
        }
        case kJetDouble:
        case kJetDateTime: {
            if (b.size() != 8)
                return {};
            double d = 0;
            std::memcpy(&d, b.data(), 8);
            return column.type == kJetDateTime ? Value(Date{d}) : Value(d);
        }
        case kJetGuid:
            return b.size() == 16 ? Value(guidText(b)) : Value();
        case kJetNumeric:
            return b.size() == 17 ? Value(numericValue(b, column.scale)) : Value();
        case kJetText:
            return DecodeJetText(b, header_);
        case kJetMemo:
            return DecodeJetText(ReadLongValue(file_, header_, b), header_);
        default:
            return {};
    }
}

std::string RowReader::bytes(const ColumnDefinition& column) const {
    const auto b = stored(column);
    if (column.type == kJetOle || column.type == kJetMemo)
        return ReadLongValue(file_, header_, b);
    return std::string(b);
}

}  // namespace zanfor::host::jet
