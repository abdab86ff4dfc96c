#pragma once

// A report as the builder makes it from its definition and the work database: a stream of
// blocks (group headings, tables and their rows, notes) holding text only. The page layout
// breaks the stream into pages for PDF, printing and preview; the HTML writer turns the same
// stream into one page of markup, so every output shows the same data.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace zanfor::report {

enum class Orientation { Portrait, Landscape };
enum class Align : std::uint8_t { Left, Center, Right };

// Listings are banded; the cover sheet and the two label sheets have fixed layouts.
enum class ReportKind { Listing, Cover, SpineLabel, FrontLabel };

enum class TableKind : std::uint8_t {
    List,     // detail rows with alternating shading and rules
    Info,     // label / value grid of an object's settings
    Code,     // program text: line numbers and code, no shading
    Summary,  // small framed table (grouping levels, totals by kind)
    Box,      // framed program text (the SQL of a query)
};

enum class CellStyle : std::uint8_t { Normal, Label, Muted, Strong, LineNumber };

struct Cell {
    QString text{};
    // A value left out because the row above shows it; printed again at the top of a page.
    QString repeated{};
    int span = 1;
    bool code = false;
    CellStyle style = CellStyle::Normal;
};

struct ColumnSpec {
    QString caption{};
    double width = 10;  // millimetres at A4 portrait; scaled to the frame
    Align align = Align::Left;
    // Narrows to its widest text; the columns that do not fit share the rest.
    bool fit = false;
};

struct TableSpec {
    TableKind kind = TableKind::List;
    std::vector<ColumnSpec> columns{};
    bool header = true;  // column headings, repeated on every page the table runs on
    QString caption{};   // small title above the table
};

enum class BlockType : std::uint8_t {
    GroupBegin,
    GroupEnd,
    Heading,     // a group's heading outside tables
    TableBegin,  // opens content.tables[table]
    TableEnd,
    Row,
    TotalRow,
    RowHeading,  // a heading between the rows of an open table
    Note,        // level 0: a notice such as the empty-report note; 1: a summary line
};

struct Block {
    BlockType type = BlockType::Note;
    int level = 0;
    bool keepTogether = false;  // GroupBegin: start the group on a new page rather than split it
    int table = -1;             // TableBegin
    QString text{};             // Heading, RowHeading, Note
    QString note{};             // Heading, RowHeading: the smaller text at the right
    std::vector<Cell> cells{};  // Row, TotalRow
    QString below{};            // Row: program text printed under the cells
    int belowFrom = 0;          // the column where `below` starts
    bool stripe = false;        // Row: shaded (every other row)
    bool divider = false;       // Row: first row of an inner group, ruled above
};

// The texts of the cover sheet and the labels (T_AcHyousi).
struct CoverFields {
    QString title{};
    QString system{};
    QString company{};
    QString department{};
    QString author{};
    QString date{};
};

inline constexpr char kNoDataNote[] = "該当するデータはありません。";

struct ReportContent {
    QString name{};      // R_Ac...
    QString title{};     // the Japanese title
    QString subtitle{};  // the variant that was collected, "（詳細）"
    // The file-name line of T_AcTitle; printed when the table has a row.
    bool hasFileLine = false;
    QString fileLine{};
    QDateTime printDate{};
    ReportKind kind = ReportKind::Listing;
    Orientation orientation = Orientation::Portrait;
    int flowColumns = 1;
    double fontPt = 8.5;  // detail text; code and headings derive from it
    std::vector<TableSpec> tables{};
    std::vector<Block> blocks{};
    std::optional<CoverFields> cover{};
    bool empty = false;  // no row to show; the note says so

    QString fullTitle() const { return title + subtitle; }
};

}  // namespace zanfor::report
