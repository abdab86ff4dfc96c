#pragma once

// Property values that an export writes with their DAO type: "dbBoolean "ReturnsRecords"
// ="-1"" in query text, "name?value?type" lines, {"Value": ..., "Type": n} in JSON.

#include <string_view>

#include "host/export/json_value.h"
#include "host/value.h"

namespace zanfor::host::exports {

// "dbBoolean" -> 1 (DAO's DataTypeEnum); 0 for a name that is not a type.
int DaoTypeOfName(std::string_view typeName);

// The text as DAO holds a value of that type: yes/no from "-1"/"0"/"True"/"False", whole
// numbers, floating-point numbers, dates from "yyyy/mm/dd" forms; text for the rest. A number
// that does not read stays text.
Value DaoTypedValue(int daoType, std::string_view text);

// A JSON value as the given DAO type (0: as JSON has it).
Value DaoTypedValue(int daoType, const JsonValue& value);

}  // namespace zanfor::host::exports
