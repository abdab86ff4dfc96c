#include "report/report_builder.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "host/error.h"
#include "report/japanese_collation.h"
#include "report/qt_text.h"
#include "report/report_format.h"
#include "util/jet_date.h"
#include "workdb/work_database.h"

namespace zanfor::report {

namespace {

using host::Value;

// The rows of one query, kept whole: groups look ahead (counts in headings) and the syllabary
// order sorts them.
struct Rows {
    std::vector<std::string> names;
    std::vector<std::vector<Value>> data;

    int find(std::string_view name) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (QString::compare(ToQString(names[i]), ToQString(name), Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        }
        return -1;
    }
};

Rows Load(const workdb::WorkDatabase& db, std::string_view sql) {
    workdb::Query query(db, sql);
    Rows rows;
    const int n = query.columnCount();
    for (int i = 0; i < n; ++i)
        rows.names.push_back(query.columnName(i));
    while (query.next()) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            row.push_back(query.value(i));
        rows.data.push_back(std::move(row));
    }
    return rows;
}

bool Shows(VariantMask mask, int variant) {
    return variant < 0 || variant >= 32 || (mask & Variant(variant)) != 0;
}

// Rows of a small table, by the key that ties them to a group.
struct SubRows {
    Rows rows;
    std::map<std::string, std::vector<std::size_t>> byKey;
    int table = -1;
};

class Builder {
public:
    Builder(const workdb::WorkDatabase& db, const ReportDef& def, ReportContent& out)
        : db_(db), def_(def), out_(out) {}

    void build();

private:
    int column(const Rows& rows, std::string_view name) const;
    const Value& value(std::size_t row, std::string_view name) const;
    QString expand(std::string_view pattern, std::size_t row, int count, int groups) const;

    void readFileLine();
    void buildCover();
    void chooseVariant();
    void chooseColumns();
    void emitReportInfo();
    void emitGroups(std::size_t level, std::size_t begin, std::size_t end);
    void emitGroup(std::size_t level, std::size_t begin, std::size_t end);
    void emitDetail(std::size_t begin, std::size_t end);
    void emitInfo(std::span<const InfoItem> items, const Rows& rows, std::size_t row);
    void emitSubTables(std::span<const SubTableDef> tables, std::size_t parentRow);
    void emitTotal(std::string_view label, std::span<const std::string_view> sums,
                   std::size_t begin, std::size_t end, int groups);
    void ensureTable();
    void closeTable();
    void push(Block block) { out_.blocks.push_back(std::move(block)); }

    bool isDetail(std::size_t row) const;
    int countDetail(std::size_t begin, std::size_t end) const;
    int countRuns(std::size_t level, std::size_t begin, std::size_t end) const;
    std::size_t runEnd(std::size_t level, std::size_t begin, std::size_t end) const;
    int tableFor(std::span<const ColumnDef> columns, TableKind kind, std::string_view caption);
    SubRows& subRows(const SubTableDef& def);

    const workdb::WorkDatabase& db_;
    const ReportDef& def_;
    ReportContent& out_;
    Rows rows_;
    int variant_ = -1;
    std::vector<const ColumnDef*> visible_;
    std::vector<int> sourceColumn_;
    int detailPresent_ = -1;
    int rowStyle_ = -1;
    int below_ = -1;
    int belowFrom_ = 0;
    std::vector<std::vector<int>> groupKeys_;
    std::size_t tableLevel_ = 0;  // the group level whose groups hold the detail table
    int detailTable_ = -1;
    int infoTable_ = -1;
    bool wantTable_ = false;
    bool tableOpen_ = false;
    int tableRows_ = 0;
    bool pendingDivider_ = false;
    std::vector<QString> lastShown_;
    std::map<const SubTableDef*, SubRows> subTables_;
};

int Builder::column(const Rows& rows, std::string_view name) const {
    const int index = rows.find(name);
    if (index < 0) {
        throw host::Error(host::err::kUnknownField, "レポート '" + std::string(def_.name) +
                                                        "' の列 '" + std::string(name) +
                                                        "' がクエリーにありません。");
    }
    return index;
}

const Value& Builder::value(std::size_t row, std::string_view name) const {
    return rows_.data[row][static_cast<std::size_t>(column(rows_, name))];
}

QString Builder::expand(std::string_view pattern, std::size_t row, int count, int groups) const {
    QString text;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const auto open = pattern.find('{', i);
        if (open == std::string_view::npos) {
            text += ToQString(pattern.substr(i));
            break;
        }
        const auto close = pattern.find('}', open);
        text += ToQString(pattern.substr(i, open - i));
        const auto name = pattern.substr(open + 1, close - open - 1);
        if (name == "count")
            text += QString::number(count);
        else if (name == "groups")
            text += QString::number(groups);
        else
            text += FormatForHeading(value(row, name));
        i = close + 1;
    }
    return text.trimmed();
}

