#include "host/jet/expression_type.h"

#include <gtest/gtest.h>

#include <map>

#include "host/dao.h"

namespace zanfor::host::jet {
namespace {

using namespace dao;

// The columns and parameters the expressions below may name, by NameReference text.
ValueType Catalog(const NameReference& ref) {
    static const std::map<std::string, ValueType> kNames = {
        {"T.Bool", {dbBoolean, 1}},     {"T.Byte", {dbByte, 1}},    {"T.Int", {dbInteger, 2}},
        {"T.Long", {dbLong, 4}},        {"T.Cur", {dbCurrency, 8}}, {"T.Sng", {dbSingle, 4}},
        {"T.Dbl", {dbDouble, 8}},       {"T.Date", {dbDate, 8}},    {"T.Name", {dbText, 40}},
        {"T.Memo", {dbMemo, 0}},        {"T.Dec", {dbDecimal, 16}}, {"T.Id", {dbGUID, 16}},
        {"Forms!F!Start", {dbDate, 8}},
    };
    const auto found = kNames.find(ref.text);
    return found == kNames.end() ? ValueType{} : found->second;
}

struct Case {
    const char* expression;
    int type;
    std::int32_t size;
};

void ExpectTypes(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const ValueType got = TypeOfExpression(c.expression, Catalog);
        EXPECT_EQ(got.type, c.type) << c.expression;
        EXPECT_EQ(got.size, c.size) << c.expression;
    }
}

// Expressions that all have one type; unknown when none is given.
void ExpectAll(std::initializer_list<const char*> expressions, ValueType expected = {}) {
    for (const char* e : expressions)
        ExpectTypes({{e, expected.type, expected.size}});
}

// One call per rule the function table gives its entries. Jet adds whole numbers up in a
// Double; a picked value keeps its column's type and size; function names match regardless of
// case, and any known function has a String form. Access hands Nz's variant to Jet, which takes
// it for text: such a column sorts as text.
TEST(ExpressionType, functionsGiveTheTypeOfTheirRule) {
    ExpectAll({"Count(*)", "Len(T.Name)"}, {dbLong, 4});
    ExpectAll({"Sum(T.Cur)", "cCur(T.Dbl)"}, {dbCurrency, 8});
    ExpectAll({"Sum(T.Int)", "Avg(T.Cur)"}, {dbDouble, 8});
    ExpectAll({"Min(T.Name)", "CVar(T.Name)"}, {dbText, 40});
    ExpectAll({"CStr(T.Long)", "Left$(T.Name, 2)", "Date$()", "Trim(UCase(T.Name))",
               "Nz(T.Long, 0)", "IIf(T.Bool, Eval(\"True\"), False)"},
              {dbText, 255});
    ExpectTypes(
        {{"Sum(T.Dec)", dbDecimal, 16}, {"First(T.Memo)", dbMemo, 0}, {"CVDate(Null)", dbDate, 8}});
}

// Divisions and powers have their own types; the rest widen as far as the Variant arithmetic
// needs, to a Double where nothing narrower holds the result.
TEST(ExpressionType, arithmeticWidensAsTheVariantArithmetic) {
    ExpectAll({"T.Byte + T.Byte", "T.Byte Mod T.Byte"}, {dbByte, 1});
    ExpectAll({"T.Int + T.Int", "T.Byte + T.Bool", "T.Bool + T.Bool", "T.Int \\ T.Byte"},
              {dbInteger, 2});
    ExpectAll({"T.Int - T.Long", "T.Long + Null", "T.Dbl \\ 2", "T.Name Mod 7"}, {dbLong, 4});
    ExpectAll({"T.Int * T.Sng", "T.Int / T.Sng"}, {dbSingle, 4});
    ExpectAll({"T.Cur + T.Dec", "T.Dec / 2"}, {dbDecimal, 16});
    ExpectAll({"T.Long * T.Sng", "T.Cur * T.Sng", "T.Name + 1", "T.Long / T.Long", "T.Cur / 2",
               "T.Int ^ 2"},
              {dbDouble, 8});
    ExpectTypes({{"T.Cur * 100", dbCurrency, 8}, {"T.Name + T.Name", dbText, 255}});
    ExpectAll({"T.Id + 1"});
}

TEST(ExpressionType, datesStayDatesWhenMovedByNumbers) {
    ExpectAll(
        {"T.Date + 1", "2 - T.Date", "-T.Date", "DateSerial(Year(Date()), Month(Date()) - 1, 1)"},
        {dbDate, 8});
    ExpectAll({"T.Date - T.Date", "T.Date * 2"}, {dbDouble, 8});
}

// + before &, * before +, ^ before negation; a negative Byte needs an Integer.
TEST(ExpressionType, operatorsBindAsInVba) {
    ExpectTypes({{"\"a\" & 1 + 2", dbText, 255},
                 {"-T.Byte", dbInteger, 2},
                 {"T.Long + T.Long = 3 And T.Name Like \"A*\"", dbBoolean, 1},
                 {"T.Memo & \"x\"", dbMemo, 0}});
    ExpectAll({"T.Int + T.Long * T.Sng", "-T.Int ^ 2"}, {dbDouble, 8});
    ExpectAll({"(T.Int + T.Int) * T.Cur", "+T.Cur"}, {dbCurrency, 8});
}

TEST(ExpressionType, comparisonsAndLogicGiveYesNo) {
    ExpectAll({"T.Long > 5", "T.Long => 5", "T.Name Not Like \"A*\"", "T.Name Is Not Null",
               "T.Long Between 1 And 5", "T.Long Not Between 1 And 5 Or T.Bool",
               "T.Long In (1, 2, 3)", "T.Long Not In (SELECT x FROM y WHERE z = 1)",
               "Exists (SELECT * FROM T)", "Not T.Bool", "T.Bool Xor T.Bool", "True", "no"},
              {dbBoolean, 1});
    // Between whole numbers the logical operators work bit by bit.
    ExpectTypes({{"T.Int And T.Long", dbLong, 4}, {"Not T.Int", dbInteger, 2}});
}

TEST(ExpressionType, choicesTakeTheTypeThatHoldsEveryBranch) {
    ExpectTypes({{"IIf(T.Bool, T.Int, T.Long)", dbLong, 4},
                 {"IIf(T.Bool, T.Name, Null)", dbText, 40},
                 {"IIf(T.Bool, T.Name, 0)", dbText, 255},
                 {"IIf(T.Bool, T.Memo, T.Name)", dbMemo, 0},
                 {"IIf(T.Bool, T.Date, 0)", dbDouble, 8},
                 {"Choose(2, T.Int, T.Sng)", dbSingle, 4}});
    ExpectAll({"IIf(T.Bool, Null, T.Cur)", "Switch(T.Bool, T.Int, T.Long > 1, T.Cur)"},
              {dbCurrency, 8});
    ExpectAll({"IIf(T.Bool, T.Int)", "IIf(T.Bool, Null, Null)"});
}

TEST(ExpressionType, literalsHaveTheirOwnTypes) {
    ExpectAll({"2147483647", "000000000001"}, {dbLong, 4});
    ExpectAll({"2147483648", ".5", "1E3"}, {dbDouble, 8});
    ExpectAll({"\"text\"", "'it''s'"}, {dbText, 255});
    ExpectAll({"#1/1/2000#"}, {dbDate, 8});
    ExpectAll({"Null"});
}

TEST(ExpressionType, namesAreTypedByWhatTheyName) {
    ExpectTypes({{"[T].[Name]", dbText, 40}, {"[Forms]![F]![Start]", dbDate, 8}});
    ExpectAll({"T.Nothing", "Forms!F!List.Column(1)"});
    EXPECT_EQ(TypeOfExpression("[T].[Long] * 2", nullptr).type, 0);
}

TEST(ExpressionType, whatJetCannotKnowStaysUnknown) {
    ExpectAll({"MyVbaFunction(T.Long)", "Sum(MyVbaFunction(T.Long))", "MyVbaFunction() + 1",
               "(SELECT Max(x) FROM y)", "和暦(T.Date)"});
    // The operator or aggregate still decides.
    ExpectTypes({{"GetName() & \"\"", dbText, 255}, {"Count(MyVbaFunction())", dbLong, 4}});
}

TEST(ExpressionType, damagedTextGivesUnknownWithoutFailing) {
    ExpectAll({"", "(", ")", "T.Long +", "Sum(", "Sum(T.Long", "1 2", "T.Name Is 3",
               "T.Long Between 1", "T.Long In 1", "And", "[unterminated", "Exists", "T."});
    ExpectTypes({{"\"unterminated", dbText, 255}, {"#1/1", dbDate, 8}});
    EXPECT_EQ(TypeOfExpression(std::string_view("1\0+1", 4), Catalog).type, dbLong);
    // Nesting stops at a fixed depth instead of running out of stack.
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ(TypeOfExpression(deep, Catalog).type, 0);
    const std::string negations(100000, '-');
    EXPECT_EQ(TypeOfExpression(negations + "1", Catalog).type, 0);
    // A long flat expression is no nesting at all.
    std::string sum = "1";
    for (int i = 0; i < 50000; ++i)
        sum += "+T.Long";
    EXPECT_EQ(TypeOfExpression(sum, Catalog).type, dbLong);
}

// Each reference as "text[begin,end)", "!" marking a bang.
std::string Describe(const std::vector<NameReference>& refs) {
    std::string out;
    for (const NameReference& r : refs) {
        out += (out.empty() ? "" : " ") + r.text + (r.bang ? "!" : "") + "[" +
               std::to_string(r.begin) + "," + std::to_string(r.end) + ")";
    }
    return out;
}

TEST(ExpressionType, findsTheNamesAnExpressionUses) {
    const std::pair<const char*, const char*> cases[] = {
        {"[T].[F] + x", "T.F[0,7) x[10,11)"},
        {"Sum([a]) * b.[c d]", "a[4,7) b.c d[11,18)"},
        {"Forms![F]![C]", "Forms!F!C![0,13)"},
        {"\"[not]\" & #1/1/2000# & 'x'", ""},
        {"x In (SELECT y FROM z) Or w", "x[0,1) w[26,27)"},
        {"Not a And b Is Null", "a[4,5) b[10,11)"},
        {"Left$(a, 2)", "a[6,7)"},
        {"IIf(True, [受注].[単価], 1997)", "受注.単価[10,27)"},
        {"Forms!F!List.Column(1)", ""},
        {"[unterminated", "unterminated[0,13)"},
    };
    for (const auto& [expression, expected] : cases)
        EXPECT_EQ(Describe(NameReferences(expression)), expected) << expression;
}

// Each parameter as "name=type/size".
std::string Describe(const std::vector<std::pair<std::string, ValueType>>& params) {
    std::string out;
    for (const auto& [name, type] : params) {
        out += (out.empty() ? "" : " ") + name + "=" + std::to_string(type.type) + "/" +
               std::to_string(type.size);
    }
    return out;
}

TEST(ExpressionType, readsTheDeclaredParameters) {
    const std::pair<const char*, const char*> cases[] = {
        {"PARAMETERS [Forms]![F]![Start] DateTime, [Name] Text ( 50 ), n Long;\r\nSELECT 1;",
         "Forms!F!Start=8/8 Name=10/50 n=4/4"},
        // The synonyms Jet takes in SQL view; Value leaves the type open.
        {"parameters [a b] Bit, c Integer, d Memo, e Value, f Nonsense;",
         "a b=1/1 c=4/4 d=12/0 e=0/0 f=0/0"},
        {"PARAMETERS t Text;", "t=10/255"},
        {"SELECT [PARAMETERS] FROM T;", ""},
        {"PARAMETERS", ""},
        {"PARAMETERS ;", ""},
        {"PARAMETERS a Text (9999;", "a=10/255"},
    };
    for (const auto& [sql, expected] : cases)
        EXPECT_EQ(Describe(DeclaredParameters(sql)), expected) << sql;
}

}  // namespace
}  // namespace zanfor::host::jet
