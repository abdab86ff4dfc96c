// The Visual Basic editor's view of a module, as Access 2000 reported it:
// - Lines split at CR LF, LF or a lone CR; a final line end adds no empty line.
// - A line ending in a blank and "_" (trailing blanks allowed) continues on the next line, and
//   so does a comment. "'" outside a "..." literal, or "Rem" as a statement, starts a comment.
// - A heading is a logical line whose code is [Public|Private|Friend] [Static] followed by
//   Sub|Function|Property Get|Let|Set, a name (identifier with an optional type suffix, or
//   [bracketed]) and then "(", "As", ":" or nothing. Its body line is its first line.
// - A procedure ends at the statement End Sub|Function|Property, also after a label or ":".
//   A heading that comes first ends it just above the newcomer's comments and blank lines.
// - Declarations run to the last code line before the first heading, or over the whole module
//   when it has no procedure. The first section starts right after them, every later one just
//   below the End statement before it, and the last one runs to the end of the module.
// - Names compare case-insensitively in ASCII; of a repeated name and kind, the first wins.
// - Date literals need no care: they can hold neither quotes nor apostrophes.

#include "host/access/module_model.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "host/error.h"
#include "host/text_lines.h"

namespace zanfor::host {
namespace {

constexpr const char* kOutOfRange = "インデックスが有効範囲にありません。";
constexpr const char* kNotDefined = "Sub または Function が定義されていません。";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    // Every byte of a multi-byte character counts, so Japanese names stay whole words.
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isIdentChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

bool isAllDigits(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), isDigit);
}

bool isStatementSeparator(std::string_view s, std::size_t i) {
    // ":=" passes a named argument and separates nothing.
    return s[i] == ':' && !(i + 1 < s.size() && s[i + 1] == '=');
}

// Collects the code of one logical line: literals shrink to "" so their colons and quotes
// cannot be mistaken for code, and comments are dropped.
class LogicalLineReader {
public:
    void reset() {
        code_.clear();
        inComment_ = false;
        atStatementStart_ = true;
    }

    // Whether the logical line continues on the next physical line.
    bool add(std::string_view line) {
        std::size_t end = line.size();
        while (end > 0 && isBlank(line[end - 1])) {
            --end;
        }
        const bool marked = end >= 2 && line[end - 1] == '_' && isBlank(line[end - 2]);
        const bool inOpenLiteral = scan(marked ? line.substr(0, end - 1) : line);
        // An underscore inside an unterminated literal is literal text, not a continuation.
        if (!marked || inOpenLiteral) {
            return false;
        }
        code_ += ' ';
        return true;
    }

    const std::string& code() const { return code_; }

private:
    // Whether `s` ends inside an unterminated literal.
    bool scan(std::string_view s) {
        if (inComment_) {
            return false;
        }
        std::size_t i = 0;
        while (i < s.size()) {
            const char c = s[i];
            if (c == '"') {
                std::size_t j = i + 1;
                while (j < s.size() && !(s[j] == '"' && !(j + 1 < s.size() && s[j + 1] == '"'))) {
                    j += s[j] == '"' ? 2 : 1;
                }
                code_ += "\"\"";
                atStatementStart_ = false;
                if (j >= s.size()) {
                    return true;
                }
                i = j + 1;
            } else if (c == '\'') {
                inComment_ = true;
                return false;
            } else if (isIdentChar(c)) {
                std::size_t j = i;
                while (j < s.size() && isIdentChar(s[j])) {
                    ++j;
                }
                const std::string_view word = s.substr(i, j - i);
                if (atStatementStart_) {
                    if (equalsIgnoreCase(word, "Rem")) {
                        inComment_ = true;
                        return false;
                    }
                    // A line number is a label; the statement is still to come.
                    atStatementStart_ = isAllDigits(word);
                }
                code_ += word;
                i = j;
            } else {
                if (isStatementSeparator(s, i)) {
                    atStatementStart_ = true;
                } else if (!isBlank(c)) {
                    atStatementStart_ = false;
                }
                code_ += c;
                ++i;
            }
        }
        return false;
    }

