#pragma once

// The reports of the work database as data: each R_Ac... report is one ReportDef (its source
// query, sort, grouping, columns and captions), and one builder walks them all. The queries are
// SQLite SQL over the work tables; they give display texts (kinds, codes turned into words)
// so that the definitions stay declarative.

#include <span>
#include <string_view>

#include "report/report_content.h"

namespace zanfor::report {

// How a value becomes text.
enum class Format : std::uint8_t {
    Text,             // as stored
    Number,           // whole number with digit grouping; empty for Null
    BlankZero,        // as Number, but 0 prints nothing (sparse count grids)
    Decimal1,         // one decimal
    Kilobytes,        // "#,##0.0"
    DateTime,         // yyyy/mm/dd hh:nn
    DateTimeSeconds,  // yyyy/mm/dd hh:nn:ss
    Date,             // yyyy/mm/dd
    Mark,             // yes: "○", no: nothing
    YesNo,            // "はい" / "いいえ"
    FieldType,        // a DAO type code in words (FieldTypeName)
    MacroAction,      // a macro action number in words
};

// Midasi values a column or item shows in; kAllVariants when it always shows.
using VariantMask = unsigned;
inline constexpr VariantMask kAllVariants = ~0u;
constexpr VariantMask Variant(int midasi) { return 1u << midasi; }

struct ColumnDef {
    std::string_view caption{};
    std::string_view field{};
    double width = 10;  // millimetres at A4 portrait, scaled to the frame
    Align align = Align::Left;
    Format format = Format::Text;
    bool code = false;            // fixed-width font: SQL, VBA
    bool hideDuplicates = false;  // printed on the first row of its group only
    bool lineNumber = false;      // small grey figures beside program text
    bool fit = false;             // narrows to its widest text (ColumnSpec::fit)
    VariantMask variants = kAllVariants;
};

// One entry of a label / value grid. Two short entries share a grid row; a wide one takes a
// row of its own; an entry without label prints its value (which names itself) across the row.
struct InfoItem {
    std::string_view label{};
    std::string_view field{};
    Format format = Format::Text;
    bool wide = false;
    bool code = false;
    bool skipEmpty = false;
    VariantMask variants = kAllVariants;
};

// A small table of another query shown inside a group (its rows whose `key` equals the group
// row's `parentKey`) or, without keys, in the report header or footer.
struct SubTableDef {
    std::string_view caption{};
    std::string_view sql{};
    std::string_view key{};
    std::string_view parentKey{};
    std::span<const ColumnDef> columns{};
};

enum class HeadingStyle : std::uint8_t {
    Section,  // a heading band above the group (level 0) or an underlined heading (deeper)
    Inline,   // a heading row between the rows of the detail table
    Rule,     // no heading: a rule between groups
};

struct GroupDef {
    // The group changes where any of these fields changes from one row to the next.
    std::span<const std::string_view> keys{};
    HeadingStyle style = HeadingStyle::Section;
    // Templates: {Field} is the group's first row's value, {count} its detail rows, {groups}
    // the number of groups one level down.
    std::string_view heading{};
    std::string_view headingNote{};
    std::span<const InfoItem> info{};
    std::span<const SubTableDef> headerTables{};
    std::string_view footer{};                 // label of the total row
    std::span<const std::string_view> sums{};  // detail columns totalled in it
    std::span<const SubTableDef> footerTables{};
    bool keepTogether = false;
};

struct VariantTitle {
    int midasi{};
    std::string_view subtitle{};
};

struct ReportDef {
    std::string_view name{};
    std::string_view title{};
    ReportKind kind = ReportKind::Listing;
    Orientation orientation = Orientation::Portrait;
    int flowColumns = 1;
    double fontPt = 8.5;
    TableKind tableKind = TableKind::List;

    std::string_view sql{};
    // The column that tells which variant was collected (Midasi), and its subtitles.
    std::string_view variantField{};
    std::span<const VariantTitle> variants{};
    // Rows are sorted in Japanese syllabary order of this column (stable on the query order).
    std::string_view syllabaryKey{};
    // Rows where this column is Null belong to a group but are no detail row (outer joins).
    std::string_view detailPresent{};
    // A column whose value "strong" or "muted" sets the style of the whole row.
    std::string_view rowStyle{};
    // Program text printed under a detail row, from the column named by `belowFrom`.
    std::string_view below{};
    std::string_view belowFrom{};
    VariantMask belowVariants = kAllVariants;

    std::string_view infoSql{};  // one row shown as a grid in the report header
    std::span<const InfoItem> info{};
    std::span<const SubTableDef> headerTables{};
    std::span<const GroupDef> groups{};
    std::span<const ColumnDef> columns{};
    std::string_view totalLabel{};  // the report's total row ({count} detail rows)
    std::span<const std::string_view> totals{};
    std::span<const SubTableDef> footerTables{};
};

std::span<const ReportDef> ReportDefinitions();
// nullptr for a name that is not a report; case does not matter, as in Access's report names.
const ReportDef* FindReportDefinition(std::string_view name);

}  // namespace zanfor::report
