#pragma once

// Forms, reports and macros straight from the designs an .mdb stores, for a target that has no
// export beside it. A design read here answers its Properties, sections, Controls (in the
// Controls collection's order, each with what holds it) and grouping levels the way one read
// from an export does: stored values first, then the form's default-control settings, then
// the built-in defaults of the property schema.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/access.h"
#include "host/access/design_stream.h"
#include "host/access/macro_definition.h"

namespace zanfor::host::access {

class AccessProject;

// Where a property of a decoded object came from.
enum class PropertyOrigin : std::uint8_t {
    Stored,    // the object's own design
    Template,  // the form's or report's default-control record for the class
    Default,   // the property schema's built-in default
};

// A stored entry the tables do not name (or whose value is binary), kept for listings.
struct UnnamedProperty {
    std::uint32_t tag = 0;
    std::uint32_t propertyId = 0;
    std::string name;  // the known name of a binary property; empty when the tag is unknown
    std::size_t size = 0;
    std::size_t offset = 0;
    bool fromDelta = false;
};

// One object of the design with where each of its properties came from.
struct DecodedItem {
    int objectClass = 0;
    bool defaults = false;  // a default-control record: `properties` holds its stored values
    // SaveAsText's block kind: "Form", "Section", "TextBox", "BreakLevel"; empty for a record
    // of a class no table knows, which the design leaves out with all it holds.
    std::string kind;
    std::string name;    // "" for a grouping level
    std::string parent;  // a control's holder (control or section); "" otherwise
    std::size_t offset = 0;
    std::vector<std::pair<std::string, Value>> stored;  // named values, as the design holds them
    Properties properties;                              // the collection the object answers
    std::vector<PropertyOrigin> origins;                // one per entry of `properties`
    std::vector<UnnamedProperty> unnamed;
};

struct DecodedDesign {
    int version = 0;
    int versionRequired = 0;
    DesignObject object;
    std::vector<DecodedItem> items;  // in the order of the tree, depth first
};

// The form or report in `blob` (and `delta`, its BlobDelta, which may be empty). `codePage`
// decodes the text of version-0x11 streams. Throws host::Error 30010 naming the object and the
// offset when the design does not read: a stream that does not parse to its end, a root of the
// other kind, a control outside a section. A record of a class no table knows is left out with
// all it holds (its entries are sized by their tags, so its extent is known) and listed in
// `items` with an empty kind.
DecodedDesign DecodeDesign(std::string_view blob, std::string_view delta, ObjectType type,
                           const std::string& name, bool hasModule, int codePage);

// The names of the forms, reports or macros the project stores, in DirData order.
std::vector<std::string> StoredObjectNames(const AccessProject& project, ObjectType type);

// A stored form or report by name (compared without regard to case); nullopt when the project
// stores none of that name. HasModule comes from the object's PropData; the module itself is
// the caller's to attach. Throws host::Error 30010 as DecodeDesign does.
std::optional<DesignObject> ReadStoredDesign(const AccessProject& project, ObjectType type,
                                             const std::string& name);
// The same with the origin of every property, for listings.
std::optional<DecodedDesign> ReadStoredDesignDetail(const AccessProject& project, ObjectType type,
                                                    const std::string& name);

// A stored macro by name; nullopt when there is none. Throws host::Error 30010 naming the macro
// and the offset when its sheet does not read.
std::optional<MacroDefinition> ReadStoredMacro(const AccessProject& project,
                                               const std::string& name);

}  // namespace zanfor::host::access
