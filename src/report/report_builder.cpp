#include "report/report_builder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <numeric>
#include <optional>
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
using Row = std::vector<Value>;

// Rows without groups are handed on in pieces of this many.
constexpr std::size_t kDetailChunk = 256;

int FindColumn(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (QString::compare(ToQString(names[i]), ToQString(name), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// The rows of a small query, kept whole.
struct Rows {
    std::vector<std::string> names;
    std::vector<Row> data;

    int find(std::string_view name) const { return FindColumn(names, name); }
};

std::vector<std::string> ColumnNames(const workdb::Query& query) {
    std::vector<std::string> names;
    for (int i = 0; i < query.columnCount(); ++i)
        names.push_back(query.columnName(i));
    return names;
}

bool ReadRow(workdb::Query& query, Row& row) {
    if (!query.next())
        return false;
    const int n = query.columnCount();
    row.clear();
    row.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        row.push_back(query.value(i));
    return true;
}

Rows Load(const workdb::WorkDatabase& db, std::string_view sql) {
    workdb::Query query(db, sql);
    Rows rows;
    rows.names = ColumnNames(query);
    Row row;
    while (ReadRow(query, row))
        rows.data.push_back(std::move(row));
    return rows;
}

// Rows written out to a temporary file and read back in any order, so that sorting a long
// report holds a few bytes a row rather than the rows. Held in memory when no temporary file
// can be made.
class RowSpill {
public:
    RowSpill() : file_(std::tmpfile()) {}

    // Where the row went.
    std::uint64_t write(const Row& row) {
        if (!file_) {
            held_.push_back(row);
            return held_.size() - 1;
        }
        buffer_.clear();
        put(static_cast<std::uint32_t>(row.size()));
        for (const Value& v : row)
            put(v);
        const std::uint64_t at = end_;
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size())
            fail();
        end_ += buffer_.size();
        return at;
    }

    void read(std::uint64_t at, Row& row) {
        if (!file_) {
            row = std::move(held_[static_cast<std::size_t>(at)]);
            return;
        }
        // Rows of one group follow each other: the file is read on without seeking.
        if (at != position_ && std::fseek(file_.get(), static_cast<long>(at), SEEK_SET) != 0)
            fail();
        position_ = at;
        const auto n = get<std::uint32_t>();
        row.clear();
        row.reserve(n);
        for (std::uint32_t i = 0; i < n; ++i)
            row.push_back(getValue());
    }

private:
    struct CloseFile {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    // VB's path/file access error.
    [[noreturn]] static void fail() {
        throw host::Error(75, "レポートの並べ替えに使う一時ファイルを読み書きできません。");
    }

    template <typename T>
    void put(T value) {
        buffer_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }

    void put(const Value& v) {
        const auto kind = v.kind();
        put(static_cast<std::uint8_t>(kind));
        switch (kind) {
            case Value::Kind::Null:
                break;
            case Value::Kind::Bool:
                put(static_cast<std::uint8_t>(v.toBool()));
                break;
            case Value::Kind::Integer:
                put(v.toInteger());
                break;
            case Value::Kind::Double:
            case Value::Kind::Date:
                put(v.toDouble());
                break;
            case Value::Kind::Text: {
                const std::string text = v.toText();
                put(static_cast<std::uint32_t>(text.size()));
                buffer_ += text;
                break;
            }
        }
    }

    void getBytes(char* out, std::size_t size) {
        if (std::fread(out, 1, size, file_.get()) != size)
            fail();
        position_ += size;
    }

    template <typename T>
    T get() {
        T value;
        getBytes(reinterpret_cast<char*>(&value), sizeof value);
        return value;
    }

    Value getValue() {
        switch (static_cast<Value::Kind>(get<std::uint8_t>())) {
            case Value::Kind::Null:
                return {};
            case Value::Kind::Bool:
                return get<std::uint8_t>() != 0;
            case Value::Kind::Integer:
                return get<std::int64_t>();
            case Value::Kind::Double:
                return get<double>();
            case Value::Kind::Date:
                return host::Date{get<double>()};
            case Value::Kind::Text: {
                std::string text(get<std::uint32_t>(), '\0');
                getBytes(text.data(), text.size());
                return text;
            }
        }
        fail();
    }

    std::unique_ptr<std::FILE, CloseFile> file_;
    std::vector<Row> held_;
    std::string buffer_;
    std::uint64_t end_ = 0;
    std::uint64_t position_ = ~std::uint64_t{0};  // where reading goes on; unknown at first
};

// The rows of the report's query in report order, read as they are asked for; rows looked at
// ahead of their turn wait in a queue.
class RowSource {
public:
    RowSource(const workdb::WorkDatabase& db, std::string_view sql)
        : query_(db, sql), names_(ColumnNames(query_)) {}

    const std::vector<std::string>& names() const { return names_; }

    // Reads every row and orders them by the syllabary order of column `key`, stable on the
    // query's order. The rows wait in a temporary file; only their places are sorted.
    void sortBySyllabary(int key) {
        const JapaneseCollator collator;
        std::map<std::string, std::uint32_t> ids;
        std::vector<std::string> sortKeys;
        spill_ = std::make_unique<RowSpill>();
        Row row;
        while (ReadRow(query_, row)) {
            const auto [it, added] = ids.try_emplace(row[static_cast<std::size_t>(key)].toText(),
                                                     static_cast<std::uint32_t>(sortKeys.size()));
            if (added)
                sortKeys.push_back(collator.sortKey(ToQString(it->first)));
            order_.push_back({it->second, spill_->write(row)});
        }
        std::stable_sort(order_.begin(), order_.end(), [&](const Place& a, const Place& b) {
            return sortKeys[a.key] < sortKeys[b.key];
        });
        ended_ = true;
    }

    bool next(Row& row) {
        if (!waiting_.empty()) {
            row = std::move(waiting_.front());
            waiting_.pop_front();
            return true;
        }
        return read(row);
    }

    // The row `ahead` places after the next one, or nullptr past the last.
    const Row* peek(std::size_t ahead = 0) {
        while (waiting_.size() <= ahead) {
            Row row;
            if (!read(row))
                return nullptr;
            waiting_.push_back(std::move(row));
        }
        return &waiting_[ahead];
    }

private:
    struct Place {
        std::uint32_t key;
        std::uint64_t at;
    };

    // A finished statement would start over if stepped again.
    bool read(Row& row) {
        if (spill_) {
            if (taken_ >= order_.size())
                return false;
            spill_->read(order_[taken_++].at, row);
            return true;
        }
        ended_ = ended_ || !ReadRow(query_, row);
        return !ended_;
    }

    workdb::Query query_;
    std::vector<std::string> names_;
    std::deque<Row> waiting_;
    std::unique_ptr<RowSpill> spill_;
    std::vector<Place> order_;
    std::size_t taken_ = 0;
    bool ended_ = false;
};

bool Shows(VariantMask mask, int variant) {
    return variant < 0 || variant >= 32 || (mask & Variant(variant)) != 0;
}

// Rows of a small table, by the key that ties them to a group.
struct SubRows {
    Rows rows;
    std::map<std::string, std::vector<std::size_t>> byKey;
    bool loaded = false;
};

// The count and the sums of the summed columns of the detail rows of a range.
struct Tally {
    int count = 0;
    std::vector<double> totals;
};

}  // namespace

class ReportStream::Builder {
public:
    Builder(const workdb::WorkDatabase& db, const ReportDef& def, const QDateTime& printDate);

    const ReportContent& head() const { return head_; }
    bool next(std::vector<Block>& out);

private:
    enum class Stage { Header, Body, Footer, Done };

    int column(const std::vector<std::string>& names, std::string_view name) const;
    const Value& value(const Row& row, std::string_view name) const;
    QString expand(std::string_view pattern, const Row& row, int count, int groups) const;

    void readFileLine();
    void buildCover();
    void chooseVariant();
    void chooseColumns();
    void addSubTables(std::span<const SubTableDef> tables);
    void emitReportInfo();
    bool emitNextPart();
    void emitFooter();
    void emitGroups(std::size_t level, std::size_t begin, std::size_t end);
    void emitGroup(std::size_t level, std::size_t begin, std::size_t end);
    void emitDetail(std::size_t begin, std::size_t end);
    void emitInfo(std::span<const InfoItem> items, const Rows& rows, std::size_t row);
    void emitSubTables(std::span<const SubTableDef> tables, const Row& parent);
    void emitTotal(std::string_view label, const std::vector<bool>& summed, const Tally& tally,
                   int groups, const Row& first);
    void ensureTable();
    void closeTable();
    void push(Block block) { out_->push_back(std::move(block)); }

    bool isDetail(const Row& row) const;
    bool sameGroup(std::size_t level, const Row& a, const Row& b) const;
    int countDetail(std::size_t begin, std::size_t end) const;
    int countRuns(std::size_t level, std::size_t begin, std::size_t end) const;
    std::size_t runEnd(std::size_t level, std::size_t begin, std::size_t end) const;
    std::vector<bool> summedColumns(std::span<const std::string_view> sums) const;
    void addToTally(Tally& tally, const std::vector<bool>& summed, const Row& row) const;
    int tableFor(std::span<const ColumnDef> columns, TableKind kind, std::string_view caption);
    SubRows& subRows(const SubTableDef& def);

    const workdb::WorkDatabase& db_;
    const ReportDef& def_;
    ReportContent head_;
    std::vector<Block>* out_ = nullptr;
    Stage stage_ = Stage::Done;
    std::optional<RowSource> source_;
    Rows rows_;  // the rows of the part being emitted
    Row first_;  // the report's first row, for its total and footer
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
    std::map<const SubTableDef*, int> subTableIndex_;
    std::vector<bool> reportSummed_;
    Tally reportTally_;
    int topGroups_ = 0;
};

ReportStream::Builder::Builder(const workdb::WorkDatabase& db, const ReportDef& def,
                               const QDateTime& printDate)
    : db_(db), def_(def) {
    head_.name = ToQString(def_.name);
    head_.printDate = printDate;
    head_.title = ToQString(def_.title);
    head_.kind = def_.kind;
    head_.orientation = def_.orientation;
    head_.flowColumns = def_.flowColumns;
    head_.fontPt = def_.fontPt;
    readFileLine();
    if (def_.kind != ReportKind::Listing) {
        buildCover();
        return;
    }
    source_.emplace(db_, def_.sql);
    rows_.names = source_->names();
    if (!def_.syllabaryKey.empty())
        source_->sortBySyllabary(column(rows_.names, def_.syllabaryKey));
    chooseVariant();
    chooseColumns();
    if (const Row* first = source_->peek())
        first_ = *first;
    else
        head_.empty = true;
    stage_ = Stage::Header;
}

int ReportStream::Builder::column(const std::vector<std::string>& names,
                                  std::string_view name) const {
    const int index = FindColumn(names, name);
    if (index < 0) {
        throw host::Error(host::err::kUnknownField, "レポート '" + std::string(def_.name) +
                                                        "' の列 '" + std::string(name) +
                                                        "' がクエリーにありません。");
    }
    return index;
}

const Value& ReportStream::Builder::value(const Row& row, std::string_view name) const {
    return row[static_cast<std::size_t>(column(rows_.names, name))];
}

QString ReportStream::Builder::expand(std::string_view pattern, const Row& row, int count,
                                      int groups) const {
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

void ReportStream::Builder::readFileLine() {
    workdb::Query query(db_, "SELECT FileName FROM T_AcTitle ORDER BY rowid LIMIT 1");
    if (query.next()) {
        head_.hasFileLine = true;
        head_.fileLine = CleanText(ToQString(query.value(0).toText()), false).replace(u'\n', u' ');
    }
}

void ReportStream::Builder::buildCover() {
    rows_ = Load(db_, def_.sql);
    if (rows_.data.empty()) {
        head_.empty = true;
        return;
    }
    const Row& row = rows_.data.front();
    auto text = [&](std::string_view field) {
        return FormatValue(value(row, field), Format::Text).trimmed();
    };
    CoverFields cover{text("SysTitle"), text("SysName"), text("Company"),
                      text("Bumon"),    text("Auther"),  {}};
    const Value& date = value(row, "CreateDate");
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
    head_.cover = cover;
}

// The first row that names its variant decides it; rows read ahead for it wait their turn.
void ReportStream::Builder::chooseVariant() {
    if (def_.variantField.empty())
        return;
    const auto index = static_cast<std::size_t>(column(rows_.names, def_.variantField));
    for (std::size_t ahead = 0; const Row* row = source_->peek(ahead); ++ahead) {
        const Value& v = (*row)[index];
        if (!v.isNull()) {
            variant_ = static_cast<int>(v.toInteger());
            break;
        }
    }
    for (const auto& [midasi, subtitle] : def_.variants) {
        if (midasi == variant_)
            head_.subtitle = ToQString(subtitle);
    }
}

void ReportStream::Builder::chooseColumns() {
    TableSpec spec;
    spec.kind = def_.tableKind;
    spec.header = def_.tableKind != TableKind::Box;
    for (const auto& c : def_.columns) {
        if (!Shows(c.variants, variant_))
            continue;
        visible_.push_back(&c);
        sourceColumn_.push_back(column(rows_.names, c.field));
        spec.columns.push_back({ToQString(c.caption), c.width, c.align, c.fit});
    }
    lastShown_.assign(visible_.size(), QString());
    detailTable_ = static_cast<int>(head_.tables.size());
    head_.tables.push_back(std::move(spec));

    TableSpec info;
    info.kind = TableKind::Info;
    info.header = false;
    // The labels are wide enough for the longest, "アプリケーションタイトル", on one line.
    info.columns = {
        {{}, 37, Align::Left}, {{}, 53, Align::Left}, {{}, 37, Align::Left}, {{}, 53, Align::Left}};
    infoTable_ = static_cast<int>(head_.tables.size());
    head_.tables.push_back(std::move(info));

    // Every table is known before the first block, for layouts that size columns up front.
    addSubTables(def_.headerTables);
    for (const auto& group : def_.groups) {
        addSubTables(group.headerTables);
        addSubTables(group.footerTables);
    }
    addSubTables(def_.footerTables);

    if (!def_.detailPresent.empty())
        detailPresent_ = column(rows_.names, def_.detailPresent);
    if (!def_.rowStyle.empty())
        rowStyle_ = column(rows_.names, def_.rowStyle);
    if (!def_.below.empty() && Shows(def_.belowVariants, variant_)) {
        below_ = column(rows_.names, def_.below);
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            if (visible_[i]->field == def_.belowFrom)
                belowFrom_ = static_cast<int>(i);
        }
    }
    for (const auto& group : def_.groups) {
        std::vector<int> keys;
        for (auto key : group.keys)
            keys.push_back(column(rows_.names, key));
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
    reportSummed_ = summedColumns(def_.totals);
    reportTally_.totals.assign(visible_.size(), 0);
}

void ReportStream::Builder::addSubTables(std::span<const SubTableDef> tables) {
    for (const auto& def : tables) {
        if (!subTableIndex_.contains(&def))
            subTableIndex_[&def] = tableFor(def.columns, TableKind::Summary, def.caption);
    }
}

int ReportStream::Builder::tableFor(std::span<const ColumnDef> columns, TableKind kind,
                                    std::string_view caption) {
    TableSpec spec;
    spec.kind = kind;
    spec.caption = ToQString(caption);
    for (const auto& c : columns)
        spec.columns.push_back({ToQString(c.caption), c.width, c.align, c.fit});
    head_.tables.push_back(std::move(spec));
    return static_cast<int>(head_.tables.size()) - 1;
}

SubRows& ReportStream::Builder::subRows(const SubTableDef& def) {
    SubRows& sub = subTables_[&def];
    if (!sub.loaded) {
        sub.rows = Load(db_, def.sql);
        for (const auto& c : def.columns)
            column(sub.rows.names, c.field);
        if (!def.key.empty()) {
            const int key = column(sub.rows.names, def.key);
            for (std::size_t r = 0; r < sub.rows.data.size(); ++r)
                sub.byKey[sub.rows.data[r][static_cast<std::size_t>(key)].toText()].push_back(r);
        }
        sub.loaded = true;
    }
    return sub;
}

void ReportStream::Builder::emitSubTables(std::span<const SubTableDef> tables, const Row& parent) {
    for (const auto& def : tables) {
        SubRows& sub = subRows(def);
        std::vector<std::size_t> all;
        const std::vector<std::size_t>* selected = &all;
        if (def.key.empty()) {
            all.resize(sub.rows.data.size());
            std::iota(all.begin(), all.end(), std::size_t{0});
        } else {
            if (parent.empty())
                continue;
            const auto found = sub.byKey.find(value(parent, def.parentKey).toText());
            if (found == sub.byKey.end())
                continue;
            selected = &found->second;
        }
        if (selected->empty())
            continue;
        push({.type = BlockType::TableBegin, .table = subTableIndex_.at(&def)});
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

void ReportStream::Builder::emitInfo(std::span<const InfoItem> items, const Rows& rows,
                                     std::size_t row) {
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
        const Value& v = rows.data[row][static_cast<std::size_t>(column(rows.names, item.field))];
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

void ReportStream::Builder::emitReportInfo() {
    if (!def_.infoSql.empty()) {
        const Rows info = Load(db_, def_.infoSql);
        if (!info.data.empty())
            emitInfo(def_.info, info, 0);
    }
    for (const auto& table : def_.headerTables) {
        if (!subRows(table).rows.data.empty())
            emitSubTables(std::span(&table, 1), first_);
    }
}

bool ReportStream::Builder::isDetail(const Row& row) const {
    return detailPresent_ < 0 || !row[static_cast<std::size_t>(detailPresent_)].isNull();
}

int ReportStream::Builder::countDetail(std::size_t begin, std::size_t end) const {
    int n = 0;
    for (std::size_t r = begin; r < end; ++r)
        n += isDetail(rows_.data[r]) ? 1 : 0;
    return n;
}

bool ReportStream::Builder::sameGroup(std::size_t level, const Row& a, const Row& b) const {
    for (int k : groupKeys_[level]) {
        if (!(a[static_cast<std::size_t>(k)] == b[static_cast<std::size_t>(k)]))
            return false;
    }
    return true;
}

std::size_t ReportStream::Builder::runEnd(std::size_t level, std::size_t begin,
                                          std::size_t end) const {
    std::size_t r = begin + 1;
    while (r < end && sameGroup(level, rows_.data[r], rows_.data[begin]))
        ++r;
    return r;
}

int ReportStream::Builder::countRuns(std::size_t level, std::size_t begin, std::size_t end) const {
    int n = 0;
    for (std::size_t r = begin; r < end; r = runEnd(level, r, end))
        ++n;
    return n;
}

std::vector<bool> ReportStream::Builder::summedColumns(
    std::span<const std::string_view> sums) const {
    std::vector<bool> summed(visible_.size(), false);
    for (auto field : sums) {
        for (std::size_t i = 0; i < visible_.size(); ++i) {
            if (visible_[i]->field == field)
                summed[i] = true;
        }
    }
    return summed;
}

void ReportStream::Builder::addToTally(Tally& tally, const std::vector<bool>& summed,
                                       const Row& row) const {
    if (!isDetail(row))
        return;
    ++tally.count;
    for (std::size_t i = 0; i < visible_.size(); ++i) {
        if (summed[i])
            tally.totals[i] += row[static_cast<std::size_t>(sourceColumn_[i])].toDouble();
    }
}

void ReportStream::Builder::ensureTable() {
    if (tableOpen_ || !wantTable_)
        return;
    push({.type = BlockType::TableBegin, .table = detailTable_});
    tableOpen_ = true;
    tableRows_ = 0;
}

void ReportStream::Builder::closeTable() {
    if (tableOpen_)
        push({.type = BlockType::TableEnd});
    tableOpen_ = false;
    wantTable_ = false;
}

void ReportStream::Builder::emitGroups(std::size_t level, std::size_t begin, std::size_t end) {
    for (std::size_t r = begin; r < end;) {
        const std::size_t next = runEnd(level, r, end);
        emitGroup(level, r, next);
        r = next;
    }
}

void ReportStream::Builder::emitGroup(std::size_t level, std::size_t begin, std::size_t end) {
    const GroupDef& g = def_.groups[level];
    const Row& first = rows_.data[begin];
    std::fill(lastShown_.begin(), lastShown_.end(), QString());
    const int count = countDetail(begin, end);
    const int groups = level + 1 < def_.groups.size() ? countRuns(level + 1, begin, end) : 0;
    const QString heading = expand(g.heading, first, count, groups);
    const QString note = expand(g.headingNote, first, count, groups);

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
        emitSubTables(g.headerTables, first);
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
    if (!g.footer.empty() || !g.sums.empty()) {
        const std::vector<bool> summed = summedColumns(g.sums);
        Tally tally{0, std::vector<double>(visible_.size(), 0)};
        for (std::size_t r = begin; r < end; ++r)
            addToTally(tally, summed, rows_.data[r]);
        emitTotal(g.footer, summed, tally, groups, first);
    }
    if (opensTable)
        closeTable();
    emitSubTables(g.footerTables, first);
    push({.type = BlockType::GroupEnd, .level = static_cast<int>(level)});
}

void ReportStream::Builder::emitDetail(std::size_t begin, std::size_t end) {
    for (std::size_t r = begin; r < end; ++r) {
        const auto& data = rows_.data[r];
        if (!isDetail(data))
            continue;
        ensureTable();
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

void ReportStream::Builder::emitTotal(std::string_view label, const std::vector<bool>& summed,
                                      const Tally& tally, int groups, const Row& first) {
    const QString text = expand(label, first, tally.count, groups);
    const auto firstSummed =
        static_cast<std::size_t>(std::find(summed.begin(), summed.end(), true) - summed.begin());
    if (firstSummed == visible_.size() && !tableOpen_) {
        push({.type = BlockType::Note, .level = 1, .text = text});
        return;
    }
    const bool standalone = !tableOpen_;
    if (standalone)
        push({.type = BlockType::TableBegin, .table = detailTable_});
    Block row{.type = BlockType::TotalRow};
    row.cells.push_back({.text = text,
                         .span = static_cast<int>(std::max<std::size_t>(firstSummed, 1)),
                         .style = CellStyle::Strong});
    for (std::size_t i = std::max<std::size_t>(firstSummed, 1); i < visible_.size(); ++i) {
        const Format format =
            visible_[i]->format == Format::BlankZero ? Format::Number : visible_[i]->format;
        row.cells.push_back(
            {.text = summed[i] ? FormatValue(Value(tally.totals[i]), format) : QString(),
             .style = CellStyle::Strong});
    }
    push(std::move(row));
    if (standalone)
        push({.type = BlockType::TableEnd});
}

// One top-level group, or the next rows of a report without groups; false after the last row.
bool ReportStream::Builder::emitNextPart() {
    Row row;
    if (!source_->next(row))
        return false;
    rows_.data.clear();
    rows_.data.push_back(std::move(row));
    if (def_.groups.empty()) {
        while (rows_.data.size() < kDetailChunk && source_->next(row))
            rows_.data.push_back(std::move(row));
    } else {
        for (const Row* ahead = source_->peek(); ahead && sameGroup(0, rows_.data.front(), *ahead);
             ahead = source_->peek()) {
            source_->next(row);
            rows_.data.push_back(std::move(row));
        }
    }
    const std::size_t n = rows_.data.size();
    if (def_.groups.empty()) {
        emitDetail(0, n);
    } else {
        emitGroup(0, 0, n);
        ++topGroups_;
    }
    for (const Row& r : rows_.data)
        addToTally(reportTally_, reportSummed_, r);
    return true;
}

void ReportStream::Builder::emitFooter() {
    if (!def_.totalLabel.empty() || !def_.totals.empty())
        emitTotal(def_.totalLabel, reportSummed_, reportTally_, topGroups_, first_);
    closeTable();
    emitSubTables(def_.footerTables, first_);
}

bool ReportStream::Builder::next(std::vector<Block>& out) {
    out_ = &out;
    switch (stage_) {
        case Stage::Header:
            emitReportInfo();
            if (head_.empty) {
                push({.type = BlockType::Note, .text = ToQString(kNoDataNote)});
                stage_ = Stage::Done;
            } else {
                wantTable_ = tableLevel_ == 0;
                stage_ = Stage::Body;
            }
            return true;
        case Stage::Body:
            if (!emitNextPart())
                stage_ = Stage::Footer;
            return true;
        case Stage::Footer:
            emitFooter();
            stage_ = Stage::Done;
            return true;
        case Stage::Done:
            break;
    }
    return false;
}

ReportStream::ReportStream(const workdb::WorkDatabase& db, const ReportDef& def,
                           const QDateTime& printDate)
    : builder_(std::make_unique<Builder>(db, def, printDate)) {}

ReportStream::~ReportStream() = default;

const ReportContent& ReportStream::head() const { return builder_->head(); }

bool ReportStream::next(std::vector<Block>& out) { return builder_->next(out); }

ReportContent BuildReport(const workdb::WorkDatabase& db, const ReportDef& def,
                          const QDateTime& printDate) {
    ReportStream stream(db, def, printDate);
    ReportContent content = stream.head();
    while (stream.next(content.blocks)) {
    }
    return content;
}

}  // namespace zanfor::report
