#include "host/jet/expression_type.h"

#include <algorithm>
#include <array>
#include <optional>

#include "host/dao.h"
#include "util/vb_string.h"

namespace zanfor::host::jet {

namespace {

using namespace dao;

// Jet refuses expressions nested much less deeply; a damaged file gets no further.
constexpr int kMaxDepth = 100;

constexpr std::int32_t kTextSize = 255;

struct Token {
    enum class Kind { Name, Bracketed, Number, Text, Date, Symbol };
    Kind kind;
    std::string_view text;
    std::size_t begin;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Jet takes letters of any script in a bare name.
bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// The end of a literal that runs to `close`; a doubled quote stays inside a text literal.
std::size_t LiteralEnd(std::string_view s, std::size_t i, char close, bool doubling) {
    for (std::size_t at = i + 1; at < s.size(); ++at) {
        if (s[at] != close)
            continue;
        if (doubling && at + 1 < s.size() && s[at + 1] == close) {
            ++at;
            continue;
        }
        return at + 1;
    }
    return s.size();
}

std::size_t NumberEnd(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
    }
    if (i + 1 < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t at = i + 1;
        if (at < s.size() && (s[at] == '+' || s[at] == '-'))
            ++at;
        if (at < s.size() && IsDigit(s[at])) {
            i = at;
            while (i < s.size() && IsDigit(s[i]))
                ++i;
        }
    }
    return i;
}

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        Token::Kind kind = Token::Kind::Symbol;
        if (c == '[') {
            end = LiteralEnd(s, i, ']', false);
            kind = Token::Kind::Bracketed;
        } else if (c == '"' || c == '\'') {
            end = LiteralEnd(s, i, c, true);
            kind = Token::Kind::Text;
        } else if (c == '#') {
            end = LiteralEnd(s, i, '#', false);
            kind = Token::Kind::Date;
        } else if (IsDigit(c) || (c == '.' && i + 1 < s.size() && IsDigit(s[i + 1]))) {
            end = NumberEnd(s, i);
            kind = Token::Kind::Number;
        } else if (IsNameChar(c)) {
            while (end < s.size() && IsNameChar(s[end]))
                ++end;
            if (end < s.size() && s[end] == '$')  // Left$, Format$: the String forms
                ++end;
            kind = Token::Kind::Name;
        } else if ((c == '<' || c == '>' || c == '=') && i + 1 < s.size() &&
                   (s[i + 1] == '=' || s[i + 1] == '>' || s[i + 1] == '<') && s[i + 1] != c) {
            end = i + 2;
        }
        tokens.push_back({kind, s.substr(i, end - i), i});
        i = end;
    }
    return tokens;
}

bool IsSymbol(const Token& t, std::string_view symbol) {
    return t.kind == Token::Kind::Symbol && t.text == symbol;
}

bool IsWord(const Token& t, std::string_view upperWord) {
    return t.kind == Token::Kind::Name && t.text.size() == upperWord.size() &&
           util::UCase(t.text) == upperWord;
}

bool IsPart(const Token& t) {
    return t.kind == Token::Kind::Name || t.kind == Token::Kind::Bracketed;
}

std::string_view Unbracket(const Token& t) {
    std::string_view s = t.text;
    if (t.kind != Token::Kind::Bracketed)
        return s;
    s.remove_prefix(1);
    if (!s.empty() && s.back() == ']')
        s.remove_suffix(1);
    return s;
}

// Jet's words that are never the name of a column.
bool IsReservedWord(const Token& t) {
    static constexpr std::array<std::string_view, 21> kWords = {
        "AND",  "OR",    "NOT", "XOR", "EQV", "IMP", "MOD",     "LIKE", "ALIKE",  "IS",    "NULL",
        "TRUE", "FALSE", "YES", "NO",  "ON",  "OFF", "BETWEEN", "IN",   "EXISTS", "SELECT"};
    if (t.kind != Token::Kind::Name)
        return false;
    const std::string upper = util::UCase(t.text);
    return std::find(kWords.begin(), kWords.end(), upper) != kWords.end();
}

