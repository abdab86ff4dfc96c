#pragma once

// The property blobs of MSysObjects.LvProp: the properties of an object (Description,
// AccessVersion, StartupForm, ...) and of each of its columns, with their Jet types.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/jet/jet_header.h"
#include "host/properties.h"

namespace zanfor::host::jet {

struct PropertyBlob {
    Properties object;  // the object's own properties, in stored order
    std::vector<std::pair<std::string, Properties>> columns;  // per column name, stored order
};

// Text in a Jet 3 blob is in `codePage`; Jet 4 stores UCS-2. A blob that is not one (empty,
// foreign signature, cut short) gives what could be read before the damage; never throws.
PropertyBlob ParsePropertyBlob(std::string_view bytes, JetVersion version, int codePage);

}  // namespace zanfor::host::jet
