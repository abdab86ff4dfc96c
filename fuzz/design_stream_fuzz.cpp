// Any bytes as a stored form or report design (with the same bytes as its BlobDelta, which
// exercises the merge), as a macro sheet and as a container's DirData: an error naming the
// object and the offset, or a design, never a crash, hang or huge allocation.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/access/design_directory.h"
#include "host/access/design_reader.h"
#include "host/access/macro_sheet.h"
#include "host/error.h"

namespace {

template <typename F>
void tolerate(F&& f) {
    try {
        f();
    } catch (const zanfor::host::Error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace access = zanfor::host::access;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto type : {access::ObjectType::Form, access::ObjectType::Report}) {
        tolerate([&] { access::DecodeDesign(bytes, {}, type, "F", false, 932); });
        tolerate([&] { access::DecodeDesign(bytes, bytes, type, "F", true, 1252); });
    }
    tolerate([&] { access::DecodeMacroSheet(bytes, "M", 932, "M"); });
    access::ReadDirData(bytes);
    return 0;
}
