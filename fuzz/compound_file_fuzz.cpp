// Any bytes as an OLE compound file: an error or a tree, never a crash, hang or huge allocation.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/access/compound_file.h"
#include "host/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        zanfor::host::access::ReadCompoundFile(
            std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const zanfor::host::Error&) {
    }
    return 0;
}
