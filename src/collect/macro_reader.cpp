#include "collect/macro_reader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "collect/vocabulary.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using util::Left;
using util::Mid;
using util::Trim;

constexpr auto npos = std::string_view::npos;
constexpr std::size_t kTextLength = 150;
constexpr std::size_t kArgumentLength = 170;
constexpr std::size_t kMaxPieces = 10;

constexpr std::array<std::int16_t, 9> kNoArguments{3, 25, 36, 37, 40, 41, 42, 45, 46};
constexpr std::array<std::int16_t, 9> kOneArgument{2, 13, 14, 22, 26, 38, 39, 43, 52};
constexpr std::int16_t kRunSql = 1;
constexpr std::int16_t kLastWithArguments = 52;

// The code of a trimmed line, one byte per character so that a position in it is a character
// position of the line: ASCII upper-cased, any other character 'x' (a letter of a name), and
// the insides of "..." literals and [names] and the whole of a comment '~'.
std::string CodeShape(std::string_view line) {
    enum class In { Code, Literal, Name, Comment };
    In in = In::Code;
    std::string shape;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = std::max<std::size_t>(1, util::Utf8CharLength(line, i));
        const char c = line[i];
        char out = '~';
        if (in == In::Code) {
            if (c == '"') {
                in = In::Literal;
                out = c;
            } else if (c == '[') {
                in = In::Name;
                out = c;
            } else if (c == '\'') {
                in = In::Comment;
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                out = 'x';
            } else {
                out = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            }
        } else if (in == In::Literal && c == '"') {
            // A doubled quote is a quote inside the literal.
            if (i + 1 < line.size() && line[i + 1] == '"') {
                shape += "~~";
                i += 2;
                continue;
            }
            in = In::Code;
            out = c;
        } else if (in == In::Name && c == ']') {
            in = In::Code;
            out = c;
        }
        shape += out;
        i += length;
    }
    return shape;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == 'x';
}

// Where `word` stands as a whole word of a shaped line; npos when it does not.
std::size_t FindWord(std::string_view shape, std::string_view word) {
    for (auto at = shape.find(word); at != npos; at = shape.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        if ((at == 0 || !IsNameChar(shape[at - 1])) &&
            (end == shape.size() || !IsNameChar(shape[end])))
            return at;
    }
    return npos;
}

bool HasWord(std::string_view shape, std::string_view word) {
    return FindWord(shape, word) != npos;
}

// The conversion's tail, "name_Exit:" with the error handler ("MsgBox Error$") and "End
// Function" after it, ends the actions.
bool EndsActions(std::string_view shape) {
    if (HasWord(shape, "END FUNCTION") || HasWord(shape, "ERROR$"))
        return true;
    const auto colon = shape.find(':');
    if (colon == npos || colon == 0)
        return false;
    const auto label = shape.substr(0, colon);
    return std::all_of(label.begin(), label.end(), IsNameChar) && label.ends_with("_EXIT");
}

// "If (condition) Then": the condition with its parentheses, as the text from the fourth
// character up to the blank before "Then".
std::optional<std::string> ConditionOf(std::string_view trimmed, std::string_view shape) {
    if (!shape.starts_with("IF "))
        return std::nullopt;
    const std::size_t then = FindWord(shape, "THEN");
    if (then == npos)
        return std::nullopt;
    return then > 4 ? Trim(Mid(trimmed, 4, then - 4)) : std::string();
}

// A method the vocabulary does not know: the spreadsheet, database and text transfers have
// to be told apart by the rest of their name.
std::int16_t DoCmdAction(std::string_view trimmed, std::string_view shape, std::size_t doCmd) {
    // A blank after the line lets "Quit" and "Echo" without arguments find "Quit " and "Echo ".
    const std::string method = Mid(std::string(trimmed) + " ", doCmd + 7, 5);
    const std::int16_t number = MacroActionNo(method);
    if (number == 98)
        return shape.find("DIAGRAM") != npos ? 52 : 53;
    if (number == 99) {
        if (shape.find("DATABASE") != npos)
            return 17;
        return shape.find("TEXT") != npos ? 19 : 34;
    }
    return number;
}

// The action number of a statement line; nothing for a line that is none, or for a Beep that
// belongs to the message box on the next line.
std::optional<std::int16_t> ActionOf(std::string_view trimmed, std::string_view shape,
                                     std::string_view nextShape) {
    if (const auto doCmd = FindWord(shape, "DOCMD"); doCmd != npos)
        return DoCmdAction(trimmed, shape, doCmd);
    if (HasWord(shape, "END"))
        return kActionEnd;
    if (HasWord(shape, "BEEP")) {
        if (HasWord(nextShape, "MSGBOX"))
            return std::nullopt;
        return kActionBeep;
    }
    if (HasWord(shape, "MSGBOX"))
        return kActionMsgBox;
    if (HasWord(shape, "SENDKEYS"))
        return kActionSendKeys;
    if (HasWord(shape, "CALL SHELL"))
        return kActionRunApp;
    if (shape.find(" = ") != npos)
        return kActionSetValue;
    if (HasWord(shape, "CALL"))
        return kActionRunCode;
    if (HasWord(shape, "EXIT FUNCTION"))
        return kActionStopMacro;
    return std::nullopt;
}

