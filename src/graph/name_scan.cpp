#include "graph/name_scan.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "util/vb_string.h"

namespace zanfor::graph {

namespace {

using Range = std::pair<std::size_t, std::size_t>;  // [first, last) of token indices
using Target = CodeUse::Target;

std::size_t blankLength(std::string_view text, std::size_t i) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
        return 1;
    return text.substr(i).starts_with(util::kIdeographicSpace) ? util::kIdeographicSpace.size() : 0;
}

// Any byte beyond ASCII continues a name: Japanese names are common, and damaged text still
// splits into names somehow.
bool isNameByte(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80)
        return blankLength(text, i) == 0;
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isWord(const Token& t, std::string_view word) {
    return t.kind == TokenKind::Word && util::EqualsIgnoreCase(t.text, word);
}
bool isSymbol(const Token& t, std::string_view symbol) {
    return t.kind == TokenKind::Symbol && t.text == symbol;
}
bool isName(const Token& t) { return t.kind == TokenKind::Word || t.kind == TokenKind::Bracketed; }
bool isNamed(const Token& t, std::string_view name) {
    return isName(t) && util::EqualsIgnoreCase(t.text, name);
}

bool isAnyWord(const Token& t, std::span<const std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&](auto w) { return isWord(t, w); });
}

constexpr std::array<std::string_view, 12> kDomainFunctions{
    "DLookup", "DCount", "DSum",   "DAvg",    "DMin", "DMax",
    "DFirst",  "DLast",  "DStDev", "DStDevP", "DVar", "DVarP"};

// The arguments of a call: inside the parentheses when `begin` is "(", else up to the end of
// the statement, split at the commas of their own level.
std::vector<Range> arguments(const std::vector<Token>& items, std::size_t begin) {
    std::vector<Range> result;
    const bool parenthesized = begin < items.size() && isSymbol(items[begin], "(");
    std::size_t first = parenthesized ? begin + 1 : begin;
    int depth = 0;
    std::size_t i = first;
    for (; i < items.size(); ++i) {
        const Token& t = items[i];
        if (isSymbol(t, "(")) {
            ++depth;
        } else if (isSymbol(t, ")")) {
            if (depth == 0 && parenthesized)
                break;
            --depth;
        } else if (depth == 0 && isSymbol(t, ",")) {
            result.emplace_back(first, i);
            first = i + 1;
        }
    }
    if (i > first || !result.empty())
        result.emplace_back(first, i);
    return result;
}

// Argument `index`, or the one passed by `name` (`FormName:="F"`).
std::optional<Range> argument(const std::vector<Token>& items, const std::vector<Range>& args,
                              std::size_t index, std::string_view name) {
    const auto named = [&](const Range& r) {
        return r.second - r.first >= 2 && isName(items[r.first]) &&
               isSymbol(items[r.first + 1], ":=");
    };
    for (const Range& r : args) {
        if (named(r) && util::EqualsIgnoreCase(items[r.first].text, name))
            return Range{r.first + 2, r.second};
    }
    if (index < args.size() && !named(args[index]) && args[index].first < args[index].second)
        return args[index];
    return std::nullopt;
}

// An argument's value: its string literals joined, and whether anything else took part.
struct Expression {
    std::string literal;
    bool dynamic = false;
    std::string written;  // the expression as the code has it, near enough to recognise
};

