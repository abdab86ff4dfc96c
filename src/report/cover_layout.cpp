#include "report/cover_layout.h"

#include <algorithm>
#include <cmath>

#include "report/layout_style.h"
#include "report/qt_text.h"

namespace zanfor::report {

namespace {

// Set upright in vertical text would read wrongly: these turn a quarter, as in print.
bool TurnsInVerticalText(char16_t c) {
    static const QString marks = QStringLiteral("ー－―‐～〜…‥（）「」『』【】［］｛｝〈〉《》＝→←");
    return marks.contains(QChar(c));
}

bool IsHalfWidth(char16_t c) { return c >= 0x20 && c < 0x7f; }

bool SitsTopRight(char16_t c) { return c == u'、' || c == u'。' || c == u'，' || c == u'．'; }

bool IsSmallKana(char16_t c) {
    static const QString kana = QStringLiteral("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ");
    return kana.contains(QChar(c));
}

class CoverLayout {
public:
    CoverLayout(const ReportContent& content, FontBook& fonts, QSizeF page)
        : c_(content), fonts_(fonts) {
        doc_.pageSize = page;
        doc_.title = content.fullTitle();
        doc_.orientation = content.orientation;
        doc_.pages.emplace_back();
    }

    Document run();

private:
    PageItems& page() { return doc_.pages.back(); }
    int font(double points, bool bold = false) {
        return fonts_.font({FontRole::Text, points, bold});
    }
    void text(double x, double baseline, const QString& s, int f, QRgb color, int turns = 0) {
        page().texts.push_back({QPointF(x, baseline), s, f, color, turns});
    }
    void line(QLineF l, double width, QRgb color, bool dashed = false) {
        page().lines.push_back({l, width, color, dashed});
    }
    void frame(const QRectF& r, double width, QRgb color, bool dashed) {
        line({r.topLeft(), r.topRight()}, width, color, dashed);
        line({r.topRight(), r.bottomRight()}, width, color, dashed);
        line({r.bottomRight(), r.bottomLeft()}, width, color, dashed);
        line({r.bottomLeft(), r.topLeft()}, width, color, dashed);
    }
    // Centred lines of text from `top`; the height used.
    double centered(const QString& s, int f, double centerX, double top, double width, QRgb color);
    // The largest size up to `maxPoints` at which the text fits `width` in `maxLines` lines.
    double fitting(const QString& s, double maxPoints, double width, int maxLines, bool bold);
    double verticalLength(const QString& s, int f);
    void vertical(const QString& s, int f, double centerX, double top, QRgb color);
    void verticalFitted(const QString& s, double maxPoints, double centerX, double top,
                        double length, bool bold, QRgb color);
    void fileLine(double baselineY, Align align);
    void emptyNote();

    void cover();
    void spineLabels();
    void spineLabel(const QRectF& r);
    void frontLabels();
    void frontLabel(const QRectF& r, double scale);

