// Any bytes as an MSysObjects property blob, Jet 3 and Jet 4.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/jet/property_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using zanfor::host::jet::JetVersion;
    zanfor::host::jet::ParsePropertyBlob(bytes, JetVersion::Jet4, 1252);
    zanfor::host::jet::ParsePropertyBlob(bytes, JetVersion::Jet3, 932);
    return 0;
}