void Builder::readFileLine() {
    workdb::Query query(db_, "SELECT FileName FROM T_AcTitle ORDER BY rowid LIMIT 1");
    if (query.next()) {
        out_.hasFileLine = true;
        out_.fileLine = CleanText(ToQString(query.value(0).toText()), false).replace(u'\n', u' ');
    }
}

void Builder::buildCover() {
    rows_ = Load(db_, def_.sql);
    if (rows_.data.empty()) {
        out_.empty = true;
        return;
    }
    auto text = [&](std::string_view field) {
        return FormatValue(value(0, field), Format::Text).trimmed();
    };
    CoverFields cover{text("SysTitle"), text("SysName"), text("Company"),
                      text("Bumon"),    text("Auther"),  {}};
    const Value& date = value(0, "CreateDate");
    if (!date.isNull()) {
        const auto jet = date.kind() == Value::Kind::Date ? std::optional<double>(date.toDouble())
                                                          : util::ParseWorkDbDate(date.toText());
        if (jet) {
            const auto dt = util::FromJetDate(*jet);
            cover.date = QStringLiteral("%1年%2月%3日").arg(dt.year).arg(dt.month).arg(dt.day);
        } else {
            cover.date = text("CreateDate");
        }
    }
    out_.cover = cover;
}

void Builder::chooseVariant() {
    if (def_.variantField.empty())
        return;
    const int index = column(rows_, def_.variantField);
    for (const auto& row : rows_.data) {
        const Value& v = row[static_cast<std::size_t>(index)];
        if (!v.isNull()) {
            variant_ = static_cast<int>(v.toInteger());
            break;
        }
    }
    for (const auto& [midasi, subtitle] : def_.variants) {
        if (midasi == variant_)
            out_.subtitle = ToQString(subtitle);
    }
}

void Builder::chooseColumns() {
    TableSpec spec;
    spec.kind = def_.tableKind;
    spec.header = def_.tableKind != TableKind::Box;
    for (const auto& c : def_.columns) {
        if (!Shows(c.variants, variant_))
            continue;
        visible_.push_back(&c);
        sourceColumn_.push_back(column(rows_, c.field));
        spec.columns.push_back({ToQString(c.caption), c.width, c.align, c.fit});
    }
    lastShown_.assign(visible_.size(), QString());
    detailTable_ = static_cast<int>(out_.tables.size());
    out_.tables.push_back(std::move(spec));

    TableSpec info;
    info.kind = TableKind::Info;
    info.header = false;
    // The labels are wide enough for the longest, "アプリケーションタイトル", on one line.
    info.columns = {
        {{}, 37, Align::Left}, {{}, 53, Align::Left}, {{}, 37, Align::Left}, {{}, 53, Align::Left}};
    infoTable_ = static_cast<int>(out_.tables.size());
    out_.tables.push_back(std::move(info));

    if (!def_.detailPresent.empty())
        detailPresent_ = column(rows_, def_.detailPresent);
    if (!def_.rowStyle.empty())
        rowStyle_ = column(rows_, def_.rowStyle);
    if (!def_.below.empty() && Shows(def_.belowVariants, variant_)) {
        below_ = column(rows_, def_.below);
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            if (visible_[i]->field == def_.belowFrom)
                belowFrom_ = static_cast<int>(i);
        }
    }
    for (const auto& group : def_.groups) {
        std::vector<int> keys;
        for (auto key : group.keys)
            keys.push_back(column(rows_, key));
        groupKeys_.push_back(std::move(keys));
    }
    // The detail table opens in the groups of the deepest level that still has a heading of
    // its own above the table; deeper levels only divide its rows.
    tableLevel_ = def_.groups.size();
    while (tableLevel_ > 0) {
        const GroupDef& g = def_.groups[tableLevel_ - 1];
        const bool inside = g.style != HeadingStyle::Section && g.info.empty() &&
                            g.headerTables.empty() && g.footerTables.empty();
        if (!inside)
            break;
        --tableLevel_;
    }
}