// A string passed to a call inside the expression (`rs.Fields("Table")`) is not part of it.
Expression evaluate(const std::vector<Token>& items, Range r) {
    Expression e;
    std::vector<bool> calls;  // per open parenthesis: whether it opens a call
    for (std::size_t i = r.first; i < r.second; ++i) {
        const Token& t = items[i];
        if (isSymbol(t, "("))
            calls.push_back(i > r.first && isName(items[i - 1]));
        else if (isSymbol(t, ")") && !calls.empty())
            calls.pop_back();
        const bool inCall = std::find(calls.begin(), calls.end(), true) != calls.end();
        if (!e.written.empty())
            e.written += ' ';
        if (t.kind == TokenKind::String && !inCall) {
            e.literal += t.text;
            e.written += '"' + t.text + '"';
        } else {
            e.written += t.kind == TokenKind::Bracketed ? '[' + t.text + ']'
                         : t.kind == TokenKind::String  ? '"' + t.text + '"'
                                                        : t.text;
            if (!isSymbol(t, "&") && !isSymbol(t, "+") && !isSymbol(t, "(") && !isSymbol(t, ")"))
                e.dynamic = true;
        }
    }
    return e;
}

std::string unbracket(std::string_view name) {
    const std::string trimmed = util::Trim(name);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']')
        return trimmed.substr(1, trimmed.size() - 2);
    return trimmed;
}

Call callAt(const std::vector<Token>& items, const std::string& name, std::size_t begin) {
    Call call{name, {}};
    for (const Range& r : arguments(items, begin)) {
        const bool literal = r.second - r.first == 1 && items[r.first].kind == TokenKind::String;
        call.arguments.push_back(literal ? std::optional(items[r.first].text) : std::nullopt);
    }
    return call;
}

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end())
        list.push_back(name);
}

// What the DoCmd methods name, and where: the argument's position and its name.
struct DoCmdMethod {
    std::string_view method;
    std::size_t index;
    std::string_view argument;
    Target target;
    std::string_view label = {};  // the edge's kind when it is not the method's name
};

constexpr DoCmdMethod kDoCmdMethods[] = {
    {"OpenForm", 0, "FormName", Target::Form},
    {"OpenForm", 2, "FilterName", Target::Query, "FilterName"},
    {"OpenReport", 0, "ReportName", Target::Report},
    {"OpenReport", 2, "FilterName", Target::Query, "FilterName"},
    {"OpenQuery", 0, "QueryName", Target::Query},
    {"OpenTable", 0, "TableName", Target::Table},
    {"RunMacro", 0, "MacroName", Target::Macro},
    {"RunSQL", 0, "SQLStatement", Target::Sql},
    {"ApplyFilter", 0, "FilterName", Target::Query},
    {"TransferText", 2, "TableName", Target::DataSource},
    {"TransferSpreadsheet", 2, "TableName", Target::DataSource},
};

// The methods whose first argument is an AcObjectType and whose second names the object.
constexpr std::string_view kTypedMethods[] = {"SelectObject", "OutputTo",   "SendObject",  "Close",
                                              "Save",         "GoToRecord", "DeleteObject"};

// AcObjectType and the AcOutputObjectType / AcSendObjectType names of the same numbers.
std::optional<Target> objectTypeOf(const Token& t) {
    static constexpr Target kByNumber[] = {Target::Table, Target::Query, Target::Form,
                                           Target::Report, Target::Macro};
    static constexpr std::string_view kNames[] = {"Table", "Query", "Form", "Report", "Macro"};
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        for (const std::string_view prefix : {"ac", "acOutput", "acSend"}) {
            if (util::EqualsIgnoreCase(t.text, std::string(prefix) + std::string(kNames[i])) ||
                t.text == std::to_string(i))
                return kByNumber[i];
        }
    }
    return std::nullopt;
}

class CodeScan {
public:
    explicit CodeScan(std::string_view statement)
        : items_(Tokenize(statement, Dialect::Vba).items), used_(items_.size(), false) {}

