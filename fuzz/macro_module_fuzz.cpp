// Any text as a module the macro conversion wrote: statements or none, and at most a host error
// of the module model, never a crash or a hang.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "collect/macro_reader.h"
#include "host/access/module_model.h"
#include "host/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool withArguments : {false, true}) {
        long procedureNo = 0;
        try {
            zanfor::collect::ReadConvertedMacro(zanfor::host::ModuleModel(text), "M", withArguments,
                                                procedureNo);
        } catch (const zanfor::host::Error&) {
        }
    }
    return 0;
}
