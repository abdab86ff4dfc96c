#include "diff/analysis_diff.h"

#include <algorithm>
#include <map>
#include <span>
#include <tuple>
#include <unordered_map>

#include "util/vb_string.h"
#include "workdb/work_database.h"

namespace zanfor::diff {

namespace {

// Columns that change without a change of design, never reported:
// - the dates: Access rewrites DateUpdate/LastUpdated on every save of an object and
//   DateCreate/DateCreated when it is imported or made again, and an export folder keeps none;
// - RecordCount: the rows of data a table holds, not its design;
// - RecordsAffected: what the last execution of an action query changed;
// - Updatable: whether the file could be written when it was read (an export folder never
//   can), not something the object's design says.
// The forms' saved window positions and sizes (WindowLeft, WindowTop, WindowWidth,
// WindowHeight), which Access also rewrites on every save, are not collected at all.
constexpr std::string_view kNoise[] = {"DateCreate",  "DateUpdate",  "DateCreated",
                                       "LastUpdated", "RecordCount", "RecordsAffected",
                                       "Updatable"};

// Running numbers and the run's own settings: they place a row, they are not its content. Class
// is the object's kind, read on its own.
constexpr std::string_view kBookkeeping[] = {"DbNo",    "objectNo", "Midasi",    "Class",
                                             "FieldNo", "GroupNo",  "ControlNo", "PropertyNo"};

struct Label {
    std::string_view column;
    std::string_view label;
};
constexpr Label kLabels[] = {
    {"Description", "説明"},
    {"QueryType", "種類"},
    {"Attributes", "属性"},
    {"LinkTable", "リンクテーブル"},
    {"Connect", "接続文字列"},
    {"SourceTableName", "リンク元テーブル名"},
    {"ODBCTimeout", "ODBCタイムアウト"},
    {"MaxRecords", "最大レコード数"},
    {"RecordSource", "レコードソース"},
    {"Filter", "フィルタ"},
    {"OrderBy", "並べ替え"},
    {"Caption", "標題"},
    {"DefaultView", "既定のビュー"},
    {"AllowEdits", "更新の許可"},
    {"AllowDeletions", "削除の許可"},
    {"AllowAdditions", "追加の許可"},
    {"DataEntry", "データ入力用"},
    {"RecordsetType", "レコードセット"},
    {"RecordLocks", "レコードロック"},
    {"PopUp", "ポップアップ"},
    {"sMenuBar", "メニューバー"},
    {"Modal", "作業ウィンドウ固定"},
    {"PrimaryKey", "主キー"},
    {"FieldType", "データ型"},
    {"FieldSize", "サイズ"},
    {"ZeroLength", "空文字列の許可"},
    {"DefaultValue", "既定値"},
    {"ValRule", "入力規則"},
    {"Primary", "主キー"},
    {"Clustered", "クラスタ"},
    {"Foreign", "外部キー"},
    {"Unique", "固有"},
    {"IgnoreNulls", "Null無視"},
    {"Required", "値要求"},
    {"ControlType", "種類"},
    {"cntlVisible", "可視"},
    {"TLWH", "位置・サイズ"},
    {"ControlSource", "コントロールソース"},
    {"SortOrder", "降順"},
    {"GroupHeader", "グループヘッダー"},
    {"GroupFooter", "グループフッター"},
    {"GroupOn", "グループ化"},
    {"GroupInterval", "グループ間隔"},
    {"KeepTogether", "グループ保持"},
};

struct KindInfo {
    std::string_view kind;
    std::string_view label;
};
// In the order the work database's index lists them.
constexpr KindInfo kKinds[] = {
    {"Table", "テーブル"}, {"Query", "クエリー"},    {"Form", "フォーム"}, {"Report", "レポート"},
    {"Macro", "マクロ"},   {"Module", "モジュール"}, {"Page", "ページ"}};

// The object tables: one row per object, its name in `nameColumn`, its kind in T_AcObject's
// Class where `kind` is empty. Every other column not filtered out is a property.
struct ObjectSource {
    std::string_view kind;
    std::string_view table;
    std::string_view nameColumn;
    bool events = false;  // Ibent1..4 name the first event procedures, IbentVL1..4 set them
};
constexpr ObjectSource kObjectSources[] = {
    {"", "T_AcObject", "ObjectName"},
    {"Table", "T_AcTblInfo", "TableName"},
    {"Query", "T_AcQeryInfo", "QueryName"},
    {"Form", "T_AcFrmInfo", "FormName", true},
    {"Report", "T_AcRepInfo", "ReportName", true},
};

// The part tables: each row gives the object's name, the part's name, values named by their
// columns and, in "pname"/"pvalue", one more value named by the row. Rows of one part follow
// each other; a value named twice (an index's fields) is joined with ", ".
struct PartSource {
    std::string_view kind;
    std::string_view part;
    std::string_view sql;
};
constexpr PartSource kPartSources[] = {
    {"Table", "フィールド",
     R"(SELECT t.TableName, f.FieldName, f.PrimaryKey, f.FieldType, f.FieldSize, f.ZeroLength,
  f.DefaultValue, f.ValRule, f.Description
FROM T_AcTblItem f JOIN T_AcTblInfo t ON t.objectNo = f.objectNo
ORDER BY t.objectNo, f.FieldNo, f.rowid)"},
    {"Table", "インデックス",
     R"(SELECT TableName, IndexName, "Primary", Clustered, "Foreign", "Unique", IgnoreNulls,
  Required, 'フィールド' AS pname, FieldName AS pvalue
FROM T_AcIndex ORDER BY objectNo, rowid)"},
    {"Form", "コントロール",
     R"(SELECT f.FormName, c.Name, c.ControlType, c.cntlVisible, c.TLWH, c.PropertyName AS pname,
  c.PropertyValue AS pvalue
FROM T_AcFrmItem c JOIN T_AcFrmInfo f ON f.objectNo = c.objectNo
ORDER BY c.objectNo, c.ControlNo, c.PropertyNo, c.rowid)"},
    {"Report", "コントロール",
     R"(SELECT r.ReportName, c.Name, c.ControlType, c.cntlVisible, c.TLWH, c.PropertyName AS pname,
  c.PropertyValue AS pvalue
FROM T_AcRepItem c JOIN T_AcRepInfo r ON r.objectNo = c.objectNo
ORDER BY c.objectNo, c.ControlNo, c.PropertyNo, c.rowid)"},
    {"Report", "グループ",
     R"(SELECT r.ReportName, 'レベル ' || g.GroupNo, g.ControlSource, g.SortOrder, g.GroupHeader,
  g.GroupFooter, g.GroupOn, g.GroupInterval, g.KeepTogether
FROM T_AcRepGrp g JOIN T_AcRepInfo r ON r.objectNo = g.objectNo
ORDER BY g.objectNo, g.GroupNo, g.rowid)"},
};

// T_AcModule's Label: the module listing's kinds.
constexpr std::pair<std::string_view, std::string_view> kCodeKinds[] = {
    {"1", "Form"}, {"2", "Report"}, {"3", "Module"}};

template <std::size_t N>
bool Listed(const std::string_view (&list)[N], std::string_view column) {
    return std::ranges::any_of(
        list, [&](std::string_view c) { return util::EqualsIgnoreCase(c, column); });
}

std::string LabelOf(std::string_view column) {
    for (const auto& l : kLabels)
        if (l.column == column)
            return std::string(l.label);
    return std::string(column);
}

std::string TextOf(const host::Value& v) {
    if (v.kind() == host::Value::Kind::Bool)
        return v.toBool() ? "はい" : "いいえ";
    return v.toText();
}

using Values = std::vector<std::pair<std::string, std::string>>;

// An empty value is the same as none: a run that did not collect it and one that found it empty
// agree.
void Put(Values& values, std::string name, std::string value, bool join = false) {
    if (value.empty() || name.empty())
        return;
    const auto found = std::ranges::find(values, name, &Values::value_type::first);
    if (found == values.end())
        values.emplace_back(std::move(name), std::move(value));
    else if (join)
        found->second += ", " + value;
}

struct Part {
    std::string kind;
    std::string name;
    Values values;
    friend bool operator==(const Part&, const Part&) = default;
};

struct Content {
    Values properties;
    std::vector<Part> parts;
    std::optional<std::string> sql;
    std::vector<NumberedLine> lines;

