#include "report/page_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace zanfor::report {

PagePainter::PagePainter(const Document& document) : document_(document) {
    for (const auto& spec : document.fonts)
        fonts_.push_back(MakeReportFont(spec));
}

void PagePainter::paint(QPainter& painter, int pageIndex) const {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(document_.pages.size()))
        return;
    const PageItems& page = document_.pages[static_cast<std::size_t>(pageIndex)];
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

    int font = -1;
    QRgb color = 0;
    bool colorSet = false;
    for (const auto& t : page.texts) {
        if (t.font != font && t.font >= 0 && t.font < static_cast<int>(fonts_.size())) {
            font = t.font;
            painter.setFont(fonts_[static_cast<std::size_t>(font)]);
        }
        if (!colorSet || t.color != color) {
            color = t.color;
            colorSet = true;
            painter.setPen(QColor::fromRgb(color));
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

bool PagePainter::paintPages(QPainter& painter, QPagedPaintDevice& device, int from, int to) const {
    for (int p = from; p < to; ++p) {
        if (p > from && !device.newPage())
            return false;
        paint(painter, p);
    }
    return true;
}

}  // namespace zanfor::report
