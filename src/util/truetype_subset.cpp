#include "util/truetype_subset.h"

#include <algorithm>
#include <array>
#include <utility>

#include "util/big_endian.h"

namespace zanfor::util {

namespace {

constexpr auto Be = ReadBeOrZero;

std::int16_t BeSigned16(std::string_view b, std::size_t at) {
    return static_cast<std::int16_t>(Be(b, at, 2));
}

void PutBe(std::string& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        b[at + static_cast<std::size_t>(i)] = static_cast<char>(v & 0xff);
}

void AppendBe(std::string& b, std::uint32_t v, int bytes) {
    b.append(static_cast<std::size_t>(bytes), '\0');
    PutBe(b, b.size() - static_cast<std::size_t>(bytes), v, bytes);
}

std::uint32_t Checksum(std::string_view table) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < table.size(); at += 4)
        sum += Be(table, at, 4);
    return sum;
}

// Composite glyph flags.
constexpr std::uint32_t kArgsAreWords = 0x0001;
constexpr std::uint32_t kHasScale = 0x0008;
constexpr std::uint32_t kMoreComponents = 0x0020;
constexpr std::uint32_t kHasXYScale = 0x0040;
constexpr std::uint32_t kHasTwoByTwo = 0x0080;

}  // namespace

std::optional<TrueTypeSubset> TrueTypeSubset::FromTables(const TableSource& source) {
    auto t = std::make_shared<Tables>(Tables{source("head"), source("hhea"), source("maxp"),
                                             source("hmtx"), source("loca"), source("glyf"),
                                             source("cvt "), source("fpgm"), source("prep")});
    if (t->head.size() < 54 || t->hhea.size() < 36 || t->maxp.size() < 6 || t->glyf.empty())
        return std::nullopt;
    TrueTypeSubset face;
    face.unitsPerEm_ = Be(t->head, 18, 2);
    face.longOffsets_ = Be(t->head, 50, 2) == 1;
    face.glyphCount_ = Be(t->maxp, 4, 2);
    face.metricCount_ = Be(t->hhea, 34, 2);
    const std::size_t offsetSize = face.longOffsets_ ? 4 : 2;
    if (face.unitsPerEm_ < 16 || face.unitsPerEm_ > 16384 || face.glyphCount_ == 0 ||
        face.metricCount_ == 0 || face.metricCount_ > face.glyphCount_ ||
        t->loca.size() < (face.glyphCount_ + 1) * offsetSize ||
        t->hmtx.size() < face.metricCount_ * 4 + (face.glyphCount_ - face.metricCount_) * 2)
        return std::nullopt;
    face.ascent_ = BeSigned16(t->hhea, 4);
    face.descent_ = BeSigned16(t->hhea, 6);
    face.tables_ = std::move(t);
    return face.fresh();
}

TrueTypeSubset TrueTypeSubset::fresh() const {
    TrueTypeSubset face = *this;
    face.used_.clear();
    face.numbers_.assign(glyphCount_, -1);
    face.use(0);
    return face;
}

std::uint16_t TrueTypeSubset::use(std::uint32_t glyph) {
    if (glyph >= glyphCount_)
        return 0;
    auto& number = numbers_[glyph];
    if (number < 0) {
        number = static_cast<std::int32_t>(used_.size());
        used_.push_back(glyph);
    }
    return static_cast<std::uint16_t>(number);
}

std::uint16_t TrueTypeSubset::advanceUnits(std::uint32_t glyph) const {
    return static_cast<std::uint16_t>(Be(tables_->hmtx, std::min(glyph, metricCount_ - 1) * 4, 2));
}

double TrueTypeSubset::advance(std::uint16_t subsetGlyph) const {
    return subsetGlyph < used_.size() ? scale(advanceUnits(used_[subsetGlyph])) : 0;
}

std::vector<double> TrueTypeSubset::boundingBox() const {
    return {scale(BeSigned16(tables_->head, 36)), scale(BeSigned16(tables_->head, 38)),
            scale(BeSigned16(tables_->head, 40)), scale(BeSigned16(tables_->head, 42))};
}

bool TrueTypeSubset::bold() const { return (Be(tables_->head, 44, 2) & 1) != 0; }