    std::string code_;
    bool inComment_ = false;
    bool atStatementStart_ = true;
};

void skipBlanks(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && isBlank(s[pos])) {
        ++pos;
    }
}

std::string_view nextWord(std::string_view s, std::size_t& pos) {
    skipBlanks(s, pos);
    const std::size_t begin = pos;
    while (pos < s.size() && isIdentChar(s[pos])) {
        ++pos;
    }
    return s.substr(begin, pos - begin);
}

bool hasCode(std::string_view code) {
    return std::any_of(code.begin(), code.end(), [](char c) { return !isBlank(c); });
}

struct Heading {
    std::string name;
    ProcKind kind = ProcKind::Proc;
};

std::optional<Heading> parseHeading(std::string_view code) {
    std::size_t pos = 0;
    std::string_view word = nextWord(code, pos);
    if (equalsIgnoreCase(word, "Public") || equalsIgnoreCase(word, "Private") ||
        equalsIgnoreCase(word, "Friend")) {
        word = nextWord(code, pos);
    }
    if (equalsIgnoreCase(word, "Static")) {
        word = nextWord(code, pos);
    }
    Heading heading;
    if (equalsIgnoreCase(word, "Property")) {
        word = nextWord(code, pos);
        if (equalsIgnoreCase(word, "Get")) {
            heading.kind = ProcKind::Get;
        } else if (equalsIgnoreCase(word, "Let")) {
            heading.kind = ProcKind::Let;
        } else if (equalsIgnoreCase(word, "Set")) {
            heading.kind = ProcKind::Set;
        } else {
            return std::nullopt;
        }
    } else if (!equalsIgnoreCase(word, "Sub") && !equalsIgnoreCase(word, "Function")) {
        return std::nullopt;
    }

    skipBlanks(code, pos);
    if (pos < code.size() && code[pos] == '[') {
        const std::size_t close = code.find(']', pos + 1);
        if (close == std::string_view::npos || close == pos + 1) {
            return std::nullopt;
        }
        heading.name = code.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    } else {
        if (pos >= code.size() || !isLetter(code[pos])) {
            return std::nullopt;
        }
        heading.name = nextWord(code, pos);
        // Old code still declares "Function Name$()"; the suffix is not part of the name.
        if (pos < code.size() &&
            std::string_view("%&^!#@$").find(code[pos]) != std::string_view::npos) {
            ++pos;
        }
    }

    skipBlanks(code, pos);
    if (pos == code.size() || code[pos] == '(' || isStatementSeparator(code, pos)) {
        return heading;
    }
    // The parameter list is optional: "Function Answer As Long" is a heading too.
    if (equalsIgnoreCase(nextWord(code, pos), "As")) {
        return heading;
    }
    return std::nullopt;
}

bool isEndStatement(std::string_view statement) {
    std::size_t pos = 0;
    std::string_view word = nextWord(statement, pos);
    if (isAllDigits(word)) {
        word = nextWord(statement, pos);
    }
    if (!equalsIgnoreCase(word, "End")) {
        return false;
    }
    word = nextWord(statement, pos);
    if (!equalsIgnoreCase(word, "Sub") && !equalsIgnoreCase(word, "Function") &&
        !equalsIgnoreCase(word, "Property")) {
        return false;
    }
    skipBlanks(statement, pos);
    return pos == statement.size();
}

bool endsProcedure(std::string_view code) {
    std::size_t begin = 0;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (isStatementSeparator(code, i)) {
            if (isEndStatement(code.substr(begin, i - begin))) {
                return true;
            }
            begin = i + 1;
        }
    }
    return isEndStatement(code.substr(begin));
}

}  // namespace