// The index just past the parenthesis that closes the one at `open`.
std::size_t PastClose(const std::vector<Token>& tokens, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < tokens.size(); ++i) {
        if (IsSymbol(tokens[i], "("))
            ++depth;
        else if (IsSymbol(tokens[i], ")") && --depth == 0)
            return i + 1;
    }
    return tokens.size();
}

bool OpensSubquery(const std::vector<Token>& tokens, std::size_t i) {
    return IsSymbol(tokens[i], "(") && i + 1 < tokens.size() && IsWord(tokens[i + 1], "SELECT");
}

// A chain of names joined by "." or "!" from `i`; `next` is set past it.
NameReference ReadChain(const std::vector<Token>& tokens, std::size_t i, std::size_t& next) {
    NameReference ref;
    ref.begin = tokens[i].begin;
    for (;;) {
        const std::string_view part = Unbracket(tokens[i]);
        ref.parts.emplace_back(part);
        ref.text += part;
        ref.end = tokens[i].begin + tokens[i].text.size();
        ++i;
        if (i + 1 < tokens.size() && (IsSymbol(tokens[i], ".") || IsSymbol(tokens[i], "!")) &&
            IsPart(tokens[i + 1])) {
            ref.bang = ref.bang || tokens[i].text == "!";
            ref.text += tokens[i].text;
            ++i;
            continue;
        }
        break;
    }
    next = i;
    return ref;
}

// A type as the parser carries it: `null` marks the Null literal, which takes the type of
// whatever it meets.
struct Typed {
    int type = 0;
    std::int32_t size = 0;
    bool null = false;
};

Typed Of(int type) { return {type, SizeOfType(type), false}; }
Typed Unknown() { return {}; }
Typed NullValue() { return {0, 0, true}; }
bool IsUnknown(const Typed& t) { return !t.null && t.type == 0; }

bool IsTextual(int type) { return type == dbText || type == dbMemo || type == dbChar; }

// The types of the ODBC sources that behave as one of Jet's own in an expression.
int JetTypeOf(int type) {
    switch (type) {
        case dbChar:
            return dbText;
        case dbFloat:
            return dbDouble;
        case dbNumeric:
            return dbDecimal;
        case dbTime:
        case dbTimeStamp:
            return dbDate;
        default:
            return type;
    }
}

bool IsNumber(int type) {
    switch (type) {
        case dbBoolean:
        case dbByte:
        case dbInteger:
        case dbLong:
        case dbCurrency:
        case dbSingle:
        case dbDouble:
        case dbDecimal:
            return true;
        default:
            return false;
    }
}

bool IsWhole(int type) {
    return type == dbBoolean || type == dbByte || type == dbInteger || type == dbLong;
}

// The type two numbers meet in, as the variant arithmetic widens them: a Single with a Long,
// or a Currency with a floating type, needs a Double to hold both.
int WiderNumber(int a, int b) {
    if (a == b)
        return a;
    const auto either = [&](int t) { return a == t || b == t; };
    if (either(dbDecimal))
        return dbDecimal;
    if (either(dbDouble))
        return dbDouble;
    if (either(dbCurrency))
        return either(dbSingle) ? dbDouble : dbCurrency;
    if (either(dbSingle))
        return either(dbLong) ? dbDouble : dbSingle;
    if (either(dbLong))
        return dbLong;
    return dbInteger;  // Integer, Byte and Boolean in any mix of two different ones
}

Typed TextOf(const Typed& a, const Typed& b) {
    return Of(a.type == dbMemo || b.type == dbMemo ? dbMemo : dbText);
}

// The null literal takes the other operand's type.
bool TakeNulls(Typed& a, Typed& b) {
    if (a.null && b.null)
        return false;
    if (a.null)
        a = b;
    if (b.null)
        b = a;
    return true;
}

