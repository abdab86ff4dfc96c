#pragma once

// The pages of a report for one paper size: text, rules and shaded areas placed in twips. The
// painter draws them on PDF, printer and preview alike, so every paged output looks the same.
//
// Rules of the listing layout: a row is never cut across a page (or column) boundary unless it
// is taller than a whole frame, and then it continues line by line on the next frames; column
// headings and the headings of the groups in progress are repeated at the top of every frame; a
// heading is never left alone at the bottom of a frame; a group marked keep-together starts on
// a new frame rather than split, when it fits on one.

#include <QLineF>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>
#include <functional>
#include <vector>

#include "report/block_stream.h"
#include "report/report_content.h"
#include "report/text_layout.h"

namespace zanfor::report {

struct TextItem {
    QPointF origin{};  // baseline start
    QString text{};
    int font = 0;
    QRgb color = 0;
    int quarterTurns = 0;  // clockwise, about the origin
};

struct LineItem {
    QLineF line{};
    double width = 0;
    QRgb color = 0;
    bool dashed = false;
};

struct FillItem {
    QRectF rect{};
    QRgb color = 0;
};

struct PageItems {
    std::vector<FillItem> fills{};
    std::vector<LineItem> lines{};
    std::vector<TextItem> texts{};
};

// Where a block went: one entry per piece (a row split over frames has several).
struct Placement {
    int block = 0;  // -1: the column headings of a table
    int page = 0;
    int column = 0;
    double top = 0;
    double bottom = 0;
    int firstLine = 0;  // the row's lines [firstLine, lastLine) are on this piece
    int lastLine = 0;
    int lineCount = 0;  // all lines of the row
};

struct Document {
    QSizeF pageSize{};  // twips
    QString title{};
    Orientation orientation = Orientation::Portrait;
    std::vector<FontSpec> fonts{};
    std::vector<PageItems> pages{};
    std::vector<Placement> placements{};
    double bodyTop = 0;     // first frame line of pages after the first
    double bodyBottom = 0;  // last frame line of every page
};

// A4 in twips, turned for the orientation.
QSizeF A4Twips(Orientation orientation);

// The pages of a report held whole, with where every block went.
Document LayOutReport(const ReportContent& content, QSizeF pageSize);

// Receives the finished pages in order; may throw to stop the layout.
using PageSink = std::function<void(const PageItems& page)>;

// Lays out a report page by page and hands each finished page to `sink`, holding only the
// page in progress: the blocks are read twice (three times when a column fits its text), the
// first time to count the pages the footers number. `head` is the report without its blocks.
// The fonts of the pages are `fonts`' indices. Returns the page count.
int LayOutReport(const ReportContent& head, const StreamSource& blocks, QSizeF pageSize,
                 FontBook& fonts, const PageSink& sink);

}  // namespace zanfor::report