// The first comma outside literals, bracketed names and parentheses: a message or a condition
// holding commas is one argument.
std::size_t ArgumentComma(std::string_view text) {
    bool literal = false;
    bool name = false;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && !name) {
            literal = !literal;
        } else if (literal) {
            continue;
        } else if (c == '[' || c == ']') {
            name = c == '[';
        } else if (name) {
            continue;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = std::max(0, depth - 1);
        } else if (c == ',' && depth == 0) {
            return i;
        }
    }
    return npos;
}

// Every piece but the last is a setting the reports show in words.
std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> pieces;
    while (pieces.size() < kMaxPieces) {
        const std::size_t comma = ArgumentComma(text);
        if (comma == npos) {
            pieces.push_back(Trim(text));
            break;
        }
        pieces.push_back(AccessConstantLabel(Trim(text.substr(0, comma))));
        text.remove_prefix(comma + 1);
    }
    return pieces;
}

bool Continues(std::string_view trimmed) { return trimmed.ends_with(" _"); }

std::vector<std::string> ArgumentsOf(std::int16_t action, std::string_view trimmed,
                                     std::string_view nextTrimmed) {
    if (action < 1 || action > kLastWithArguments ||
        std::ranges::find(kNoArguments, action) != kNoArguments.end())
        return {};
    if (action == kActionSetValue)
        return {Trim(Left(trimmed, kTextLength))};
    // A statement without a blank has no arguments to list.
    const std::size_t blank = trimmed.find(' ');
    if (blank == npos)
        return {};
    std::string_view after = trimmed.substr(blank + 1);
    if (action == kRunSql) {
        // SQL that goes on over a line break is one argument.
        if (!Continues(trimmed))
            return {Trim(Left(after, kArgumentLength))};
        after.remove_suffix(1);
        return {Trim(Left(after, kArgumentLength) + Left(nextTrimmed, kArgumentLength))};
    }
    if (std::ranges::find(kOneArgument, action) != kOneArgument.end())
        return {Trim(Left(after, kTextLength))};
    return SplitArguments(Left(after, kArgumentLength));
}

class ProcedureReader {
public:
    ProcedureReader(const host::ModuleModel& module, std::string_view macroName, bool withArguments,
                    std::vector<MacroStatement>& out)
        : module_(module), macroName_(macroName), withArguments_(withArguments), out_(out) {}

    void read(const std::string& name, host::ProcKind kind, long procedureNo) {
        const std::string procName = Trim(Mid(name, util::Len(macroName_) + 2, kTextLength));
        const long body = module_.ProcBodyLine(name, kind);
        const long last =
            module_.ProcStartLine(name, kind) + module_.ProcCountLines(name, kind) - 1;
        for (long n = body; n <= last; ++n) {
            const std::string_view line = module_.Line(n);
            const std::string trimmed = Trim(line);
            const std::string shape = CodeShape(trimmed);
            if (EndsActions(shape))
                return;
            if (trimmed.starts_with('\'')) {
                comment_ = Trim(Mid(trimmed, 2, kTextLength));
                continue;
            }
            if (auto condition = ConditionOf(trimmed, shape)) {
                condition_ = std::move(*condition);
                continue;
            }
            const std::string next = n < module_.CountOfLines() ? Trim(module_.Line(n + 1)) : "";
            const auto action = ActionOf(trimmed, shape, CodeShape(next));
            if (!action)
                continue;
            MacroStatement s{.procedureNo = procedureNo,
                             .procName = procName,
                             .actionNo = *action,
                             .lineNo = n,
                             .procedure = std::string(line),
                             .comment = std::move(comment_),
                             .condition = std::move(condition_),
                             .arguments = {}};
            if (withArguments_)
                s.arguments = ArgumentsOf(*action, trimmed, next);
            out_.push_back(std::move(s));
            comment_.clear();
            condition_.clear();
        }
    }

private:
    const host::ModuleModel& module_;
    std::string_view macroName_;
    bool withArguments_;
    std::vector<MacroStatement>& out_;
    // Carried from the line that sets them to the next statement, also into the next
    // procedure: a comment row above a macro's name describes that macro.
    std::string comment_;
    std::string condition_;
};

}  // namespace

std::vector<MacroStatement> ReadConvertedMacro(const host::ModuleModel& module,
                                               std::string_view macroName, bool withArguments,
                                               long& procedureNo) {
    std::vector<MacroStatement> statements;
    ProcedureReader reader(module, macroName, withArguments, statements);
    std::string current;
    for (long n = module.CountOfDeclarationLines() + 1; n <= module.CountOfLines(); ++n) {
        host::ProcKind kind = host::ProcKind::Proc;
        std::string name = module.ProcOfLine(n, kind);
        if (name.empty() || name == current)
            continue;
        current = std::move(name);
        reader.read(current, kind, ++procedureNo);
    }
    return statements;
}

}  // namespace zanfor::collect
