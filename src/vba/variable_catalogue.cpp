#include "vba/variable_catalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "core/program_files.h"
#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

constexpr std::size_t kTextLength = 255;
constexpr std::string_view kDeclarations = "(Declarations)";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Code is indented with blanks and tabs, and Japanese text may end in ideographic blanks.
std::string_view trimmed(std::string_view s) {
    for (;;) {
        if (!s.empty() && isBlank(s.front())) {
            s.remove_prefix(1);
        } else if (s.starts_with(util::kIdeographicSpace)) {
            s.remove_prefix(util::kIdeographicSpace.size());
        } else {
            break;
        }
    }
    for (;;) {
        if (!s.empty() && isBlank(s.back())) {
            s.remove_suffix(1);
        } else if (s.ends_with(util::kIdeographicSpace)) {
            s.remove_suffix(util::kIdeographicSpace.size());
        } else {
            break;
        }
    }
    return s;
}

// Takes the next blank-separated word off the front of `s`.
std::string_view takeWord(std::string_view& s) {
    s = trimmed(s);
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end]))
        ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

std::string_view peekWord(std::string_view s) { return takeWord(s); }

// A line as the editor joins it: a line that ends in a blank and "_" goes on with the next
// one, also when the "_" ends a comment.
struct LogicalLine {
    std::string text;
    long first = 0;
    long last = 0;
};

LogicalLine joinLines(const host::ModuleModel& model, long first) {
    LogicalLine joined{{}, first, first};
    for (;;) {
        std::string_view line = model.Line(joined.last);
        if (!EndsWithContinuation(line) || joined.last >= model.CountOfLines()) {
            joined.text += line;
            return joined;
        }
        line = line.substr(0, line.find_last_of('_'));
        joined.text += line;
        ++joined.last;
    }
}

// The statements of a logical line (split at ":" outside literals) and its comment.
struct ScannedLine {
    std::vector<std::string_view> statements;
    std::string_view comment;  // from the mark ("'" or "Rem") on; empty when there is none
    std::size_t markLength = 0;
};

bool startsRem(std::string_view s, std::size_t i) {
    return s.size() - i >= 3 && util::EqualsIgnoreCase(s.substr(i, 3), "REM") &&
           (s.size() - i == 3 || isBlank(s[i + 3]));
}

ScannedLine scan(std::string_view text) {
    ScannedLine out;
    bool inLiteral = false;
    bool atStatementStart = true;
    std::size_t begin = 0;
    std::size_t end = text.size();
    for (std::size_t i = 0; i < end; ++i) {
        const char c = text[i];
        if (inLiteral) {
            inLiteral = c != '"';
        } else if (c == '"') {
            inLiteral = true;
            atStatementStart = false;
        } else if (c == '\'' || (atStatementStart && startsRem(text, i))) {
            out.comment = text.substr(i);
            out.markLength = c == '\'' ? 1 : 3;
            end = i;
        } else if (c == ':' && !(i + 1 < end && text[i + 1] == '=')) {
            // ":=" names an argument; a lone ":" ends a statement or a label.
            out.statements.push_back(text.substr(begin, i - begin));
            begin = i + 1;
            atStatementStart = true;
        } else if (!isBlank(c)) {
            atStatementStart = false;
        }
    }
    out.statements.push_back(text.substr(begin, end - begin));
    return out;
}