ModuleModel::ModuleModel(std::string_view text) {
    text_.reserve(text.size());
    LineCursor cursor(text);
    for (std::string_view line; cursor.next(line);) {
        text_ += line;
        starts_.push_back(text_.size());
    }
    const long lineCount = CountOfLines();
    LogicalLineReader reader;
    long lastCodeLine = 0;
    long lastEndLine = 0;
    bool open = false;

    for (long first = 1; first <= lineCount;) {
        reader.reset();
        long last = first;
        while (reader.add(Line(last)) && last < lineCount) {
            ++last;
        }
        const std::string& code = reader.code();

        if (std::optional<Heading> heading = parseHeading(code)) {
            long startLine = 0;
            if (procedures_.empty()) {
                declarationLines_ = lastCodeLine;
                startLine = lastCodeLine + 1;
            } else {
                startLine = (open ? lastCodeLine : lastEndLine) + 1;
            }
            procedures_.push_back({std::move(heading->name), heading->kind, startLine, first, 0});
            open = true;
        }
        if (open && endsProcedure(code)) {
            open = false;
            lastEndLine = last;
        }
        if (hasCode(code)) {
            lastCodeLine = last;
        }
        first = last + 1;
    }

    if (procedures_.empty()) {
        declarationLines_ = lineCount;
    }
    owner_.assign(static_cast<std::size_t>(lineCount), -1);
    for (std::size_t i = 0; i < procedures_.size(); ++i) {
        Procedure& procedure = procedures_[i];
        const long endLine =
            i + 1 < procedures_.size() ? procedures_[i + 1].startLine - 1 : lineCount;
        procedure.countLines = endLine - procedure.startLine + 1;
        std::fill(owner_.begin() + (procedure.startLine - 1), owner_.begin() + endLine,
                  static_cast<int>(i));
    }
}

std::string ModuleModel::Lines(long startLine, long count) const {
    if (startLine < 1 || startLine > CountOfLines() || count < 0) {
        throw Error(err::kSubscriptOutOfRange, kOutOfRange);
    }
    const long endLine = startLine - 1 + std::min(count, CountOfLines() - startLine + 1);
    std::string text;
    for (long line = startLine; line <= endLine; ++line) {
        if (line > startLine) {
            text += "\r\n";
        }
        text += Line(line);
    }
    return text;
}

std::string_view ModuleModel::Line(long lineNumber) const {
    if (lineNumber < 1 || lineNumber > CountOfLines()) {
        throw Error(err::kSubscriptOutOfRange, kOutOfRange);
    }
    const auto at = static_cast<std::size_t>(lineNumber - 1);
    return std::string_view(text_).substr(starts_[at], starts_[at + 1] - starts_[at]);
}

std::string ModuleModel::ProcOfLine(long lineNumber, ProcKind& kind) const {
    if (lineNumber < 1 || lineNumber > CountOfLines()) {
        throw Error(err::kSubscriptOutOfRange, kOutOfRange);
    }
    const int owner = owner_[lineNumber - 1];
    if (owner < 0) {
        kind = ProcKind::Proc;
        return {};
    }
    kind = procedures_[owner].kind;
    return procedures_[owner].name;
}

long ModuleModel::ProcStartLine(std::string_view name, ProcKind kind) const {
    return find(name, kind).startLine;
}

long ModuleModel::ProcBodyLine(std::string_view name, ProcKind kind) const {
    return find(name, kind).bodyLine;
}

long ModuleModel::ProcCountLines(std::string_view name, ProcKind kind) const {
    return find(name, kind).countLines;
}

const Procedure& ModuleModel::find(std::string_view name, ProcKind kind) const {
    for (const Procedure& procedure : procedures_) {
        if (procedure.kind == kind && equalsIgnoreCase(procedure.name, name)) {
            return procedure;
        }
    }
    throw Error(err::kSubOrFunctionNotDefined, kNotDefined);
}

}  // namespace zanfor::host
