#pragma once

// Draws laid-out pages with a QPainter: the same pages on a PDF writer, a printer or the print
// preview. The painter is scaled so that one unit is one twip of the page.

#include <memory>

#include "report/page_layout.h"

class QPainter;
class QPagedPaintDevice;

namespace zanfor::report {

class PagePainter {
public:
    // Pages laid out with `fonts`, painted as they come.
    explicit PagePainter(FontBook& fonts);
    // The pages of a document laid out earlier.
    explicit PagePainter(const Document& document);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    // Paints one page; the painter's device may have any resolution.
    void paint(QPainter& painter, const PageItems& page);
    // Paints a page of the document.
    void paint(QPainter& painter, int page);
    // Paints the document's pages [from, to) on a paged device, starting a new device page
    // between them. False when the device refused a new page.
    bool paintPages(QPainter& painter, QPagedPaintDevice& device, int from, int to);

private:
    const Document* document_ = nullptr;
    std::unique_ptr<FontBook> ownFonts_;
    FontBook& fonts_;
};

}  // namespace zanfor::report
