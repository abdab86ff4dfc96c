#pragma once

// A database's own properties (AccessVersion, the startup settings, ...) as exports keep them:
// an export tool's JSON ({"Items": {name: {"Value", "Type"}}}), "name?value?type" lines
// (properties.txt of older tools), or the [Database Properties] section of a project file
// ("name=Type:value", "name=True", "name="text"").

#include <string>
#include <string_view>

#include "host/export/json_value.h"
#include "host/properties.h"

namespace zanfor::host::exports {

// Each keeps the order written. Throws host::Error (err::kExportMalformed) naming `source` for
// a JSON file without "Items".
Properties ReadDatabasePropertiesJson(const JsonValue& root, const std::string& source);
Properties ReadDatabasePropertiesText(std::string_view text);
Properties ReadProjectFileProperties(std::string_view text);

}  // namespace zanfor::host::exports