    // Enough to tell the object by under another name: its fields, controls, SQL, code or
    // actions. A description or a type alone is shared by too many objects.
    bool recognisable() const { return !parts.empty() || sql || !lines.empty(); }
};

// The content as one text, the way a rename is recognised: equal texts, equal content.
std::string Fingerprint(const Content& c) {
    std::string out;
    auto add = [&](std::string_view text) {
        out += text;
        out += '\x1f';
    };
    for (const auto& [name, value] : c.properties) {
        add(name);
        add(value);
    }
    for (const auto& p : c.parts) {
        add(p.kind);
        add(p.name);
        for (const auto& [name, value] : p.values) {
            add(name);
            add(value);
        }
        out += '\x1e';
    }
    add(NormaliseSql(c.sql.value_or("")));
    for (const auto& l : c.lines)
        add(l.text);
    return out;
}

int KindRank(std::string_view kind) {
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (kKinds[i].kind == kind)
            return static_cast<int>(i);
    return static_cast<int>(std::size(kKinds));
}

using Key = std::tuple<int, std::string, std::string>;  // rank, kind, name
using Snapshot = std::map<Key, Content>;

Content& Entry(Snapshot& s, const std::string& kind, const std::string& name) {
    return s[Key{KindRank(kind), kind, name}];
}

void ReadObjects(const workdb::WorkDatabase& db, const ObjectSource& source, Snapshot& s) {
    workdb::Query q(db, "SELECT * FROM " + std::string(source.table) + " ORDER BY rowid");
    const int columns = q.columnCount();
    while (q.next()) {
        const auto kind =
            source.kind.empty() ? q.value("Class").toText() : std::string(source.kind);
        const auto name = q.value(std::string(source.nameColumn)).toText();
        if (name.empty())
            continue;
        auto& content = Entry(s, kind, name);
        for (int i = 0; i < columns; ++i) {
            const auto column = q.columnName(i);
            if (column == source.nameColumn || Listed(kNoise, column) ||
                Listed(kBookkeeping, column) || column.starts_with("Ibent"))
                continue;
            if (column == "QuerySQL") {
                if (const auto sql = q.value(i).toText(); !sql.empty())
                    content.sql = sql;
                continue;
            }
            Put(content.properties, LabelOf(column), TextOf(q.value(i)));
        }
        for (int n = 1; source.events && n <= 4; ++n) {
            Put(content.properties, q.value("Ibent" + std::to_string(n)).toText(),
                q.value("IbentVL" + std::to_string(n)).toText());
        }
    }
}

void ReadParts(const workdb::WorkDatabase& db, const PartSource& source, Snapshot& s) {
    workdb::Query q(db, source.sql);
    const int columns = q.columnCount();
    while (q.next()) {
        const auto object = q.value(0).toText();
        const auto name = q.value(1).toText();
        if (object.empty() || name.empty())
            continue;
        auto& parts = Entry(s, std::string(source.kind), object).parts;
        if (parts.empty() || parts.back().kind != source.part || parts.back().name != name)
            parts.push_back({std::string(source.part), name, {}});
        auto& values = parts.back().values;
        for (int i = 2; i < columns; ++i) {
            const auto column = q.columnName(i);
            if (column == "pname" || Listed(kNoise, column))
                continue;
            if (column == "pvalue")
                Put(values, q.value(i - 1).toText(), TextOf(q.value(i)), true);
            else
                Put(values, LabelOf(column), TextOf(q.value(i)));
        }
    }
}

void ReadCode(const workdb::WorkDatabase& db, Snapshot& s) {
    workdb::Query q(db,
                    R"(SELECT Label, ObjectName, Line, ProcedureName, "Procedure" FROM T_AcModule
ORDER BY objectNo, Line, rowid)");
    while (q.next()) {
        const auto label = q.value(0).toText();
        const auto kind =
            std::ranges::find_if(kCodeKinds, [&](const auto& k) { return k.first == label; });
        if (kind == std::end(kCodeKinds))
            continue;
        Entry(s, std::string(kind->second), q.value(1).toText())
            .lines.push_back({q.value(2).toInteger(), q.value(3).toText(), q.value(4).toText()});
    }
}

// A macro's actions as lines: the statement the conversion made (its arguments included), its
// condition and its comment, under the name of the macro of the group it belongs to.
void ReadMacros(const workdb::WorkDatabase& db, Snapshot& s) {
    workdb::Query q(db, R"(SELECT ObjectName, ProcName, "Procedure", AcWhere, Tekiyou FROM T_AcMacro
ORDER BY objectNo, ProcedureNo, LineNo, rowid)");
    while (q.next()) {
        const auto procName = q.value(1).toText();
        auto text = procName.empty() ? std::string() : "[" + procName + "] ";
        text += q.value(2).toText();
        if (const auto where = q.value(3).toText(); !where.empty())
            text += "  条件: " + where;
        if (const auto comment = q.value(4).toText(); !comment.empty())
            text += "  ' " + comment;
        auto& lines = Entry(s, "Macro", q.value(0).toText()).lines;
        lines.push_back({static_cast<std::int64_t>(lines.size() + 1), procName, std::move(text)});
    }
}

Snapshot Read(const workdb::WorkDatabase& db) {
    Snapshot s;
    for (const auto& source : kObjectSources)
        ReadObjects(db, source, s);
    for (const auto& source : kPartSources)
        ReadParts(db, source, s);
    ReadCode(db, s);
    ReadMacros(db, s);
    return s;
}

std::vector<ValueChange> CompareValues(const Values& a, const Values& b) {
    std::vector<ValueChange> out;
    auto find = [](const Values& v, const std::string& name) -> const std::string* {
        const auto found = std::ranges::find(v, name, &Values::value_type::first);
        return found == v.end() ? nullptr : &found->second;
    };
    for (const auto& [name, value] : a) {
        const auto* other = find(b, name);
        if (!other)
            out.push_back({name, value, std::nullopt});
        else if (*other != value)
            out.push_back({name, value, *other});
    }
    for (const auto& [name, value] : b)
        if (!find(a, name))
            out.push_back({name, std::nullopt, value});
    return out;
}

std::vector<PartChange> CompareParts(const std::vector<Part>& a, const std::vector<Part>& b) {
    using Index = std::map<std::pair<std::string_view, std::string_view>, const Part*>;
    auto index = [](const std::vector<Part>& parts) {
        Index out;
        for (const auto& p : parts)
            out.try_emplace({p.kind, p.name}, &p);
        return out;
    };
    const auto inA = index(a);
    const auto inB = index(b);
    std::vector<PartChange> out;
    for (const auto& p : a) {
        const auto other = inB.find({p.kind, p.name});
        if (other == inB.end()) {
            out.push_back({p.kind, p.name, Change::Removed, CompareValues(p.values, {})});
        } else if (auto values = CompareValues(p.values, other->second->values); !values.empty()) {
            out.push_back({p.kind, p.name, Change::Changed, std::move(values)});
        }
    }
    for (const auto& p : b)
        if (!inA.contains({p.kind, p.name}))
            out.push_back({p.kind, p.name, Change::Added, CompareValues({}, p.values)});
    return out;
}

std::optional<ObjectChange> CompareObject(const Key& key, const Content& a, const Content& b) {
    ObjectChange change{{std::get<1>(key), std::get<2>(key)},
                        CompareValues(a.properties, b.properties),
                        CompareParts(a.parts, b.parts),
                        {},
                        UnifiedDiff(a.lines, b.lines)};
    const auto before = a.sql.value_or("");
    const auto after = b.sql.value_or("");
    if (NormaliseSql(before) != NormaliseSql(after))
        change.sql = SqlTokenDiff(before, after);
    if (change.properties.empty() && change.parts.empty() && change.sql.empty() &&
        change.lines.empty())
        return std::nullopt;
    return change;
}

enum class Op : char { Keep, Remove, Add };

// Past this many differences between two texts the differing middle is given as removed and
// added whole: the search's trace grows with the square of the differences.
constexpr int kMaxEdits = 2000;

// Myers' greedy search for the shortest edit script of the middle part.
std::vector<Op> MiddleScript(std::span<const int> a, std::span<const int> b) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int max = n + m;
    std::vector<Op> ops;
    if (max == 0)
        return ops;
    const int off = max + 1;
    std::vector<int> v(static_cast<std::size_t>(2 * max + 3), 0);
    auto at = [&](int k) -> int& { return v[static_cast<std::size_t>(off + k)]; };
    // trace[d] holds v over k in [-d, d] as it stood before step d.
    std::vector<std::vector<int>> trace;
    for (int d = 0; d <= max; ++d) {
        if (d > kMaxEdits) {
            ops.assign(a.size(), Op::Remove);
            ops.insert(ops.end(), b.size(), Op::Add);
            return ops;
        }
        trace.emplace_back(v.begin() + off - d, v.begin() + off + d + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m &&
                   a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)])
                ++x, ++y;
            at(k) = x;
            if (x < n || y < m)
                continue;
            for (int e = d; e > 0; --e) {
                const auto& prev = trace[static_cast<std::size_t>(e)];
                auto was = [&](int kk) { return prev[static_cast<std::size_t>(kk + e)]; };
                const int kk = x - y;
                const int prevK =
                    (kk == -e || (kk != e && was(kk - 1) < was(kk + 1))) ? kk + 1 : kk - 1;
                const int prevX = was(prevK);
                const int prevY = prevX - prevK;
                for (; x > prevX && y > prevY; --x, --y)
                    ops.push_back(Op::Keep);
                ops.push_back(prevK == kk + 1 ? Op::Add : Op::Remove);
                x = prevX;
                y = prevY;
            }
            for (; x > 0; --x)
                ops.push_back(Op::Keep);
            std::ranges::reverse(ops);
            return ops;
        }
    }
    return ops;
}

