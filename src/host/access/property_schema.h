#pragma once

// The Properties collection of every form, report, section and control as Access 2000
// enumerated it: which properties, in which order, with which default. The program reads some
// properties by index (the event properties, the option value of a group member), so the order
// is part of the data, and a design read from an export or from the file gets its collection
// from here: stored values where the design has them, defaults for the rest.

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/properties.h"

namespace zanfor::host::access {

// Where a design object stands: a control in a report has no event properties of the form's
// kinds, and a check box, option button or toggle button inside an option group has no control
// source of its own but an OptionValue.
struct DesignContext {
    bool inReport = false;
    bool inOptionGroup = false;
};

struct PropertySpec {
    std::string_view name;
    Value defaultValue;
};

// `kind`: "Form", "Report", "Section", or a control's English type name as ControlTypeName gives
// it ("TextBox", "OptionGroup", ...). Empty for an unknown kind.
std::span<const PropertySpec> PropertySchema(std::string_view kind, DesignContext context);

// The schema's entry of that name (compared without regard to case), or nullptr: a reader
// needs a yes/no property's default to make sense of SaveAsText's "NotDefault". A form also
// answers for MinButton and MaxButton, the yes/no flags SaveAsText writes for MinMaxButtons.
const PropertySpec* FindPropertySpec(std::string_view kind, DesignContext context,
                                     std::string_view name);

// The collection in schema order: each property takes the stored value of that name (names
// compared without regard to case; the last of repeated names wins) or its default. Stored
// properties the schema does not know are appended after it, in stored order, so nothing read
// is lost. The text "NotDefault" stored for a yes/no property gives the opposite of its
// default. Properties SaveAsText stores under other names are derived from them when their own
// name is not stored: a control's BorderStyle from OldBorderStyle and BorderLineStyle, a
// form's RecordsetType from AllowUpdating, MinMaxButtons from MinButton and MaxButton.
Properties BuildProperties(std::string_view kind, DesignContext context,
                           const std::vector<std::pair<std::string, Value>>& stored);

}  // namespace zanfor::host::access