    const ReportContent& c_;
    FontBook& fonts_;
    Document doc_;
};

double CoverLayout::centered(const QString& s, int f, double centerX, double top, double width,
                             QRgb color) {
    if (s.isEmpty())
        return 0;
    const double lh = LineHeight(fonts_.spec(f).points);
    double y = top;
    for (const auto& part : fonts_.wrap(f, s, width)) {
        const double w = fonts_.width(f, part);
        text(centerX - w / 2,
             y + fonts_.ascent(f) + (lh - fonts_.ascent(f) - fonts_.descent(f)) / 2, part, f,
             color);
        y += lh;
    }
    return y - top;
}

double CoverLayout::fitting(const QString& s, double maxPoints, double width, int maxLines,
                            bool bold) {
    double points = maxPoints;
    while (points > 7 &&
           static_cast<int>(fonts_.wrap(font(points, bold), s, width).size()) > maxLines) {
        points -= 1;
    }
    return points;
}

double CoverLayout::verticalLength(const QString& s, int f) {
    const double em = fonts_.spec(f).points * kTwipsPerPoint;
    double length = 0;
    for (qsizetype i = 0; i < s.size();) {
        if (IsHalfWidth(s[i].unicode())) {
            qsizetype j = i;
            while (j < s.size() && IsHalfWidth(s[j].unicode()))
                ++j;
            length += fonts_.width(f, QStringView(s).mid(i, j - i));
            i = j;
        } else {
            length += em;
            i += s[i].isHighSurrogate() ? 2 : 1;
        }
    }
    return length;
}

void CoverLayout::vertical(const QString& s, int f, double centerX, double top, QRgb color) {
    const double em = fonts_.spec(f).points * kTwipsPerPoint;
    const double ascent = fonts_.ascent(f);
    const double descent = fonts_.descent(f);
    // A quarter-turned glyph's body lies right of its baseline; this centres it on the column.
    const double turnedX = centerX - (ascent - descent) / 2;
    double y = top;
    for (qsizetype i = 0; i < s.size();) {
        const char16_t c = s[i].unicode();
        if (IsHalfWidth(c)) {
            qsizetype j = i;
            while (j < s.size() && IsHalfWidth(s[j].unicode()))
                ++j;
            const QString run = s.mid(i, j - i);
            text(turnedX, y, run, f, color, 1);
            y += fonts_.width(f, run);
            i = j;
            continue;
        }
        const qsizetype len = s[i].isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        const QString ch = s.mid(i, len);
        const double advance = fonts_.width(f, ch);
        if (TurnsInVerticalText(c)) {
            text(turnedX, y + (em - advance) / 2, ch, f, color, 1);
        } else {
            double x = centerX - advance / 2;
            double base = y + em * 0.88;
            if (SitsTopRight(c)) {
                x += em * 0.6;
                base -= em * 0.6;
            } else if (IsSmallKana(c)) {
                x += em * 0.1;
                base -= em * 0.1;
            }
            text(x, base, ch, f, color);
        }
        y += em;
        i += len;
    }
}

void CoverLayout::verticalFitted(const QString& s, double maxPoints, double centerX, double top,
                                 double length, bool bold, QRgb color) {
    if (s.isEmpty())
        return;
    const int reference = font(20, bold);
    const double perPoint = verticalLength(s, reference) / 20;
    double points = perPoint > 0 ? std::min(maxPoints, length / perPoint) : maxPoints;
    points = std::max(4.0, std::floor(points * 2) / 2);
    const int f = font(points, bold);
    const double used = verticalLength(s, f);
    vertical(s, f, centerX, top + std::max(0.0, (length - used) / 2), color);
}

void CoverLayout::fileLine(double baselineY, Align align) {
    if (!c_.hasFileLine || c_.fileLine.isEmpty())
        return;
    const int f = font(8);
    const double margin = Mm(15);
    const double width = doc_.pageSize.width() - 2 * margin;
    const QString s = fonts_.wrap(f, c_.fileLine, width).front();
    const double w = fonts_.width(f, s);
    const double x = align == Align::Right  ? doc_.pageSize.width() - margin - w
                     : align == Align::Left ? margin
                                            : (doc_.pageSize.width() - w) / 2;
    text(x, baselineY, s, f, kInk);
}

void CoverLayout::emptyNote() {
    const int f = font(11);
    const QString note = ToQString(kNoDataNote);
    const double w = fonts_.width(f, note);
    text((doc_.pageSize.width() - w) / 2, doc_.pageSize.height() / 3, note, f, kMuted);
}

void CoverLayout::cover() {
    const QSizeF page = doc_.pageSize;
    const QRectF outer(Mm(15), Mm(15), page.width() - Mm(30), page.height() - Mm(30));
    frame(outer, Pt(1.6), kAccent, false);
    frame(outer.adjusted(Mm(1.5), Mm(1.5), -Mm(1.5), -Mm(1.5)), Pt(0.5), kAccent, false);
    fileLine(outer.bottom() - Mm(5), Align::Center);
    if (!c_.cover) {
        emptyNote();
        return;
    }
    const CoverFields& f = *c_.cover;
    const double cx = page.width() / 2;
    const double width = outer.width() - Mm(30);
    const double titlePoints = fitting(f.title, 28, width, 2, true);
    double y = Mm(80);
    y += centered(f.title, font(titlePoints, true), cx, y, width, kInk);
    line({cx - width * 0.35, y + Mm(5), cx + width * 0.35, y + Mm(5)}, Pt(1), kAccent);
    y += Mm(12);
    centered(f.system, font(fitting(f.system, 18, width, 2, false)), cx, y, width, kInk);

    centered(f.date, font(13), cx, Mm(180), width, kInk);

    y = Mm(212);
    y +=
        centered(f.company, font(fitting(f.company, 16, width, 2, true), true), cx, y, width, kInk);
    y += Mm(2);
    y += centered(f.department, font(12), cx, y, width, kInk);
    if (!f.author.isEmpty())
        centered(QStringLiteral("作成者　") + f.author, font(12), cx, y + Mm(2), width, kInk);
}

void CoverLayout::spineLabel(const QRectF& r) {
    frame(r, Pt(0.6), kMuted, true);
    const CoverFields& f = *c_.cover;
    const double cx = r.center().x();
    const double maxPoints = std::min(32.0, r.width() / kTwipsPerPoint * 0.62);
    const double top = r.top() + Mm(10);
    verticalFitted(f.title, maxPoints, cx, top, Mm(140), true, kInk);
    line({r.left() + Mm(4), r.top() + Mm(155), r.right() - Mm(4), r.top() + Mm(155)}, Pt(0.8),
         kAccent);
    verticalFitted(f.system, maxPoints * 0.62, cx, r.top() + Mm(160), Mm(52), false, kInk);
    line({r.left() + Mm(4), r.top() + Mm(216), r.right() - Mm(4), r.top() + Mm(216)}, Pt(0.5),
         kRule);
    verticalFitted(f.company, maxPoints * 0.5, cx, r.top() + Mm(220), Mm(26), false, kInk);
}

void CoverLayout::spineLabels() {
    fileLine(Mm(12), Align::Right);
    if (!c_.cover) {
        emptyNote();
        return;
    }
    const int captionFont = font(7);
    double x = Mm(22);
    for (double width : {25.0, 35.0, 50.0}) {
        const QRectF r(x, Mm(20), Mm(width), Mm(250));
        spineLabel(r);
        const QString caption = QStringLiteral("幅 %1mm").arg(width);
        const double w = fonts_.width(captionFont, caption);
        text(r.center().x() - w / 2, r.bottom() + Mm(5), caption, captionFont, kMuted);
        x += Mm(width) + Mm(12);
    }
}

void CoverLayout::frontLabel(const QRectF& r, double scale) {
    frame(r, Pt(0.6), kMuted, true);
    const CoverFields& f = *c_.cover;
    const double inner = r.width() - Mm(12) * scale;
    const double cx = r.center().x();
    const int small = font(std::max(7.0, 10 * scale));
    const double lh = LineHeight(fonts_.spec(small).points);

    // The title and the system name sit centred in the space above the two footer lines.
    const int title = font(fitting(f.title, 22 * scale, inner, 2, true), true);
    const int system = font(fitting(f.system, 15 * scale, inner, 2, false));
    const auto linesOf = [&](const QString& s, int fnt) {
        return s.isEmpty() ? 0.0
                           : static_cast<double>(fonts_.wrap(fnt, s, inner).size()) *
                                 LineHeight(fonts_.spec(fnt).points);
    };
    const double gap = Mm(6) * scale;
    const double block = linesOf(f.title, title) + gap + linesOf(f.system, system);
    const double space = r.height() - Mm(5) * scale - 2 * lh - Mm(4) * scale;
    double y = r.top() + std::max(Mm(6) * scale, (space - block) / 2);
    y += centered(f.title, title, cx, y, inner, kInk);
    line({cx - inner * 0.4, y + gap / 2.4, cx + inner * 0.4, y + gap / 2.4}, Pt(0.8), kAccent);
    y += gap;
    centered(f.system, system, cx, y, inner, kInk);

    const double left = r.left() + Mm(6) * scale;
    const double right = r.right() - Mm(6) * scale;
    double bottom = r.bottom() - Mm(5) * scale;
    const QStringList leftLines{f.department, f.company};
    const QStringList rightLines{
        f.author.isEmpty() ? QString() : QStringLiteral("作成者　") + f.author, f.date};
    for (int k = 0; k < 2; ++k) {
        const QString l = fonts_.wrap(small, leftLines[k], inner * 0.6).front();
        const QString rt = fonts_.wrap(small, rightLines[k], inner * 0.38).front();
        text(left, bottom, l, small, kInk);
        text(right - fonts_.width(small, rt), bottom, rt, small, kInk);
        bottom -= lh;
    }
}

void CoverLayout::frontLabels() {
    fileLine(Mm(12), Align::Right);
    if (!c_.cover) {
        emptyNote();
        return;
    }
    const int captionFont = font(7);
    const QRectF large(Mm(20), Mm(22), Mm(170), Mm(95));
    const QRectF small(Mm(20), Mm(135), Mm(91), Mm(55));
    frontLabel(large, 1.0);
    frontLabel(small, 0.62);
    for (const auto& [r, caption] : {std::pair{large, QStringLiteral("170 × 95mm")},
                                     std::pair{small, QStringLiteral("91 × 55mm")}}) {
        text(r.left(), r.bottom() + Mm(4.5), caption, captionFont, kMuted);
    }
}

Document CoverLayout::run() {
    switch (c_.kind) {
        case ReportKind::SpineLabel:
            spineLabels();
            break;
        case ReportKind::FrontLabel:
            frontLabels();
            break;
        default:
            cover();
            break;
    }
    for (std::size_t f = 0; f < fonts_.size(); ++f)
        doc_.fonts.push_back(fonts_.spec(static_cast<int>(f)));
    return std::move(doc_);
}

}  // namespace

Document LayOutCoverSheet(const ReportContent& content, FontBook& fonts, QSizeF pageSize) {
    return CoverLayout(content, fonts, pageSize).run();
}

}  // namespace zanfor::report
