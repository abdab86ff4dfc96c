#pragma once

// Measuring and breaking text for the page layout. Lengths are in twips (1/20 point), the unit
// Access designs used: fonts are sized in twips as pixel sizes, so that layout and drawing use
// the same exact metrics whatever the device.

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

#include "report/report_fonts.h"

class QRawFont;

namespace zanfor::report {

inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kTwipsPerMm = 1440 / 25.4;

struct FontSpec {
    FontRole role = FontRole::Text;
    double points = 9;
    bool bold = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class FontBook {
public:
    FontBook();
    ~FontBook();
    FontBook(const FontBook&) = delete;
    FontBook& operator=(const FontBook&) = delete;

    // The index of the font, added on first use.
    int font(const FontSpec& spec);
    const FontSpec& spec(int font) const;
    const QFont& qfont(int font) const;
    std::size_t size() const { return fonts_.size(); }

    double width(int font, QStringView text);
    double ascent(int font) const;
    double descent(int font) const;

    // The text broken into lines no wider than `width`: at its own line ends, then between
    // words or between Japanese characters (never before a closing mark or small kana, never
    // after an opening bracket), and inside a word only when the word alone is too wide. Always
    // at least one line.
    std::vector<QString> wrap(int font, const QString& text, double width);

    // Appends the text as glyphs of the font's own face, placed from the baseline point
    // `origin` exactly where Qt's text shaping puts them (design advances, no kerning), without
    // shaping it again. False, with nothing appended, when the text needs shaping: a character
    // the face lacks, a combining mark, a script that joins or reorders, a face whose default
    // features change glyphs.
    bool placeGlyphs(int font, QStringView text, QPointF origin, QList<quint32>& glyphs,
                     QList<QPointF>& positions);
    // The face placeGlyphs' glyphs belong to.
    const QRawFont& rawFont(int font);

private:
    struct Entry;
    struct Glyphs;
    Glyphs& glyphsOf(int font);
    double advance(Entry& entry, QStringView text, qsizetype at, qsizetype length);
    double width(Entry& entry, QStringView text, qsizetype from, qsizetype to);
    void wrapParagraph(Entry& entry, QStringView text, double width, std::vector<QString>& out);

    std::vector<std::unique_ptr<Entry>> fonts_;
};

// A font of the given spec in twips, as layout and drawing both use it.
QFont MakeReportFont(const FontSpec& spec);

}  // namespace zanfor::report
