#include "host/jet/query_sql.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/jet/expression_type.h"

namespace zanfor::host::jet {

namespace {

constexpr std::string_view kNewline = "\r\n";

constexpr int kAllFields = 0x01;
constexpr int kDistinct = 0x02;  // in a union query: UNION rather than UNION ALL
constexpr int kOwnerAccess = 0x04;
constexpr int kDistinctRow = 0x08;
constexpr int kTop = 0x10;
constexpr int kPercent = 0x20;

constexpr int kAppendValue = 0x8000;  // an INSERT ... VALUES item, not a SELECT column
constexpr int kCrosstabPivot = 0x01;
constexpr int kCrosstabRowHeading = 0x02;

constexpr std::string_view kUnionPart1 = "X7YZ_____1";
constexpr std::string_view kUnionPart2 = "X7YZ_____2";

// Jet allows no more tables than this in one query; beyond it, asking the caller for every
// table's fields to place an unqualified column would only cost time on a damaged file.
constexpr std::size_t kMaxTablesToSearch = 64;

int FlagOf(const QueryRow* row) { return row != nullptr && row->flag ? *row->flag : 0; }

bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsAsciiAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Jet takes letters of any script in a bare name, so only ASCII punctuation calls for brackets.
bool IsNameChar(unsigned char c) {
    return c >= 0x80 || IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '_';
}

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0';
}

// Access stores the text of data-definition and pass-through queries as a C string, its NUL
// terminator included, which would otherwise travel into every report of the SQL.
std::string WithoutTerminator(std::string_view text) {
    while (!text.empty() && text.back() == '\0')
        text.remove_suffix(1);
    return std::string(text);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && Lower(a) == Lower(b);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool IsBracketed(std::string_view s) {
    return s.size() >= 2 && s.front() == '[' && s.back() == ']';
}

std::string_view Unbracket(std::string_view s) {
    return IsBracketed(s) ? s.substr(1, s.size() - 2) : s;
}

bool NeedsBrackets(std::string_view s) {
    if (s.empty())
        return false;
    if (IsAsciiDigit(static_cast<unsigned char>(s.front())))
        return true;
    return !std::all_of(s.begin(), s.end(), [](char c) { return IsNameChar(c); });
}

std::string QuoteName(std::string_view s) {
    if (IsBracketed(s) || !NeedsBrackets(s))
        return std::string(s);
    return "[" + std::string(s) + "]";
}

std::vector<std::string_view> SplitOutsideBrackets(std::string_view s,
                                                   std::string_view separators) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    bool inBrackets = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '[')
            inBrackets = true;
        else if (s[i] == ']')
            inBrackets = false;
        else if (!inBrackets && separators.find(s[i]) != std::string_view::npos) {
            parts.push_back(s.substr(start, i - start));
            start = i;
        }
    }
    parts.push_back(s.substr(start));
    return parts;
}

std::string QuoteEachPart(std::string_view s, std::string_view separators) {
    std::string out;
    bool first = true;
    for (std::string_view part : SplitOutsideBrackets(s, separators)) {
        if (!first) {
            out += part.front();
            part.remove_prefix(1);
        }
        first = false;
        out += QuoteName(part);
    }
    return out;
}

// Update and append targets are stored as references, "T.F" or "[T].[F]", bracketed part by part.
std::string QuoteDotted(std::string_view s) { return QuoteEachPart(s, "."); }

std::string Qualified(std::string_view table, std::string_view field) {
    return "[" + std::string(table) + "].[" + std::string(field) + "]";
}

// Parameter names are kept as typed in the Parameters dialog, where brackets are optional; the
// SQL needs them around a name with spaces, and around each part of a Forms!...! reference.
std::string QuoteParameter(std::string_view s) {
    if (s.find_first_of("[]") != std::string_view::npos)
        return std::string(s);
    if (s.find('!') == std::string_view::npos)
        return QuoteName(s);
    return QuoteEachPart(s, "!.");
}

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += separator;
        out += items[i];
    }
    return out;
}

std::string Words(std::initializer_list<std::string_view> words) {
    std::string out;
    for (std::string_view word : words) {
        if (word.empty())
            continue;
        if (!out.empty())
            out += ' ';
        out += word;
    }
    return out;
}

std::string_view ParameterType(int code) {
    switch (code) {
        case 1:
            return "Bit";
        case 2:
            return "Byte";
        case 3:
            return "Short";
        case 4:
            return "Long";
        case 5:
            return "Currency";
        case 6:
            return "IEEESingle";
        case 7:
            return "IEEEDouble";
        case 8:
            return "DateTime";
        case 9:
            return "Binary";
        case 10:
            return "Text";
        case 11:
            return "LongBinary";
        case 12:
            return "LongText";
        case 15:
            return "Guid";
        case 16:
            return "Decimal";
        default:
            return "Value";
    }
}

// LvExtra is a Long column; callers may hand it over as its decimal text or as its four bytes.
long long ExtraNumber(std::string_view raw) {
    if (raw.empty())
        return 0;
    if (raw.size() <= 9 && std::all_of(raw.begin(), raw.end(), [](char c) {
            return IsAsciiDigit(static_cast<unsigned char>(c));
        })) {
        long long n = 0;
        for (char c : raw)
            n = n * 10 + (c - '0');
        return n;
    }
    if (raw.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i)
            n = n << 8 | static_cast<unsigned char>(raw[i]);
        return static_cast<std::int32_t>(n);
    }
    return 0;
}

std::string InClause(std::string_view path, std::string_view type) {
    if (path.empty() && type.empty())
        return {};
    std::string out = " IN '";
    for (char c : path) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    out += '\'';
    if (!type.empty()) {
        out += " [";
        out += type;
        out += ']';
    }
    return out;
}

std::string ConnectString(std::string_view path, std::string_view type) {
    std::string out(type);
    if (path.empty())
        return out;
    if (out.empty() || out.back() != ';')
        out += ';';
    out += "DATABASE=";
    out += path;
    return out;
}

// Line breaks inside stored SQL text come as CR LF, LF or CR; the rebuilt text uses CR LF.
std::string CrLfLines(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += kNewline;
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string_view WithoutTrailingSemicolons(std::string_view s) {
    s = Trim(s);
    while (!s.empty() && s.back() == ';')
        s = Trim(s.substr(0, s.size() - 1));
    return s;
}

struct Token {
    enum class Kind { Word, Bracketed, Text, Symbol };
    Kind kind;
    std::string_view text;
};

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t end = i + 1;
        Token::Kind kind = Token::Kind::Symbol;
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == '[') {
            const std::size_t close = s.find(']', i + 1);
            end = close == std::string_view::npos ? s.size() : close + 1;
            kind = Token::Kind::Bracketed;
        } else if (c == '"' || c == '\'') {
            while (end < s.size()) {
                if (s[end] == static_cast<char>(c)) {
                    if (end + 1 < s.size() && s[end + 1] == static_cast<char>(c)) {
                        end += 2;
                        continue;
                    }
                    ++end;
                    break;
                }
                ++end;
            }
            kind = Token::Kind::Text;
        } else if (IsNameChar(c)) {
            while (end < s.size() && IsNameChar(static_cast<unsigned char>(s[end])))
                ++end;
            kind = Token::Kind::Word;
        }
        tokens.push_back({kind, s.substr(i, end - i)});
        i = end;
    }
    return tokens;
}

bool IsWord(const Token& t, std::string_view word) {
    return t.kind == Token::Kind::Word && SameName(t.text, word);
}

bool IsSymbol(const Token& t, char c) {
    return t.kind == Token::Kind::Symbol && t.text.size() == 1 && t.text[0] == c;
}

bool IsKeyword(const Token& t) {
    static constexpr std::array<std::string_view, 27> kKeywords = {
        "SELECT", "FROM", "WHERE", "GROUP",   "BY",        "ORDER",      "HAVING",
        "UNION",  "ALL",  "ON",    "AS",      "INNER",     "LEFT",       "RIGHT",
        "OUTER",  "JOIN", "IN",    "AND",     "OR",        "NOT",        "DISTINCT",
        "TOP",    "INTO", "NULL",  "PERCENT", "TRANSFORM", "DISTINCTROW"};
    if (t.kind != Token::Kind::Word)
        return false;
    return std::any_of(kKeywords.begin(), kKeywords.end(),
                       [&](std::string_view k) { return SameName(t.text, k); });
}

// Numbers and Jet's constants are never field names, so an unnamed column of them is an Expr.
bool IsNameToken(const Token& t) {
    if (t.kind == Token::Kind::Bracketed)
        return true;
    if (t.kind != Token::Kind::Word || IsAsciiDigit(static_cast<unsigned char>(t.text.front())))
        return false;
    static constexpr std::array<std::string_view, 7> kConstants = {"Null", "True", "False", "Yes",
                                                                   "No",   "On",   "Off"};
    return std::none_of(kConstants.begin(), kConstants.end(),
                        [&](std::string_view k) { return SameName(t.text, k); });
}

struct Reference {
    std::vector<std::string> parts;
    bool star = false;
};

std::optional<Reference> ParseReference(std::string_view expression) {
    const std::vector<Token> tokens = Tokenize(expression);
    if (tokens.empty())
        return std::nullopt;
    Reference ref;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (i % 2 == 1) {
            if (!IsSymbol(t, '.'))
                return std::nullopt;
            continue;
        }
        if (IsSymbol(t, '*') && i + 1 == tokens.size()) {
            ref.star = true;
            return ref;
        }
        if (!IsNameToken(t))
            return std::nullopt;
        ref.parts.emplace_back(Unbracket(t.text));
    }
    if (tokens.size() % 2 == 0)
        return std::nullopt;
    return ref;
}

struct TableRef {
    std::string key;       // what joins and columns call it: the alias, else the name
    std::string realName;  // empty for a subquery in FROM
    std::string text;      // as written in the FROM clause
};

std::string TableText(const QueryRow& row) {
    std::string out;
    const std::string_view source = row.expression;
    if (!source.empty() && row.name1.empty()) {
        // Access 2000-2003 wrote a subquery in FROM as "[SELECT ...]. AS X", which cannot hold a
        // closing bracket; such a subquery keeps its parentheses instead.
        if (source.find(']') == std::string_view::npos)
            out = "[" + std::string(source) + "].";
        else
            out = "(" + std::string(WithoutTrailingSemicolons(source)) + ")";
    } else {
        if (!source.empty())
            out =
                (IsBracketed(source) ? std::string(source) : "[" + std::string(source) + "]") + ".";
        out += QuoteName(row.name1);
    }
    if (!row.name2.empty())
        out += " AS " + QuoteName(row.name2);
    return out;
}

struct FromClause {
    std::vector<std::string> items;
    std::vector<std::size_t> leaves;  // indices into the tables, in written order
};

std::string_view JoinKeyword(int type) {
    switch (type) {
        case 2:
            return " LEFT JOIN ";
        case 3:
            return " RIGHT JOIN ";
        default:
            return " INNER JOIN ";
    }
}

// Tables and joins are combined as DAO did: each join row joins the first FROM item holding its
// left table to the first holding its right one, appending the result; a second condition for
// a pair already joined goes in front of the earlier ones.
class FromBuilder {
public:
    explicit FromBuilder(std::vector<TableRef>& tables) : tables_(tables) {
        for (std::size_t i = 0; i < tables_.size(); ++i)
            addLeaf(i);
    }

    void join(const QueryRow& row) {
        std::size_t from = rootOf(row.name1);
        std::size_t to = rootOf(row.name2);
        const int type = FlagOf(&row);
        if (from != kNone && from == to) {
            if (nodes_[from].isJoin) {
                nodes_[from].on.push_back(row.expression);
                return;
            }
            to = kNone;
        }
        if (from == kNone)
            from = newLeaf(row.name1);
        if (to == kNone)
            to = newLeaf(row.name2);
        const std::size_t id = nodes_.size();
        nodes_.push_back({});
        Node& node = nodes_.back();
        node.isJoin = true;
        node.left = from;
        node.right = to;
        node.type = type;
        node.on.push_back(row.expression);
        parent_.push_back(id);
        parent_[from] = id;
        parent_[to] = id;
    }

    FromClause finish() const {
        FromClause clause;
        for (std::size_t id = 0; id < nodes_.size(); ++id) {
            if (parent_[id] == id) {
                clause.items.emplace_back();
                render(id, clause.items.back(), clause.leaves);
            }
        }
        return clause;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct Node {
        bool isJoin = false;
        std::size_t table = 0;
        std::size_t left = 0;
        std::size_t right = 0;
        int type = 0;
        std::vector<std::string_view> on;
    };

    std::size_t addLeaf(std::size_t table) {
        const std::size_t id = nodes_.size();
        nodes_.push_back({});
        nodes_.back().table = table;
        parent_.push_back(id);
        leavesByKey_[Lower(tables_[table].key)].push_back(id);
        return id;
    }

    std::size_t newLeaf(const std::string& name) {
        tables_.push_back({name, name, QuoteName(name)});
        return addLeaf(tables_.size() - 1);
    }

    std::size_t find(std::size_t id) {
        std::size_t root = id;
        while (parent_[root] != root)
            root = parent_[root];
        while (parent_[id] != root)
            id = std::exchange(parent_[id], root);
        return root;
    }

    // Items keep the order they were made in, so the first item holding a table is the oldest.
    std::size_t rootOf(const std::string& key) {
        const auto found = leavesByKey_.find(Lower(key));
        if (found == leavesByKey_.end())
            return kNone;
        std::size_t best = kNone;
        for (std::size_t leaf : found->second)
            best = std::min(best, find(leaf));
        return best;
    }

    void render(std::size_t root, std::string& out, std::vector<std::size_t>& leaves) const {
        struct Step {
            std::size_t node;
            int phase;
            bool top;
        };
        // An explicit stack: a damaged file may chain more joins than the call stack could nest.
        std::vector<Step> steps{{root, 0, true}};
        while (!steps.empty()) {
            const Step step = steps.back();
            steps.pop_back();
            const Node& node = nodes_[step.node];
            if (!node.isJoin) {
                out += tables_[node.table].text;
                leaves.push_back(node.table);
                continue;
            }
            if (step.phase == 0) {
                if (!step.top)
                    out += '(';
                steps.push_back({step.node, 1, step.top});
                steps.push_back({node.left, 0, false});
            } else if (step.phase == 1) {
                out += JoinKeyword(node.type);
                steps.push_back({step.node, 2, step.top});
                steps.push_back({node.right, 0, false});
            } else {
                out += " ON ";
                if (node.on.size() > 1)
                    out += '(';
                for (std::size_t i = node.on.size(); i-- > 0;) {
                    out += node.on[i];
                    if (i > 0)
                        out += ") AND (";
                }
                if (node.on.size() > 1)
                    out += ')';
                if (!step.top)
                    out += ')';
            }
        }
    }

    std::vector<TableRef>& tables_;
    std::vector<Node> nodes_;
    std::vector<std::size_t> parent_;
    std::unordered_map<std::string, std::vector<std::size_t>> leavesByKey_;
};

// Names the output columns as DAO's Fields collection did: the alias, else the field of a plain
// column, else "Expr" and 1000 plus the column's position; a name that would repeat becomes
// "Table.Field" where the table is known.
class ColumnNamer {
public:
    ColumnNamer(const std::vector<TableRef>& tables, std::vector<std::size_t> leaves,
                const StarFields& starFields)
        : tables_(tables), leaves_(std::move(leaves)), starFields_(starFields) {
        for (std::size_t i = 0; i < tables_.size(); ++i)
            byKey_.emplace(Lower(tables_[i].key), i);
    }

    void add(std::string_view expression, std::string_view alias, std::string_view target,
             std::size_t position) {
        const std::optional<Reference> ref = ParseReference(expression);
        if (ref && ref->star && alias.empty() && target.empty()) {
            if (ref->parts.empty())
                addAllFields();
            else if (ref->parts.size() == 1)
                expand(ref->parts[0]);
            return;
        }
        Named named;
        named.column.expression = std::string(expression);
        const bool plain = ref && !ref->star && ref->parts.size() <= 2;
        if (plain) {
            named.field = ref->parts.back();
            const TableRef* owner =
                ref->parts.size() == 2 ? qualifierTable(ref->parts[0]) : ownerOf(named.field);
            named.qualifier = owner != nullptr         ? owner->key
                              : ref->parts.size() == 2 ? ref->parts[0]
                                                       : std::string();
            if (owner != nullptr && !owner->realName.empty()) {
                named.column.sourceTable = owner->realName;
                named.column.sourceField = named.field;
            }
        }
        named.column.qualified = qualify(expression);
        if (!target.empty()) {
            const std::optional<Reference> targetRef = ParseReference(target);
            named.column.name = targetRef && !targetRef->star && !targetRef->parts.empty()
                                    ? targetRef->parts.back()
                                    : std::string(target);
            named.fixed = true;
        } else if (!alias.empty()) {
            named.column.name = std::string(Unbracket(alias));
            named.fixed = true;
        } else if (plain) {
            named.column.name = named.field;
        } else {
            named.column.name = "Expr" + std::to_string(1000 + position);
            named.fixed = true;
        }
        out_.push_back(std::move(named));
    }

    void addAllFields() {
        for (std::size_t leaf : leaves_)
            expandTable(tables_[leaf]);
    }

    std::vector<QueryColumn> finish() {
        std::unordered_map<std::string, int> counts;
        for (const Named& n : out_)
            ++counts[Lower(n.column.name)];
        std::vector<QueryColumn> columns;
        columns.reserve(out_.size());
        for (Named& n : out_) {
            if (!n.fixed && !n.qualifier.empty() && counts[Lower(n.column.name)] > 1)
                n.column.name = n.qualifier + "." + n.field;
            columns.push_back(std::move(n.column));
        }
        return columns;
    }

private:
    struct Named {
        QueryColumn column;
        std::string field;
        std::string qualifier;
        bool fixed = false;  // an alias or generated name, never qualified
    };

    const TableRef* byName(const std::string& key) const {
        const auto found = byKey_.find(Lower(key));
        return found == byKey_.end() ? nullptr : &tables_[found->second];
    }

    // A qualifier missing from FROM (a union part without one, say) still names a table when the
    // database has a table or query of that name.
    const TableRef* qualifierTable(const std::string& qualifier) {
        if (const TableRef* table = byName(qualifier))
            return table;
        if (fieldsOf(qualifier).empty())
            return nullptr;
        extra_.push_back({qualifier, qualifier, QuoteName(qualifier)});
        return &extra_.back();
    }

    const std::vector<std::string>& fieldsOf(const std::string& realName) {
        const std::string key = Lower(realName);
        auto found = fields_.find(key);
        if (found == fields_.end()) {
            std::vector<std::string> names;
            if (starFields_ && !realName.empty())
                names = starFields_(realName);
            found = fields_.emplace(key, std::move(names)).first;
        }
        return found->second;
    }

    // An unqualified field belongs to the one table of FROM that has it; with two, Jet would
    // refuse the query, so no source is claimed.
    const TableRef* ownerOf(const std::string& field) {
        if (leaves_.size() == 1)
            return &tables_[leaves_.front()];
        if (leaves_.size() > kMaxTablesToSearch)
            return nullptr;
        const TableRef* owner = nullptr;
        for (std::size_t leaf : leaves_) {
            const std::vector<std::string>& names = fieldsOf(tables_[leaf].realName);
            if (std::any_of(names.begin(), names.end(),
                            [&](const std::string& n) { return SameName(n, field); })) {
                if (owner != nullptr)
                    return nullptr;
                owner = &tables_[leaf];
            }
        }
        return owner;
    }