// Runs `visit(i)` over the characters of `s` that lie outside literals and parentheses; stops
// at the first position it accepts.
template <typename Visit>
std::size_t findTopLevel(std::string_view s, Visit visit) {
    bool inLiteral = false;
    int depth = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (inLiteral) {
            inLiteral = c != '"';
        } else if (c == '"') {
            inLiteral = true;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = std::max(0, depth - 1);
        } else if (depth == 0 && visit(i)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The pieces of a list, split at its commas that separate names, not at those of bounds or
// values.
std::vector<std::string_view> splitList(std::string_view s) {
    std::vector<std::string_view> pieces;
    std::size_t begin = 0;
    for (;;) {
        const std::string_view rest = s.substr(begin);
        const std::size_t comma = findTopLevel(rest, [&](std::size_t i) { return rest[i] == ','; });
        pieces.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos)
            return pieces;
        begin += comma + 1;
    }
}

// The word "As" of a declaration, not the letters of a longer name ("lngAlias").
std::size_t findAs(std::string_view s) {
    return findTopLevel(s, [&](std::size_t i) {
        return (i == 0 || isBlank(s[i - 1])) && s.size() - i >= 2 &&
               util::EqualsIgnoreCase(s.substr(i, 2), "AS") &&
               (s.size() - i == 2 || isBlank(s[i + 2]));
    });
}

std::size_t findEquals(std::string_view s) {
    return findTopLevel(s, [&](std::size_t i) { return s[i] == '='; });
}

// A name and the text of its type or value, split at `at` (npos: the whole text is the name).
struct NameAndText {
    std::string_view name;
    std::optional<std::string_view> text;
};

NameAndText splitAt(std::string_view s, std::size_t at, std::size_t markLength) {
    if (at == std::string_view::npos)
        return {trimmed(s), std::nullopt};
    return {trimmed(s.substr(0, at)), trimmed(s.substr(at + markLength))};
}

// A decimal or "&H" whole number as an enum member's value is written; nothing for an
// expression.
std::optional<long long> WholeNumber(std::string_view text) {
    int base = 10;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        base = 16;
        text.remove_prefix(2);
    }
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return negative ? -value : value;
}

std::string prefixed(std::string_view prefix, const std::optional<std::string_view>& text) {
    return text ? std::string(prefix) + std::string(*text) : std::string();
}

enum class Block { None, Type, Enum };

struct Scope {
    std::string_view keyword;  // upper case
    std::string_view word;     // as the row writes it
};
constexpr std::array<Scope, 4> kScopes{{
    {"DIM", "Dim"},
    {"GLOBAL", "Global"},
    {"PUBLIC", "Public"},
    {"PRIVATE", "Private"},
}};

// Words that make a statement with a scope word something other than a declaration of a name
// the catalogue lists: procedure headings and events.
constexpr std::array<std::string_view, 5> kNotCatalogued{"SUB", "FUNCTION", "PROPERTY", "STATIC",
                                                         "EVENT"};

class DeclarationReader {
public:
    explicit DeclarationReader(const host::ModuleModel& model) : model_(model) {}

    std::vector<Declaration> read() {
        for (long n = 1; n <= model_.CountOfLines();) {
            const LogicalLine line = joinLines(model_, n);
            host::ProcKind kind{};
            section_ = model_.ProcOfLine(n, kind);
            line_ = n;
            // A block never runs on into another procedure's section, closed or not.
            if (block_ != Block::None && section_ != blockSection_)
                block_ = Block::None;
            const ScannedLine scanned = scan(line.text);
            comment_ = scanned.comment;
            markLength_ = scanned.markLength;
            for (std::string_view statement : scanned.statements)
                readStatement(trimmed(statement));
            n = line.last + 1;
        }
        return std::move(rows_);
    }

private:
    void readStatement(std::string_view statement) {
        if (statement.empty())
            return;
        if (block_ != Block::None) {
            readMember(statement);
            return;
        }
        std::string_view rest = statement;
        // A line number ("100 Dim x") labels the statement without being part of it.
        const std::string_view first = peekWord(rest);
        if (std::all_of(first.begin(), first.end(), [](char c) { return c >= '0' && c <= '9'; }))
            takeWord(rest);
        std::optional<std::string_view> scope;
        for (const Scope& s : kScopes) {
            if (util::EqualsIgnoreCase(peekWord(rest), s.keyword)) {
                scope = s.word;
                takeWord(rest);
                break;
            }
        }
        const std::string_view next = peekWord(rest);
        for (std::string_view word : kNotCatalogued) {
            if (util::EqualsIgnoreCase(next, word))
                return;
        }
        const bool declarations = section_.empty();
        if (util::EqualsIgnoreCase(next, "CONST")) {
            takeWord(rest);
            // A bare Const is private to its module or local to its procedure, as VBA scopes it.
            readList(rest, scope.value_or(declarations ? "Private" : "Dim"), kConstant);
        } else if (util::EqualsIgnoreCase(next, "TYPE")) {
            takeWord(rest);
            beginBlock(Block::Type, rest, scope.value_or("Public"));
        } else if (util::EqualsIgnoreCase(next, "ENUM")) {
            takeWord(rest);
            beginBlock(Block::Enum, rest, scope.value_or("Public"));
        } else if (util::EqualsIgnoreCase(next, "DECLARE")) {
            takeWord(rest);
            readDeclare(rest, scope.value_or("Public"));
        } else if (scope) {
            readList(rest, *scope, kVariable);
        }
    }