int Builder::tableFor(std::span<const ColumnDef> columns, TableKind kind,
                      std::string_view caption) {
    TableSpec spec;
    spec.kind = kind;
    spec.caption = ToQString(caption);
    for (const auto& c : columns)
        spec.columns.push_back({ToQString(c.caption), c.width, c.align, c.fit});
    out_.tables.push_back(std::move(spec));
    return static_cast<int>(out_.tables.size()) - 1;
}

SubRows& Builder::subRows(const SubTableDef& def) {
    auto [it, inserted] = subTables_.try_emplace(&def);
    SubRows& sub = it->second;
    if (inserted) {
        sub.rows = Load(db_, def.sql);
        for (const auto& c : def.columns)
            column(sub.rows, c.field);
        if (!def.key.empty()) {
            const int key = column(sub.rows, def.key);
            for (std::size_t r = 0; r < sub.rows.data.size(); ++r)
                sub.byKey[sub.rows.data[r][static_cast<std::size_t>(key)].toText()].push_back(r);
        }
        sub.table = tableFor(def.columns, TableKind::Summary, def.caption);
    }
    return sub;
}

void Builder::emitSubTables(std::span<const SubTableDef> tables, std::size_t parentRow) {
    for (const auto& def : tables) {
        SubRows& sub = subRows(def);
        std::vector<std::size_t> all;
        const std::vector<std::size_t>* selected = &all;
        if (def.key.empty()) {
            all.resize(sub.rows.data.size());
            std::iota(all.begin(), all.end(), std::size_t{0});
        } else {
            const auto found = sub.byKey.find(value(parentRow, def.parentKey).toText());
            if (found == sub.byKey.end())
                continue;
            selected = &found->second;
        }
        if (selected->empty())
            continue;
        push({.type = BlockType::TableBegin, .table = sub.table});
        bool stripe = false;
        for (std::size_t r : *selected) {
            Block row{.type = BlockType::Row, .stripe = stripe};
            stripe = !stripe;
            for (const auto& c : def.columns) {
                const Value& v = sub.rows.data[r][static_cast<std::size_t>(sub.rows.find(c.field))];
                row.cells.push_back({.text = FormatValue(v, c.format), .code = c.code});
            }
            push(std::move(row));
        }
        push({.type = BlockType::TableEnd});
    }
}

void Builder::emitInfo(std::span<const InfoItem> items, const Rows& rows, std::size_t row) {
    std::vector<Block> grid;
    std::vector<Cell> half;
    auto flushHalf = [&] {
        if (half.empty())
            return;
        half[1].span = 3;
        grid.push_back({.type = BlockType::Row, .cells = std::move(half)});
        half.clear();
    };
    for (const auto& item : items) {
        if (!Shows(item.variants, variant_))
            continue;
        const Value& v = rows.data[row][static_cast<std::size_t>(column(rows, item.field))];
        QString text = FormatValue(v, item.format);
        if (item.code)
            text = CleanText(text, true);
        if (item.skipEmpty && text.trimmed().isEmpty())
            continue;
        const Cell label{.text = ToQString(item.label), .style = CellStyle::Label};
        const Cell data{.text = text, .code = item.code};
        if (item.wide) {
            flushHalf();
            if (item.label.empty()) {
                grid.push_back({.type = BlockType::Row,
                                .cells = {{.text = text, .span = 4, .code = item.code}}});
            } else {
                Cell wideData = data;
                wideData.span = 3;
                grid.push_back({.type = BlockType::Row, .cells = {label, wideData}});
            }
        } else if (half.empty()) {
            half = {label, data};
        } else {
            half.push_back(label);
            half.push_back(data);
            grid.push_back({.type = BlockType::Row, .cells = std::move(half)});
            half.clear();
        }
    }
    flushHalf();
    if (grid.empty())
        return;
    push({.type = BlockType::TableBegin, .table = infoTable_});
    for (auto& block : grid)
        push(std::move(block));
    push({.type = BlockType::TableEnd});
}

void Builder::emitReportInfo() {
    if (!def_.infoSql.empty()) {
        const Rows info = Load(db_, def_.infoSql);
        if (!info.data.empty())
            emitInfo(def_.info, info, 0);
    }
    for (const auto& table : def_.headerTables) {
        if (!subRows(table).rows.data.empty())
            emitSubTables(std::span(&table, 1), 0);
    }
}

bool Builder::isDetail(std::size_t row) const {
    return detailPresent_ < 0 ||
           !rows_.data[row][static_cast<std::size_t>(detailPresent_)].isNull();
}

int Builder::countDetail(std::size_t begin, std::size_t end) const {
    int n = 0;
    for (std::size_t r = begin; r < end; ++r)
        n += isDetail(r) ? 1 : 0;
    return n;
}

std::size_t Builder::runEnd(std::size_t level, std::size_t begin, std::size_t end) const {
    const auto& keys = groupKeys_[level];
    std::size_t r = begin + 1;
    while (r < end) {
        bool same = true;
        for (int k : keys) {
            if (!(rows_.data[r][static_cast<std::size_t>(k)] ==
                  rows_.data[begin][static_cast<std::size_t>(k)])) {
                same = false;
                break;
            }
        }
        if (!same)
            break;
        ++r;
    }
    return r;
}

int Builder::countRuns(std::size_t level, std::size_t begin, std::size_t end) const {
    int n = 0;
    for (std::size_t r = begin; r < end; r = runEnd(level, r, end))
        ++n;
    return n;
}

void Builder::ensureTable() {
    if (tableOpen_ || !wantTable_)
        return;
    push({.type = BlockType::TableBegin, .table = detailTable_});
    tableOpen_ = true;
    tableRows_ = 0;
}

void Builder::closeTable() {
    if (tableOpen_)
        push({.type = BlockType::TableEnd});
    tableOpen_ = false;
    wantTable_ = false;
}

void Builder::emitGroups(std::size_t level, std::size_t begin, std::size_t end) {
    for (std::size_t r = begin; r < end;) {
        const std::size_t next = runEnd(level, r, end);
        emitGroup(level, r, next);
        r = next;
    }
}

void Builder::emitGroup(std::size_t level, std::size_t begin, std::size_t end) {
    const GroupDef& g = def_.groups[level];
    std::fill(lastShown_.begin(), lastShown_.end(), QString());
    const int count = countDetail(begin, end);
    const int groups = level + 1 < def_.groups.size() ? countRuns(level + 1, begin, end) : 0;
    const QString heading = expand(g.heading, begin, count, groups);
    const QString note = expand(g.headingNote, begin, count, groups);

    push({.type = BlockType::GroupBegin,
          .level = static_cast<int>(level),
          .keepTogether = g.keepTogether});
    if (level < tableLevel_) {
        if (g.style != HeadingStyle::Rule) {
            push({.type = BlockType::Heading,
                  .level = static_cast<int>(level),
                  .text = heading,
                  .note = note});
        }
        emitInfo(g.info, rows_, begin);
        emitSubTables(g.headerTables, begin);
    } else if (g.style == HeadingStyle::Inline) {
        ensureTable();
        push({.type = BlockType::RowHeading,
              .level = static_cast<int>(level),
              .text = heading,
              .note = note});
    } else {
        pendingDivider_ = true;
    }

    const bool opensTable = level + 1 == tableLevel_;
    if (opensTable)
        wantTable_ = true;
    if (level + 1 < def_.groups.size())
        emitGroups(level + 1, begin, end);
    else
        emitDetail(begin, end);
    if (!g.footer.empty() || !g.sums.empty())
        emitTotal(g.footer, g.sums, begin, end, groups);
    if (opensTable)
        closeTable();
    emitSubTables(g.footerTables, begin);
    push({.type = BlockType::GroupEnd, .level = static_cast<int>(level)});
}

void Builder::emitDetail(std::size_t begin, std::size_t end) {
    for (std::size_t r = begin; r < end; ++r) {
        if (!isDetail(r))
            continue;
        ensureTable();
        const auto& data = rows_.data[r];
        CellStyle style = CellStyle::Normal;
        if (rowStyle_ >= 0) {
            const std::string s = data[static_cast<std::size_t>(rowStyle_)].toText();
            style = s == "strong" ? CellStyle::Strong : s == "muted" ? CellStyle::Muted : style;
        }
        Block row{.type = BlockType::Row};
        row.stripe = tableRows_ % 2 == 1;
        row.divider = pendingDivider_ && tableRows_ > 0;
        pendingDivider_ = false;
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            const ColumnDef& c = *visible_[i];
            QString text = FormatValue(data[static_cast<std::size_t>(sourceColumn_[i])], c.format);
            if (c.code)
                text = CleanText(text, true);
            Cell cell{.code = c.code, .style = c.lineNumber ? CellStyle::LineNumber : style};
            if (c.hideDuplicates && !text.isEmpty() && text == lastShown_[i]) {
                cell.repeated = text;
            } else {
                cell.text = text;
                if (c.hideDuplicates)
                    lastShown_[i] = text;
            }
            row.cells.push_back(std::move(cell));
        }
        if (below_ >= 0) {
            row.below =
                CleanText(FormatValue(data[static_cast<std::size_t>(below_)], Format::Text), true);
            row.belowFrom = belowFrom_;
        }
        push(std::move(row));
        ++tableRows_;
    }
}