// + - * : text is read as a Double, a date is a Double but for adding to or taking from it.
Typed Arithmetic(char op, Typed a, Typed b) {
    if (!TakeNulls(a, b))
        return NullValue();
    if (IsUnknown(a) || IsUnknown(b))
        return Unknown();
    int x = JetTypeOf(a.type);
    int y = JetTypeOf(b.type);
    if (op == '+' && IsTextual(x) && IsTextual(y))
        return TextOf(a, b);
    x = IsTextual(x) ? dbDouble : x;
    y = IsTextual(y) ? dbDouble : y;
    if (x == dbDate || y == dbDate) {
        if (op == '*')
            x = y = dbDouble;
        else if (op == '-' && x == dbDate && y == dbDate)
            return Of(dbDouble);
        else if (IsNumber(x) || IsNumber(y) || (x == dbDate && y == dbDate))
            return Of(dbDate);
    }
    if (!IsNumber(x) || !IsNumber(y))
        return Unknown();
    x = x == dbBoolean ? dbInteger : x;
    y = y == dbBoolean ? dbInteger : y;
    return Of(WiderNumber(x, y));
}

// "/" gives a Double, a Single only between Singles and small whole numbers, a Decimal when
// either side is one.
Typed Division(Typed a, Typed b) {
    if (!TakeNulls(a, b))
        return NullValue();
    const int x = JetTypeOf(a.type);
    const int y = JetTypeOf(b.type);
    if (x == dbDecimal || y == dbDecimal)
        return Of(dbDecimal);
    const auto small = [](int t) {
        return t == dbSingle || t == dbByte || t == dbInteger || t == dbBoolean;
    };
    if ((x == dbSingle || y == dbSingle) && small(x) && small(y))
        return Of(dbSingle);
    return Of(dbDouble);
}

// "\" and Mod round both sides to whole numbers first.
Typed WholeDivision(Typed a, Typed b) {
    if (!TakeNulls(a, b))
        return NullValue();
    const int x = a.type;
    const int y = b.type;
    if (x == dbByte && y == dbByte)
        return Of(dbByte);
    const auto small = [](int t) { return t == dbByte || t == dbInteger || t == dbBoolean; };
    return Of(small(x) && small(y) ? dbInteger : dbLong);
}

// And, Or, Xor, Eqv, Imp: logical between truth values, bitwise between whole numbers.
Typed Logical(Typed a, Typed b) {
    if (!TakeNulls(a, b))
        return NullValue();
    if (IsUnknown(a) || IsUnknown(b))
        return Unknown();
    if (a.type == dbBoolean && b.type == dbBoolean)
        return Of(dbBoolean);
    if (IsWhole(a.type) && IsWhole(b.type))
        return Of(WiderNumber(a.type, b.type));
    return Of(dbLong);
}

Typed Negation(const Typed& a) {
    if (a.null || IsUnknown(a))
        return a;
    const int x = JetTypeOf(a.type);
    if (x == dbByte || x == dbBoolean)
        return Of(dbInteger);
    if (IsTextual(x))
        return Of(dbDouble);
    if (x == dbDate || IsNumber(x))
        return Of(x);
    return Unknown();
}

Typed Not(const Typed& a) {
    if (a.null || IsUnknown(a))
        return a;
    return IsWhole(a.type) ? Of(a.type) : Of(dbLong);
}

// The type that holds either of two values (IIf's branches, Choose's choices): the wider
// number, text when one side is text, the length of the longer text.
Typed Either(Typed a, Typed b) {
    if (!TakeNulls(a, b))
        return NullValue();
    if (IsUnknown(a) || IsUnknown(b))
        return Unknown();
    if (a.type == b.type)
        return {a.type, std::max(a.size, b.size), false};
    const int x = JetTypeOf(a.type);
    const int y = JetTypeOf(b.type);
    if (IsTextual(x) && IsTextual(y))
        return x == dbMemo || y == dbMemo ? Of(dbMemo) : Typed{dbText, std::max(a.size, b.size)};
    if (IsTextual(x) || IsTextual(y))
        return Of(x == dbMemo || y == dbMemo ? dbMemo : dbText);
    if (x == dbDate || y == dbDate)
        return IsNumber(x) || IsNumber(y) ? Of(dbDouble) : Unknown();
    if (IsNumber(x) && IsNumber(y))
        return Of(WiderNumber(x, y));
    return Unknown();
}

// A number function keeps its argument's type (Abs, Int, Fix, Round): text becomes a Double.
Typed NumberOf(const Typed& a) {
    if (a.null || IsUnknown(a))
        return a;
    const int x = JetTypeOf(a.type);
    if (IsTextual(x))
        return Of(dbDouble);
    if (x == dbBoolean)
        return Of(dbInteger);
    return IsNumber(x) || x == dbDate ? Of(x) : Unknown();
}

// Jet's Sum keeps a Currency or Decimal total and adds everything else up in a Double.
Typed SumOf(const Typed& a) {
    if (a.null || IsUnknown(a))
        return a;
    const int x = JetTypeOf(a.type);
    return x == dbCurrency || x == dbDecimal ? Of(x) : Of(dbDouble);
}

enum class Rule {
    Fixed,     // always `type`
    Same,      // the first argument's type and size (Min, Max, First, Last, CVar)
    Number,    // the first argument as a number (Abs, Int, Fix, Round)
    Sum,       // Jet's Sum
    Branches,  // IIf: the type that holds either branch
    Choices,   // Choose: the type that holds every choice
    Pairs,     // Switch: the type that holds every value of its (condition, value) pairs
};

// Functions of one rule and type: their upper-case names, separated by blanks.
struct Functions {
    Rule rule;
    int type;
    std::string_view names;
};

// Jet's aggregates and the VBA functions its expression service evaluates, and the functions
// Access adds. Access hands back Nz, Eval and the domain functions as variants that Jet takes
// for text, which is why an Nz column sorts as text.
constexpr auto kFunctions = std::to_array<Functions>({
    {Rule::Sum, 0, "SUM"},
    {Rule::Same, 0, "MIN MAX FIRST LAST CVAR"},
    {Rule::Number, 0, "ABS INT FIX ROUND"},
    {Rule::Branches, 0, "IIF"},
    {Rule::Choices, 0, "CHOOSE"},
    {Rule::Pairs, 0, "SWITCH"},
    {Rule::Fixed, dbBoolean, "CBOOL ISDATE ISEMPTY ISERROR ISNULL ISNUMERIC"},
    {Rule::Fixed, dbByte, "CBYTE"},
    {Rule::Fixed, dbInteger,
     "CINT ASC ASCB ASCW DATEPART DAY HOUR MINUTE MONTH SECOND SGN STRCOMP VARTYPE WEEKDAY "
     "YEAR"},
    {Rule::Fixed, dbLong, "COUNT CLNG DATEDIFF INSTR INSTRB INSTRREV LEN LENB QBCOLOR RGB"},
    {Rule::Fixed, dbCurrency, "CCUR"},
    {Rule::Fixed, dbSingle, "CSNG RND TIMER"},
    {Rule::Fixed, dbDouble,
     "AVG STDEV STDEVP VAR VARP CDBL ATN COS DDB EXP FV IPMT IRR LOG MIRR NPER NPV PMT PPMT PV "
     "RATE SIN SLN SQR SYD TAN VAL"},
    {Rule::Fixed, dbDecimal, "CDEC"},
    {Rule::Fixed, dbDate,
     "CDATE CVDATE DATE DATEADD DATESERIAL DATEVALUE NOW TIME TIMESERIAL TIMEVALUE"},
    {Rule::Fixed, dbText,
     "CSTR CHR CHRB CHRW FORMAT FORMATCURRENCY FORMATDATETIME FORMATNUMBER FORMATPERCENT HEX "
     "LCASE LEFT LEFTB LTRIM MID MIDB MONTHNAME OCT PARTITION REPLACE RIGHT RIGHTB RTRIM SPACE "
     "STR STRCONV STRING STRREVERSE TRIM TYPENAME UCASE WEEKDAYNAME CURRENTUSER HYPERLINKPART "
     "NZ EVAL DAVG DCOUNT DFIRST DLAST DLOOKUP DMAX DMIN DSTDEV DSTDEVP DSUM DVAR DVARP"},
});

bool HasWord(std::string_view words, std::string_view word) {
    for (std::size_t at = 0; at < words.size();) {
        std::size_t end = words.find(' ', at);
        end = end == std::string_view::npos ? words.size() : end;
        if (words.substr(at, end - at) == word)
            return true;
        at = end + 1;
    }
    return false;
}

const Functions* FindFunction(std::string_view upperName) {
    const auto* found = std::find_if(kFunctions.begin(), kFunctions.end(), [&](const Functions& f) {
        return HasWord(f.names, upperName);
    });
    return found == kFunctions.end() ? nullptr : found;
}

Typed Argument(const std::vector<Typed>& args, std::size_t i) {
    return i < args.size() ? args[i] : Unknown();
}

// Every `step`th argument from `first` on, in one type.
Typed EitherOf(const std::vector<Typed>& args, std::size_t first, std::size_t step) {
    if (first >= args.size())
        return Unknown();
    Typed out = args[first];
    for (std::size_t i = first + step; i < args.size(); i += step)
        out = Either(out, args[i]);
    return out;
}

Typed Call(std::string_view name, const std::vector<Typed>& args) {
    std::string upper = util::UCase(name);
    const bool stringForm = !upper.empty() && upper.back() == '$';
    if (stringForm)
        upper.pop_back();
    const Functions* f = FindFunction(upper);
    if (f == nullptr)
        return Unknown();  // the database's own VBA: Jet cannot know what it returns
    if (stringForm)
        return Of(dbText);
    switch (f->rule) {
        case Rule::Fixed:
            return Of(f->type);
        case Rule::Same:
            return Argument(args, 0);
        case Rule::Number:
            return NumberOf(Argument(args, 0));
        case Rule::Sum:
            return SumOf(Argument(args, 0));
        case Rule::Branches:
            return args.size() == 3 ? Either(args[1], args[2]) : Unknown();
        case Rule::Choices:
            return EitherOf(args, 1, 1);
        case Rule::Pairs:
            return EitherOf(args, 1, 2);
    }
    return Unknown();
}

// Binding strengths, weakest first, as VBA orders its operators.
enum Strength : int {
    kImp = 1,
    kEqv,
    kXor,
    kOr,
    kAnd,
    kNot,
    kCompare,
    kConcat,
    kAdd,
    kMod,
    kWholeDivide,
    kMultiply,
    kNegate,
    kPower,
};

class Parser {
public:
    Parser(std::string_view expression, const ReferenceType& referenceType)
        : tokens_(Tokenize(expression)), referenceType_(referenceType) {}

    ValueType run() {
        const Typed t = expression(0);
        if (failed_ || at_ != tokens_.size() || t.null)
            return {};
        return {t.type, t.size};
    }

private:
    struct Operator {
        int strength = 0;
        std::size_t length = 0;  // tokens it takes: "Not Like" is two
        std::string_view name;   // upper case
    };

    bool more() const { return at_ < tokens_.size(); }
    const Token* peek(std::size_t ahead = 0) const {
        return at_ + ahead < tokens_.size() ? &tokens_[at_ + ahead] : nullptr;
    }
    bool nextIs(std::string_view symbol) const { return more() && IsSymbol(tokens_[at_], symbol); }
    bool nextIsWord(std::string_view word) const { return more() && IsWord(tokens_[at_], word); }

    Typed fail() {
        failed_ = true;
        return Unknown();
    }