std::vector<Op> EditScript(std::span<const int> a, std::span<const int> b) {
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    std::vector<Op> ops(prefix, Op::Keep);
    const auto middle = MiddleScript(a.subspan(prefix, a.size() - prefix - suffix),
                                     b.subspan(prefix, b.size() - prefix - suffix));
    ops.insert(ops.end(), middle.begin(), middle.end());
    ops.insert(ops.end(), suffix, Op::Keep);
    return ops;
}

// Equal texts get equal numbers, so that the search compares integers.
template <class Texts>
std::pair<std::vector<int>, std::vector<int>> Numbered(const Texts& a, const Texts& b, auto text) {
    std::unordered_map<std::string_view, int> ids;
    auto number = [&](const Texts& texts) {
        std::vector<int> out;
        for (const auto& t : texts)
            out.push_back(ids.try_emplace(text(t), static_cast<int>(ids.size())).first->second);
        return out;
    };
    auto first = number(a);
    return {std::move(first), number(b)};
}

constexpr std::string_view kSqlKeywords[] = {
    "ALL",    "ALTER",  "AND",      "AS",          "ASC",        "BETWEEN",   "BY",     "CREATE",
    "DELETE", "DESC",   "DISTINCT", "DISTINCTROW", "DROP",       "EXISTS",    "FALSE",  "FROM",
    "FULL",   "GROUP",  "HAVING",   "IN",          "INDEX",      "INNER",     "INSERT", "INTO",
    "IS",     "JOIN",   "LEFT",     "LIKE",        "NOT",        "NULL",      "ON",     "OPTION",
    "OR",     "ORDER",  "OUTER",    "OWNERACCESS", "PARAMETERS", "PERCENT",   "PIVOT",  "PROCEDURE",
    "RIGHT",  "SELECT", "SET",      "TABLE",       "TOP",        "TRANSFORM", "TRUE",   "UNION",
    "UPDATE", "VALUES", "WHERE",    "WITH"};