    void readList(std::string_view list, std::string_view property, std::string_view bunrui) {
        for (std::string_view piece : splitList(list)) {
            piece = trimmed(piece);
            if (bunrui == kConstant) {
                const NameAndText parts = splitAt(piece, findEquals(piece), 1);
                // "Const A As Long = 1" names A; its type is not kept.
                const std::string_view name =
                    trimmed(parts.name.substr(0, std::min(findAs(parts.name), parts.name.size())));
                add(name, property, bunrui, prefixed("値/", parts.text), description(), true);
                continue;
            }
            if (util::EqualsIgnoreCase(peekWord(piece), "WITHEVENTS"))
                takeWord(piece);
            const NameAndText parts = splitAt(piece, findAs(piece), 2);
            add(parts.name, property, bunrui, prefixed("型/", parts.text), description(), true);
        }
    }

    // The name of an external function is the word after Function or Sub.
    void readDeclare(std::string_view rest, std::string_view property) {
        if (util::EqualsIgnoreCase(peekWord(rest), "PTRSAFE"))
            takeWord(rest);
        const std::string_view kind = takeWord(rest);
        if (!util::EqualsIgnoreCase(kind, "FUNCTION") && !util::EqualsIgnoreCase(kind, "SUB"))
            return;
        std::string_view name = takeWord(rest);
        name = name.substr(0, name.find('('));
        add(name, property, kExternal, {}, description(), true);
    }

    void beginBlock(Block block, std::string_view name, std::string_view property) {
        if (add(trimmed(name), property, kDefinition, {}, description(), false)) {
            block_ = block;
            blockSection_ = section_;
            blockProperty_ = property;
            nextEnumValue_ = 0;
        }
    }

    // Members keep their comment with its mark; blank and comment lines give no member.
    void readMember(std::string_view statement) {
        std::string_view rest = statement;
        const std::string_view first = takeWord(rest);
        if (util::EqualsIgnoreCase(first, "END") &&
            util::EqualsIgnoreCase(peekWord(rest), block_ == Block::Type ? "TYPE" : "ENUM")) {
            block_ = Block::None;
            return;
        }
        const std::string note = clip(comment_);
        if (block_ == Block::Type) {
            // A member without its "As" is no member VBA accepts; nothing is made of it.
            const std::size_t as = findAs(statement);
            if (as == std::string_view::npos)
                return;
            const NameAndText parts = splitAt(statement, as, 2);
            add(parts.name, blockProperty_, kDefinition, prefixed("型/", parts.text), note, false);
        } else {
            // A member without "=" takes the next value, which is known while the values
            // before it are plain whole numbers; the type list tells members from types by
            // the "値/" they carry either way.
            const NameAndText parts = splitAt(statement, findEquals(statement), 1);
            std::string value;
            if (parts.text) {
                value = std::string(*parts.text);
                nextEnumValue_ = WholeNumber(value);
                if (nextEnumValue_)
                    ++*nextEnumValue_;
            } else if (nextEnumValue_) {
                value = std::to_string((*nextEnumValue_)++);
            }
            add(parts.name, blockProperty_, kDefinition, "値/" + value, note, false);
        }
    }