    // An unqualified name is a column of the one table of FROM that has it; it is none's when
    // it names a parameter or another column's alias, or when two tables have it. A lone table
    // whose fields are unknown is taken to have it, as for a plain column.
    const TableRef* ownerHaving(const std::string& field) {
        if (leaves_.size() > kMaxTablesToSearch)
            return nullptr;
        const TableRef* owner = nullptr;
        bool fieldsKnown = false;
        for (std::size_t leaf : leaves_) {
            const std::vector<std::string>& names = fieldsOf(tables_[leaf].realName);
            fieldsKnown = fieldsKnown || !names.empty();
            if (std::any_of(names.begin(), names.end(),
                            [&](const std::string& n) { return SameName(n, field); })) {
                if (owner != nullptr)
                    return nullptr;
                owner = &tables_[leaf];
            }
        }
        if (owner == nullptr && !fieldsKnown && leaves_.size() == 1)
            return &tables_[leaves_.front()];
        return owner;
    }

    // Aliases and unqualified names give way to the real names of the tables and queries, which
    // is all the typing of the column will know of this query.
    std::string qualify(std::string_view expression) {
        std::string out;
        std::size_t copied = 0;
        for (const NameReference& ref : NameReferences(expression)) {
            if (ref.bang || ref.parts.size() > 2)
                continue;
            const TableRef* owner =
                ref.parts.size() == 2 ? qualifierTable(ref.parts[0]) : ownerHaving(ref.parts[0]);
            if (owner == nullptr || owner->realName.empty())
                continue;
            out += expression.substr(copied, ref.begin - copied);
            out += Qualified(owner->realName, ref.parts.back());
            copied = ref.end;
        }
        out += expression.substr(copied);
        return out;
    }

    void expand(const std::string& qualifier) {
        if (const TableRef* table = byName(qualifier))
            expandTable(*table);
        else
            expandTable({qualifier, qualifier, QuoteName(qualifier)});
    }

    void expandTable(const TableRef& table) {
        if (table.realName.empty())
            return;
        for (const std::string& field : fieldsOf(table.realName)) {
            Named named;
            named.column.name = field;
            named.column.expression = QuoteName(table.key) + "." + QuoteName(field);
            named.column.qualified = Qualified(table.realName, field);
            named.column.sourceTable = table.realName;
            named.column.sourceField = field;
            named.field = field;
            named.qualifier = table.key;
            out_.push_back(std::move(named));
        }
    }

    const std::vector<TableRef>& tables_;
    std::vector<std::size_t> leaves_;
    const StarFields& starFields_;
    std::unordered_map<std::string, std::size_t> byKey_;
    std::unordered_map<std::string, std::vector<std::string>> fields_;
    std::deque<TableRef> extra_;  // a deque keeps the references handed out valid
    std::vector<Named> out_;
};

// The select list and tables of the first SELECT of a union's text, read loosely: enough to
// name the union's columns, which are the first SELECT's.
struct FirstSelect {
    struct Item {
        std::string expression;
        std::string alias;
    };
    std::vector<Item> items;
    std::vector<TableRef> tables;
};

FirstSelect ParseFirstSelect(std::string_view sql) {
    FirstSelect result;
    const std::vector<Token> tokens = Tokenize(sql);
    std::size_t i = 0;
    // A saved query's text may declare its parameters first.
    if (!tokens.empty() && IsWord(tokens[0], "PARAMETERS")) {
        while (i < tokens.size() && !IsSymbol(tokens[i], ';'))
            ++i;
        ++i;
    }
    while (i < tokens.size() && IsSymbol(tokens[i], '('))
        ++i;
    if (i >= tokens.size() || !IsWord(tokens[i], "SELECT"))
        return result;
    ++i;
    while (i < tokens.size()) {
        if (IsWord(tokens[i], "ALL") || IsWord(tokens[i], "DISTINCT") ||
            IsWord(tokens[i], "DISTINCTROW")) {
            ++i;
        } else if (IsWord(tokens[i], "TOP")) {
            i += 2;
            if (i < tokens.size() && IsWord(tokens[i], "PERCENT"))
                ++i;
        } else {
            break;
        }
    }
    const auto endsClause = [](const Token& t) {
        return IsWord(t, "FROM") || IsWord(t, "INTO") || IsWord(t, "WHERE") || IsWord(t, "GROUP") ||
               IsWord(t, "HAVING") || IsWord(t, "ORDER") || IsWord(t, "UNION") || IsSymbol(t, ';');
    };
    const auto addItem = [&](std::size_t first, std::size_t last) {
        if (first >= last)
            return;
        std::size_t exprEnd = last;
        std::string alias;
        if (last - first >= 3 && IsWord(tokens[last - 2], "AS")) {
            alias = std::string(Unbracket(tokens[last - 1].text));
            exprEnd = last - 2;
        }
        const char* begin = tokens[first].text.data();
        const char* end = tokens[exprEnd - 1].text.data() + tokens[exprEnd - 1].text.size();
        result.items.push_back({std::string(begin, end), std::move(alias)});
    };
    int depth = 0;
    std::size_t itemStart = i;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (depth == 0 && (endsClause(t) || IsSymbol(t, ')')))
            break;
        if (IsSymbol(t, '('))
            ++depth;
        else if (IsSymbol(t, ')'))
            --depth;
        else if (depth == 0 && IsSymbol(t, ',')) {
            addItem(itemStart, i);
            itemStart = i + 1;
        }
    }
    addItem(itemStart, i);
    if (i >= tokens.size() || !IsWord(tokens[i], "FROM"))
        return result;
    // A table name follows FROM, JOIN, a comma, or an opening parenthesis among those.
    const auto opensTable = [&](std::size_t k) {
        while (k > 0 && IsSymbol(tokens[k - 1], '('))
            --k;
        return k > 0 && (IsWord(tokens[k - 1], "FROM") || IsWord(tokens[k - 1], "JOIN") ||
                         IsSymbol(tokens[k - 1], ','));
    };
    depth = 0;
    for (++i; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (depth == 0 && endsClause(t))
            break;
        if (IsSymbol(t, '('))
            ++depth;
        else if (IsSymbol(t, ')') && --depth < 0)
            break;
        if (!IsNameToken(t) || IsKeyword(t) || !opensTable(i))
            continue;
        std::string name(Unbracket(t.text));
        std::size_t next = i + 1;
        if (next < tokens.size() && IsWord(tokens[next], "AS"))
            ++next;
        std::string key = name;
        if (next < tokens.size() && IsNameToken(tokens[next]) && !IsKeyword(tokens[next])) {
            key = std::string(Unbracket(tokens[next].text));
            i = next;
        }
        result.tables.push_back({std::move(key), name, QuoteName(name)});
    }
    return result;
}