bool IsWordByte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           c >= 0x80;
}

bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::vector<std::string> SqlTokens(std::string_view sql) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        const auto c = static_cast<unsigned char>(sql[i]);
        const std::size_t start = i;
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == '\'' || c == '"' || c == '[' || c == '#') {
            const char close = c == '[' ? ']' : static_cast<char>(c);
            for (++i; i < sql.size(); ++i) {
                if (sql[i] != close)
                    continue;
                // A quote doubled inside a literal is one quote.
                if (close != ']' && close != '#' && i + 1 < sql.size() && sql[i + 1] == close) {
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            tokens.emplace_back(sql.substr(start, i - start));
            continue;
        }
        if (IsWordByte(c)) {
            while (i < sql.size() && IsWordByte(static_cast<unsigned char>(sql[i])))
                ++i;
            auto word = std::string(sql.substr(start, i - start));
            const auto upper = util::UCase(word);
            tokens.push_back(Listed(kSqlKeywords, upper) ? upper : std::move(word));
            continue;
        }
        const auto pair = sql.substr(i, 2);
        i += (pair == "<>" || pair == "<=" || pair == ">=") ? 2 : 1;
        tokens.emplace_back(sql.substr(start, i - start));
    }
    while (!tokens.empty() && tokens.back() == ";")
        tokens.pop_back();
    return tokens;
}