void Builder::emitTotal(std::string_view label, std::span<const std::string_view> sums,
                        std::size_t begin, std::size_t end, int groups) {
    std::vector<double> totals(visible_.size(), 0);
    std::vector<bool> summed(visible_.size(), false);
    for (auto field : sums) {
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            if (visible_[i]->field == field)
                summed[i] = true;
        }
    }
    for (std::size_t r = begin; r < end; ++r) {
        if (!isDetail(r))
            continue;
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            if (summed[i])
                totals[i] += rows_.data[r][static_cast<std::size_t>(sourceColumn_[i])].toDouble();
        }
    }
    const QString text = expand(label, begin, countDetail(begin, end), groups);
    const auto first =
        static_cast<std::size_t>(std::find(summed.begin(), summed.end(), true) - summed.begin());
    if (first == visible_.size() && !tableOpen_) {
        push({.type = BlockType::Note, .level = 1, .text = text});
        return;
    }
    const bool standalone = !tableOpen_;
    if (standalone)
        push({.type = BlockType::TableBegin, .table = detailTable_});
    Block row{.type = BlockType::TotalRow};
    row.cells.push_back({.text = text,
                         .span = static_cast<int>(std::max<std::size_t>(first, 1)),
                         .style = CellStyle::Strong});
    for (std::size_t i = std::max<std::size_t>(first, 1); i < visible_.size(); ++i) {
        const Format format =
            visible_[i]->format == Format::BlankZero ? Format::Number : visible_[i]->format;
        row.cells.push_back({.text = summed[i] ? FormatValue(Value(totals[i]), format) : QString(),
                             .style = CellStyle::Strong});
    }
    push(std::move(row));
    if (standalone)
        push({.type = BlockType::TableEnd});
}

void Builder::build() {
    out_.title = ToQString(def_.title);
    out_.kind = def_.kind;
    out_.orientation = def_.orientation;
    out_.flowColumns = def_.flowColumns;
    out_.fontPt = def_.fontPt;
    readFileLine();
    if (def_.kind != ReportKind::Listing) {
        buildCover();
        return;
    }
    rows_ = Load(db_, def_.sql);
    if (!def_.syllabaryKey.empty()) {
        const JapaneseCollator collator;
        const int key = column(rows_, def_.syllabaryKey);
        std::vector<std::pair<std::string, std::size_t>> order;
        order.reserve(rows_.data.size());
        std::map<std::string, std::string> keys;
        for (std::size_t r = 0; r < rows_.data.size(); ++r) {
            const std::string text = rows_.data[r][static_cast<std::size_t>(key)].toText();
            auto [it, added] = keys.try_emplace(text);
            if (added)
                it->second = collator.sortKey(ToQString(text));
            order.emplace_back(it->second, r);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::vector<Value>> sorted;
        sorted.reserve(order.size());
        for (const auto& entry : order)
            sorted.push_back(std::move(rows_.data[entry.second]));
        rows_.data = std::move(sorted);
    }
    chooseVariant();
    chooseColumns();
    emitReportInfo();
    if (rows_.data.empty()) {
        out_.empty = true;
        push({.type = BlockType::Note, .text = ToQString(kNoDataNote)});
        return;
    }
    const std::size_t n = rows_.data.size();
    if (tableLevel_ == 0)
        wantTable_ = true;
    if (def_.groups.empty())
        emitDetail(0, n);
    else
        emitGroups(0, 0, n);
    const int groups = def_.groups.empty() ? 0 : countRuns(0, 0, n);
    if (!def_.totalLabel.empty() || !def_.totals.empty())
        emitTotal(def_.totalLabel, def_.totals, 0, n, groups);
    closeTable();
    emitSubTables(def_.footerTables, 0);
}

}  // namespace

ReportContent BuildReport(const workdb::WorkDatabase& db, const ReportDef& def,
                          const QDateTime& printDate) {
    ReportContent content;
    content.name = ToQString(def.name);
    content.printDate = printDate;
    Builder(db, def, content).build();
    return content;
}

}  // namespace zanfor::report