    std::optional<Operator> binaryOperator() const {
        const Token* t = peek();
        if (t == nullptr)
            return std::nullopt;
        if (t->kind == Token::Kind::Symbol) {
            static constexpr std::array<std::pair<std::string_view, int>, 15> kSymbols = {{
                {"^", kPower},
                {"*", kMultiply},
                {"/", kMultiply},
                {"\\", kWholeDivide},
                {"+", kAdd},
                {"-", kAdd},
                {"&", kConcat},
                {"=", kCompare},
                {"<>", kCompare},
                {"<", kCompare},
                {">", kCompare},
                {"<=", kCompare},
                {">=", kCompare},
                {"=<", kCompare},
                {"=>", kCompare},
            }};
            for (const auto& [symbol, strength] : kSymbols) {
                if (t->text == symbol)
                    return Operator{strength, 1, symbol};
            }
            return std::nullopt;
        }
        if (t->kind != Token::Kind::Name)
            return std::nullopt;
        static constexpr std::array<std::pair<std::string_view, int>, 11> kWords = {{
            {"IMP", kImp},
            {"EQV", kEqv},
            {"XOR", kXor},
            {"OR", kOr},
            {"AND", kAnd},
            {"MOD", kMod},
            {"LIKE", kCompare},
            {"ALIKE", kCompare},
            {"IS", kCompare},
            {"BETWEEN", kCompare},
            {"IN", kCompare},
        }};
        const std::string upper = util::UCase(t->text);
        for (const auto& [word, strength] : kWords) {
            if (upper == word)
                return Operator{strength, 1, word};
        }
        // "x Not Like", "x Not In", "x Not Between"
        if (upper == "NOT" && peek(1) != nullptr) {
            for (std::string_view word : {"LIKE", "ALIKE", "IN", "BETWEEN"}) {
                if (IsWord(*peek(1), word))
                    return Operator{kCompare, 2, word};
            }
        }
        return std::nullopt;
    }

    Typed expression(int weakest) {
        if (failed_)
            return Unknown();
        if (++depth_ > kMaxDepth) {
            --depth_;
            return fail();
        }
        Typed left = unary();
        while (!failed_) {
            const std::optional<Operator> op = binaryOperator();
            if (!op || op->strength < weakest)
                break;
            at_ += op->length;
            left = binary(*op, left);
        }
        --depth_;
        return left;
    }

    Typed binary(const Operator& op, const Typed& left) {
        if (op.name == "IS") {
            if (nextIsWord("NOT"))
                ++at_;
            if (!nextIsWord("NULL"))
                return fail();
            ++at_;
            return Of(dbBoolean);
        }
        if (op.name == "BETWEEN") {
            expression(kNot);
            if (!nextIsWord("AND"))
                return fail();
            ++at_;
            expression(kNot);
            return Of(dbBoolean);
        }
        if (op.name == "IN") {
            if (!nextIs("("))
                return fail();
            at_ = PastClose(tokens_, at_);
            return Of(dbBoolean);
        }
        const Typed right = expression(op.strength + 1);
        switch (op.strength) {
            case kCompare:
                return Of(dbBoolean);
            case kConcat:
                return TextOf(left, right);
            case kPower:
                return Of(dbDouble);
            case kMod:
            case kWholeDivide:
                return WholeDivision(left, right);
            case kMultiply:
                return op.name == "/" ? Division(left, right) : Arithmetic('*', left, right);
            case kAdd:
                return Arithmetic(op.name[0], left, right);
            default:
                return Logical(left, right);
        }
    }

    Typed unary() {
        if (nextIs("-")) {
            ++at_;
            return Negation(expression(kNegate));
        }
        if (nextIs("+")) {
            ++at_;
            return expression(kNegate);
        }
        if (nextIsWord("NOT")) {
            ++at_;
            return Not(expression(kCompare));
        }
        return primary();
    }

