#pragma once

// The control rows of the form and report listings (T_AcFrmItem, T_AcRepItem): one row per shown
// property of each control, grouped by the property sheet's tabs, written by WriteControlRow.
// Which rows a control gets depends on its type, on whether it is a form's or a report's, and
// on the listing (simple or detailed); those choices are tables in control_rows.cpp.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/access.h"
#include "workdb/work_database.h"

namespace zanfor::collect {

// The listing mode of a design run, as optForm / optReport set it.
enum class Listing : std::int16_t { Simple = 1, Detailed = 2 };

// What a listing prints where the design does not tell a property's value: a stored design
// holds entries no tag table names, so the property may hold any value, its default included.
inline constexpr std::string_view kUnknownValue = "(不明)";

// Whether `types`, type names separated by blanks ("CheckBox OptionButton"), holds `type`.
bool NamesType(std::string_view types, std::string_view type);

// Whether a check box, option button or toggle button sits in an option group: a member has
// OptionValue where a free one has its first data property.
bool InOptionGroup(const host::access::Control& c, std::string_view typeName);

// The count of the Properties collection Access gives for the control, which decides where its
// events sit. A design read from a file or an export also carries what it stores beyond that
// collection (LabelX, OverlapFlags, ...), appended after it; counting those would choose the
// wrong index range and read them as events.
std::size_t AccessPropertyCount(const host::access::Control& c, std::string_view typeName,
                                bool report);

// Writes the controls of one form or report. Every control of the Controls collection gets its
// ControlNo, also one whose type has no rows.
class ControlRowWriter {
public:
    ControlRowWriter(workdb::RowWriter& items, host::access::ObjectType kind, Listing listing);

    void write(const host::access::DesignObject& design, std::int64_t objectNo);

private:
    struct Current {
        std::int64_t objectNo = 0;
        std::int64_t controlNo = 0;
        std::int64_t rowNo = 0;
        std::string name;
        std::string typeName;
        std::string visible;
        std::string tlwh;
    };

    void control(const host::access::Control& c);
    void events(const host::access::Control& c);
    void WriteControlRow(std::string_view group, std::string_view label, std::string_view value);

    workdb::RowWriter& items_;
    bool report_;
    Listing listing_;
    Current current_;
};

}  // namespace zanfor::collect