    std::vector<CodeUse> run() {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const Token& t = items_[i];
            const bool member = i > 0 && isSymbol(items_[i - 1], ".");
            if (isWord(t, "DoCmd") && i + 2 < items_.size() && isSymbol(items_[i + 1], "."))
                doCmd(items_[i + 2].text, i + 3);
            else if (member && isWord(t, "Execute"))
                named(i + 1, 0, "Query", "Execute", Target::Sql);
            else if (member && isWord(t, "OpenRecordset"))
                named(i + 1, 0, "Name", "OpenRecordset", Target::DataSource);
            else if (member && isWord(t, "SourceObject") && i + 2 < items_.size() &&
                     isSymbol(items_[i + 1], "=") && items_[i + 2].kind == TokenKind::String)
                sourceObject(i + 2);
            else if (member && isWord(t, "Run"))
                named(i + 1, 0, "Procedure", "Run", Target::Procedure);
            else if (isNamed(t, "Forms") || isNamed(t, "Reports"))
                collection(i,
                           util::EqualsIgnoreCase(t.text, "Forms") ? Target::Form : Target::Report);
            else if (isAnyWord(t, kDomainFunctions) && i + 1 < items_.size() &&
                     isSymbol(items_[i + 1], "("))
                named(i + 1, 1, "Domain", t.text, Target::DataSource);
        }
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (!used_[i] && items_[i].kind == TokenKind::String && LooksLikeSql(items_[i].text))
                uses_.push_back({"SQL", Target::Sql, items_[i].text, false, true});
        }
        return std::move(uses_);
    }

private:
    void doCmd(std::string_view method, std::size_t begin) {
        for (const DoCmdMethod& m : kDoCmdMethods) {
            if (util::EqualsIgnoreCase(method, m.method))
                named(begin, m.index, m.argument, m.label.empty() ? m.method : m.label, m.target);
        }
        for (std::string_view typed : kTypedMethods) {
            if (!util::EqualsIgnoreCase(method, typed))
                continue;
            const auto args = arguments(items_, begin);
            const auto type = argument(items_, args, 0, "ObjectType");
            if (!type || type->second - type->first != 1)
                return;
            if (const auto target = objectTypeOf(items_[type->first]))
                use(argument(items_, args, 1, "ObjectName"), typed, *target);
            return;
        }
    }

    void named(std::size_t begin, std::size_t index, std::string_view name, std::string_view kind,
               Target target) {
        const auto args = arguments(items_, begin);
        use(argument(items_, args, index, name), kind, target);
    }

    void use(std::optional<Range> r, std::string_view kind, Target target) {
        if (!r)
            return;
        for (std::size_t i = r->first; i < r->second; ++i)
            used_[i] = true;
        Expression e = evaluate(items_, *r);
        if (target == Target::DataSource && LooksLikeSql(e.literal))
            target = Target::Sql;
        // The literal parts of SQL built with `&` still name its tables for certain.
        if (target == Target::Sql && e.dynamic && !ScanSql(e.literal).sources.empty()) {
            uses_.push_back({std::string(kind), target, e.literal});
            return;
        }
        if (e.dynamic)
            uses_.push_back({std::string(kind), target, e.written, true});
        else if (!e.literal.empty())
            uses_.push_back({std::string(kind), target,
                             target == Target::Sql ? e.literal : unbracket(e.literal)});
    }

    // `ctl.SourceObject = "F"` puts another form in a subform control while the form runs.
    void sourceObject(std::size_t literal) {
        used_[literal] = true;
        uses_.push_back({"SourceObject", Target::Form, items_[literal].text});
    }

    // Forms!F, Forms![F], Forms("F"), Forms.Item("F").
    void collection(std::size_t i, Target target) {
        const std::string kind = items_[i].text;
        std::size_t next = i + 1;
        if (next + 2 < items_.size() && isSymbol(items_[next], ".") &&
            isWord(items_[next + 1], "Item"))
            next += 2;
        if (next + 1 < items_.size() && isSymbol(items_[next], "!") && isName(items_[next + 1])) {
            uses_.push_back({kind + "!", target, items_[next + 1].text});
        } else if (next + 2 < items_.size() && isSymbol(items_[next], "(") &&
                   items_[next + 1].kind == TokenKind::String && isSymbol(items_[next + 2], ")")) {
            used_[next + 1] = true;
            uses_.push_back({kind + "()", target, items_[next + 1].text});
        }
    }

    std::vector<Token> items_;
    std::vector<bool> used_;
    std::vector<CodeUse> uses_;
};

}  // namespace