class Rebuilder {
public:
    Rebuilder(std::vector<QueryRow> rows, const StarFields& starFields)
        : rows_(std::move(rows)), starFields_(starFields) {
        // Order holds a big-endian counter, so its bytes compare in the order Access wrote.
        std::stable_sort(rows_.begin(), rows_.end(), [](const QueryRow& a, const QueryRow& b) {
            if (a.attribute != b.attribute)
                return a.attribute < b.attribute;
            return std::lexicographical_compare(
                a.order.begin(), a.order.end(), b.order.begin(), b.order.end(), [](char x, char y) {
                    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                });
        });
        for (const QueryRow& row : rows_) {
            if (row.attribute > 0 && row.attribute < kAttributeCount)
                byAttribute_[row.attribute].push_back(&row);
        }
    }

    RebuiltQuery run() {
        RebuiltQuery result;
        const QueryRow* typeRow = first(kType);
        switch (FlagOf(typeRow)) {
            case 2:
                result.type = 80;
                break;
            case 3:
                result.type = 64;
                break;
            case 4:
                result.type = 48;
                break;
            case 5:
                result.type = 32;
                break;
            case 6:
                result.type = 16;
                break;
            case 7:
                result.type = 96;
                break;
            case 8:
                result.type = 112;
                break;
            case 9:
                result.type = 128;
                break;
            default:
                result.type = 0;
                break;
        }
        if (result.type == 96 || result.type == 112) {
            result.sql = WithoutTerminator(typeRow->expression);
            if (result.type == 112)
                result.connect = typeRow->name1;
            return result;
        }
        if (result.type == 128) {
            unionQuery(result);
            return result;
        }

        for (const QueryRow* row : byAttribute_[kTable])
            tables_.push_back(
                {row->name2.empty() ? row->name1 : row->name2, row->name1, TableText(*row)});
        FromBuilder builder(tables_);
        for (const QueryRow* row : byAttribute_[kJoin])
            builder.join(*row);
        from_ = builder.finish();

        const QueryRow* remote = first(kRemoteDatabase);
        if (remote != nullptr)
            result.connect = ConnectString(remote->name1, remote->expression);

        std::string body;
        switch (result.type) {
            case 16:
                body = crosstab(result);
                break;
            case 32:
                body = deleteQuery();
                break;
            case 48:
                body = update();
                break;
            case 64:
                body = append(*typeRow, result);
                break;
            default:
                body = select(typeRow, result);
                break;
        }
        result.sql = finishStatement(body);
        return result;
    }

private:
    const QueryRow* first(int attribute) const {
        const auto& rows = byAttribute_[attribute];
        return rows.empty() ? nullptr : rows.front();
    }

    int flags() const { return FlagOf(first(kFlags)); }

    std::string parameters() const {
        std::vector<std::string> items;
        for (const QueryRow* row : byAttribute_[kParameter]) {
            const int code = FlagOf(row);
            std::string item = QuoteParameter(row->name1) + " " + std::string(ParameterType(code));
            const long long size = code == 10 ? ExtraNumber(row->lvExtra) : 0;
            if (size > 0)
                item += " ( " + std::to_string(size) + " )";
            items.push_back(std::move(item));
        }
        if (items.empty())
            return {};
        return "PARAMETERS " + Join(items, ", ") + ";" + std::string(kNewline);
    }

    std::string finishStatement(const std::string& body) const {
        std::string sql = parameters() + body;
        if ((flags() & kOwnerAccess) != 0) {
            sql += kNewline;
            sql += "WITH OWNERACCESS OPTION";
        }
        return sql + ";";
    }

