#pragma once

// Finding the names of a target's objects in the texts that name them: the SQL of queries,
// record and row sources, the expressions of properties and macro conditions, and one VBA
// statement at a time. Both scanners read tokens honouring [brackets] and quotes, so a name in a
// literal or a comment is not taken for a use, and they never fail: text that ends inside a
// quote or bracket gives what was read before it and says so.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::graph {

enum class TokenKind { Word, Bracketed, String, Number, Symbol };

struct Token {
    TokenKind kind = TokenKind::Word;
    std::string text{};  // a string's or bracketed name's content, quotes and brackets removed
};

enum class Dialect { Sql, Vba };

struct Tokens {
    std::vector<Token> items{};
    bool unclosed = false;  // the text ended inside a quote or a bracket
};

// In VBA "'" starts a comment and only '"' quotes; in SQL both quote.
Tokens Tokenize(std::string_view text, Dialect dialect);

// A call whose arguments may be string literals: each argument's literal, or nothing for one
// that is not a literal.
struct Call {
    std::string name{};
    std::vector<std::optional<std::string>> arguments{};
};

// What an SQL statement (or an expression of one) reads and writes.
struct SqlUses {
    struct Source {
        std::string name{};
        bool written = false;  // the target of INSERT INTO, SELECT INTO, UPDATE or DELETE
    };
    std::vector<Source> sources{};         // in the FROM/JOIN/INTO/UPDATE positions, in order
    std::vector<std::string> functions{};  // every name called like a function, once each
    std::vector<std::string> domains{};    // the domain of DLookup("x", "T") and its kin
    std::vector<Call> calls{};             // every call with its arguments, in order
    bool unclosed = false;
};

SqlUses ScanSql(std::string_view sql);

// Whether a text reads as an SQL statement rather than an object name.
bool LooksLikeSql(std::string_view text);

// What a VBA statement (its continuation lines joined, its comment dropped) names.
struct CodeUse {
    enum class Target { Form, Report, Query, Table, DataSource, Macro, Procedure, Sql };
    std::string kind{};  // how it is named: "OpenForm", "Execute", "Forms!", "DLookup", ...
    Target target = Target::Form;
    std::string text{};    // the name, the SQL, or for a dynamic use the expression as written
    bool dynamic = false;  // the name is built at run time: the target cannot be known
    bool loose = false;    // a string that merely reads like SQL: keep only names that exist
};

std::vector<CodeUse> ScanCode(std::string_view statement);

// The calls of a VBA statement: `F(...)` anywhere, `F a, b` and `Call F(a)` as the statement.
std::vector<Call> CallsIn(std::string_view statement);

// A statement that gives a variable or constant a value: `x = "F"`, `Const x As String = "F"`.
struct Assignment {
    std::string name{};
    std::optional<std::string> literal{};  // nothing when the value is not a string literal
};
std::optional<Assignment> AssignmentIn(std::string_view statement);

// The parameter names of a procedure heading's list ("ByVal a As String, Optional b").
std::vector<std::string> ParameterNames(std::string_view parameters);

}  // namespace zanfor::graph