    std::string description() const {
        return comment_.empty() ? std::string() : clip(comment_.substr(markLength_));
    }

    static std::string clip(std::string_view text) {
        return std::string(trimmed(util::Left(text, kTextLength)));
    }

    // A piece without a name (damaged code) gives no row. Types and their members carry the
    // section's own name, "" in the declarations section.
    bool add(std::string_view name, std::string_view property, std::string_view bunrui,
             std::string type, std::string note, bool namedDeclarations) {
        if (name.empty())
            return false;
        Declaration row;
        row.line = line_;
        row.procedureName =
            namedDeclarations && section_.empty() ? std::string(kDeclarations) : section_;
        row.name = name;
        row.property = property;
        row.bunrui = bunrui;
        row.type = std::move(type);
        row.description = std::move(note);
        row.sequence = static_cast<long>(rows_.size()) + 1;
        rows_.push_back(std::move(row));
        return true;
    }

    const host::ModuleModel& model_;
    std::vector<Declaration> rows_;
    std::string section_;
    long line_ = 0;
    std::string_view comment_;
    std::size_t markLength_ = 0;
    Block block_ = Block::None;
    std::optional<long long> nextEnumValue_;
    std::string blockSection_;
    std::string blockProperty_;
};

class VariableCatalogue {
public:
    explicit VariableCatalogue(collect::RunContext& ctx)
        : rows_(collect::OpenEmptied(ctx, "T_AcHensu")) {}

    void read(const CodeObject& object) {
        const host::ModuleModel& model = object.model();
        const std::vector<Declaration> declarations = ReadDeclarations(model);
        auto next = declarations.begin();
        for (const Section& section : SectionsOf(model)) {
            if (section.name() != procedureName_) {
                ++procedureNo_;
                procedureName_ = section.name();
            }
            for (; next != declarations.end() && next->line <= section.lastLine; ++next)
                write(object, *next);
        }
        for (; next != declarations.end(); ++next)
            write(object, *next);
    }

    long procedureNo() const { return procedureNo_; }

private:
    void write(const CodeObject& object, const Declaration& d) {
        rows_.addNew();
        rows_.set("objectNo", object.objectNo)
            .set("ProcedureNo", procedureNo_)
            .set("ObjectName", object.name)
            .set("ProcedureName", d.procedureName)
            .set("HensuName", d.name)
            .set("Property", d.property)
            .set("Bunrui", std::string(d.bunrui))
            .set("Type", d.type)
            .set("Line", d.sequence)
            .set("Description", d.description);
        rows_.update();
    }

    workdb::RowWriter rows_;
    long procedureNo_ = 0;
    std::string procedureName_;
};

}  // namespace

std::vector<Declaration> ReadDeclarations(const host::ModuleModel& model) {
    return DeclarationReader(model).read();
}

collect::RunResult RunVariableCatalogue(collect::RunContext& ctx) {
    const collect::CollectorRun run{
        .collector = app::Collector::Objects,  // unused: the tool finishes its own way
        .place = "場所:変数情報",
        .window = app::WindowKind::DeveloperSupport,
        .attachAccess = true,
        .finished =
            [](collect::RunContext& c) {
                c.state.support.variableLists = true;
                c.ui.messageBox("「変数情報取得」を終了しました。\n各種一覧を押して印刷下さい。",
                                app::kProductTitle, app::MsgButtons::Ok, app::MsgIcon::None);
            },
    };
    return collect::RunCollection(ctx, run, [](collect::RunContext& c) {
        c.ui.showMessage("変数 情報　取得中");
        VariableCatalogue catalogue(c);
        WalkModules(
            c, kAllKinds, [&](const CodeObject& o) { catalogue.read(o); },
            WalkStyle{.message = KindMessage});
        KeepProcedureNo(c.state, catalogue.procedureNo());
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba
