#include "report/text_layout.h"

#include <QRawFont>
#include <array>
#include <cmath>

namespace zanfor::report {

namespace {

bool IsWide(char16_t c) { return c >= 0x2E80 && c <= 0xFFEF && !(c >= 0xFB00 && c <= 0xFE1F); }

class CharSet {
public:
    explicit CharSet(const QString& chars) : bits_(0x10000, false) {
        for (QChar c : chars)
            bits_[c.unicode()] = true;
    }
    bool operator()(char16_t c) const { return bits_[c]; }

private:
    std::vector<bool> bits_;
};

// Characters a line must not begin with, and must not end with.
const CharSet& NoLineStart() {
    static const CharSet set(QStringLiteral(
        "、。，．・：；？！ー）」』】〕〉》｝］ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々〜…‥"
        "ﾞﾟｧｨｩｪｫｯｬｭｮ｡､｣,.:;!?)]}"));
    return set;
}

const CharSet& NoLineEnd() {
    static const CharSet set(QStringLiteral("（「『【〔〈《｛［｢([{"));
    return set;
}

// A line may break after position `i` (between text[i] and text[i + 1]).
bool BreakAfter(QStringView text, qsizetype i) {
    if (i + 1 >= text.size())
        return false;
    const char16_t c = text[i].unicode();
    const char16_t next = text[i + 1].unicode();
    if (NoLineStart()(next) || NoLineEnd()(c) || QChar::isHighSurrogate(c))
        return false;
    return c == u' ' || c == u',' || IsWide(c) || IsWide(next);
}

qsizetype CharLength(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// Characters Qt's shaper turns into one glyph each at its design advance: no marks, controls or
// invisible formatting, in scripts that neither join nor reorder.
bool PlacedAlone(char16_t c) {
    if (c < 0x20 || QChar::isSurrogate(c) || c == 0xA0 || c == 0xAD)
        return false;
    switch (QChar::category(c)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
            return false;
        default:
            break;
    }
    switch (QChar::script(c)) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
            return true;
        default:
            return false;
    }
}

// Whether the face substitutes glyphs in plain text by default (ligatures, contextual or local
// forms). Composition (ccmp) is left out: it joins a letter with a following mark, and text
// with marks is shaped anyway.
bool SubstitutesPlainText(const QByteArray& gsub) {
    if (gsub.isEmpty())
        return false;
    const auto u16 = [&](qsizetype at) {
        return at >= 0 && at + 2 <= gsub.size()
                   ? (static_cast<uchar>(gsub[at]) << 8) | static_cast<uchar>(gsub[at + 1])
                   : -1;
    };
    const int list = u16(6);
    const int count = u16(list);
    if (list < 0 || count < 0)
        return true;
    static constexpr std::array<const char*, 13> kDefaultTags{
        "rvrn", "ltra", "ltrm", "frac", "numr", "dnom", "rand",
        "locl", "rlig", "calt", "clig", "liga", "rclt"};
    for (int i = 0; i < count; ++i) {
        const qsizetype at = list + 2 + 6 * static_cast<qsizetype>(i);
        if (at + 4 > gsub.size())
            return true;
        const QByteArrayView tag(gsub.constData() + at, 4);
        for (const char* known : kDefaultTags) {
            if (tag == QByteArrayView(known, 4))
                return true;
        }
    }
    return false;
}

}  // namespace

// The face's glyph and advance (in 1/64 units, as Qt's shaper keeps them) of each character,
// looked up once.
struct FontBook::Glyphs {
    struct Glyph {
        quint32 index = 0;  // 0: the character takes the shaping path
        qint32 advance = -1;
    };
    using Page = std::array<Glyph, 256>;

    QRawFont raw;
    bool usable = false;
    std::array<std::unique_ptr<Page>, 256> pages;

    explicit Glyphs(const QFont& font) : raw(QRawFont::fromFont(font)) {
        usable = raw.isValid() && !SubstitutesPlainText(raw.fontTable("GSUB"));
    }

    const Glyph& glyph(char16_t c) {
        auto& page = pages[c >> 8];
        if (!page)
            page = std::make_unique<Page>();
        Glyph& g = (*page)[c & 0xff];
        if (g.advance < 0) {
            g.advance = 0;
            const QChar ch(c);
            int count = 1;
            quint32 index = 0;
            if (PlacedAlone(c) && raw.glyphIndexesForChars(&ch, 1, &index, &count) && count == 1 &&
                index != 0) {
                QPointF advance;
                if (raw.advancesForGlyphIndexes(&index, &advance, 1)) {
                    g.index = index;
                    g.advance = static_cast<qint32>(std::lround(advance.x() * 64));
                }
            }
        }
        return g;
    }
};

struct FontBook::Entry {
    FontSpec spec;
    QFont font;
    QFontMetricsF metrics;
    // By UTF-16 unit in pages of 256, made as text needs them; negative until measured.
    std::array<std::unique_ptr<std::array<float, 256>>, 256> advances;
    std::unique_ptr<Glyphs> glyphs;  // made when the font is first painted

    explicit Entry(const FontSpec& s) : spec(s), font(MakeReportFont(s)), metrics(font) {}

