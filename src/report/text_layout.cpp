#include "report/text_layout.h"

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

}  // namespace

struct FontBook::Entry {
    FontSpec spec;
    QFont font;
    QFontMetricsF metrics;
    std::vector<float> advances;  // by UTF-16 unit; negative until measured

    explicit Entry(const FontSpec& s)
        : spec(s), font(MakeReportFont(s)), metrics(font), advances(0x10000, -1.0f) {}
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
    float& cached = entry.advances[text[at].unicode()];
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
