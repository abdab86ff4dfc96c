#pragma once

// Forms and reports built in code the way Access enumerates them: every control's and object's
// Properties in the property schema's order, so the collectors' reads by index mean what they
// meant in Access.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/access.h"
#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace zanfor::test {

using Stored = std::vector<std::pair<std::string, host::Value>>;

struct Placed {
    bool inOptionGroup = false;
    bool inReport = false;
    std::vector<std::string> unknown{};  // properties the design does not tell
};

// A control of the kind ("TextBox", "CheckBox", ...) named `name` with `stored` values.
host::access::Control SchemaControl(std::string_view kind, const std::string& name,
                                    const Stored& stored = {}, Placed placed = {});

// A form or report of the target whose own Properties are Access's, with `stored` values.
host::memory::DesignBuilder SchemaForm(host::memory::MemoryTargetBuilder& builder,
                                       const std::string& name, const Stored& stored = {});
host::memory::DesignBuilder SchemaReport(host::memory::MemoryTargetBuilder& builder,
                                         const std::string& name, const Stored& stored = {});

}  // namespace zanfor::test
