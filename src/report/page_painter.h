#pragma once

// Draws laid-out pages with a QPainter: the same pages on a PDF writer, a printer or the print
// preview. The painter is scaled so that one unit is one twip of the page.

#include <QFont>
#include <vector>

#include "report/page_layout.h"

class QPainter;
class QPagedPaintDevice;

namespace zanfor::report {

class PagePainter {
public:
    explicit PagePainter(const Document& document);

    // Paints one page; the painter's device may have any resolution.
    void paint(QPainter& painter, int page) const;
    // Paints pages [from, to) on a paged device, starting a new device page between them.
    // False when the device refused a new page.
    bool paintPages(QPainter& painter, QPagedPaintDevice& device, int from, int to) const;

private:
    const Document& document_;
    std::vector<QFont> fonts_;
};

}  // namespace zanfor::report