    Typed primary() {
        const Token* t = peek();
        if (t == nullptr)
            return fail();
        switch (t->kind) {
            case Token::Kind::Number:
                ++at_;
                return number(t->text);
            case Token::Kind::Text:
                ++at_;
                return Of(dbText);
            case Token::Kind::Date:
                ++at_;
                return Of(dbDate);
            case Token::Kind::Name:
            case Token::Kind::Bracketed:
                return name();
            case Token::Kind::Symbol:
                break;
        }
        if (!IsSymbol(*t, "("))
            return fail();
        if (OpensSubquery(tokens_, at_)) {
            // Its single column's type would take the subquery's own FROM to know.
            at_ = PastClose(tokens_, at_);
            return Unknown();
        }
        ++at_;
        const Typed inner = expression(0);
        if (!nextIs(")"))
            return fail();
        ++at_;
        return inner;
    }

    static Typed number(std::string_view text) {
        if (text.find_first_of(".eE") != std::string_view::npos)
            return Of(dbDouble);
        // Whole-number constants are Longs; one too long for a Long is a Double.
        const std::string_view digits =
            text.substr(std::min(text.find_first_not_of('0'), text.size()));
        return Of(digits.size() < 10 || (digits.size() == 10 && digits <= "2147483647") ? dbLong
                                                                                        : dbDouble);
    }

    Typed name() {
        const Token& t = tokens_[at_];
        if (t.kind == Token::Kind::Name) {
            const std::string upper = util::UCase(t.text);
            if (upper == "NULL") {
                ++at_;
                return NullValue();
            }
            for (std::string_view constant : {"TRUE", "FALSE", "YES", "NO", "ON", "OFF"}) {
                if (upper == constant) {
                    ++at_;
                    return Of(dbBoolean);
                }
            }
            if (upper == "EXISTS") {
                ++at_;
                if (!nextIs("("))
                    return fail();
                at_ = PastClose(tokens_, at_);
                return Of(dbBoolean);
            }
            if (IsReservedWord(t))
                return fail();
            if (peek(1) != nullptr && IsSymbol(*peek(1), "("))
                return call(t.text);
        }
        std::size_t next = at_;
        const NameReference ref = ReadChain(tokens_, at_, next);
        at_ = next;
        if (nextIs("(")) {
            // A method of a form reference ("Forms!F!List.Column(1)"): Access's, not Jet's.
            at_ = PastClose(tokens_, at_);
            return Unknown();
        }
        if (!referenceType_)
            return Unknown();
        const ValueType v = referenceType_(ref);
        return {v.type, v.size, false};
    }

    Typed call(std::string_view function) {
        at_ += 2;
        std::vector<Typed> args;
        if (nextIs(")")) {
            ++at_;
            return Call(function, args);
        }
        while (!failed_) {
            if (nextIs("*") && peek(1) != nullptr &&
                (IsSymbol(*peek(1), ")") || IsSymbol(*peek(1), ","))) {
                ++at_;  // Count(*)
                args.push_back(Unknown());
            } else {
                args.push_back(expression(0));
            }
            if (nextIs(",")) {
                ++at_;
                continue;
            }
            if (!nextIs(")"))
                return fail();
            ++at_;
            break;
        }
        return Call(function, args);
    }

    std::vector<Token> tokens_;
    const ReferenceType& referenceType_;
    std::size_t at_ = 0;
    int depth_ = 0;
    bool failed_ = false;
};