// Tokens separated by one blank, none around "." and "!" (qualified names), after "(" or
// before ")" and ",".
std::string Joined(std::span<const std::string> tokens) {
    std::string out;
    std::string_view previous;
    for (const auto& t : tokens) {
        const bool tight = previous == "(" || previous == "." || previous == "!" || t == ")" ||
                           t == "," || t == "." || t == "!";
        if (!out.empty() && !tight)
            out += ' ';
        out += t;
        previous = t;
    }
    return out;
}

}  // namespace

std::string_view KindLabel(std::string_view kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind)
            return k.label;
    return kind;
}

std::string NormaliseSql(std::string_view sql) { return Joined(SqlTokens(sql)); }

std::vector<DiffLine> SqlTokenDiff(std::string_view before, std::string_view after) {
    const auto a = SqlTokens(before);
    const auto b = SqlTokens(after);
    const auto [ia, ib] = Numbered(a, b, [](const std::string& t) { return std::string_view(t); });
    std::vector<std::pair<char, std::vector<std::string>>> runs;
    auto add = [&](char mark, const std::string& token) {
        if (runs.empty() || runs.back().first != mark)
            runs.emplace_back(mark, std::vector<std::string>());
        runs.back().second.push_back(token);
    };
    // Within a change the lost tokens come before the gained ones, however the script
    // interleaves them.
    std::vector<std::string> added;
    std::size_t x = 0;
    std::size_t y = 0;
    for (const auto op : EditScript(ia, ib)) {
        if (op == Op::Remove) {
            add('-', a[x++]);
        } else if (op == Op::Add) {
            added.push_back(b[y++]);
        } else {
            for (const auto& t : added)
                add('+', t);
            added.clear();
            add(' ', b[y++]);
            ++x;
        }
    }
    for (const auto& t : added)
        add('+', t);
    std::vector<DiffLine> out;
    for (const auto& [mark, tokens] : runs)
        out.push_back({mark, Joined(tokens)});
    return out;
}