std::string_view TrueTypeSubset::glyphData(std::uint32_t glyph) const {
    const int bytes = longOffsets_ ? 4 : 2;
    const std::size_t factor = longOffsets_ ? 1 : 2;
    const std::size_t begin =
        Be(tables_->loca, glyph * static_cast<std::size_t>(bytes), bytes) * factor;
    const std::size_t end =
        Be(tables_->loca, (glyph + 1) * static_cast<std::size_t>(bytes), bytes) * factor;
    if (begin >= end || end > tables_->glyf.size())
        return {};
    return std::string_view(tables_->glyf).substr(begin, end - begin);
}

std::string TrueTypeSubset::build() {
    std::string glyf;
    std::string loca;
    std::string hmtx;
    // Parts of composites join the list as they are met; the loop reaches them in turn.
    for (std::size_t i = 0; i < used_.size(); ++i) {
        const std::uint32_t glyph = used_[i];
        AppendBe(loca, static_cast<std::uint32_t>(glyf.size()), 4);
        const std::uint32_t lsbAt =
            glyph < metricCount_ ? glyph * 4 + 2 : metricCount_ * 4 + (glyph - metricCount_) * 2;
        AppendBe(hmtx, advanceUnits(glyph), 2);
        AppendBe(hmtx, Be(tables_->hmtx, lsbAt, 2), 2);
        std::string data(glyphData(glyph));
        if (data.size() >= 10 && BeSigned16(data, 0) < 0) {
            std::size_t at = 10;
            for (;;) {
                if (at + 4 > data.size()) {
                    data.clear();  // a damaged composite draws nothing rather than wrong parts
                    break;
                }
                const std::uint32_t flags = Be(data, at, 2);
                PutBe(data, at + 2, use(Be(data, at + 2, 2)), 2);
                at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
                if (flags & kHasScale)
                    at += 2;
                else if (flags & kHasXYScale)
                    at += 4;
                else if (flags & kHasTwoByTwo)
                    at += 8;
                if (!(flags & kMoreComponents))
                    break;
            }
        }
        glyf += data;
        glyf.append((4 - glyf.size() % 4) % 4, '\0');
    }
    AppendBe(loca, static_cast<std::uint32_t>(glyf.size()), 4);

    std::string head = tables_->head.substr(0, 54);
    PutBe(head, 8, 0, 4);   // checksum adjustment, set below
    PutBe(head, 50, 1, 2);  // long offsets
    std::string hhea = tables_->hhea.substr(0, 36);
    PutBe(hhea, 34, static_cast<std::uint32_t>(used_.size()), 2);
    std::string maxp = tables_->maxp;
    PutBe(maxp, 4, static_cast<std::uint32_t>(used_.size()), 2);

    // In tag order, as the table directory wants them.
    std::vector<std::pair<std::string_view, const std::string*>> tables{
        {"cvt ", &tables_->cvt}, {"fpgm", &tables_->fpgm}, {"glyf", &glyf},
        {"head", &head},         {"hhea", &hhea},          {"hmtx", &hmtx},
        {"loca", &loca},         {"maxp", &maxp},          {"prep", &tables_->prep}};
    std::erase_if(tables, [](const auto& t) { return t.second->empty(); });
    const auto count = static_cast<std::uint32_t>(tables.size());
    std::uint32_t power = 1;
    std::uint32_t log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    std::string file;
    AppendBe(file, 0x00010000, 4);
    AppendBe(file, count, 2);
    AppendBe(file, power * 16, 2);
    AppendBe(file, log, 2);
    AppendBe(file, count * 16 - power * 16, 2);
    std::size_t offset = file.size() + count * 16;
    std::size_t headAt = 0;
    for (const auto& [tag, table] : tables) {
        file += tag;
        AppendBe(file, Checksum(*table), 4);
        AppendBe(file, static_cast<std::uint32_t>(offset), 4);
        AppendBe(file, static_cast<std::uint32_t>(table->size()), 4);
        if (tag == "head")
            headAt = offset;
        offset += (table->size() + 3) / 4 * 4;
    }
    for (const auto& [tag, table] : tables) {
        file += *table;
        file.append((4 - file.size() % 4) % 4, '\0');
    }
    PutBe(file, headAt + 8, 0xB1B0AFBAu - Checksum(file), 4);
    return file;
}

}  // namespace zanfor::util