Tokens Tokenize(std::string_view text, Dialect dialect) {
    Tokens out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (const std::size_t blank = blankLength(text, i)) {
            i += blank;
            continue;
        }
        if (c == '\'' && dialect == Dialect::Vba)
            break;
        if (c == '"' || (c == '\'' && dialect == Dialect::Sql)) {
            std::string literal;
            std::size_t j = i + 1;
            for (;; ++j) {
                if (j >= text.size()) {
                    out.unclosed = true;
                    return out;
                }
                if (text[j] == c) {
                    if (j + 1 < text.size() && text[j + 1] == c) {
                        literal += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                literal += text[j];
            }
            out.items.push_back({TokenKind::String, std::move(literal)});
            i = j + 1;
            continue;
        }
        if (c == '[') {
            const std::size_t close = text.find(']', i + 1);
            if (close == std::string_view::npos) {
                out.unclosed = true;
                return out;
            }
            out.items.push_back(
                {TokenKind::Bracketed, std::string(text.substr(i + 1, close - i - 1))});
            i = close + 1;
            continue;
        }
        if (isNameByte(text, i)) {
            const std::size_t start = i;
            const bool number = c >= '0' && c <= '9';
            while (i < text.size() && (isNameByte(text, i) || (number && text[i] == '.')))
                ++i;
            out.items.push_back({number ? TokenKind::Number : TokenKind::Word,
                                 std::string(text.substr(start, i - start))});
            continue;
        }
        const bool assign = c == ':' && i + 1 < text.size() && text[i + 1] == '=';
        out.items.push_back({TokenKind::Symbol, std::string(text.substr(i, assign ? 2 : 1))});
        i += assign ? 2 : 1;
    }
    return out;
}

bool LooksLikeSql(std::string_view text) {
    static constexpr std::string_view kVerbs[] = {"SELECT", "INSERT",    "UPDATE",
                                                  "DELETE", "TRANSFORM", "PARAMETERS"};
    std::size_t i = 0;
    while (i < text.size() && (blankLength(text, i) || text[i] == '('))
        i += std::max<std::size_t>(blankLength(text, i), 1);
    std::size_t end = i;
    while (end < text.size() && isNameByte(text, end))
        ++end;
    const std::string_view word = text.substr(i, end - i);
    const bool verb = std::any_of(std::begin(kVerbs), std::end(kVerbs),
                                  [&](auto v) { return util::EqualsIgnoreCase(word, v); });
    return verb && end < text.size() && !isNameByte(text, end);
}

SqlUses ScanSql(std::string_view sql) {
    static constexpr std::string_view kClauseEnds[] = {
        "WHERE", "GROUP",  "ORDER",  "HAVING",    "UNION",      "PIVOT",
        "SET",   "VALUES", "SELECT", "TRANSFORM", "PARAMETERS", "WITH"};
    enum class Expect { Nothing, Source, Target };
    Tokens tokens = Tokenize(sql, Dialect::Sql);
    const std::vector<Token>& items = tokens.items;
    SqlUses uses;
    uses.unclosed = tokens.unclosed;
    std::vector<bool> inFrom{false};  // per parenthesis level: inside a FROM clause
    Expect expect = Expect::Nothing;
    bool deleting = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Token& t = items[i];
        const bool call = i + 1 < items.size() && isSymbol(items[i + 1], "(");
        if (isSymbol(t, "(")) {
            inFrom.push_back(false);
        } else if (isSymbol(t, ")")) {
            if (inFrom.size() > 1)
                inFrom.pop_back();
            expect = Expect::Nothing;
        } else if (isSymbol(t, ",")) {
            if (inFrom.back())
                expect = Expect::Source;
        } else if (isSymbol(t, ";")) {
            inFrom.back() = false;
            expect = Expect::Nothing;
        } else if (isWord(t, "FROM")) {
            inFrom.back() = true;
            expect = Expect::Source;
        } else if (isWord(t, "JOIN")) {
            expect = Expect::Source;
        } else if (isWord(t, "INTO") || isWord(t, "UPDATE") || isWord(t, "TABLE")) {
            expect = Expect::Target;
        } else if (isWord(t, "DELETE")) {
            deleting = true;
        } else if (isAnyWord(t, kClauseEnds)) {
            inFrom.back() = false;
            expect = Expect::Nothing;
        } else if (isName(t) && !t.text.empty() && expect != Expect::Nothing) {
            const bool written =
                expect == Expect::Target || (deleting && inFrom.size() == 1 && inFrom.back());
            uses.sources.push_back({t.text, written});
            expect = Expect::Nothing;
        } else if (t.kind == TokenKind::Word && call) {
            addOnce(uses.functions, t.text);
            uses.calls.push_back(callAt(items, t.text, i + 1));
            if (isAnyWord(t, kDomainFunctions)) {
                const auto args = arguments(items, i + 1);
                if (args.size() > 1 && args[1].second - args[1].first == 1 &&
                    items[args[1].first].kind == TokenKind::String)
                    addOnce(uses.domains, unbracket(items[args[1].first].text));
            }
        }
    }
    return uses;
}

