#include "report/page_layout.h"

#include <QPageSize>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/program_files.h"
#include "report/cover_layout.h"
#include "report/layout_style.h"
#include "report/qt_text.h"

namespace zanfor::report {

namespace {

// The lines of one row as wrapped into its cells, then the program text under it.
struct RowLines {
    std::vector<std::vector<QString>> cells;
    std::vector<QString> below;
    int cellLines = 1;
    int total() const { return cellLines + static_cast<int>(below.size()); }
};

constexpr double kSlack = 0.5;

struct StackEntry {
    int level = 0;
    QString text;
};

// One reading of the blocks: what it draws and where the pages go.
struct Pass {
    const PageSink* sink = nullptr;  // none: the pages are only counted, nothing is drawn
    int total = 0;                   // the page count for the footers; 0: no footers
    std::vector<Placement>* placements = nullptr;
};

class ListingLayout {
public:
    ListingLayout(const ReportContent& content, FontBook& fonts, QSizeF page);

    bool hasFitColumns() const;
    // A column that holds only short text (dates, a kind that is mostly empty) would leave its
    // room blank while a long description wraps to many lines beside it; so fit columns narrow
    // to their widest text and the others share what they give up. Never wider than designed.
    void fitColumns(BlockStream& blocks);
    // Lays the blocks out once; the page count.
    int run(BlockStream& blocks, const Pass& pass);
    void drawFooter(PageItems& items, int page, int total);
    double bodyTop() const { return bodyTop_; }
    double bodyBottom() const { return bodyBottom_; }

private:
    double frameX(int column) const { return margins_.left + column * (frameWidth_ + kGutter); }
    double frameTop(int page) const { return page == 0 ? firstBodyTop_ : bodyTop_; }
    // Starting a new frame gains room unless this one is untouched and as tall as any other.
    bool canMove() const { return !frameFresh_ || frameStart_ > bodyTop_ + 1; }
    // Heights are sums of fractions of twips; a block that fits exactly must not depend on
    // their rounding.
    bool fits(double height) const { return y_ + height <= bodyBottom_ + kSlack; }
    double lineHeightOf(const TableSpec& spec) const;
    double padY(const TableSpec& spec) const;
    double padX(const TableSpec& spec) const;
    double rowHeight(const TableSpec& spec, int lines) const;
    const Block& block(int index) { return *blocks_->at(index); }
    int tableOf(int index) const { return blocks_->tableOf(index); }
    const TableSpec& specOf(int block) const;
    void layOutColumns();

    RowLines measureRow(int block, bool repeated);
    RowLines& linesOf(int block);
    double blockHeight(int block);
    double headingHeight(int block);
    double rowHeadingHeight(int block);
    double tableHeaderHeight(int table);
    double noteHeight(int block);
    double chainHeight(int block);
    double groupHeight(int begin, double limit);
    double freshRoom();
    int cellFont(const Cell& cell) const;

    void newPage();
    void finishPage();
    void newFrame(bool continuation);
    void placeHeading(int block);
    void placeRowHeading(int block);
    void placeTableBegin(int block);
    void placeRow(int block);
    void placeNote(int block);
    void drawPieces(int block, const RowLines& lines, int from, int to);
    void drawCells(const Block& b, int table, const RowLines& lines, int from, int to, double top,
                   double h);
    void drawTableHeader(int table);
    void drawContinuation();
    void drawPageHeader(int page);
    void drawTitleBlock();
    void place(int block, double top, double bottom, int firstLine = 0, int lastLine = 0,
               int lineCount = 0);

    PageItems& page() { return page_; }
    void text(double x, double baseline, const QString& s, int font, QRgb color) {
        if (drawing_)
            page().texts.push_back({QPointF(x, baseline), s, font, color, 0});
    }
    void line(double x1, double y1, double x2, double y2, double width, QRgb color) {
        if (drawing_)
            page().lines.push_back({QLineF(x1, y1, x2, y2), width, color, false});
    }
    void fill(const QRectF& rect, QRgb color) {
        if (drawing_)
            page().fills.push_back({rect, color});
    }
    double baseline(double lineTop, double lineHeight, int font) const {
        return lineTop + (lineHeight - (fonts_.ascent(font) + fonts_.descent(font))) / 2 +
               fonts_.ascent(font);
    }

    const ReportContent& c_;
    FontBook& fonts_;
    Margins margins_;
    double contentWidth_ = 0;
    double frameWidth_ = 0;
    double headerTextHeight_ = 0;
    bool fileBeside_ = true;
    std::vector<QString> fileLines_;
    double bodyTop_ = 0;
    double firstBodyTop_ = 0;
    double bodyBottom_ = 0;
    double footerRule_ = 0;

    int body_, bold_, code_, codeBold_, head_, label_, lineNo_, small_, heading0_, heading1_,
        title_, subtitle_, pageTitle_, caption_;
    double textLine_ = 0;
    double codeLine_ = 0;

    std::vector<std::vector<double>> colX_;
    std::vector<std::vector<double>> colW_;

