// Any text as a module's code for the variable catalogue: rows or none, and at most a host error
// of the module model, never a crash or a hang.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/access/module_model.h"
#include "host/error.h"
#include "vba/variable_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        zanfor::vba::ReadDeclarations(zanfor::host::ModuleModel(text));
    } catch (const zanfor::host::Error&) {
    }
    return 0;
}
