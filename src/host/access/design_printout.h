#pragma once

// A stored form, report or macro written out in full for a developer: every object of the
// design with every property, its value, and where the value came from (the design itself, the
// default-control record of its class, or the schema's built-in default), plus the stored
// entries no table names.

#include <ostream>
#include <string>

#include "host/access.h"

namespace zanfor::host::access {

class AccessProject;

// False when the project stores no object of that type and name. Throws host::Error 30010 as
// the readers do when the design does not read.
bool PrintStoredObject(const AccessProject& project, ObjectType type, const std::string& name,
                       std::ostream& out);

}  // namespace zanfor::host::access