    // The state of one pass.
    BlockWindow* blocks_ = nullptr;
    Pass pass_;
    bool drawing_ = false;
    PageItems page_;
    int pageIndex_ = -1;
    std::unordered_map<int, RowLines> cache_;
    int column_ = 0;
    double y_ = 0;
    bool frameFresh_ = true;
    double frameStart_ = 0;
    int openTable_ = -1;
    std::vector<StackEntry> stack_;
};

ListingLayout::ListingLayout(const ReportContent& content, FontBook& fonts, QSizeF page)
    : c_(content), fonts_(fonts) {
    const double base = content.fontPt;
    body_ = fonts_.font({FontRole::Text, base, false});
    bold_ = fonts_.font({FontRole::Text, base, true});
    code_ = fonts_.font({FontRole::Code, base - 0.5, false});
    codeBold_ = fonts_.font({FontRole::Code, base - 0.5, true});
    head_ = fonts_.font({FontRole::Text, base - 0.5, true});
    label_ = fonts_.font({FontRole::Text, base - 0.5, false});
    lineNo_ = fonts_.font({FontRole::Text, base - 1.5, false});
    small_ = fonts_.font({FontRole::Text, 7.5, false});
    heading0_ = fonts_.font({FontRole::Text, base + 2.5, true});
    heading1_ = fonts_.font({FontRole::Text, base + 1, true});
    title_ = fonts_.font({FontRole::Text, 15, true});
    subtitle_ = fonts_.font({FontRole::Text, 10.5, true});
    pageTitle_ = fonts_.font({FontRole::Text, 9, true});
    caption_ = fonts_.font({FontRole::Text, base - 0.5, true});
    textLine_ = Pt(base * 1.36);
    codeLine_ = Pt((base - 0.5) * 1.3);

    contentWidth_ = page.width() - margins_.left - margins_.right;
    const int columns = std::max(1, content.flowColumns);
    frameWidth_ = (contentWidth_ - kGutter * (columns - 1)) / columns;

    headerTextHeight_ = LineHeight(9);
    if (content.hasFileLine && !content.fileLine.isEmpty()) {
        const double titleWidth = fonts_.width(pageTitle_, content.fullTitle());
        const double fileWidth = fonts_.width(small_, content.fileLine);
        fileBeside_ = titleWidth + Mm(10) + fileWidth <= contentWidth_;
        if (!fileBeside_) {
            fileLines_ = fonts_.wrap(small_, content.fileLine, contentWidth_);
            headerTextHeight_ += LineHeight(7.5) * static_cast<double>(fileLines_.size());
        }
    }
    bodyTop_ = margins_.top + headerTextHeight_ + Pt(2) + Mm(4);
    footerRule_ = page.height() - margins_.bottom - Mm(5);
    bodyBottom_ = footerRule_ - Mm(3);
    firstBodyTop_ = bodyTop_;

    for (const auto& spec : content.tables) {
        double total = 0;
        for (const auto& col : spec.columns)
            total += col.width;
        std::vector<double> ws;
        for (const auto& col : spec.columns)
            ws.push_back(total > 0 ? frameWidth_ * col.width / total : 0);
        colW_.push_back(std::move(ws));
    }
    layOutColumns();
}

void ListingLayout::layOutColumns() {
    colX_.clear();
    for (const auto& ws : colW_) {
        std::vector<double> xs;
        double x = 0;
        for (const double w : ws) {
            xs.push_back(x);
            x += w;
        }
        colX_.push_back(std::move(xs));
    }
}

bool ListingLayout::hasFitColumns() const {
    return std::ranges::any_of(c_.tables, [](const TableSpec& spec) {
        return std::ranges::any_of(spec.columns, &ColumnSpec::fit);
    });
}

void ListingLayout::fitColumns(BlockStream& stream) {
    constexpr double kFree = -1;
    std::vector<std::vector<double>> need;
    for (const TableSpec& spec : c_.tables) {
        need.emplace_back(spec.columns.size(), kFree);
        for (std::size_t i = 0; i < spec.columns.size(); ++i) {
            if (spec.columns[i].fit)
                need.back()[i] = fonts_.width(head_, spec.columns[i].caption);
        }
    }
    BlockWindow window(stream);
    for (int b = 0; const Block* block = window.at(b); window.release(++b)) {
        const int table = window.tableOf(b);
        if (table < 0 || (block->type != BlockType::Row && block->type != BlockType::TotalRow))
            continue;
        auto& needs = need[static_cast<std::size_t>(table)];
        std::size_t col = 0;
        for (const Cell& cell : block->cells) {
            if (cell.span <= 1 && col < needs.size() && needs[col] != kFree) {
                for (const QString* text : {&cell.text, &cell.repeated}) {
                    for (const auto line : QStringView(*text).tokenize(u'\n'))
                        needs[col] = std::max(needs[col], fonts_.width(cellFont(cell), line));
                }
            }
            col += static_cast<std::size_t>(std::max(1, cell.span));
        }
    }
    for (std::size_t t = 0; t < c_.tables.size(); ++t) {
        const TableSpec& spec = c_.tables[t];
        if (std::ranges::none_of(spec.columns, &ColumnSpec::fit))
            continue;
        auto& ws = colW_[t];
        const auto& needs = need[t];
        double spare = 0;
        double free = 0;
        for (std::size_t i = 0; i < ws.size(); ++i) {
            if (needs[i] == kFree)
                free += ws[i];
            else
                spare += std::max(0.0, ws[i] - (needs[i] + 2 * padX(spec) + Pt(1)));
        }
        if (free <= 0)
            continue;
        for (std::size_t i = 0; i < ws.size(); ++i) {
            ws[i] = needs[i] == kFree ? ws[i] + spare * ws[i] / free
                                      : std::min(ws[i], needs[i] + 2 * padX(spec) + Pt(1));
        }
    }
    layOutColumns();
}

double ListingLayout::lineHeightOf(const TableSpec& spec) const {
    return spec.kind == TableKind::Code ? codeLine_ : textLine_;
}

double ListingLayout::padY(const TableSpec& spec) const {
    return spec.kind == TableKind::Code ? Pt(0.3) : Pt(1.5);
}

double ListingLayout::padX(const TableSpec& spec) const {
    return spec.kind == TableKind::Box ? Mm(2) : Pt(2.5);
}

double ListingLayout::rowHeight(const TableSpec& spec, int lines) const {
    return 2 * padY(spec) + lines * lineHeightOf(spec);
}

const TableSpec& ListingLayout::specOf(int block) const {
    return c_.tables[static_cast<std::size_t>(tableOf(block))];
}

int ListingLayout::cellFont(const Cell& cell) const {
    if (cell.style == CellStyle::LineNumber)
        return lineNo_;
    if (cell.code)
        return cell.style == CellStyle::Strong ? codeBold_ : code_;
    if (cell.style == CellStyle::Strong)
        return bold_;
    if (cell.style == CellStyle::Label)
        return label_;
    return body_;
}

RowLines ListingLayout::measureRow(int index, bool repeated) {
    const Block& b = block(index);
    const TableSpec& spec = specOf(index);
    const auto& xs = colX_[static_cast<std::size_t>(tableOf(index))];
    const auto& ws = colW_[static_cast<std::size_t>(tableOf(index))];
    RowLines lines;
    std::size_t col = 0;
    for (const Cell& cell : b.cells) {
        const std::size_t span = std::max(1, cell.span);
        double width = 0;
        for (std::size_t k = col; k < col + span && k < ws.size(); ++k)
            width += ws[k];
        const QString& s = repeated && cell.text.isEmpty() ? cell.repeated : cell.text;
        lines.cells.push_back(fonts_.wrap(cellFont(cell), s, width - 2 * padX(spec)));
        lines.cellLines = std::max(lines.cellLines, static_cast<int>(lines.cells.back().size()));
        col += span;
    }
    if (!b.below.isEmpty()) {
        const auto from = static_cast<std::size_t>(
            std::clamp<int>(b.belowFrom, 0, static_cast<int>(xs.size()) - 1));
        const double width = frameWidth_ - xs[from] - 2 * padX(spec) - Mm(3);
        lines.below = fonts_.wrap(code_, b.below, width);
    }
    return lines;
}

RowLines& ListingLayout::linesOf(int block) {
    auto found = cache_.find(block);
    if (found == cache_.end())
        found = cache_.emplace(block, measureRow(block, false)).first;
    return found->second;
}

double ListingLayout::headingHeight(int index) {
    const Block& b = block(index);
    const int font = b.level == 0 ? heading0_ : heading1_;
    const double noteWidth = b.note.isEmpty() ? 0 : fonts_.width(body_, b.note) + Mm(4);
    const auto lines = fonts_.wrap(font, b.text, frameWidth_ - Mm(6) - noteWidth);
    const double lh = LineHeight(fonts_.spec(font).points);
    const double gap = b.level == 0 ? Mm(4) : Mm(3);
    return gap + static_cast<double>(lines.size()) * lh + Pt(4.5) + Mm(1.5);
}

double ListingLayout::rowHeadingHeight(int index) {
    const TableSpec& spec = specOf(index);
    const Block& b = block(index);
    const auto lines = fonts_.wrap(bold_, b.text, frameWidth_ - Mm(40));
    return 2 * Pt(2) + static_cast<double>(lines.size()) * lineHeightOf(spec) +
           (spec.kind == TableKind::Code ? Pt(3) : 0);
}

double ListingLayout::tableHeaderHeight(int table) {
    const TableSpec& spec = c_.tables[static_cast<std::size_t>(table)];
    double h = 0;
    if (!spec.caption.isEmpty())
        h += LineHeight(fonts_.spec(caption_).points) + Pt(1.5);
    if (spec.header) {
        int lines = 1;
        const auto& ws = colW_[static_cast<std::size_t>(table)];
        for (std::size_t i = 0; i < spec.columns.size(); ++i) {
            lines = std::max(
                lines,
                static_cast<int>(
                    fonts_.wrap(head_, spec.columns[i].caption, ws[i] - 2 * padX(spec)).size()));
        }
        h += 2 * Pt(2) + lines * LineHeight(fonts_.spec(head_).points);
    }
    return h;
}

double ListingLayout::noteHeight(int index) {
    return block(index).level == 0 ? Mm(14) : Mm(2) + textLine_;
}

double ListingLayout::blockHeight(int index) {
    const Block& b = block(index);
    switch (b.type) {
        case BlockType::Heading:
            return headingHeight(index);
        case BlockType::TableBegin:
            return tableHeaderHeight(b.table);
        case BlockType::TableEnd:
            return Mm(2.5);
        case BlockType::Row:
        case BlockType::TotalRow:
            return rowHeight(specOf(index), linesOf(index).total());
        case BlockType::RowHeading:
            return rowHeadingHeight(index);
        case BlockType::Note:
            return noteHeight(index);
        case BlockType::GroupBegin:
        case BlockType::GroupEnd:
            return 0;
    }
    return 0;
}

double ListingLayout::freshRoom() {
    const bool continued = std::any_of(stack_.begin(), stack_.end(),
                                       [](const StackEntry& e) { return !e.text.isEmpty(); });
    double room = bodyBottom_ - bodyTop_ - (continued ? LineHeight(7.5) + Pt(1) : 0);
    if (openTable_ >= 0)
        room -= tableHeaderHeight(openTable_);
    return room;
}

// The height a block needs together with what must follow it on the same frame: a heading, a
// settings grid (whole) and column headings stay with the first row after them.
double ListingLayout::chainHeight(int index) {
    double h = 0;
    bool inInfo = false;
    for (int j = index; const Block* next = blocks_->at(j); ++j) {
        const Block& b = *next;
        switch (b.type) {
            case BlockType::GroupBegin:
            case BlockType::GroupEnd:
                continue;
            case BlockType::Heading:
            case BlockType::RowHeading:
                h += blockHeight(j);
                continue;
            case BlockType::TableBegin:
                inInfo = c_.tables[static_cast<std::size_t>(b.table)].kind == TableKind::Info;
                h += blockHeight(j);
                continue;
            case BlockType::TableEnd:
                if (!inInfo)
                    return h;
                h += blockHeight(j);
                inInfo = false;
                continue;
            case BlockType::Row:
            case BlockType::TotalRow: {
                const TableSpec& spec = specOf(j);
                const double row = blockHeight(j);
                if (inInfo) {
                    h += row;
                    continue;
                }
                return h + std::min(row, rowHeight(spec, 3));
            }
            case BlockType::Note:
                return h + blockHeight(j);
        }
    }
    return h;
}

// The height of the group that begins at `begin`, or of as much of it as first exceeds
// `limit`.
double ListingLayout::groupHeight(int begin, double limit) {
    double h = 0;
    int depth = 0;
    for (int j = begin; h <= limit; ++j) {
        const Block* b = blocks_->at(j);
        if (b == nullptr)
            break;
        h += blockHeight(j);
        depth += b->type == BlockType::GroupBegin ? 1 : b->type == BlockType::GroupEnd ? -1 : 0;
        if (depth == 0)
            break;
    }
    return h;
}

void ListingLayout::newPage() {
    if (pageIndex_ >= 0)
        finishPage();
    ++pageIndex_;
    drawPageHeader(pageIndex_);
}

void ListingLayout::finishPage() {
    if (!drawing_)
        return;
    if (pass_.total > 0)
        drawFooter(page_, pageIndex_, pass_.total);
    (*pass_.sink)(page_);
    page_.fills.clear();
    page_.lines.clear();
    page_.texts.clear();
}

void ListingLayout::newFrame(bool continuation) {
    if (column_ + 1 < std::max(1, c_.flowColumns)) {
        ++column_;
    } else {
        newPage();
        column_ = 0;
    }
    y_ = frameTop(pageIndex_);
    frameStart_ = y_;
    frameFresh_ = true;
    if (continuation)
        drawContinuation();
    if (openTable_ >= 0)
        drawTableHeader(openTable_);
}

void ListingLayout::drawContinuation() {
    QStringList parts;
    for (const auto& entry : stack_) {
        if (!entry.text.isEmpty())
            parts << entry.text;
    }
    if (parts.isEmpty())
        return;
    const double lh = LineHeight(7.5);
    if (drawing_) {
        const QString s = parts.join(QStringLiteral(" ／ ")) + QStringLiteral("（続き）");
        const auto lines = fonts_.wrap(small_, s, frameWidth_);
        text(frameX(column_), baseline(y_, lh, small_), lines.front(), small_, kMuted);
    }
    y_ += lh + Pt(1);
}

void ListingLayout::drawPageHeader(int pageIndex) {
    if (!drawing_)
        return;
    const double top = margins_.top;
    const double lh = LineHeight(9);
    const double right = margins_.left + contentWidth_;
    if (pageIndex > 0)
        text(margins_.left, baseline(top, lh, pageTitle_), c_.fullTitle(), pageTitle_, kAccent);
    if (c_.hasFileLine) {
        if (fileBeside_) {
            const double w = fonts_.width(small_, c_.fileLine);
            text(right - w, baseline(top, lh, pageTitle_), c_.fileLine, small_, kInk);
        } else {
            double y = top + lh;
            for (const auto& s : fileLines_) {
                text(margins_.left, baseline(y, LineHeight(7.5), small_), s, small_, kInk);
                y += LineHeight(7.5);
            }
        }
    }
    const double rule = top + headerTextHeight_ + Pt(2);
    line(margins_.left, rule, right, rule, Pt(0.8), kAccent);
}

void ListingLayout::drawTitleBlock() {
    const double y = bodyTop_;
    const double lh = LineHeight(15);
    const double rule = y + lh + Pt(3);
    firstBodyTop_ = rule + Pt(2.4) + Mm(5);
    if (!drawing_)
        return;
    const double titleWidth = fonts_.width(title_, c_.title);
    const double subWidth = fonts_.width(subtitle_, c_.subtitle);
    const double x = margins_.left + (contentWidth_ - titleWidth - subWidth) / 2;
    const double base = baseline(y, lh, title_);
    text(x, base, c_.title, title_, kInk);
    if (!c_.subtitle.isEmpty())
        text(x + titleWidth, base, c_.subtitle, subtitle_, kInk);
    const double right = margins_.left + contentWidth_;
    line(margins_.left, rule, right, rule, Pt(1.4), kAccent);
    line(margins_.left, rule + Pt(2.4), right, rule + Pt(2.4), Pt(0.5), kAccent);
}

void ListingLayout::place(int block, double top, double bottom, int firstLine, int lastLine,
                          int lineCount) {
    if (pass_.placements) {
        pass_.placements->push_back(
            {block, pageIndex_, column_, top, bottom, firstLine, lastLine, lineCount});
    }
}

void ListingLayout::drawTableHeader(int table) {
    const TableSpec& spec = c_.tables[static_cast<std::size_t>(table)];
    const double x0 = frameX(column_);
    const auto& xs = colX_[static_cast<std::size_t>(table)];
    const auto& ws = colW_[static_cast<std::size_t>(table)];
    if (!spec.caption.isEmpty()) {
        const double lh = LineHeight(fonts_.spec(caption_).points);
        text(x0, baseline(y_, lh, caption_), spec.caption, caption_, kAccent);
        y_ += lh + Pt(1.5);
    }
    if (!spec.header)
        return;
    const double lh = LineHeight(fonts_.spec(head_).points);
    std::vector<std::vector<QString>> captions;
    int lines = 1;
    for (std::size_t i = 0; i < spec.columns.size(); ++i) {
        captions.push_back(fonts_.wrap(head_, spec.columns[i].caption, ws[i] - 2 * padX(spec)));
        lines = std::max(lines, static_cast<int>(captions.back().size()));
    }
    const double h = 2 * Pt(2) + lines * lh;
    if (drawing_) {
        fill(QRectF(x0, y_, frameWidth_, h), kHeaderFill);
        for (std::size_t i = 0; i < spec.columns.size(); ++i) {
            const auto& caption = captions[i];
            const double top = y_ + Pt(2) + (lines - static_cast<int>(caption.size())) * lh / 2;
            for (std::size_t k = 0; k < caption.size(); ++k) {
                const double w = fonts_.width(head_, caption[k]);
                const double x = x0 + xs[i] + (ws[i] - w) / 2;
                text(x, baseline(top + static_cast<double>(k) * lh, lh, head_), caption[k], head_,
                     kAccentDark);
            }
            if (i > 0 && spec.kind != TableKind::Code)
                line(x0 + xs[i], y_ + Pt(2), x0 + xs[i], y_ + h - Pt(2), Pt(0.4), kHeaderRule);
        }
        line(x0, y_, x0 + frameWidth_, y_, Pt(0.6), kAccent);
        line(x0, y_ + h, x0 + frameWidth_, y_ + h, Pt(0.8), kAccent);
    }
    place(-1, y_, y_ + h);
    y_ += h;
}

void ListingLayout::placeHeading(int index) {
    const Block& b = block(index);
    const double chain = chainHeight(index);
    if (canMove() && !fits(chain) && chain <= freshRoom() + kSlack)
        newFrame(true);
    const int font = b.level == 0 ? heading0_ : heading1_;
    const double lh = LineHeight(fonts_.spec(font).points);
    const double noteWidth = b.note.isEmpty() ? 0 : fonts_.width(body_, b.note) + Mm(4);
    const auto lines = fonts_.wrap(font, b.text, frameWidth_ - Mm(6) - noteWidth);
    if (!frameFresh_)
        y_ += b.level == 0 ? Mm(4) : Mm(3);
    const double x0 = frameX(column_);
    const double h = static_cast<double>(lines.size()) * lh + Pt(4.5);
    const double top = y_;
    if (b.level == 0) {
        fill(QRectF(x0, top, frameWidth_, h), kSectionFill);
        fill(QRectF(x0, top, Pt(3.5), h), kAccent);
    } else {
        line(x0, top + h, x0 + frameWidth_, top + h, Pt(0.7), kAccent);
    }
    double y = top + Pt(2.25);
    for (const auto& s : lines) {
        text(x0 + (b.level == 0 ? Mm(3.5) : Pt(1)), baseline(y, lh, font), s, font, kAccentDark);
        y += lh;
    }
    if (!b.note.isEmpty() && drawing_) {
        const double w = fonts_.width(body_, b.note);
        text(x0 + frameWidth_ - w - Pt(3), baseline(top + Pt(2.25), lh, body_), b.note, body_,
             kMuted);
    }
    place(index, top, top + h);
    y_ = top + h + Mm(1.5);
    frameFresh_ = false;
    if (!stack_.empty() && stack_.back().level == b.level)
        stack_.back().text = b.text;
}

void ListingLayout::placeRowHeading(int index) {
    const Block& b = block(index);
    const double chain = chainHeight(index);
    if (canMove() && !fits(chain) && chain <= freshRoom() + kSlack)
        newFrame(true);
    const TableSpec& spec = specOf(index);
    const bool code = spec.kind == TableKind::Code;
    if (code && !frameFresh_)
        y_ += Pt(3);
    const double lh = lineHeightOf(spec);
    const auto lines = fonts_.wrap(bold_, b.text, frameWidth_ - Mm(40));
    const double h = 2 * Pt(2) + static_cast<double>(lines.size()) * lh;
    const double x0 = frameX(column_);
    fill(QRectF(x0, y_, frameWidth_, h), kRowHeadingFill);
    line(x0, y_, x0 + frameWidth_, y_, Pt(0.6), kAccent);
    double y = y_ + Pt(2);
    for (const auto& s : lines) {
        text(x0 + Pt(3), baseline(y, lh, bold_), s, bold_, kAccentDark);
        y += lh;
    }
    if (!b.note.isEmpty() && drawing_) {
        const auto note = fonts_.wrap(label_, b.note, Mm(38)).front();
        const double w = fonts_.width(label_, note);
        text(x0 + frameWidth_ - w - Pt(3), baseline(y_ + Pt(2), lh, label_), note, label_, kMuted);
    }
    place(index, y_, y_ + h);
    y_ += h;
    frameFresh_ = false;
    if (!stack_.empty() && stack_.back().level == b.level)
        stack_.back().text = b.text;
}

void ListingLayout::placeTableBegin(int index) {
    const Block& b = block(index);
    const double chain = chainHeight(index);
    openTable_ = -1;
    if (canMove() && !fits(chain) && chain <= freshRoom() + kSlack)
        newFrame(true);
    openTable_ = b.table;
    drawTableHeader(b.table);
}

void ListingLayout::drawPieces(int index, const RowLines& lines, int from, int to) {
    const TableSpec& spec = specOf(index);
    const double top = y_;
    const double h = rowHeight(spec, to - from);
    if (drawing_)
        drawCells(block(index), tableOf(index), lines, from, to, top, h);
    place(index, top, top + h, from, to, lines.total());
    y_ = top + h;
    frameFresh_ = false;
}

void ListingLayout::drawCells(const Block& b, int table, const RowLines& lines, int from, int to,
                              double top, double h) {
    const TableSpec& spec = c_.tables[static_cast<std::size_t>(table)];
    const auto& xs = colX_[static_cast<std::size_t>(table)];
    const auto& ws = colW_[static_cast<std::size_t>(table)];
    const double x0 = frameX(column_);
    const double lh = lineHeightOf(spec);
    const double py = padY(spec);
    const double px = padX(spec);
    const QRectF rect(x0, top, frameWidth_, h);
    const bool total = b.type == BlockType::TotalRow;

    if (total)
        fill(rect, kTotalFill);
    else if (spec.kind == TableKind::Box)
        fill(rect, kBoxFill);
    else if (b.stripe && (spec.kind == TableKind::List || spec.kind == TableKind::Summary))
        fill(rect, kStripe);

    std::size_t col = 0;
    for (std::size_t i = 0; i < b.cells.size(); ++i) {
        const Cell& cell = b.cells[i];
        const std::size_t span = std::max(1, cell.span);
        const double cx = x0 + (col < xs.size() ? xs[col] : 0);
        double cw = 0;
        for (std::size_t k = col; k < col + span && k < ws.size(); ++k)
            cw += ws[k];
        if (cell.style == CellStyle::Label)
            fill(QRectF(cx, top, cw, h), kLabelFill);
        const int font = cellFont(cell);
        const QRgb color = cell.style == CellStyle::Muted || cell.style == CellStyle::LineNumber
                               ? kMuted
                           : cell.style == CellStyle::Label ? kAccentDark
                                                            : kInk;
        const Align align =
            col < spec.columns.size() && span == 1 ? spec.columns[col].align : Align::Left;
        const auto& cellLines = lines.cells[i];
        for (int k = from; k < to && k < static_cast<int>(cellLines.size()); ++k) {
            const QString& s = cellLines[static_cast<std::size_t>(k)];
            if (s.isEmpty())
                continue;
            double x = cx + px;
            if (align != Align::Left) {
                const double w = fonts_.width(font, s);
                x = align == Align::Right ? cx + cw - px - w : cx + (cw - w) / 2;
            }
            text(x, baseline(top + py + (k - from) * lh, lh, font), s, font, color);
        }
        if (i > 0 && (spec.kind == TableKind::Info || spec.kind == TableKind::Summary))
            line(cx, top, cx, top + h, Pt(0.4), kRule);
        col += span;
    }
    if (!lines.below.empty()) {
        const auto from2 = static_cast<std::size_t>(
            std::clamp<int>(b.belowFrom, 0, static_cast<int>(xs.size()) - 1));
        const double bx = x0 + xs[from2] + px + Mm(3);
        for (int k = std::max(from, lines.cellLines); k < to; ++k) {
            const QString& s = lines.below[static_cast<std::size_t>(k - lines.cellLines)];
            text(bx, baseline(top + py + (k - from) * lh, lh, code_), s, code_, kCodeInk);
        }
        if (from <= lines.cellLines && to > lines.cellLines) {
            const double ly = top + py + (lines.cellLines - from) * lh;
            line(bx - Mm(1.5), ly + Pt(1), bx - Mm(1.5), top + h - py, Pt(0.8), kRule);
        }
    }

    switch (spec.kind) {
        case TableKind::List:
            line(x0, top + h, x0 + frameWidth_, top + h, Pt(0.3), kRule);
            break;
        case TableKind::Info:
        case TableKind::Summary:
        case TableKind::Box:
            line(x0, top, x0 + frameWidth_, top, Pt(0.4), kRule);
            line(x0, top + h, x0 + frameWidth_, top + h, Pt(0.4), kRule);
            line(x0, top, x0, top + h, Pt(0.4), kRule);
            line(x0 + frameWidth_, top, x0 + frameWidth_, top + h, Pt(0.4), kRule);
            break;
        case TableKind::Code:
            break;
    }
    if (b.divider && from == 0)
        line(x0, top, x0 + frameWidth_, top, Pt(0.7), kDivider);
    if (total)
        line(x0, top, x0 + frameWidth_, top, Pt(0.8), kAccent);
}

void ListingLayout::placeRow(int index) {
    const TableSpec& spec = specOf(index);
    RowLines lines = std::move(linesOf(index));
    cache_.erase(index);
    const int total = lines.total();
    const double h = rowHeight(spec, total);
    if (canMove() && !fits(h) && h <= freshRoom() + kSlack)
        newFrame(true);
    const Block& b = block(index);
    if (frameFresh_ && std::any_of(b.cells.begin(), b.cells.end(), [](const Cell& cell) {
            return cell.text.isEmpty() && !cell.repeated.isEmpty();
        })) {
        lines = measureRow(index, true);
    }
    if (fits(rowHeight(spec, lines.total()))) {
        drawPieces(index, lines, 0, lines.total());
        return;
    }
    int first = 0;
    const int count = lines.total();
    const double lh = lineHeightOf(spec);
    while (first < count) {
        int fit = static_cast<int>(std::floor((bodyBottom_ + kSlack - y_ - 2 * padY(spec)) / lh));
        if (fit < std::min(3, count - first) && !frameFresh_) {
            newFrame(true);
            continue;
        }
        fit = std::max(fit, 1);
        const int take = std::min(fit, count - first);
        drawPieces(index, lines, first, first + take);
        first += take;
        if (first < count)
            newFrame(true);
    }
}

void ListingLayout::placeNote(int index) {
    const Block& b = block(index);
    const double h = noteHeight(index);
    if (canMove() && !fits(h))
        newFrame(true);
    const double x0 = frameX(column_);
    if (drawing_ && b.level == 0) {
        const QRectF box(x0, y_ + Mm(2), frameWidth_, h - Mm(4));
        fill(box, kBoxFill);
        line(box.left(), box.top(), box.right(), box.top(), Pt(0.4), kRule);
        line(box.left(), box.bottom(), box.right(), box.bottom(), Pt(0.4), kRule);
        const double w = fonts_.width(body_, b.text);
        text(x0 + (frameWidth_ - w) / 2, baseline(box.top(), box.height(), body_), b.text, body_,
             kMuted);
    } else if (drawing_) {
        const double w = fonts_.width(bold_, b.text);
        text(x0 + frameWidth_ - w - Pt(3), baseline(y_ + Mm(2), textLine_, bold_), b.text, bold_,
             kInk);
    }
    place(index, y_, y_ + h);
    y_ += h;
    frameFresh_ = false;
}

void ListingLayout::drawFooter(PageItems& items, int page, int total) {
    const QString printed =
        QStringLiteral("印刷日時 ") + c_.printDate.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    const QString product = ToQString(app::kProductTitle);
    const double right = margins_.left + contentWidth_;
    const double lh = LineHeight(7.5);
    items.lines.push_back(
        {QLineF(margins_.left, footerRule_, right, footerRule_), Pt(0.5), kMuted, false});
    const double base = baseline(footerRule_ + Pt(2), lh, small_);
    items.texts.push_back({QPointF(margins_.left, base), printed, small_, kMuted, 0});
    const QString number = QStringLiteral("%1 / %2").arg(page + 1).arg(total);
    const double nw = fonts_.width(small_, number);
    items.texts.push_back(
        {QPointF(margins_.left + (contentWidth_ - nw) / 2, base), number, small_, kInk, 0});
    const double pw = fonts_.width(small_, product);
    items.texts.push_back({QPointF(right - pw, base), product, small_, kMuted, 0});
    for (int col = 1; col < c_.flowColumns; ++col) {
        const double x = frameX(col) - kGutter / 2;
        items.lines.push_back({QLineF(x, frameTop(page), x, bodyBottom_), Pt(0.4), kRule, false});
    }
}

int ListingLayout::run(BlockStream& stream, const Pass& pass) {
    BlockWindow window(stream);
    blocks_ = &window;
    pass_ = pass;
    drawing_ = pass.sink != nullptr;
    page_ = {};
    pageIndex_ = -1;
    cache_.clear();
    column_ = 0;
    openTable_ = -1;
    stack_.clear();

    newPage();
    drawTitleBlock();
    y_ = firstBodyTop_;
    frameStart_ = y_;
    frameFresh_ = true;
    for (int i = 0; const Block* next = window.at(i); window.release(++i)) {
        const Block& b = *next;
        switch (b.type) {
            case BlockType::GroupBegin: {
                if (b.keepTogether) {
                    const double room = freshRoom();
                    const double h = groupHeight(i, room);
                    if (canMove() && h <= room + kSlack && !fits(h))
                        newFrame(true);
                }
                stack_.push_back({b.level, {}});
                break;
            }
            case BlockType::GroupEnd:
                if (!stack_.empty())
                    stack_.pop_back();
                break;
            case BlockType::Heading:
                placeHeading(i);
                break;
            case BlockType::TableBegin:
                placeTableBegin(i);
                break;
            case BlockType::TableEnd:
                openTable_ = -1;
                if (!frameFresh_)
                    y_ += Mm(2.5);
                break;
            case BlockType::Row:
            case BlockType::TotalRow:
                placeRow(i);
                break;
            case BlockType::RowHeading:
                placeRowHeading(i);
                break;
            case BlockType::Note:
                placeNote(i);
                break;
        }
    }
    finishPage();
    blocks_ = nullptr;
    return pageIndex_ + 1;
}

}  // namespace

QSizeF A4Twips(Orientation orientation) {
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const QSizeF portrait(mm.width() * kTwipsPerMm, mm.height() * kTwipsPerMm);
    return orientation == Orientation::Portrait ? portrait : portrait.transposed();
}

Document LayOutReport(const ReportContent& content, QSizeF pageSize) {
    FontBook fonts;
    if (content.kind != ReportKind::Listing)
        return LayOutCoverSheet(content, fonts, pageSize);
    Document doc;
    doc.pageSize = pageSize;
    doc.title = content.fullTitle();
    doc.orientation = content.orientation;
    ListingLayout layout(content, fonts, pageSize);
    if (layout.hasFitColumns())
        layout.fitColumns(*StreamOf(content.blocks));
    // The footers wait for the page count.
    const PageSink keep = [&doc](const PageItems& page) { doc.pages.push_back(page); };
    const int total = layout.run(*StreamOf(content.blocks), {&keep, 0, &doc.placements});
    for (int p = 0; p < total; ++p)
        layout.drawFooter(doc.pages[static_cast<std::size_t>(p)], p, total);
    for (std::size_t f = 0; f < fonts.size(); ++f)
        doc.fonts.push_back(fonts.spec(static_cast<int>(f)));
    doc.bodyTop = layout.bodyTop();
    doc.bodyBottom = layout.bodyBottom();
    return doc;
}

int LayOutReport(const ReportContent& head, const StreamSource& blocks, QSizeF pageSize,
                 FontBook& fonts, const PageSink& sink) {
    if (head.kind != ReportKind::Listing) {
        const Document doc = LayOutCoverSheet(head, fonts, pageSize);
        for (const PageItems& page : doc.pages)
            sink(page);
        return static_cast<int>(doc.pages.size());
    }
    ListingLayout layout(head, fonts, pageSize);
    if (layout.hasFitColumns())
        layout.fitColumns(*blocks());
    const int total = layout.run(*blocks(), {});
    layout.run(*blocks(), {&sink, total, nullptr});
    return total;
}

}  // namespace zanfor::report