    std::string predicate() const {
        const int f = flags();
        std::string out;
        if ((f & kDistinct) != 0)
            out = "DISTINCT";
        else if ((f & kDistinctRow) != 0)
            out = "DISTINCTROW";
        const QueryRow* row = first(kFlags);
        if ((f & kTop) != 0 && row != nullptr && !row->name1.empty()) {
            out = Words({out, "TOP", row->name1});
            if ((f & kPercent) != 0)
                out += " PERCENT";
        }
        return out;
    }

    std::string distinctRowOnly() const {
        return (flags() & kDistinctRow) != 0 ? "DISTINCTROW" : "";
    }

    static std::string selectList(const std::vector<const QueryRow*>& columns, bool allFields) {
        std::vector<std::string> items;
        for (const QueryRow* row : columns) {
            if (row->expression.empty())
                continue;
            std::string item = row->expression;
            if (!row->name1.empty())
                item += " AS " + QuoteName(row->name1);
            items.push_back(std::move(item));
        }
        if (allFields)
            items.emplace_back("*");
        return Join(items, ", ");
    }

    std::string fromClause() const {
        if (from_.items.empty())
            return {};
        std::string out(kNewline);
        out += "FROM " + Join(from_.items, ", ");
        if (const QueryRow* remote = first(kRemoteDatabase))
            out += InClause(remote->name1, remote->expression);
        return out;
    }

    std::string clause(std::string_view keyword, int attribute) const {
        const QueryRow* row = first(attribute);
        if (row == nullptr || row->expression.empty())
            return {};
        return std::string(kNewline) + std::string(keyword) + " " + row->expression;
    }

    static std::string listClause(std::string_view keyword,
                                  const std::vector<const QueryRow*>& rows, bool descMarks) {
        std::vector<std::string> items;
        for (const QueryRow* row : rows) {
            if (row->expression.empty())
                continue;
            items.push_back(row->expression);
            if (descMarks && SameName(row->name1, "D"))
                items.back() += " DESC";
        }
        if (items.empty())
            return {};
        return std::string(kNewline) + std::string(keyword) + " " + Join(items, ", ");
    }

    std::string tail(const std::vector<const QueryRow*>& groupRows) const {
        return fromClause() + clause("WHERE", kWhere) + listClause("GROUP BY", groupRows, false) +
               clause("HAVING", kHaving) + listClause("ORDER BY", byAttribute_[kOrderBy], true);
    }

    std::string select(const QueryRow* typeRow, RebuiltQuery& result) const {
        const auto& columns = byAttribute_[kColumn];
        std::string sql =
            Words({"SELECT", predicate(), selectList(columns, (flags() & kAllFields) != 0)});
        if (result.type == 80) {
            sql += " INTO " + QuoteName(typeRow->name1) +
                   InClause(typeRow->name2, typeRow->expression);
            if (!typeRow->name2.empty() || !typeRow->expression.empty())
                result.connect = ConnectString(typeRow->name2, typeRow->expression);
        }
        result.columns = namedColumns(columns, (flags() & kAllFields) != 0, false);
        return sql + tail(byAttribute_[kGroupBy]);
    }

    std::string crosstab(RebuiltQuery& result) const {
        const QueryRow* transform = nullptr;
        const QueryRow* pivot = nullptr;
        std::vector<const QueryRow*> headings;
        for (const QueryRow* row : byAttribute_[kColumn]) {
            const int f = FlagOf(row);
            if ((f & kCrosstabRowHeading) != 0)
                headings.push_back(row);
            else if ((f & kCrosstabPivot) != 0)
                pivot = pivot != nullptr ? pivot : row;
            else
                transform = transform != nullptr ? transform : row;
        }
        std::vector<const QueryRow*> groups;
        for (const QueryRow* row : byAttribute_[kGroupBy]) {
            const int f = FlagOf(row);
            if ((f & kCrosstabRowHeading) != 0 || (f & kCrosstabPivot) == 0)
                groups.push_back(row);
        }
        std::string sql;
        if (transform != nullptr) {
            sql = "TRANSFORM " + selectList({transform}, false);
            sql += kNewline;
        }
        sql += Words({"SELECT", predicate(), selectList(headings, (flags() & kAllFields) != 0)});
        sql += tail(groups);
        if (pivot != nullptr) {
            sql += kNewline;
            sql += "PIVOT " + pivot->expression;
        }
        result.columns = namedColumns(headings, (flags() & kAllFields) != 0, false);
        return sql;
    }

    std::string deleteQuery() const {
        return Words({"DELETE", distinctRowOnly(),
                      selectList(byAttribute_[kColumn], (flags() & kAllFields) != 0)}) +
               tail(byAttribute_[kGroupBy]);
    }

    std::string update() const {
        std::vector<std::string> sets;
        for (const QueryRow* row : byAttribute_[kColumn])
            sets.push_back(QuoteDotted(row->name2) + " = " + row->expression);
        std::string sql = Words({"UPDATE", distinctRowOnly(), Join(from_.items, ", ")});
        if (const QueryRow* remote = first(kRemoteDatabase))
            sql += InClause(remote->name1, remote->expression);
        sql += kNewline;
        sql += "SET " + Join(sets, ", ");
        return sql + clause("WHERE", kWhere);
    }

