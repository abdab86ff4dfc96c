// Any bytes as a stored picture: a picture no larger than the limit or a null image, never a
// crash, hang or huge allocation. The same bytes behind a bitmap file header reach the
// file-header path too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "render/picture_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& input : {std::string(bytes), "BM" + std::string(bytes)}) {
        const QImage image = zanfor::render::DecodePictureData(input);
        if (image.width() > zanfor::render::kMaxPictureSide ||
            image.height() > zanfor::render::kMaxPictureSide)
            __builtin_trap();
    }
    return 0;
}
