#pragma once

// What the tags of a stored form or report design mean: per object class, the property each
// tag holds, and the class-independent property ids of the explicit encoding. A tag that is in
// no table is not guessed at: the reader leaves it out of the design, and the tree listing
// shows it as unknown.

#include <cstdint>
#include <span>
#include <string_view>

namespace zanfor::host::access {

// The object classes of a design tree: the low byte of the control type for controls (equal to
// Access's ControlType where Access has a constant), then the form, the report, the sections
// and a report's grouping levels.
namespace design_class {
inline constexpr int kLabel = 0x64;
inline constexpr int kOptionButton = 0x69;
inline constexpr int kCheckBox = 0x6A;
inline constexpr int kOptionGroup = 0x6B;
inline constexpr int kToggleButton = 0x7A;
inline constexpr int kForm = 0x96;
inline constexpr int kReport = 0x97;
inline constexpr int kDetail = 0x98;
inline constexpr int kGroupHeader = 0x9D;
inline constexpr int kGroupFooter = 0x9E;
inline constexpr int kGroupLevel = 0x9F;
}  // namespace design_class

enum class DesignClassRole : std::uint8_t { Control, Root, Section, GroupLevel };

struct DesignClass {
    int objectClass = 0;
    DesignClassRole role = DesignClassRole::Control;
    // SaveAsText's block kind ("TextBox", "Section", "BreakHeader"; a subform in a report is
    // written "Subreport" but is the same class).
    std::string_view blockKind;
    // The kind PropertySchema knows it by ("TextBox", "ObjectFrame", "Section", "Form").
    std::string_view schemaKind;
    int controlType = 0;  // Access's ControlType; 0 for what is not a control
};

// nullptr for a class no sample has shown.
const DesignClass* FindDesignClass(int objectClass);

// A compact tag's size follows from its range; a variable payload is text unless the property
// holds binary data (pictures, printer settings, GUIDs, the record-source date).
enum class TagRange : std::uint8_t { Flag, Byte, Int, Long, Variable, Terminator, Unsized };
TagRange RangeOfCompactTag(std::uint32_t tag);

struct DesignTag {
    std::uint16_t tag = 0;
    std::string_view name;
    bool binary = false;
};

// The table of one class (sections share one); empty for a class without one.
std::span<const DesignTag> DesignTagsOf(int objectClass);
// The row of `tag` in the table of `objectClass`, or nullptr.
const DesignTag* FindDesignTag(int objectClass, std::uint32_t tag);

// The explicit encoding's property id: the property's name, empty when unknown.
std::string_view PropertyIdName(std::uint32_t id);

// The SaveAsText name of a property Access 2007 and later added (themes, layouts), by its
// property id; empty when not identified. Access 2000's Properties collection never had these,
// so a design leaves them out; listings name them.
std::string_view LaterPropertyIdName(std::uint32_t id);

}  // namespace zanfor::host::access