// The type names a PARAMETERS clause may use, DAO's own and Jet's synonyms of them, separated
// by blanks. Value leaves the type open.
constexpr auto kTypeNames = std::to_array<std::pair<int, std::string_view>>({
    {dbBoolean, "BIT BOOLEAN LOGICAL LOGICAL1 YESNO"},
    {dbByte, "BYTE INTEGER1 TINYINT"},
    {dbInteger, "SHORT SMALLINT INTEGER2"},
    {dbLong, "LONG INT INTEGER INTEGER4 COUNTER AUTOINCREMENT"},
    {dbCurrency, "CURRENCY MONEY"},
    {dbSingle, "SINGLE REAL FLOAT4 IEEESINGLE"},
    {dbDouble, "DOUBLE FLOAT FLOAT8 IEEEDOUBLE NUMBER"},
    {dbDecimal, "DECIMAL NUMERIC DEC"},
    {dbDate, "DATETIME DATE TIME TIMESTAMP"},
    {dbText, "TEXT CHAR VARCHAR STRING ALPHANUMERIC CHARACTER NCHAR NVARCHAR"},
    {dbMemo, "LONGTEXT MEMO NOTE LONGCHAR NTEXT"},
    {dbBinary, "BINARY VARBINARY"},
    {dbLongBinary, "LONGBINARY OLEOBJECT GENERAL IMAGE"},
    {dbGUID, "GUID UNIQUEIDENTIFIER"},
});

ValueType ParameterType(std::string_view typeName, std::string_view size) {
    const std::string upper = util::UCase(typeName);
    const auto* found = std::find_if(kTypeNames.begin(), kTypeNames.end(),
                                     [&](const auto& t) { return HasWord(t.second, upper); });
    if (found == kTypeNames.end() || upper.empty())
        return {};
    ValueType v{found->first, SizeOfType(found->first)};
    if (v.type == dbText && !size.empty() && size.size() <= 3 &&
        std::all_of(size.begin(), size.end(), IsDigit))
        v.size = std::stoi(std::string(size));
    return v;
}

}  // namespace

std::int32_t SizeOfType(int type) {
    switch (type) {
        case dbBoolean:
        case dbByte:
            return 1;
        case dbInteger:
            return 2;
        case dbLong:
        case dbSingle:
            return 4;
        case dbCurrency:
        case dbDouble:
        case dbDate:
            return 8;
        case dbGUID:
        case dbDecimal:
            return 16;
        case dbText:
        case dbBinary:
            return kTextSize;
        default:
            return 0;
    }
}

std::vector<NameReference> NameReferences(std::string_view expression) {
    const std::vector<Token> tokens = Tokenize(expression);
    std::vector<NameReference> refs;
    for (std::size_t i = 0; i < tokens.size();) {
        if (OpensSubquery(tokens, i)) {
            i = PastClose(tokens, i);
            continue;
        }
        if (!IsPart(tokens[i]) || IsReservedWord(tokens[i])) {
            ++i;
            continue;
        }
        std::size_t next = i;
        NameReference ref = ReadChain(tokens, i, next);
        const bool called = next < tokens.size() && IsSymbol(tokens[next], "(");
        if (!called)
            refs.push_back(std::move(ref));
        i = next;
    }
    return refs;
}

ValueType TypeOfExpression(std::string_view expression, const ReferenceType& referenceType) {
    return Parser(expression, referenceType).run();
}

std::vector<std::pair<std::string, ValueType>> DeclaredParameters(std::string_view sql) {
    const std::vector<Token> tokens = Tokenize(sql);
    std::vector<std::pair<std::string, ValueType>> params;
    if (tokens.empty() || !IsWord(tokens[0], "PARAMETERS"))
        return params;
    std::size_t i = 1;
    while (i < tokens.size() && IsPart(tokens[i])) {
        std::size_t next = i;
        NameReference name = ReadChain(tokens, i, next);
        i = next;
        std::string_view typeName;
        std::string_view size;
        if (i < tokens.size() && tokens[i].kind == Token::Kind::Name)
            typeName = tokens[i++].text;
        if (i + 2 < tokens.size() && IsSymbol(tokens[i], "(") &&
            tokens[i + 1].kind == Token::Kind::Number && IsSymbol(tokens[i + 2], ")")) {
            size = tokens[i + 1].text;
            i += 3;
        }
        params.emplace_back(std::move(name.text), ParameterType(typeName, size));
        if (i >= tokens.size() || !IsSymbol(tokens[i], ","))
            break;
        ++i;
    }
    return params;
}

}  // namespace zanfor::host::jet
