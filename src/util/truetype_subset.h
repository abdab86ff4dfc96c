#pragma once

// A TrueType face cut down to the glyphs a document draws, for embedding in a PDF. Glyphs are
// numbered anew from 0 (.notdef) in the order they are first used, so that a page can be
// written before the document's last glyph is known; the parts of composite glyphs are added
// when the face is built.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::util {

class TrueTypeSubset {
public:
    // A face's table by its four-letter tag; empty when the face has none.
    using TableSource = std::function<std::string(std::string_view tag)>;

    // Nothing when the face has no TrueType outlines (a CFF face) or its tables are damaged.
    static std::optional<TrueTypeSubset> FromTables(const TableSource& tables);

    // A subset of the same face with no glyph used yet; the tables are shared, not copied.
    TrueTypeSubset fresh() const;

    // The glyph's number in the subset, given on first use. A number past the face's last
    // glyph draws as .notdef.
    std::uint16_t use(std::uint32_t glyph);
    std::size_t size() const { return used_.size(); }

    // Design measures in thousandths of the em, as PDF font dictionaries give them.
    double advance(std::uint16_t subsetGlyph) const;
    double ascent() const { return scale(ascent_); }
    double descent() const { return scale(descent_); }
    std::vector<double> boundingBox() const;  // left, bottom, right, top
    // A bold face by its own account; a bold text in a face that is not is thickened.
    bool bold() const;

    // The face with the glyphs used so far (composite parts added), as a font file.
    std::string build();

private:
    TrueTypeSubset() = default;
    double scale(double units) const { return units * 1000.0 / unitsPerEm_; }
    std::string_view glyphData(std::uint32_t glyph) const;
    std::uint16_t advanceUnits(std::uint32_t glyph) const;

    // The face's tables, shared by every subset made from it.
    struct Tables {
        std::string head, hhea, maxp, hmtx, loca, glyf, cvt, fpgm, prep;
    };
    std::shared_ptr<const Tables> tables_;
    std::uint32_t glyphCount_ = 0;
    std::uint32_t metricCount_ = 0;
    bool longOffsets_ = false;
    double unitsPerEm_ = 1000;
    double ascent_ = 0;
    double descent_ = 0;
    std::vector<std::uint32_t> used_;    // subset glyph -> face glyph
    std::vector<std::int32_t> numbers_;  // face glyph -> subset glyph, -1 when unused
};

}  // namespace zanfor::util