std::vector<DiffLine> UnifiedDiff(const std::vector<NumberedLine>& before,
                                  const std::vector<NumberedLine>& after, int context) {
    const auto [ia, ib] =
        Numbered(before, after, [](const NumberedLine& l) { return std::string_view(l.text); });
    struct Step {
        Op op;
        std::size_t a;  // the line of `before` it is at (or would come before)
        std::size_t b;
    };
    std::vector<Step> steps;
    std::size_t x = 0;
    std::size_t y = 0;
    for (const auto op : EditScript(ia, ib)) {
        steps.push_back({op, x, y});
        x += op != Op::Add;
        y += op != Op::Remove;
    }
    std::vector<DiffLine> out;
    const auto gap = static_cast<std::size_t>(std::max(context, 0));
    std::size_t i = 0;
    while (i < steps.size()) {
        if (steps[i].op == Op::Keep) {
            ++i;
            continue;
        }
        // A hunk runs from `gap` kept lines before its first change to `gap` after its last,
        // taking in changes with no more than twice that between them.
        const std::size_t first = i > gap ? i - gap : 0;
        std::size_t last = i;
        for (std::size_t j = i + 1; j < steps.size() && j - last <= 2 * gap + 1; ++j)
            if (steps[j].op != Op::Keep)
                last = j;
        const std::size_t end = std::min(steps.size(), last + 1 + gap);
        std::size_t countA = 0;
        std::size_t countB = 0;
        for (auto j = first; j < end; ++j) {
            countA += steps[j].op != Op::Add;
            countB += steps[j].op != Op::Remove;
        }
        auto number = [](const std::vector<NumberedLine>& lines, std::size_t at) {
            if (lines.empty())
                return std::int64_t{0};
            return at < lines.size() ? lines[at].number : lines.back().number + 1;
        };
        const auto& changed = steps[i];
        const auto& procedure =
            changed.op == Op::Remove ? before[changed.a].procedure : after[changed.b].procedure;
        auto heading = "@@ -" + std::to_string(number(before, steps[first].a)) + "," +
                       std::to_string(countA) + " +" +
                       std::to_string(number(after, steps[first].b)) + "," +
                       std::to_string(countB) + " @@";
        if (!procedure.empty())
            heading += " " + procedure;
        out.push_back({'@', std::move(heading)});
        for (auto j = first; j < end; ++j) {
            const auto& s = steps[j];
            if (s.op == Op::Remove)
                out.push_back({'-', before[s.a].text});
            else
                out.push_back({s.op == Op::Add ? '+' : ' ', after[s.b].text});
        }
        i = end;
    }
    return out;
}