std::vector<CodeUse> ScanCode(std::string_view statement) { return CodeScan(statement).run(); }

std::vector<Call> CallsIn(std::string_view statement) {
    const std::vector<Token> items = Tokenize(statement, Dialect::Vba).items;
    std::vector<Call> calls;
    const std::size_t first = !items.empty() && isWord(items[0], "Call") ? 1 : 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != TokenKind::Word || (i > 0 && isSymbol(items[i - 1], ".")))
            continue;
        const bool paren = i + 1 < items.size() && isSymbol(items[i + 1], "(");
        // A statement that is a bare call: its name, then its arguments or nothing.
        const bool bare = i == first && (i + 1 == items.size() || !(isSymbol(items[i + 1], "=") ||
                                                                    isSymbol(items[i + 1], ".") ||
                                                                    isSymbol(items[i + 1], "!")));
        if (paren || bare)
            calls.push_back(callAt(items, items[i].text, i + 1));
    }
    return calls;
}

std::optional<Assignment> AssignmentIn(std::string_view statement) {
    const std::vector<Token> items = Tokenize(statement, Dialect::Vba).items;
    std::size_t i = 0;
    while (i < items.size() &&
           isAnyWord(items[i], std::array<std::string_view, 5>{"Private", "Public", "Global",
                                                               "Const", "Let"}))
        ++i;
    if (i + 2 > items.size() || items[i].kind != TokenKind::Word)
        return std::nullopt;
    std::size_t equals = i + 1;
    if (equals + 1 < items.size() && isWord(items[equals], "As"))
        equals += 2;
    if (equals >= items.size() || !isSymbol(items[equals], "="))
        return std::nullopt;
    const bool literal = equals + 2 == items.size() && items[equals + 1].kind == TokenKind::String;
    return Assignment{items[i].text,
                      literal ? std::optional(items[equals + 1].text) : std::nullopt};
}

std::vector<std::string> ParameterNames(std::string_view parameters) {
    std::vector<std::string> names;
    const std::vector<Token> items = Tokenize(parameters, Dialect::Vba).items;
    bool expectName = true;
    for (const Token& t : items) {
        if (isSymbol(t, ",")) {
            expectName = true;
        } else if (expectName && t.kind == TokenKind::Word &&
                   !isAnyWord(t, std::array<std::string_view, 4>{"Optional", "ByVal", "ByRef",
                                                                 "ParamArray"})) {
            names.push_back(t.text);
            expectName = false;
        }
    }
    return names;
}

}  // namespace zanfor::graph
