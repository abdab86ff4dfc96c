#include "report/html_writer.h"

#include <QBuffer>
#include <QStringList>
#include <numeric>
#include <vector>

#include "core/program_files.h"
#include "report/qt_text.h"

namespace zanfor::report {

namespace {

// Characters of markup gathered before they are written out.
constexpr qsizetype kFlushAt = 1 << 16;

constexpr char kStyle[] = R"css(
:root { color-scheme: light; }
body { font-family: "IPAPGothic", "Noto Sans CJK JP", "Hiragino Kaku Gothic ProN", Meiryo,
  sans-serif; color: #1a1a1a; font-size: 13px; line-height: 1.55; margin: 24px auto;
  max-width: 1080px; padding: 0 18px; }
body.landscape { max-width: 1480px; }
header.page { display: flex; justify-content: space-between; align-items: baseline; gap: 24px;
  border-bottom: 2px solid #1f3a5f; padding-bottom: 4px; font-size: 12px; }
header.page .product { color: #6b7280; }
header.page .file-line { overflow-wrap: anywhere; text-align: right; }
h1 { text-align: center; font-size: 23px; margin: 20px 0 4px; padding-bottom: 6px;
  border-bottom: 4px double #1f3a5f; }
h1 .subtitle { font-size: 16px; }
p.printed { text-align: right; color: #6b7280; font-size: 12px; margin: 2px 0 18px; }
h2, h3, h4 { display: flex; justify-content: space-between; gap: 16px; color: #14273f; }
h2 { background: #e9eef5; border-left: 6px solid #1f3a5f; padding: 5px 10px; font-size: 16px;
  margin: 28px 0 8px; }
h3 { border-bottom: 1px solid #1f3a5f; font-size: 14px; margin: 20px 0 6px; padding: 2px; }
h4 { font-size: 13px; margin: 14px 0 4px; }
.note { font-weight: normal; color: #6b7280; font-size: 12px; white-space: nowrap; }
table { border-collapse: collapse; width: 100%; margin: 6px 0 16px; }
caption { text-align: left; font-weight: bold; color: #1f3a5f; padding: 2px 0 4px; }
thead th { background: #e3e9f1; color: #14273f; border-top: 1px solid #1f3a5f;
  border-bottom: 2px solid #1f3a5f; padding: 4px 6px; font-size: 12px; text-align: center; }
td { padding: 3px 6px; vertical-align: top; border-bottom: 1px solid #c3cad4;
  overflow-wrap: anywhere; }
td.right { text-align: right; } td.center { text-align: center; }
td.strong { font-weight: bold; } td.muted { color: #6b7280; }
tr.stripe td { background: #f5f7fa; }
tr.divider td { border-top: 1px solid #8a99ad; }
.code { font-family: "IPAGothic", "Noto Sans Mono CJK JP", monospace; white-space: pre-wrap;
  overflow-wrap: anywhere; }
table.info th, table.info td, table.summary td, table.summary th { border: 1px solid #c3cad4; }
table.info th { background: #eef1f5; color: #14273f; font-weight: normal; text-align: left;
  width: 13%; padding: 3px 6px; vertical-align: top; }
table.code td { border: none; padding: 0 6px; }
table.code td.line { color: #6b7280; font-size: 11px; text-align: right; width: 4.5em; }
table.box td { background: #f8f8f6; border: 1px solid #c3cad4; padding: 8px 12px; }
tr.row-heading th { background: #f0f3f7; border-top: 1px solid #1f3a5f; color: #14273f;
  text-align: left; padding: 4px 6px; }
tr.row-heading .note { float: right; }
tr.total td { background: #eef2f7; font-weight: bold; border-top: 2px solid #1f3a5f; }
tr.below td.code { color: #2b3440; border-left: 3px solid #c3cad4; }
p.empty { text-align: center; color: #6b7280; background: #f8f8f6; border: 1px solid #c3cad4;
  padding: 18px; }
p.summary { text-align: right; font-weight: bold; }
footer { margin-top: 32px; border-top: 1px solid #6b7280; color: #6b7280; font-size: 12px;
  display: flex; justify-content: space-between; padding-top: 4px; }
section.cover { border: 3px double #1f3a5f; padding: 80px 40px; text-align: center;
  margin: 24px 0; }
section.cover .title { font-size: 32px; font-weight: bold; margin: 0 0 12px; }
section.cover .system { font-size: 22px; margin: 0 0 60px; }
section.cover .date { font-size: 16px; margin: 0 0 60px; }
section.cover .company { font-size: 18px; font-weight: bold; margin: 0; }
div.labels { display: flex; gap: 36px; align-items: flex-start; margin: 24px 0; }
div.spine { writing-mode: vertical-rl; text-orientation: mixed; border: 1px dashed #6b7280;
  height: 640px; padding: 16px 8px; display: flex; justify-content: space-between; }
div.spine .title { font-size: 26px; font-weight: bold; }
div.front { border: 1px dashed #6b7280; padding: 20px 28px; width: 560px; text-align: center; }
div.front .title { font-size: 24px; font-weight: bold; }
div.front .system { font-size: 17px; }
div.front .foot { display: flex; justify-content: space-between; margin-top: 28px;
  font-size: 13px; }
@media print { body { max-width: none; margin: 0; } tr, h2, h3 { break-inside: avoid; } }
)css";

// The page is also well-formed XML, so characters XML cannot hold at all become a blank.
QString Escape(const QString& text) {
    QString out = text.toHtmlEscaped();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        const bool surrogate = QChar::isSurrogate(c);
        const bool paired = surrogate && QChar::isHighSurrogate(c) && i + 1 < out.size() &&
                            out[i + 1].isLowSurrogate();
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xfffe || c == 0xffff ||
            (surrogate && !paired))
            out[i] = u' ';
        else if (paired)
            ++i;
    }
    return out;
}

class HtmlWriter {
public:
    HtmlWriter(const ReportContent& head, BlockStream& blocks, QIODevice& device)
        : c_(head), blocks_(blocks), device_(device) {}
    bool run();

private:
    // Markup goes out between blocks, never holding more than a piece of the page.
    void flush(qsizetype atLeast);
    void open();
    void close();
    void listing();
    void block(const Block& b);
    void cover();
    void tableBegin(const TableSpec& spec);
    void row(const Block& block);
    void cells(const Block& block, QString& out);
    QString align(int column) const;

    const ReportContent& c_;
    BlockStream& blocks_;
    QIODevice& device_;
    bool written_ = true;
    QString out_;
    const TableSpec* table_ = nullptr;
    // Whether each open group opened a section.
    std::vector<bool> sections_;
    // Sections of groups that ended inside the open table; they close after it.
    int sectionsAfterTable_ = 0;
};

void HtmlWriter::open() {
    out_ += QStringLiteral(
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"ja\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n");
    out_ += QStringLiteral(
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n");
    out_ += QStringLiteral("<meta name=\"generator\" content=\"%1\"/>\n")
                .arg(Escape(ToQString(app::kProductTitle)));
    out_ += QStringLiteral("<title>%1</title>\n<style>%2</style>\n</head>\n")
                .arg(Escape(c_.fullTitle()), ToQString(kStyle));
    out_ += QStringLiteral("<body class=\"%1\" data-report=\"%2\">\n")
                .arg(c_.orientation == Orientation::Landscape ? QStringLiteral("landscape")
                                                              : QStringLiteral("portrait"),
                     Escape(c_.name));
    out_ += QStringLiteral("<header class=\"page\"><span class=\"product\">%1</span>")
                .arg(Escape(ToQString(app::kProductTitle)));
    if (c_.hasFileLine)
        out_ += QStringLiteral("<span class=\"file-line\">%1</span>").arg(Escape(c_.fileLine));
    out_ += QStringLiteral("</header>\n");
}

void HtmlWriter::close() {
    out_ += QStringLiteral("<footer><span>印刷日時 %1</span><span>%2</span></footer>\n")
                .arg(c_.printDate.toString(QStringLiteral("yyyy/MM/dd HH:mm")), Escape(c_.name));
    out_ += QStringLiteral("</body>\n</html>\n");
}

QString HtmlWriter::align(int column) const {
    if (!table_ || column < 0 || column >= static_cast<int>(table_->columns.size()))
        return {};
    switch (table_->columns[static_cast<std::size_t>(column)].align) {
        case Align::Right:
            return QStringLiteral("right");
        case Align::Center:
            return QStringLiteral("center");
        case Align::Left:
            break;
    }
    return {};
}

void HtmlWriter::tableBegin(const TableSpec& spec) {
    table_ = &spec;
    static const char* const kinds[] = {"list", "info", "code", "summary", "box"};
    out_ += QStringLiteral("<table class=\"%1\">\n")
                .arg(QString::fromLatin1(kinds[static_cast<int>(spec.kind)]));
    if (!spec.caption.isEmpty())
        out_ += QStringLiteral("<caption>%1</caption>\n").arg(Escape(spec.caption));
    const double total =
        std::accumulate(spec.columns.begin(), spec.columns.end(), 0.0,
                        [](double sum, const ColumnSpec& col) { return sum + col.width; });
    out_ += QStringLiteral("<colgroup>");
    // A column that fits its text is left to the browser, which sizes it by its content.
    for (const auto& col : spec.columns) {
        out_ += col.fit ? QStringLiteral("<col/>")
                        : QStringLiteral("<col style=\"width:%1%\"/>")
                              .arg(total > 0 ? 100.0 * col.width / total : 0, 0, 'f', 1);
    }
    out_ += QStringLiteral("</colgroup>\n");
    if (spec.header) {
        out_ += QStringLiteral("<thead><tr>");
        for (const auto& col : spec.columns)
            out_ += QStringLiteral("<th scope=\"col\">%1</th>").arg(Escape(col.caption));
        out_ += QStringLiteral("</tr></thead>\n");
    }
    out_ += QStringLiteral("<tbody>\n");
}

void HtmlWriter::cells(const Block& block, QString& out) {
    int column = 0;
    for (const Cell& cell : block.cells) {
        const bool label = cell.style == CellStyle::Label;
        QStringList classes;
        if (const QString a = align(column); !a.isEmpty() && cell.span == 1)
            classes << a;
        if (cell.code)
            classes << QStringLiteral("code");
        if (cell.style == CellStyle::Strong)
            classes << QStringLiteral("strong");
        if (cell.style == CellStyle::Muted)
            classes << QStringLiteral("muted");
        if (cell.style == CellStyle::LineNumber)
            classes << QStringLiteral("line");
        out += label ? QStringLiteral("<th scope=\"row\"") : QStringLiteral("<td");
        if (!classes.isEmpty())
            out += QStringLiteral(" class=\"%1\"").arg(classes.join(u' '));
        if (cell.span > 1)
            out += QStringLiteral(" colspan=\"%1\"").arg(cell.span);
        out +=
            u'>' + Escape(cell.text) + (label ? QStringLiteral("</th>") : QStringLiteral("</td>"));
        column += std::max(1, cell.span);
    }
}

void HtmlWriter::row(const Block& block) {
    QStringList classes;
    if (block.type == BlockType::TotalRow)
        classes << QStringLiteral("total");
    if (block.stripe)
        classes << QStringLiteral("stripe");
    if (block.divider)
        classes << QStringLiteral("divider");
    out_ += classes.isEmpty() ? QStringLiteral("<tr>")
                              : QStringLiteral("<tr class=\"%1\">").arg(classes.join(u' '));
    cells(block, out_);
    out_ += QStringLiteral("</tr>\n");
    if (!block.below.isEmpty() && table_) {
        const int columns = static_cast<int>(table_->columns.size());
        const int from = std::clamp(block.belowFrom, 0, columns - 1);
        out_ += QStringLiteral("<tr class=\"below\">");
        if (from > 0)
            out_ += QStringLiteral("<td colspan=\"%1\"></td>").arg(from);
        out_ += QStringLiteral("<td class=\"code\" colspan=\"%1\">%2</td></tr>\n")
                    .arg(columns - from)
                    .arg(Escape(block.below));
    }
}

void HtmlWriter::listing() {
    out_ += QStringLiteral("<h1>%1<span class=\"subtitle\">%2</span></h1>\n")
                .arg(Escape(c_.title), Escape(c_.subtitle));
    out_ += QStringLiteral("<p class=\"printed\">印刷日時 %1</p>\n<main>\n")
                .arg(c_.printDate.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
    std::vector<Block> part;
    while (blocks_.next(part)) {
        for (const Block& b : part)
            block(b);
        part.clear();
        flush(kFlushAt);
    }
    out_ += QStringLiteral("</main>\n");
}

void HtmlWriter::block(const Block& b) {
    switch (b.type) {
        case BlockType::GroupBegin:
            sections_.push_back(table_ == nullptr);
            if (sections_.back())
                out_ += QStringLiteral("<section class=\"group level-%1\">\n").arg(b.level);
            break;
        case BlockType::GroupEnd:
            if (!sections_.empty()) {
                if (sections_.back() && table_)
                    ++sectionsAfterTable_;
                else if (sections_.back())
                    out_ += QStringLiteral("</section>\n");
                sections_.pop_back();
            }
            break;
        case BlockType::Heading: {
            const int level = std::min(4, b.level + 2);
            out_ += QStringLiteral("<h%1><span>%2</span>").arg(level).arg(Escape(b.text));
            if (!b.note.isEmpty())
                out_ += QStringLiteral("<span class=\"note\">%1</span>").arg(Escape(b.note));
            out_ += QStringLiteral("</h%1>\n").arg(level);
            break;
        }
        case BlockType::TableBegin:
            tableBegin(c_.tables[static_cast<std::size_t>(b.table)]);
            break;
        case BlockType::TableEnd:
            out_ += QStringLiteral("</tbody>\n</table>\n");
            for (; sectionsAfterTable_ > 0; --sectionsAfterTable_)
                out_ += QStringLiteral("</section>\n");
            table_ = nullptr;
            break;
        case BlockType::Row:
        case BlockType::TotalRow:
            row(b);
            break;
        case BlockType::RowHeading:
            out_ += QStringLiteral(
                        "<tr class=\"row-heading\"><th scope=\"rowgroup\" "
                        "colspan=\"%1\">%2")
                        .arg(table_ ? static_cast<int>(table_->columns.size()) : 1)
                        .arg(Escape(b.text));
            if (!b.note.isEmpty())
                out_ += QStringLiteral("<span class=\"note\">%1</span>").arg(Escape(b.note));
            out_ += QStringLiteral("</th></tr>\n");
            break;
        case BlockType::Note:
            out_ += QStringLiteral("<p class=\"%1\">%2</p>\n")
                        .arg(b.level == 0 ? QStringLiteral("empty") : QStringLiteral("summary"),
                             Escape(b.text));
            break;
    }
}

void HtmlWriter::cover() {
    out_ += QStringLiteral("<main>\n");
    if (!c_.cover) {
        out_ += QStringLiteral("<p class=\"empty\">%1</p>\n</main>\n").arg(ToQString(kNoDataNote));
        return;
    }
    const CoverFields& f = *c_.cover;
    auto p = [&](const char* cls, const QString& text) {
        if (!text.isEmpty())
            out_ +=
                QStringLiteral("<p class=\"%1\">%2</p>\n").arg(QLatin1String(cls), Escape(text));
    };
    const QString author = f.author.isEmpty() ? QString() : QStringLiteral("作成者　") + f.author;
    switch (c_.kind) {
        case ReportKind::SpineLabel:
            out_ += QStringLiteral("<div class=\"labels\">\n");
            for (int width : {25, 35, 50}) {
                out_ += QStringLiteral(
                            "<div class=\"spine\" style=\"width:%1mm\" "
                            "aria-label=\"幅 %1mm\">\n")
                            .arg(width);
                p("title", f.title);
                p("system", f.system);
                p("company", f.company);
                out_ += QStringLiteral("</div>\n");
            }
            out_ += QStringLiteral("</div>\n");
            break;
        case ReportKind::FrontLabel:
            out_ += QStringLiteral("<div class=\"labels\"><div class=\"front\">\n");
            p("title", f.title);
            p("system", f.system);
            out_ +=
                QStringLiteral(
                    "<div class=\"foot\"><span>%1<br/>%2</span><span>%3<br/>%4</span>"
                    "</div>\n</div></div>\n")
                    .arg(Escape(f.company), Escape(f.department), Escape(author), Escape(f.date));
            break;
        default:
            out_ += QStringLiteral("<section class=\"cover\">\n");
            p("title", f.title);
            p("system", f.system);
            p("date", f.date);
            p("company", f.company);
            p("department", f.department);
            p("author", author);
            out_ += QStringLiteral("</section>\n");
            break;
    }
    out_ += QStringLiteral("</main>\n");
}

void HtmlWriter::flush(qsizetype atLeast) {
    if (out_.size() < atLeast)
        return;
    const QByteArray bytes = out_.toUtf8();
    written_ = written_ && device_.write(bytes) == bytes.size();
    out_.resize(0);
}

bool HtmlWriter::run() {
    open();
    if (c_.kind == ReportKind::Listing)
        listing();
    else
        cover();
    close();
    flush(0);
    return written_;
}

}  // namespace

QByteArray WriteHtml(const ReportContent& content) {
    QByteArray html;
    QBuffer buffer(&html);
    buffer.open(QIODevice::WriteOnly);
    WriteHtml(content, *StreamOf(content.blocks), buffer);
    return html;
}

bool WriteHtml(const ReportContent& head, BlockStream& blocks, QIODevice& out) {
    return HtmlWriter(head, blocks, out).run();
}

}  // namespace zanfor::report
