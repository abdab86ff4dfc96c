#pragma once

// DAO gives every output column of a saved SELECT a type, computed columns included: Jet works
// it out from the expression as its expression service would evaluate it (the variant
// arithmetic VBA shares), before a single row is read. This does the same from the
// expression's text. Anything it cannot read gives type 0, as for a function of the database's
// own VBA code, whose type Jet could not know either.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanfor::host::jet {

// A DAO field type (dao::FieldType; 0 when unknown) with the Size DAO shows for it.
struct ValueType {
    int type = 0;
    std::int32_t size = 0;
};

// A name an expression gives a column or a parameter: "[T].[F]" is {"T", "F"},
// "Forms![Orders]![ID]" is {"Forms", "Orders", "ID"} with `bang`.
struct NameReference {
    std::vector<std::string> parts;  // brackets removed
    std::string text;                // the parts with the "." or "!" between them, no brackets
    bool bang = false;               // a "!" joins two parts: a form reference or a parameter
    std::size_t begin = 0;           // where the name is written in the expression
    std::size_t end = 0;
};

// The names of columns and parameters in an expression, in written order. Function names,
// Jet's words (And, Like, Null, True...) and the insides of literals and subqueries are not
// among them.
std::vector<NameReference> NameReferences(std::string_view expression);

// Gives the type of a column or parameter an expression names; type 0 when it cannot tell.
using ReferenceType = std::function<ValueType(const NameReference&)>;

// The type Jet gives a query column computed by `expression`. Never throws; text it cannot
// read, functions it does not know and nesting deeper than Jet would accept give type 0.
ValueType TypeOfExpression(std::string_view expression, const ReferenceType& referenceType);

// The parameters a statement declares in its leading "PARAMETERS ...;" clause, each named by
// its NameReference text, in declared order. None without such a clause.
std::vector<std::pair<std::string, ValueType>> DeclaredParameters(std::string_view sql);

// The Size DAO shows for a computed value of a type: the byte size of a number, 255 for text.
std::int32_t SizeOfType(int type);

}  // namespace zanfor::host::jet