    float& advance(char16_t c) {
        auto& page = advances[c >> 8];
        if (!page) {
            page = std::make_unique<std::array<float, 256>>();
            page->fill(-1.0f);
        }
        return (*page)[c & 0xff];
    }
};

QFont MakeReportFont(const FontSpec& spec) {
    QFont font(ReportFontFamily(spec.role));
    font.setPixelSize(static_cast<int>(std::lround(spec.points * kTwipsPerPoint)));
    font.setBold(spec.bold);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (spec.role == FontRole::Code)
        font.setStyleHint(QFont::Monospace);
    return font;
}

FontBook::FontBook() = default;
FontBook::~FontBook() = default;

int FontBook::font(const FontSpec& spec) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i]->spec == spec)
            return static_cast<int>(i);
    }
    fonts_.push_back(std::make_unique<Entry>(spec));
    return static_cast<int>(fonts_.size()) - 1;
}

const FontSpec& FontBook::spec(int font) const {
    return fonts_[static_cast<std::size_t>(font)]->spec;
}

const QFont& FontBook::qfont(int font) const {
    return fonts_[static_cast<std::size_t>(font)]->font;
}

double FontBook::ascent(int font) const {
    return fonts_[static_cast<std::size_t>(font)]->metrics.ascent();
}

double FontBook::descent(int font) const {
    return fonts_[static_cast<std::size_t>(font)]->metrics.descent();
}

double FontBook::advance(Entry& entry, QStringView text, qsizetype at, qsizetype length) {
    if (length > 1)
        return entry.metrics.horizontalAdvance(text.mid(at, length).toString());
    float& cached = entry.advance(text[at].unicode());
    if (cached < 0)
        cached = static_cast<float>(entry.metrics.horizontalAdvance(text[at]));
    return cached;
}

double FontBook::width(Entry& entry, QStringView text, qsizetype from, qsizetype to) {
    double w = 0;
    for (qsizetype i = from; i < to;) {
        const qsizetype len = CharLength(text, i);
        w += advance(entry, text, i, len);
        i += len;
    }
    return w;
}

double FontBook::width(int font, QStringView text) {
    return width(*fonts_[static_cast<std::size_t>(font)], text, 0, text.size());
}

void FontBook::wrapParagraph(Entry& entry, QStringView text, double maxWidth,
                             std::vector<QString>& out) {
    qsizetype start = 0;
    qsizetype lastBreak = -1;  // a line may begin here
    double w = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype len = CharLength(text, i);
        const double a = advance(entry, text, i, len);
        if (w + a > maxWidth && i > start) {
            const bool soft = lastBreak > start;
            const qsizetype end = soft ? lastBreak : i;
            QStringView line = text.mid(start, end - start);
            while (soft && line.endsWith(u' '))
                line.chop(1);
            out.push_back(line.toString());
            start = end;
            while (soft && start < i && text[start] == u' ')
                ++start;
            w = width(entry, text, start, i);
            lastBreak = -1;
            continue;
        }
        w += a;
        if (BreakAfter(text, i + len - 1))
            lastBreak = i + len;
        i += len;
    }
    out.push_back(text.mid(start).toString());
}

FontBook::Glyphs& FontBook::glyphsOf(int font) {
    Entry& entry = *fonts_[static_cast<std::size_t>(font)];
    if (!entry.glyphs)
        entry.glyphs = std::make_unique<Glyphs>(entry.font);
    return *entry.glyphs;
}

const QRawFont& FontBook::rawFont(int font) { return glyphsOf(font).raw; }

bool FontBook::placeGlyphs(int font, QStringView text, QPointF origin, QList<quint32>& indexes,
                           QList<QPointF>& positions) {
    Glyphs& glyphs = glyphsOf(font);
    if (!glyphs.usable)
        return false;
    const qsizetype start = indexes.size();
    // Qt starts from the origin cut to 1/64 and adds whole 1/64 advances; positions made the
    // same way land on the same points.
    auto x = static_cast<qint64>(origin.x() * 64);
    for (const QChar c : text) {
        const auto& glyph = glyphs.glyph(c.unicode());
        if (glyph.index == 0) {
            indexes.resize(start);
            positions.resize(start);
            return false;
        }
        indexes.append(glyph.index);
        positions.append(QPointF(static_cast<double>(x) / 64, origin.y()));
        x += glyph.advance;
    }
    return true;
}

std::vector<QString> FontBook::wrap(int font, const QString& text, double maxWidth) {
    Entry& entry = *fonts_[static_cast<std::size_t>(font)];
    std::vector<QString> lines;
    qsizetype from = 0;
    while (true) {
        const qsizetype end = text.indexOf(u'\n', from);
        const QStringView paragraph =
            QStringView(text).mid(from, end < 0 ? text.size() - from : end - from);
        if (width(entry, paragraph, 0, paragraph.size()) <= maxWidth)
            lines.push_back(paragraph.toString());
        else
            wrapParagraph(entry, paragraph, maxWidth, lines);
        if (end < 0)
            break;
        from = end + 1;
    }
    return lines;
}

}  // namespace zanfor::report
