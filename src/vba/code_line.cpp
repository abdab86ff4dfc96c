#include "vba/code_line.h"

#include <algorithm>
#include <array>
#include <span>

#include "host/text_lines.h"
#include "util/vb_string.h"

namespace zanfor::vba {

namespace {

using util::Left;
using util::Mid;
using util::RTrim;
using util::Trim;
using util::UCase;

constexpr std::size_t kCommentLength = 255;

// Stands for a character of a name that is not ASCII (Japanese names are common), so that such
// a character still joins the keyword next to it into one longer word.
constexpr char kOtherLetter = '\x01';
// Stands for every character of a literal, so that nothing inside one is taken for code.
constexpr char kLiteral = '"';

bool isAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool isNameChar(char c) {
    return isAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '_' || c == kOtherLetter;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The code of a line with one byte per character, so that a byte's index + 1 is the character
// position VB's functions use on the line: ASCII upper-cased, literals and other characters
// replaced by stand-ins, and nothing from the comment on.
struct CodeMask {
    std::string code;
    std::size_t comment = 0;  // character position of the comment mark; 0 for none
};

bool startsRem(std::string_view line, std::size_t i) {
    if (line.size() - i < 3 || asciiUpper(line[i]) != 'R' || asciiUpper(line[i + 1]) != 'E' ||
        asciiUpper(line[i + 2]) != 'M') {
        return false;
    }
    return line.size() - i == 3 || isBlank(line[i + 3]);
}

CodeMask maskCode(std::string_view line) {
    CodeMask mask;
    mask.code.reserve(line.size());
    bool inLiteral = false;
    bool atStart = true;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = std::max<std::size_t>(1, util::Utf8CharLength(line, i));
        const char c = line[i];
        if (inLiteral) {
            inLiteral = c != '"';
            mask.code += kLiteral;
        } else if (c == '"') {
            inLiteral = true;
            mask.code += kLiteral;
        } else if (c == '\'' || (atStart && startsRem(line, i))) {
            mask.comment = mask.code.size() + 1;
            break;
        } else {
            mask.code += length == 1 ? asciiUpper(c) : kOtherLetter;
        }
        // A statement starts the line or follows a ":" (not the ":=" of a named argument); the
        // ideographic blank is as blank as " " to VB.
        const bool separator =
            !inLiteral && c == ':' && !(i + 1 < line.size() && line[i + 1] == '=');
        atStart =
            separator || (atStart && (isBlank(c) || line.substr(i, length) == "\xE3\x80\x80"));
        i += length;
    }
    return mask;
}

// The character position of `word` (which ends in a blank) where it begins a word of the code,
// searching from character `from`; 0 when there is none.
std::size_t findWord(std::string_view code, std::string_view word, std::size_t from = 1) {
    for (std::size_t at = code.find(word, from - 1); at != std::string_view::npos;
         at = code.find(word, at + 1)) {
        if (at == 0 || !isNameChar(code[at - 1]))
            return at + 1;
    }
    return 0;
}

// The position of the ")" that closes the "(" at `open`, both character positions; 0 when the
// parentheses do not balance.
std::size_t closingParenthesis(std::string_view code, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open - 1; i < code.size(); ++i) {
        if (code[i] == '(') {
            ++depth;
        } else if (code[i] == ')' && --depth == 0) {
            return i + 1;
        }
    }
    return 0;
}

std::string_view headingKind(std::string_view upper) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kKinds{{
        {"PROPERTY GET", "Property Get"},
        {"PROPERTY LET", "Property Let"},
        {"PROPERTY SET", "Property Set"},
        {"FUNCTION", "Function"},
        {"SUB", "Sub"},
    }};
    for (const auto& [prefix, kind] : kKinds) {
        if (upper.starts_with(prefix))
            return kind;
    }
    return {};
}

// Continuation lines may be indented with tabs as well as blanks.
std::string trimBlanksAndTabs(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return Trim(s);
}