AnalysisDiff CompareAnalyses(const workdb::WorkDatabase& before,
                             const workdb::WorkDatabase& after) {
    const auto a = Read(before);
    const auto b = Read(after);
    AnalysisDiff out;
    std::vector<Snapshot::const_iterator> gone;
    std::vector<Snapshot::const_iterator> came;
    for (auto it = a.begin(); it != a.end(); ++it) {
        const auto other = b.find(it->first);
        if (other == b.end())
            gone.push_back(it);
        else if (auto change = CompareObject(it->first, it->second, other->second))
            out.changed.push_back(std::move(*change));
    }
    for (auto it = b.begin(); it != b.end(); ++it)
        if (!a.contains(it->first))
            came.push_back(it);
    // Objects that came are looked up by kind and content, each taken once, in name order.
    std::multimap<std::pair<std::string, std::string>, std::size_t> byContent;
    for (std::size_t j = 0; j < came.size(); ++j)
        if (came[j]->second.recognisable())
            byContent.emplace(std::pair(std::get<1>(came[j]->first), Fingerprint(came[j]->second)),
                              j);
    std::vector<bool> taken(came.size(), false);
    for (const auto& g : gone) {
        const auto& [rank, kind, name] = g->first;
        const auto match = !g->second.recognisable()
                               ? byContent.end()
                               : byContent.find(std::pair(kind, Fingerprint(g->second)));
        if (match != byContent.end()) {
            taken[match->second] = true;
            out.renamed.push_back({kind, name, std::get<2>(came[match->second]->first)});
            byContent.erase(match);
        } else {
            out.removed.push_back({kind, name});
        }
    }
    for (std::size_t j = 0; j < came.size(); ++j)
        if (!taken[j])
            out.added.push_back({std::get<1>(came[j]->first), std::get<2>(came[j]->first)});
    return out;
}

}  // namespace zanfor::diff
