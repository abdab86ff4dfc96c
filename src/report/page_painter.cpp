#include "report/page_painter.h"

#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <utility>
#include <vector>

namespace zanfor::report {

namespace {

// The pieces Qt's text engine draws a text in, each with its own font selection: a piece ends
// where a character of another script begins (characters of no script of their own, such as
// digits, punctuation and blanks, stay with the piece they are in) and after 4,000 characters.
std::vector<std::pair<qsizetype, qsizetype>> ScriptPieces(QStringView text) {
    constexpr qsizetype kLongest = 4000;
    std::vector<std::pair<qsizetype, qsizetype>> pieces;
    auto add = [&](qsizetype begin, qsizetype end) {
        for (; end - begin > kLongest; begin += kLongest)
            pieces.emplace_back(begin, begin + kLongest);
        pieces.emplace_back(begin, end);
    };
    qsizetype begin = 0;
    QChar::Script script = QChar::Script_Common;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar::Script next = text[i].script();
        if (next == script || next <= QChar::Script_Common)
            continue;
        if (script > QChar::Script_Common) {
            add(begin, i);
            begin = i;
        }
        script = next;
    }
    add(begin, text.size());
    return pieces;
}

}  // namespace

PagePainter::PagePainter(FontBook& fonts) : fonts_(fonts) {}

PagePainter::PagePainter(const Document& document)
    : document_(&document), ownFonts_(std::make_unique<FontBook>()), fonts_(*ownFonts_) {
    for (const auto& spec : document.fonts)
        fonts_.font(spec);
}

PagePainter::~PagePainter() = default;

void PagePainter::paint(QPainter& painter, int pageIndex) {
    if (document_ == nullptr || pageIndex < 0 ||
        pageIndex >= static_cast<int>(document_->pages.size()))
        return;
    paint(painter, document_->pages[static_cast<std::size_t>(pageIndex)]);
}

void PagePainter::paint(QPainter& painter, const PageItems& page) {
    QPaintDevice* device = painter.device();
    painter.save();
    painter.resetTransform();
    painter.scale(device->logicalDpiX() / 1440.0, device->logicalDpiY() / 1440.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (const auto& f : page.fills)
        painter.fillRect(f.rect, QColor::fromRgb(f.color));

    for (const auto& l : page.lines) {
        QPen pen(QColor::fromRgb(l.color));
        pen.setWidthF(l.width);
        pen.setCapStyle(Qt::FlatCap);
        if (l.dashed)
            pen.setDashPattern({6, 4});
        painter.setPen(pen);
        painter.drawLine(l.line);
    }

    // On PDF the layout's measures place the glyphs rather than shaping each text again. The
    // runs are the pieces and the order Qt would draw, so that the file reads back (copied,
    // searched, extracted) as it would. Texts that need shaping, and all texts elsewhere (a
    // preview records glyph runs as outlines), are drawn as they are.
    const int fonts = static_cast<int>(fonts_.size());
    const bool placed = painter.paintEngine()->type() == QPaintEngine::Pdf;
    int font = -1;
    QRgb color = 0;
    bool colorSet = false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (const auto& t : page.texts) {
        const bool known = t.font >= 0 && t.font < fonts;
        if (!colorSet || t.color != color) {
            color = t.color;
            colorSet = true;
            painter.setPen(QColor::fromRgb(color));
        }
        if (placed && known && t.quarterTurns == 0) {
            if (t.text.isEmpty())
                continue;
            glyphs.clear();
            positions.clear();
            if (fonts_.placeGlyphs(t.font, t.text, t.origin, glyphs, positions)) {
                for (const auto& [begin, end] : ScriptPieces(t.text)) {
                    QGlyphRun run;
                    run.setRawFont(fonts_.rawFont(t.font));
                    run.setGlyphIndexes(glyphs.mid(begin, end - begin));
                    run.setPositions(positions.mid(begin, end - begin));
                    painter.drawGlyphRun(QPointF(), run);
                }
                continue;
            }
        }
        if (t.font != font && known) {
            font = t.font;
            painter.setFont(fonts_.qfont(font));
        }
        if (t.quarterTurns == 0) {
            painter.drawText(t.origin, t.text);
        } else {
            painter.save();
            painter.translate(t.origin);
            painter.rotate(90.0 * t.quarterTurns);
            painter.drawText(QPointF(0, 0), t.text);
            painter.restore();
        }
    }
    painter.restore();
}

bool PagePainter::paintPages(QPainter& painter, QPagedPaintDevice& device, int from, int to) {
    for (int p = from; p < to; ++p) {
        if (p > from && !device.newPage())
            return false;
        paint(painter, p);
    }
    return true;
}

}  // namespace zanfor::report
