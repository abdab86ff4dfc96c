// Any bytes as a compressed container, and as the "dir" stream of a VBA storage whose module
// stream is the same bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/access/ovba.h"
#include "host/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        zanfor::host::access::DecompressVba(bytes);
    } catch (const zanfor::host::Error&) {
    }
    zanfor::host::access::StorageNode vba;
    vba.name = "VBA";
    vba.children.push_back({"dir", true, std::string(bytes), {}});
    vba.children.push_back({"Module1", true, std::string(bytes), {}});
    try {
        zanfor::host::access::ReadVbaProject(vba);
    } catch (const zanfor::host::Error&) {
    }
    return 0;
}
