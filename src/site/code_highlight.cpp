#include "site/code_highlight.h"

#include <algorithm>
#include <span>
#include <vector>

#include "util/html_escape.h"
#include "util/vb_string.h"

namespace zanfor::site {

namespace {

// In upper case.
constexpr std::string_view kSqlWords[] = {
    "ALL",        "ALTER",       "AND",         "AS",      "ASC",      "BETWEEN", "BY",
    "COLUMN",     "CONSTRAINT",  "CREATE",      "CROSS",   "DATABASE", "DELETE",  "DESC",
    "DISALLOW",   "DISTINCT",    "DISTINCTROW", "DROP",    "EXISTS",   "FOREIGN", "FROM",
    "FULL",       "GROUP",       "HAVING",      "IGNORE",  "IN",       "INDEX",   "INNER",
    "INSERT",     "INTO",        "IS",          "JOIN",    "KEY",      "LEFT",    "LIKE",
    "MOD",        "NOT",         "NULL",        "ON",      "OPTION",   "OR",      "ORDER",
    "OUTER",      "OWNERACCESS", "PARAMETERS",  "PERCENT", "PIVOT",    "PRIMARY", "PROCEDURE",
    "REFERENCES", "RIGHT",       "SELECT",      "SET",     "TABLE",    "TOP",     "TRANSFORM",
    "UNION",      "UNIQUE",      "UPDATE",      "VALUES",  "VIEW",     "WHERE",   "WITH",
    "XOR",        "EXEC",        "EXECUTE",     "TEXT",    "DATETIME",
};

constexpr std::string_view kCodeWords[] = {
    "ADDRESSOF", "ALIAS",    "AND",      "ANY",      "AS",       "BINARY",     "BOOLEAN",
    "BYREF",     "BYTE",     "BYVAL",    "CALL",     "CASE",     "CLOSE",      "COMPARE",
    "CONST",     "CURRENCY", "DATABASE", "DATE",     "DECLARE",  "DEFBOOL",    "DEFINT",
    "DEFLNG",    "DEFSTR",   "DIM",      "DO",       "DOUBLE",   "EACH",       "ELSE",
    "ELSEIF",    "END",      "ENUM",     "EQV",      "ERASE",    "ERROR",      "EVENT",
    "EXIT",      "EXPLICIT", "FALSE",    "FOR",      "FRIEND",   "FUNCTION",   "GET",
    "GLOBAL",    "GOSUB",    "GOTO",     "IF",       "IMP",      "IMPLEMENTS", "IN",
    "INTEGER",   "IS",       "LET",      "LIB",      "LIKE",     "LONG",       "LOOP",
    "ME",        "MOD",      "NEW",      "NEXT",     "NOT",      "NOTHING",    "NULL",
    "OBJECT",    "ON",       "OPEN",     "OPTION",   "OPTIONAL", "OR",         "PARAMARRAY",
    "PRESERVE",  "PRINT",    "PRIVATE",  "PROPERTY", "PUBLIC",   "RAISEEVENT", "REDIM",
    "RESUME",    "RETURN",   "SELECT",   "SET",      "SINGLE",   "STATIC",     "STEP",
    "STOP",      "STRING",   "SUB",      "THEN",     "TO",       "TRUE",       "TYPE",
    "UNTIL",     "VARIANT",  "WEND",     "WHILE",    "WITH",     "WITHEVENTS", "XOR",
};

// Each list sorted once, for a binary search of a word in upper case.
std::vector<std::string_view> Sorted(std::span<const std::string_view> words) {
    std::vector<std::string_view> sorted(words.begin(), words.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

bool IsSqlWord(std::string_view word) {
    static const auto words = Sorted(kSqlWords);
    return std::binary_search(words.begin(), words.end(), util::UCase(word));
}

bool IsCodeWord(std::string_view word) {
    static const auto words = Sorted(kCodeWords);
    return std::binary_search(words.begin(), words.end(), util::UCase(word));
}

// Japanese and other non-ASCII letters are part of a name, as VBA and Jet read them.
bool IsNameByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
           (b >= 'a' && b <= 'z') || b == '_';
}

void Span(std::string& out, const char* cls, std::string_view text) {
    out += "<span class=\"";
    out += cls;
    out += "\">";
    util::AppendHtmlEscaped(out, text);
    out += "</span>";
}

// The end of a quoted run that starts at `pos` (its quote), a doubled quote kept inside it; the
// text's end when it is never closed.
std::size_t QuotedEnd(std::string_view text, std::size_t pos, char close) {
    std::size_t i = pos + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (close != ']' && i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size();
}

}  // namespace

std::string HighlightSql(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + sql.size() / 2);
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            const auto end = QuotedEnd(sql, i, c == '[' ? ']' : c);
            Span(out, c == '[' ? "n" : "s", sql.substr(i, end - i));
            i = end;
        } else if (IsNameByte(c)) {
            std::size_t end = i;
            while (end < sql.size() && IsNameByte(sql[end]))
                ++end;
            const auto word = sql.substr(i, end - i);
            if (IsSqlWord(word))
                Span(out, "k", word);
            else
                util::AppendHtmlEscaped(out, word);
            i = end;
        } else {
            util::AppendHtmlEscaped(out, sql.substr(i, 1));
            ++i;
        }
    }
    return out;
}

std::string HighlightCode(std::string_view line) {
    std::string out;
    out.reserve(line.size() + line.size() / 2);
    std::size_t i = 0;
    bool statementStart = true;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '\'') {
            Span(out, "c", line.substr(i));
            break;
        }
        if (c == '"') {
            const auto end = QuotedEnd(line, i, '"');
            Span(out, "s", line.substr(i, end - i));
            i = end;
            statementStart = false;
        } else if (IsNameByte(c)) {
            std::size_t end = i;
            while (end < line.size() && IsNameByte(line[end]))
                ++end;
            const auto word = line.substr(i, end - i);
            if (statementStart && util::EqualsIgnoreCase(word, "Rem")) {
                Span(out, "c", line.substr(i));
                break;
            }
            if (IsCodeWord(word))
                Span(out, "k", word);
            else
                util::AppendHtmlEscaped(out, word);
            i = end;
            statementStart = false;
        } else {
            if (c == ':')
                statementStart = true;
            else if (c != ' ' && c != '\t')
                statementStart = false;
            util::AppendHtmlEscaped(out, line.substr(i, 1));
            ++i;
        }
    }
    return out;
}

}  // namespace zanfor::site