struct DimCallKeyword {
    std::string_view word;
    std::int16_t code;
    std::string_view bunrui;
    std::string_view type;
};

// In the order the keywords are tried: the first one the line holds decides.
constexpr std::array<DimCallKeyword, 6> kDimCallKeywords{{
    {"DIM ", 4, "変数", "Dim"},
    {"CONST ", 5, "定数", "Const"},
    {"GLOBAL ", 1, "変数", "Global"},
    {"PRIVATE ", 3, "変数", "Private"},
    {"PUBLIC ", 2, "変数", "Public"},
    {"CALL ", 6, "呼出", "Call"},
}};

// Whether one of `words` (upper-case ASCII words ending in a blank) stands in the line itself,
// in any case: the mask keeps ASCII characters and replaces all others. Most lines hold none of
// the words a parser looks for, and this finds that without masking the line, looking only
// before each blank that follows something else.
bool holdsWord(std::string_view line, std::span<const std::string_view> words) {
    for (std::size_t blank = line.find(' '); blank != std::string_view::npos;
         blank = line.find(' ', blank + 1)) {
        if (blank == 0 || line[blank - 1] == ' ')
            continue;
        const char last = asciiUpper(line[blank - 1]);
        for (const std::string_view word : words) {
            if (word.size() <= blank + 1 && word[word.size() - 2] == last &&
                host::StartsWithIgnoringCase(line.substr(blank + 1 - word.size()), word))
                return true;
        }
    }
    return false;
}

}  // namespace

// Every line of a project passes here in each reader, so the line is read in place. Only ASCII
// letters upper-case to ASCII ones: comparing bytes with the upper-cased word is comparing
// UCase(Left(...)) with it.
LineClass ClassifyLine(std::string_view line) {
    const std::string_view indented = host::LeftTrimmedView(line);
    if (indented.starts_with('\'') || host::StartsWithIgnoringCase(indented, "REM "))
        return LineClass::Comment;
    if (host::TrimmedView(indented).empty())
        return LineClass::Blank;
    return LineClass::Code;
}

bool IsSkippedLine(std::string_view line) {
    const std::string_view trimmed = host::TrimmedView(line);
    return trimmed.empty() || host::StartsWithIgnoringCase(trimmed, "OPTION ");
}

HeadingFields ParseHeading(std::string_view heading) {
    HeadingFields fields;
    std::string text = Trim(heading);
    const std::string scope = UCase(Left(text, 7));
    if (scope == "PRIVATE") {
        fields.isPrivate = true;
        text = Trim(Mid(text, 8));
    } else if (scope == "PUBLIC ") {
        fields.isPrivate = false;
        text = Trim(Mid(text, 7));
    }
    const CodeMask mask = maskCode(text);
    fields.kind = headingKind(mask.code);

    // The list's own ")" closes it: an array result type "As Long()" follows it.
    const std::size_t openAt = mask.code.find('(');
    const std::size_t open = openAt == std::string::npos ? 0 : openAt + 1;
    std::size_t close = open > 0 ? closingParenthesis(mask.code, open) : 0;
    if (open > 0 && close == 0) {
        const std::size_t last = mask.code.rfind(')');
        close = last == std::string::npos ? 0 : last + 1;
    }
    if (close > open) {
        std::string parameters = Trim(Mid(text, open + 1, close - open - 1));
        if (!parameters.empty())
            fields.parameters = std::move(parameters);
    }
    const std::size_t as = findWord(mask.code, "AS ", std::max<std::size_t>(close, 1));
    if (as > 0) {
        std::string type = Trim(Mid(text, as + 3));
        if (!type.empty())
            fields.resultType = std::move(type);
    }
    return fields;
}