    std::string append(const QueryRow& typeRow, RebuiltQuery& result) const {
        std::vector<const QueryRow*> selected;
        std::vector<std::string> values;
        std::vector<std::string> targets;
        for (const QueryRow* row : byAttribute_[kColumn]) {
            if ((FlagOf(row) & kAppendValue) != 0)
                values.push_back(row->expression);
            else
                selected.push_back(row);
            if (!row->name2.empty())
                targets.push_back(QuoteDotted(row->name2));
        }
        std::string sql = "INSERT INTO " + QuoteName(typeRow.name1);
        if (!targets.empty())
            sql += " (" + Join(targets, ", ") + ")";
        sql += InClause(typeRow.name2, typeRow.expression);
        if (!typeRow.name2.empty() || !typeRow.expression.empty())
            result.connect = ConnectString(typeRow.name2, typeRow.expression);
        sql += kNewline;
        if (!values.empty()) {
            sql += "VALUES (" + Join(values, ", ") + ")";
        } else {
            sql +=
                Words({"SELECT", predicate(), selectList(selected, (flags() & kAllFields) != 0)});
            sql += tail(byAttribute_[kGroupBy]);
        }
        result.columns = namedColumns(byAttribute_[kColumn], false, true);
        return sql;
    }

    std::vector<QueryColumn> namedColumns(const std::vector<const QueryRow*>& rows, bool allFields,
                                          bool appendTargets) const {
        ColumnNamer namer(tables_, from_.leaves, starFields_);
        for (std::size_t i = 0; i < rows.size(); ++i)
            namer.add(rows[i]->expression, rows[i]->name1,
                      appendTargets ? std::string_view(rows[i]->name2) : std::string_view(), i);
        if (allFields)
            namer.addAllFields();
        return namer.finish();
    }

    void unionQuery(RebuiltQuery& result) const {
        const QueryRow* part1 = nullptr;
        const QueryRow* part2 = nullptr;
        for (const QueryRow* row : byAttribute_[kTable]) {
            if (row->name2 == kUnionPart1 && part1 == nullptr)
                part1 = row;
            else if (row->name2 == kUnionPart2 && part2 == nullptr)
                part2 = row;
        }
        std::string body;
        if (part1 != nullptr)
            body = CrLfLines(WithoutTrailingSemicolons(part1->expression));
        if (part2 != nullptr) {
            if (!body.empty()) {
                body += kNewline;
                body += (flags() & kDistinct) != 0 ? "UNION " : "UNION ALL ";
            }
            body += CrLfLines(WithoutTrailingSemicolons(part2->expression));
        }
        body += listClause("ORDER BY", byAttribute_[kOrderBy], true);
        result.sql = finishStatement(body);

        const QueryRow* firstPart = part1 != nullptr ? part1 : part2;
        if (firstPart == nullptr)
            return;
        result.columns = ColumnsOfSelectText(firstPart->expression, starFields_);
    }

    std::vector<QueryRow> rows_;
    const StarFields& starFields_;
    std::array<std::vector<const QueryRow*>, kAttributeCount> byAttribute_;
    std::vector<TableRef> tables_;
    FromClause from_;
};

}  // namespace

RebuiltQuery RebuildQuery(std::vector<QueryRow> rows, const StarFields& starFields) {
    return Rebuilder(std::move(rows), starFields).run();
}

std::vector<QueryColumn> ColumnsOfSelectText(std::string_view sql, const StarFields& starFields) {
    const FirstSelect parsed = ParseFirstSelect(sql);
    if (parsed.items.empty())
        return {};
    std::vector<std::size_t> leaves(parsed.tables.size());
    for (std::size_t i = 0; i < leaves.size(); ++i)
        leaves[i] = i;
    ColumnNamer namer(parsed.tables, std::move(leaves), starFields);
    for (std::size_t i = 0; i < parsed.items.size(); ++i)
        namer.add(parsed.items[i].expression, parsed.items[i].alias, {}, i);
    return namer.finish();
}

void ReadQueriesInStarOrder(
    std::size_t count,
    const std::function<std::optional<std::vector<std::string>>(const std::string&)>& tableFields,
    const std::function<std::optional<std::size_t>(const std::string&)>& queryNamed,
    const std::function<std::vector<std::string>(std::size_t, const StarFields&)>& read) {
    std::vector<std::optional<std::vector<std::string>>> columns(count);
    std::vector<char> reading(count, 0);
    int nesting = 0;
    std::function<void(std::size_t)> readOne;
    const StarFields starFields = [&](const std::string& name) {
        if (auto fields = tableFields(name))
            return std::move(*fields);
        const auto q = queryNamed(name);
        if (!q || reading[*q] || nesting >= kMaxQueryNesting)
            return std::vector<std::string>();
        readOne(*q);
        return *columns[*q];
    };
    readOne = [&](std::size_t i) {
        if (columns[i])
            return;
        reading[i] = 1;
        ++nesting;
        columns[i] = read(i, starFields);
        --nesting;
        reading[i] = 0;
    };
    for (std::size_t i = 0; i < count; ++i)
        readOne(i);
}

}  // namespace zanfor::host::jet