std::string JoinHeading(const host::ModuleModel& model, long bodyLine, long& lastLine) {
    std::string joined;
    long n = bodyLine;
    for (;; ++n) {
        const std::string_view line = model.Line(n);
        const CodeMask mask = maskCode(line);
        const std::string withoutComment =
            mask.comment > 0 ? Left(line, mask.comment - 1) : std::string(line);
        std::string_view code = withoutComment;
        while (!code.empty() && isBlank(code.back()))
            code.remove_suffix(1);
        const bool continues = EndsWithContinuation(code);
        if (continues)
            code.remove_suffix(1);
        const std::string piece = trimBlanksAndTabs(code);
        if (!piece.empty()) {
            if (!joined.empty())
                joined += ' ';
            joined += piece;
        }
        if (!continues || n >= model.CountOfLines())
            break;
    }
    lastLine = n;
    return joined;
}

bool EndsWithContinuation(std::string_view line) {
    while (!line.empty() && isBlank(line.back()))
        line.remove_suffix(1);
    return line.size() >= 2 && line.back() == '_' && isBlank(line[line.size() - 2]);
}

std::optional<DeclareFields> ParseDeclare(std::string_view trimmedLine) {
    static constexpr std::array<std::string_view, 1> kDeclare{"DECLARE "};
    if (!holdsWord(trimmedLine, kDeclare))
        return std::nullopt;
    const CodeMask mask = maskCode(trimmedLine);
    const std::string_view code = mask.code;
    DeclareFields fields;
    std::size_t at = 0;
    if (code.starts_with("PRIVATE ")) {
        fields.isPrivate = true;
        at = 8;
    } else if (code.starts_with("PUBLIC ")) {
        at = 7;
    }
    while (at < code.size() && isBlank(code[at]))
        ++at;
    if (code.compare(at, 8, "DECLARE ") != 0)
        return std::nullopt;
    std::size_t nameStart = 0;
    if (const std::size_t f = findWord(code, "FUNCTION ", at + 9); f > 0) {
        fields.kind = "Function";
        nameStart = f + 9;
    } else if (const std::size_t s = findWord(code, "SUB ", at + 9); s > 0) {
        fields.kind = "Sub";
        nameStart = s + 4;
    } else {
        return std::nullopt;
    }
    const std::size_t blank = code.find(' ', nameStart - 1);
    fields.name = blank == std::string_view::npos
                      ? Mid(trimmedLine, nameStart)
                      : Mid(trimmedLine, nameStart, blank + 1 - nameStart);
    return fields;
}

std::optional<DimCallFields> ParseDimCall(std::string_view line) {
    static const auto kWords = [] {
        std::array<std::string_view, kDimCallKeywords.size()> words;
        std::transform(kDimCallKeywords.begin(), kDimCallKeywords.end(), words.begin(),
                       [](const DimCallKeyword& k) { return k.word; });
        return words;
    }();
    if (!holdsWord(line, kWords))
        return std::nullopt;
    const std::string statement = util::LTrim(line);
    const CodeMask mask = maskCode(statement);
    const std::string_view code = mask.code;
    const bool recorded = code.starts_with("DIM ") || findWord(code, "CALL ") > 0 ||
                          findWord(code, "CONST ") > 0 || findWord(code, "GLOBAL ") > 0 ||
                          findWord(code, "PRIVATE ") > 0 || findWord(code, "PUBLIC ") > 0;
    if (!recorded)
        return std::nullopt;
    for (const DimCallKeyword& keyword : kDimCallKeywords) {
        const std::size_t at = findWord(code, keyword.word);
        if (at == 0)
            continue;
        DimCallFields fields{keyword.code, keyword.bunrui, keyword.type, std::nullopt, {}};
        const std::size_t start = at + keyword.word.size();
        if (mask.comment > 0) {
            fields.comment = RTrim(Mid(statement, mask.comment + 1, kCommentLength));
            fields.text = RTrim(Mid(statement, start, mask.comment - start));
        } else {
            fields.text = RTrim(Mid(statement, start));
        }
        return fields;
    }
    return std::nullopt;
}

}  // namespace zanfor::vba
